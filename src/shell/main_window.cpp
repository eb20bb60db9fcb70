// SPDX-License-Identifier: MIT
#include "main_window.h"

#include "animation_preview.h"
#include "dialog_service.h"
#include "file_commands.h"
#include "key_commands.h"
#include "operation_commands.h"
#include "preview_follow.h"
#include "viewport.h"
#include "window_layout.h"
#include "zoom_factors.h"
#include "operations/message_title.h"
#include "operations/operation_table.h"
#include "settings/options_panel.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <algorithm>

namespace shell {

Main::Main(DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_document(new SheetDocument(this))
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Pixmold by Dorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/pixmold/pixmold.png")));
    setAcceptDrops(true);

    buildControls();
    m_files = std::make_unique<FileCommands>(m_state, m_dialogs, *m_document,
                                             [this](const QString& path) { showLoaded(path); });
    m_keys = std::make_unique<KeyCommands>(m_state, m_dialogs, [this] { showKey(); });
    m_operations = std::make_unique<OperationCommands>(m_state, m_dialogs, *m_document, *m_view, *m_PB);
    buildMenus();
    buildPreview();

    resize(startWindowSize(menuBar()->sizeHint().height()));
    layOut();
}

Main::~Main()
{
    // The document is a child, destroyed after this class's part of the window: its
    // history's last signals must not reach a Main that is no longer one.
    disconnect(&m_document->history().stack(), nullptr, this, nullptr);
}

void Main::buildControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);

    m_lblCurImage = new QLabel(client);
    m_lblCurImage->setObjectName(QStringLiteral("lblCurImage"));
    m_lblCurImage->setGeometry(twipsRect(120, 0, 2535, 255));
    m_lblCurImage->setAlignment(Qt::AlignCenter);
    m_lblCurImage->setAutoFillBackground(true);
    QPalette namePalette = m_lblCurImage->palette();
    namePalette.setColor(QPalette::Window, Qt::black);
    namePalette.setColor(QPalette::WindowText, QColor(0, 192, 192));
    m_lblCurImage->setPalette(namePalette);

    m_lblcoords = new QLabel(client);
    m_lblcoords->setObjectName(QStringLiteral("lblcoords"));
    m_lblcoords->setGeometry(twipsRect(2640, 0, 1095, 255));
    m_lblcoords->setAlignment(Qt::AlignCenter);

    m_view = new SheetView(*m_document, client);
    Viewport* viewport = m_view->viewport();
    connect(viewport, &Viewport::pointerMoved, this,
            [this](QPointF position) { m_lblcoords->setText(m_view->readout(position)); });
    connect(viewport, &Viewport::pressed, this, [this](QPointF position) { m_operations->pressAt(position); });
    connect(viewport, &Viewport::zoomWheel, this, [this](QPointF position, int steps) {
        if (!commandsSilenced())
            m_view->zoomByWheel(position, steps);
    });
    connect(m_document, &SheetDocument::restored, m_view, &SheetView::refresh);

    m_PB = new QProgressBar(client);
    m_PB->setObjectName(QStringLiteral("PB"));
    m_PB->setGeometry(twipsRect(120, 3600, 2775, 255));
    m_PB->setRange(0, 100);
    m_PB->setTextVisible(false);
    m_PB->hide();

    m_OpsFrame = new settings::OptionsPanel(m_state.sprite, client);
    m_OpsFrame->move(toPixels(120), toPixels(240));
    connect(m_OpsFrame, &settings::OptionsPanel::refused, this, &Main::showError);

    // Tab order of the controls that take focus.
    setTabOrder(viewport, m_view->verticalBar());
    setTabOrder(m_view->verticalBar(), m_view->horizontalBar());
    setTabOrder(m_view->horizontalBar(), m_OpsFrame);
}

QAction* Main::addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                          Needs needs, std::function<void()> handler)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, action, needs, handler = std::move(handler)] {
        if (passesGuards(needs))
            handler();
        else if (action->isCheckable())
            action->setChecked(!action->isChecked());
    });
    return action;
}

void Main::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, QStringLiteral("mnuFileSave"), QStringLiteral("&Save Picture"), Qt::CTRL | Qt::Key_S,
               Needs::Nothing, [this] { RunCommand(0); });
    addCommand(file, QStringLiteral("mnuFileLoad"), QStringLiteral("&Load Picture"), Qt::CTRL | Qt::Key_L,
               Needs::Nothing, [this] { RunCommand(1); });
    addCommand(file, QStringLiteral("mnuFileImportFrames"), QStringLiteral("Import &Frames\u2026"), QKeySequence(),
               Needs::Nothing, [this] { m_files->importFrames(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileDash"));
    addCommand(file, QStringLiteral("mnuFileOptions"), QStringLiteral("&Options"), Qt::CTRL | Qt::Key_O, Needs::Nothing,
               [this] { m_OpsFrame->open(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileDash2"));
    addCommand(file, QStringLiteral("mnuFileExit"), QStringLiteral("&Exit Program"), Qt::CTRL | Qt::Key_X,
               Needs::Nothing, [this] { RunCommand(3); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    SheetHistory& history = m_document->history();
    m_mnuEditUndo = addCommand(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("&Undo"), QKeySequence::Undo,
                               Needs::Nothing, [&history] { history.undo(); });
    m_mnuEditRedo = addCommand(edit, QStringLiteral("mnuEditRedo"), QStringLiteral("&Redo"), QKeySequence(),
                               Needs::Nothing, [&history] { history.redo(); });
    m_mnuEditRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(&history.stack(), &QUndoStack::indexChanged, this, &Main::followHistory);
    followHistory();
    edit->addSeparator()->setObjectName(QStringLiteral("mnuEditDash"));
    addCommand(edit, QStringLiteral("mnuEditKey"), QStringLiteral("&Key Colour\u2026"), QKeySequence(), Needs::Nothing,
               [this] { m_keys->chooseKeyColour(); });
    addCommand(edit, QStringLiteral("mnuEditPalette"), QStringLiteral("&Palette\u2026"), QKeySequence(), Needs::Nothing,
               [this] { m_keys->choosePalette(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_mnuViewZoom = view->addAction(QStringLiteral("Zoom: 100 %"));
    m_mnuViewZoom->setObjectName(QStringLiteral("mnuViewZoom"));
    m_mnuViewZoom->setEnabled(false);
    connect(m_view, &SheetView::zoomChanged, this,
            [this](int factor) { m_mnuViewZoom->setText(QStringLiteral("Zoom: %1 %").arg(factor * 100)); });
    m_mnuViewCells = view->addAction(cellsCaption(m_document->grid()));
    m_mnuViewCells->setObjectName(QStringLiteral("mnuViewCells"));
    m_mnuViewCells->setEnabled(false);
    connect(m_document, &SheetDocument::gridChanged, this,
            [this] { m_mnuViewCells->setText(cellsCaption(m_document->grid())); });
    view->addSeparator();
    // Zooms from the menu keep the picture pixel at the view's centre where it is.
    addCommand(view, QStringLiteral("mnuViewZoomIn"), QStringLiteral("Zoom &In"), QKeySequence(), Needs::Nothing,
               [this] { m_view->zoomAround(largerZoom(m_view->zoom()), m_view->centre()); })
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    addCommand(view, QStringLiteral("mnuViewZoomOut"), QStringLiteral("Zoom &Out"), Qt::CTRL | Qt::Key_Minus,
               Needs::Nothing, [this] { m_view->zoomAround(smallerZoom(m_view->zoom()), m_view->centre()); });
    addCommand(view, QStringLiteral("mnuViewActualSize"), QStringLiteral("&Actual Size"), Qt::CTRL | Qt::Key_0,
               Needs::Nothing, [this] { m_view->zoomAround(1, m_view->centre()); });
    view->addSeparator();
    m_mnuViewGrid
        = addCommand(view, QStringLiteral("mnuViewGrid"), QStringLiteral("Show Cell &Grid"), Qt::CTRL | Qt::Key_G,
                     Needs::Nothing, [this] { m_view->setGridShown(m_mnuViewGrid->isChecked()); });
    m_mnuViewGrid->setCheckable(true);
    m_mnuViewKey = addCommand(view, QStringLiteral("mnuViewKey"), QStringLiteral("Show &Key as Checkerboard"),
                              QKeySequence(), Needs::Nothing, [this] { showKey(); });
    m_mnuViewKey->setCheckable(true);
    view->addSeparator();
    m_mnuViewPreview = addCommand(view, QStringLiteral("mnuViewPreview"), QStringLiteral("&Preview Animation"),
                                  Qt::CTRL | Qt::SHIFT | Qt::Key_P, Needs::Nothing, [this] {
                                      if (m_mnuViewPreview->isChecked())
                                          m_preview->showBeside(*this, m_view->zoom());
                                      else
                                          m_preview->hide();
                                  });
    m_mnuViewPreview->setCheckable(true);

    QMenu* operations = menuBar()->addMenu(QStringLiteral("&Operations"));
    operations->setObjectName(QStringLiteral("mnuTools"));
    // Each operation of the table where its entry places it; two go through RunCommand.
    QList<const ops::Operation*> entries = ops::operationTable();
    std::ranges::sort(entries, {}, [](const ops::Operation* entry) { return entry->window.menuPosition; });
    for (const ops::Operation* entry : std::as_const(entries)) {
        const ops::WindowCommand& command = entry->window;
        addCommand(operations, command.objectName, command.caption, command.shortcut, Needs::Image, [this, entry] {
            if (entry->window.runCode)
                RunCommand(*entry->window.runCode);
            else
                m_operations->operate(*entry);
        });
    }
}

bool Main::optionsOpen() const
{
    return m_OpsFrame->isOpen();
}

bool Main::commandsSilenced() const
{
    return m_document->busy() || optionsOpen();
}

bool Main::passesGuards(Needs needs)
{
    if (commandsSilenced())
        return false;
    if (needs == Needs::Image && !m_document->loaded()) {
        showError(QStringLiteral("You must have an image loaded first!"));
        return false;
    }
    return true;
}

// The captions name the step; with nothing to undo or redo the item is disabled.
void Main::followHistory()
{
    const QUndoStack& stack = m_document->history().stack();
    m_mnuEditUndo->setEnabled(stack.canUndo());
    m_mnuEditUndo->setText(stack.canUndo() ? QStringLiteral("&Undo ") + stack.undoText() : QStringLiteral("&Undo"));
    m_mnuEditRedo->setEnabled(stack.canRedo());
    m_mnuEditRedo->setText(stack.canRedo() ? QStringLiteral("&Redo ") + stack.redoText() : QStringLiteral("&Redo"));
}

void Main::RunCommand(int code)
{
    switch (code) {
    case 0:
        m_files->save();
        break;
    case 1:
        m_files->load();
        break;
    case 2:
        NegPic();
        break;
    case 3:
        exitProgram();
        break;
    case 4:
        NPCPic();
        break;
    default:
        break;
    }
}

void Main::NPCPic()
{
    m_operations->operate(*ops::operationForRunCode(4));
}

void Main::NegPic()
{
    m_operations->operate(*ops::operationForRunCode(2));
}

void Main::openPicture(const QString& path)
{
    m_files->open(path);
}

// The view and the preview draw the key as a checkerboard while the View item is
// checked, else in its own colour.
void Main::showKey()
{
    const bool shown = m_mnuViewKey->isChecked();
    m_view->setKeyShown(shown ? std::optional(m_state.key) : std::nullopt);
    m_preview->setKey(m_state.key, shown);
}

void Main::buildPreview()
{
    m_preview = new AnimationPreview(m_dialogs, m_view->zoom(), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    connect(m_preview, &AnimationPreview::closed, this, [this] { m_mnuViewPreview->setChecked(false); });
    followDocument(*m_preview, *m_document, *m_view);
}

void Main::exitProgram()
{
    const Answer answer = m_dialogs.message(QStringLiteral("Are you sure you wish to exit the Pixmold?"),
                                            Buttons::YesNo, ops::kMessageTitle);
    if (answer != Answer::Yes)
        return;
    m_exiting = true;
    close();
}

void Main::closeEvent(QCloseEvent* event)
{
    if (!m_exiting && !m_document->busy())
        m_exiting = m_dialogs.message(QStringLiteral("Are you sure you wish to exit the Pixmold?"), Buttons::YesNo,
                                      ops::kMessageTitle)
            == Answer::Yes;
    event->setAccepted(m_exiting);
    // The preview is a window of its own: it goes with this one.
    if (m_exiting)
        m_preview->close();
}

void Main::showError(const QString& text)
{
    m_dialogs.message(text, Buttons::Ok, ops::kMessageTitle);
}

} // namespace shell
