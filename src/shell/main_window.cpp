// SPDX-License-Identifier: MIT
#include "main_window.h"

#include "dialog_service.h"
#include "sheet_history.h"
#include "viewport.h"
#include "window_layout.h"
#include "image/pixel_round.h"
#include "image/raster.h"
#include "settings/number_text.h"
#include "settings/options_panel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QStandardPaths>

namespace shell {

namespace {

QRect twipsRect(float left, float top, float width, float height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

// Design size of the hidden picture boxes, in pixels.
constexpr int kWorkWidth = 1095 / 15, kWorkHeight = 3135 / 15;
constexpr int kScratchWidth = 720 / 15, kScratchHeight = 2880 / 15;

// Where the file dialogs first open: the images folder beside the program where there
// is one, else the user's pictures, never the folder of an installed program.
QString startFolder()
{
    const QString images = QCoreApplication::applicationDirPath() + QStringLiteral("/images/");
    if (QFileInfo(images).isDir())
        return images;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures + QLatin1Char('/');
    return QDir::homePath() + QLatin1Char('/');
}

} // namespace

Main::Main(DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_picPic1(image::kPictureBoxBackground, kWorkWidth, kWorkHeight),
      m_picsetup(image::rgb(0, 0, 0), kScratchWidth, kScratchHeight),
      m_picsetup1(image::rgb(0, 0, 0), kScratchWidth, kScratchHeight)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Pixmold by Dorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/pixmold/pixmold.png")));
    setAcceptDrops(true);

    m_history
        = new SheetHistory([this](const SheetState& state) { restoreSheet(state); }, SheetHistory::kMaxBytes, this);
    buildControls();
    buildMenus();

    m_state.LastSavePath = startFolder();
    m_state.LastLoadPath = m_state.LastSavePath;

    resize(startWindowSize(menuBar()->sizeHint().height()));
    layOut();
}

Main::~Main()
{
    // The history is a child, destroyed after this class's part of the window: its
    // stack's last signals must not reach a Main that is no longer one.
    disconnect(&m_history->stack(), nullptr, this, nullptr);
}

void Main::buildControls()
{
    m_client = new QWidget(this);
    setCentralWidget(m_client);

    m_lblCurImage = new QLabel(m_client);
    m_lblCurImage->setObjectName(QStringLiteral("lblCurImage"));
    m_lblCurImage->setGeometry(twipsRect(120, 0, 2535, 255));
    m_lblCurImage->setAlignment(Qt::AlignCenter);
    m_lblCurImage->setAutoFillBackground(true);
    QPalette namePalette = m_lblCurImage->palette();
    namePalette.setColor(QPalette::Window, Qt::black);
    namePalette.setColor(QPalette::WindowText, QColor(0, 192, 192));
    m_lblCurImage->setPalette(namePalette);

    m_lblcoords = new QLabel(m_client);
    m_lblcoords->setObjectName(QStringLiteral("lblcoords"));
    m_lblcoords->setGeometry(twipsRect(2640, 0, 1095, 255));
    m_lblcoords->setAlignment(Qt::AlignCenter);

    m_picPic = new Viewport(m_client);
    m_picPic->setGeometry(twipsRect(120, 240, 2775, 3135));
    connect(m_picPic, &Viewport::pointerMoved, this, &Main::showPointer);
    connect(m_picPic, &Viewport::pressed, this, &Main::changeColourAt);
    connect(m_picPic, &Viewport::zoomWheel, this, &Main::zoomByWheel);

    auto makeScrollBar = [this](Qt::Orientation orientation, const char* name, QRect geometry) {
        auto* bar = new QScrollBar(orientation, m_client);
        bar->setObjectName(QLatin1String(name));
        bar->setGeometry(geometry);
        bar->setRange(0, 0);
        bar->setSingleStep(1);
        bar->setPageStep(5);
        bar->hide();
        // Tracking is on, so this also follows the thumb while it is dragged.
        connect(bar, &QScrollBar::valueChanged, this, [this] { UpdatePic(m_HScroll1->value(), m_VScroll1->value()); });
        return bar;
    };
    m_VScroll1 = makeScrollBar(Qt::Vertical, "VScroll1", twipsRect(2880, 240, 255, 3135));
    m_HScroll1 = makeScrollBar(Qt::Horizontal, "HScroll1", twipsRect(120, 3360, 2775, 255));

    m_PB = new QProgressBar(m_client);
    m_PB->setObjectName(QStringLiteral("PB"));
    m_PB->setGeometry(twipsRect(120, 3600, 2775, 255));
    m_PB->setRange(0, 100);
    m_PB->setTextVisible(false);
    m_PB->hide();

    m_OpsFrame = new settings::OptionsPanel(m_state.sprite, m_client);
    m_OpsFrame->move(toPixels(120), toPixels(240));
    connect(m_OpsFrame, &settings::OptionsPanel::refused, this, &Main::showError);

    // Tab order of the controls that take focus.
    setTabOrder(m_picPic, m_VScroll1);
    setTabOrder(m_VScroll1, m_HScroll1);
    setTabOrder(m_HScroll1, m_OpsFrame);
}

QAction* Main::addCommand(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                          void (Main::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void Main::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, "mnuFileSave", QStringLiteral("&Save Picture"), Qt::CTRL | Qt::Key_S, &Main::mnuFileSave_Click);
    addCommand(file, "mnuFileLoad", QStringLiteral("&Load Picture"), Qt::CTRL | Qt::Key_L, &Main::mnuFileLoad_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileDash"));
    addCommand(file, "mnuFileOptions", QStringLiteral("&Options"), Qt::CTRL | Qt::Key_O, &Main::mnuFileOptions_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuFileDash2"));
    addCommand(file, "mnuFileExit", QStringLiteral("&Exit Program"), Qt::CTRL | Qt::Key_X, &Main::mnuFileExit_Click);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuEditUndo
        = addCommand(edit, "mnuEditUndo", QStringLiteral("&Undo"), QKeySequence::Undo, &Main::mnuEditUndo_Click);
    m_mnuEditRedo = addCommand(edit, "mnuEditRedo", QStringLiteral("&Redo"), QKeySequence(), &Main::mnuEditRedo_Click);
    m_mnuEditRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QUndoStack& stack = m_history->stack();
    connect(&stack, &QUndoStack::indexChanged, this, &Main::followHistory);
    followHistory();

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_mnuViewZoom = view->addAction(QStringLiteral("Zoom: 100 %"));
    m_mnuViewZoom->setObjectName(QStringLiteral("mnuViewZoom"));
    m_mnuViewZoom->setEnabled(false);
    m_mnuViewCells = view->addAction(QStringLiteral("Cells: no guess"));
    m_mnuViewCells->setObjectName(QStringLiteral("mnuViewCells"));
    m_mnuViewCells->setEnabled(false);
    view->addSeparator();
    addCommand(view, "mnuViewZoomIn", QStringLiteral("Zoom &In"), QKeySequence(), &Main::mnuViewZoomIn_Click)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    addCommand(view, "mnuViewZoomOut", QStringLiteral("Zoom &Out"), Qt::CTRL | Qt::Key_Minus,
               &Main::mnuViewZoomOut_Click);
    addCommand(view, "mnuViewActualSize", QStringLiteral("&Actual Size"), Qt::CTRL | Qt::Key_0,
               &Main::mnuViewActualSize_Click);
    view->addSeparator();
    m_mnuViewGrid = addCommand(view, "mnuViewGrid", QStringLiteral("Show Cell &Grid"), Qt::CTRL | Qt::Key_G,
                               &Main::mnuViewGrid_Click);
    m_mnuViewGrid->setCheckable(true);

    QMenu* operations = menuBar()->addMenu(QStringLiteral("&Operations"));
    operations->setObjectName(QStringLiteral("mnuTools"));
    addCommand(operations, "mnuFileNeg", QStringLiteral("&Make Negative"), Qt::Key_F1, &Main::mnuFileNeg_Click);
    addCommand(operations, "mnuFileNPC", QStringLiteral("M&ake NPC-Compatible"), Qt::Key_F2, &Main::mnuFileNPC_Click);
    addCommand(operations, "mnuFileArrange", QStringLiteral("&Re-Arrange Sprites"), Qt::Key_F3,
               &Main::mnuFileArrange_Click);
    addCommand(operations, "mnuFileChange", QStringLiteral("&Change A Color"), Qt::Key_F4, &Main::mnuFileChange_Click);
}

bool Main::imageLoaded() const
{
    return !m_lblCurImage->text().isEmpty();
}

bool Main::optionsOpen() const
{
    return m_OpsFrame->isOpen();
}

// While an operation runs, commands are ignored: one started in its yield would work
// on surfaces the operation is still changing.
bool Main::commandsSilenced() const
{
    return m_busy || optionsOpen();
}

bool Main::refuseWithoutImage()
{
    if (imageLoaded())
        return false;
    m_dialogs.message(QStringLiteral("You must have an image loaded first!"), Buttons::Ok, QStringLiteral("Tarnel"));
    return true;
}

void Main::mnuFileSave_Click()
{
    if (!commandsSilenced())
        RunCommand(0);
}

void Main::mnuFileLoad_Click()
{
    if (!commandsSilenced())
        RunCommand(1);
}

void Main::mnuFileExit_Click()
{
    if (!commandsSilenced())
        RunCommand(3);
}

void Main::mnuEditUndo_Click()
{
    if (!commandsSilenced())
        m_history->undo();
}

void Main::mnuEditRedo_Click()
{
    if (!commandsSilenced())
        m_history->redo();
}

// The captions name the step; with nothing to undo or redo the item is disabled.
void Main::followHistory()
{
    const QUndoStack& stack = m_history->stack();
    m_mnuEditUndo->setEnabled(stack.canUndo());
    m_mnuEditUndo->setText(stack.canUndo() ? QStringLiteral("&Undo ") + stack.undoText() : QStringLiteral("&Undo"));
    m_mnuEditRedo->setEnabled(stack.canRedo());
    m_mnuEditRedo->setText(stack.canRedo() ? QStringLiteral("&Redo ") + stack.redoText() : QStringLiteral("&Redo"));
}

void Main::restoreSheet(const SheetState& state)
{
    m_picPic1.restore(state.picture);
    setCellGrid(state.grid);
    UpdatePic(m_HScroll1->value(), m_VScroll1->value());
}

void Main::mnuFileOptions_Click()
{
    if (!m_busy)
        m_OpsFrame->open();
}

void Main::mnuFileNeg_Click()
{
    if (!commandsSilenced() && !refuseWithoutImage())
        RunCommand(2);
}

void Main::mnuFileNPC_Click()
{
    if (!commandsSilenced() && !refuseWithoutImage())
        RunCommand(4);
}

void Main::mnuFileArrange_Click()
{
    if (!commandsSilenced() && !refuseWithoutImage())
        rearrangeSprites();
}

void Main::mnuFileChange_Click()
{
    if (commandsSilenced() || refuseWithoutImage())
        return;
    m_state.ColorPickMode = true;
    m_dialogs.message(QStringLiteral("Please click on the color you would like changed!"), Buttons::Ok,
                      QStringLiteral("Tarnel"));
}

void Main::RunCommand(int code)
{
    switch (code) {
    case 0:
        savePicture();
        break;
    case 1:
        loadPicture();
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

void Main::exitProgram()
{
    const Answer answer = m_dialogs.message(QStringLiteral("Are you sure you wish to exit the Pixmold?"),
                                            Buttons::YesNo, QStringLiteral("Tarnel"));
    if (answer != Answer::Yes)
        return;
    m_exiting = true;
    close();
}

void Main::closeEvent(QCloseEvent* event)
{
    if (m_exiting) {
        event->accept();
        return;
    }
    if (m_busy) {
        event->ignore();
        return;
    }
    const Answer answer = m_dialogs.message(QStringLiteral("Are you sure you wish to exit the Pixmold?"),
                                            Buttons::YesNo, QStringLiteral("Tarnel"));
    m_exiting = answer == Answer::Yes;
    event->setAccepted(m_exiting);
}

void Main::showError(const QString& text)
{
    m_dialogs.message(text, Buttons::Ok, QStringLiteral("Tarnel"));
}

} // namespace shell
