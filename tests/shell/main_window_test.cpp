// SPDX-License-Identifier: MIT
#include "window_fixture.h"

#include "settings/options_panel.h"
#include "shell/window_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

using shell::Answer;

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void startValues();
    void dialogsStartFolder_data();
    void dialogsStartFolder();
    void startSize_data();
    void startSize();
    void windowOpensAtItsStartSize();
    void menus();
    void controlsAtTheirPlaces();
    void commandsSilentWhileOptionsOpen_data();
    void commandsSilentWhileOptionsOpen();
    void optionsKeepsThePanelOpen();
    void operationsNeedAnImage_data();
    void operationsNeedAnImage();
    void saveNeedsNoImage();
    void exitByMenu_data();
    void exitByMenu();
    void closeBox_data();
    void closeBox();
    void unknownCommandCodes();
    void commandCodesReachTheOperations_data();
    void commandCodesReachTheOperations();
    void windowKeepsItsMinimumSize();
    void resizeScrollsBackToTheCorner();
};

void tst_MainWindow::startValues()
{
    WindowFixture f;
    const shell::WindowState& state = f.window->state();
    QCOMPARE(state.sprite.width, 24.0);
    QCOMPARE(state.sprite.height, qint16(48));
    QCOMPARE(f.window->view().limits().MaxScrollX, 0.0f);
    QCOMPARE(f.window->view().limits().MaxScrollY, 0.0f);
    QCOMPARE(state.ImageWidth, 0.0f);
    QCOMPARE(state.ImageHeight, 0.0f);
    QVERIFY(!state.ColorPickMode);

    QCOMPARE(f.window->windowTitle(), QStringLiteral("Pixmold by Dorvane"));
    QVERIFY(!f.window->windowIcon().isNull());
    QVERIFY(f.caption().isEmpty());
    QVERIFY(f.readout().isEmpty());
    QVERIFY(f.hScroll()->isHidden());
    QVERIFY(f.vScroll()->isHidden());
    QVERIFY(f.progressBar()->isHidden());
    QVERIFY(!f.window->optionsOpen());
    QCOMPARE(f.window->workingImage().width(), 73);
    QCOMPARE(f.window->workingImage().height(), 209);
    QVERIFY(f.dialogs.shown.isEmpty());
}

// The images folder beside the program where there is one, else the user's pictures,
// else the home folder; never the folder of an installed program.
void tst_MainWindow::dialogsStartFolder_data()
{
    QTest::addColumn<bool>("images");
    QTest::addColumn<bool>("pictures");
    QTest::addColumn<QString>("expected"); // "images", "pictures" or "home"
    QTest::newRow("images beside the program") << true << true << "images";
    QTest::newRow("pictures") << false << true << "pictures";
    QTest::newRow("home") << false << false << "home";
}

void tst_MainWindow::dialogsStartFolder()
{
    QFETCH(bool, images);
    QFETCH(bool, pictures);
    QFETCH(QString, expected);

    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
    const QString imagesFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/images/");
    QVERIFY(!QFileInfo::exists(imagesFolder));
    if (images)
        QDir().mkpath(imagesFolder);
    if (pictures)
        QDir(home.path()).mkpath(QStringLiteral("Pictures"));

    const QString path = WindowFixture().window->state().LastLoadPath;
    QDir().rmdir(imagesFolder);
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");

    const QString want = expected == "images" ? imagesFolder
        : expected == "pictures"              ? home.filePath(QStringLiteral("Pictures/"))
                                              : home.path() + QLatin1Char('/');
    QCOMPARE(path, want);
}

// A client area of 282 x 259 pixels under the menu bar, unless the minimum outer size
// of 290 x 313 pixels, frame and menu bar included, makes it larger.
void tst_MainWindow::startSize_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<int>("menuBar");
    QTest::addColumn<QSize>("client");
    QTest::newRow("no frame") << QSize(0, 0) << 20 << QSize(290, 293);
    QTest::newRow("8 x 54 frame") << QSize(8, 54) << 20 << QSize(282, 259);
    QTest::newRow("thin frame") << QSize(4, 24) << 20 << QSize(286, 269);
}

void tst_MainWindow::startSize()
{
    QFETCH(QSize, frame);
    QFETCH(int, menuBar);
    QFETCH(QSize, client);
    const QSize window = shell::startWindowSize(menuBar).expandedTo(shell::minimumWindowSize(frame));
    QCOMPARE(window - QSize(0, menuBar), client);
}

// Before it is shown the window has its start size; shown here, with no frame, the
// minimum applies to it.
void tst_MainWindow::windowOpensAtItsStartSize()
{
    ScriptedDialogs dialogs;
    shell::Main unshown(dialogs);
    const int bar = unshown.menuBar()->sizeHint().height();
    QCOMPARE(unshown.size(), QSize(282, 259 + bar));
    WindowFixture f;
    QCOMPARE(f.window->frameGeometry().size(), QSize(282, 259 + bar).expandedTo(QSize(290, 313)));
}

void tst_MainWindow::menus()
{
    WindowFixture f;
    const QList<QAction*> menus = f.window->menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Edit"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&View"));
    QCOMPARE(menus[3]->text(), QStringLiteral("&Operations"));

    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const Item file[] = {
        {"mnuFileSave", "&Save Picture", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuFileLoad", "&Load Picture", QKeySequence(Qt::CTRL | Qt::Key_L)},
        {"mnuFileImportFrames", "Import &Frames\u2026", QKeySequence()},
        {"mnuFileDash", "", QKeySequence()},
        {"mnuFileOptions", "&Options", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuFileDash2", "", QKeySequence()},
        {"mnuFileExit", "&Exit Program", QKeySequence(Qt::CTRL | Qt::Key_X)},
    };
    const Item operations[] = {
        {"mnuFileNeg", "&Make Negative", QKeySequence(Qt::Key_F1)},
        {"mnuFileNPC", "M&ake NPC-Compatible", QKeySequence(Qt::Key_F2)},
        {"mnuFileArrange", "&Re-Arrange Sprites", QKeySequence(Qt::Key_F3)},
        {"mnuFileChange", "&Change A Color", QKeySequence(Qt::Key_F4)},
        {"mnuKeyOut", "&Key Out Background", QKeySequence(Qt::Key_F5)},
        {"mnuFileMirror", "M&irror Sprites", QKeySequence(Qt::Key_F6)},
    };
    auto check = [](QMenu* menu, const auto& items) {
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), qsizetype(std::size(items)));
        for (qsizetype i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), QLatin1String(items[i].name));
            QCOMPARE(actions[i]->text(), QString::fromUtf8(items[i].caption));
            QCOMPARE(actions[i]->shortcut(), items[i].shortcut);
            QVERIFY(actions[i]->isEnabled());
            QVERIFY(!actions[i]->isCheckable());
        }
    };
    check(menus[0]->menu(), file);
    check(menus[3]->menu(), operations);

    // Undo and redo name their step, and are disabled while there is none.
    const QList<QAction*> edit = menus[1]->menu()->actions();
    QCOMPARE(edit.size(), 5); // then the key colour's and the palette's, after a separator
    QVERIFY(edit[2]->isSeparator());
    QCOMPARE(edit[3]->objectName(), QStringLiteral("mnuEditKey"));
    QCOMPARE(edit[4]->objectName(), QStringLiteral("mnuEditPalette"));
    QCOMPARE(edit[0]->objectName(), QStringLiteral("mnuEditUndo"));
    QCOMPARE(edit[0]->text(), QStringLiteral("&Undo"));
    QCOMPARE(edit[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QVERIFY(!edit[0]->isEnabled());
    QCOMPARE(edit[1]->objectName(), QStringLiteral("mnuEditRedo"));
    QCOMPARE(edit[1]->text(), QStringLiteral("&Redo"));
    QCOMPARE(edit[1]->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    QVERIFY(!edit[1]->isEnabled());
}

void tst_MainWindow::controlsAtTheirPlaces()
{
    WindowFixture f;
    // Design positions in twips at 15 to the pixel; the viewport's size is the layout's.
    QCOMPARE(f.control<QLabel>("lblCurImage")->geometry(), QRect(8, 0, 169, 17));
    QCOMPARE(f.control<QLabel>("lblcoords")->geometry(), QRect(176, 0, 73, 17));
    QCOMPARE(f.viewport()->pos(), QPoint(8, 16));
    QCOMPARE(f.control<settings::OptionsPanel>("OpsFrame")->pos(), QPoint(8, 16));
    QCOMPARE(f.hScroll()->x(), 8);
    QCOMPARE(f.vScroll()->y(), 16);
    QCOMPARE(f.vScroll()->x(), f.viewport()->geometry().right() + 1);
    QCOMPARE(f.hScroll()->y(), f.viewport()->geometry().bottom() + 1);
    QCOMPARE(f.progressBar()->y(), f.hScroll()->geometry().bottom() + 1);

    const QPalette name = f.control<QLabel>("lblCurImage")->palette();
    QCOMPARE(name.color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(name.color(QPalette::WindowText), QColor(0, 192, 192));
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 0, 0), image::rgb(128, 128, 128));
    QCOMPARE(f.progressBar()->minimum(), 0);
    QCOMPARE(f.progressBar()->maximum(), 100);
}

void tst_MainWindow::commandsSilentWhileOptionsOpen_data()
{
    QTest::addColumn<QString>("action");
    for (const char* action :
         {"mnuFileSave", "mnuFileLoad", "mnuFileExit", "mnuFileNeg", "mnuFileNPC", "mnuFileArrange", "mnuFileChange"})
        QTest::newRow(action) << QString::fromLatin1(action);
}

void tst_MainWindow::commandsSilentWhileOptionsOpen()
{
    QFETCH(QString, action);
    WindowFixture f;
    f.trigger("mnuFileOptions");
    QVERIFY(f.window->optionsOpen());
    f.trigger(qPrintable(action));
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->state().ColorPickMode);
}

void tst_MainWindow::optionsKeepsThePanelOpen()
{
    WindowFixture f;
    f.trigger("mnuFileOptions");
    f.trigger("mnuFileOptions");
    QVERIFY(f.window->optionsOpen());
    QVERIFY(f.dialogs.shown.isEmpty());
}

void tst_MainWindow::operationsNeedAnImage_data()
{
    QTest::addColumn<QString>("action");
    for (const char* action : {"mnuFileNeg", "mnuFileNPC", "mnuFileArrange", "mnuFileChange"})
        QTest::newRow(action) << QString::fromLatin1(action);
}

void tst_MainWindow::operationsNeedAnImage()
{
    QFETCH(QString, action);
    WindowFixture f;
    const QImage before = toImage(f.window->workingImage());
    f.trigger(qPrintable(action));
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].text, QStringLiteral("You must have an image loaded first!"));
    QCOMPARE(f.dialogs.shown[0].title, QStringLiteral("Tarnel"));
    QVERIFY(!f.window->state().ColorPickMode);
    QCOMPARE(toImage(f.window->workingImage()), before);

    // Nothing was armed: a press on the viewport does nothing.
    f.mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown.size(), 1);
}

void tst_MainWindow::saveNeedsNoImage()
{
    WindowFixture f;
    f.dialogs.files.enqueue(QString());
    f.trigger("mnuFileSave");
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].kind, QStringLiteral("save"));
}

void tst_MainWindow::exitByMenu_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::newRow("yes") << Answer::Yes;
    QTest::newRow("no") << Answer::No;
}

void tst_MainWindow::exitByMenu()
{
    QFETCH(Answer, answer);
    WindowFixture f;
    f.dialogs.answers.enqueue(answer);
    f.trigger("mnuFileExit");
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].text, QStringLiteral("Are you sure you wish to exit the Pixmold?"));
    QCOMPARE(f.dialogs.shown[0].title, QStringLiteral("Tarnel"));
    QCOMPARE(f.window->isVisible(), answer == Answer::No);
}

void tst_MainWindow::closeBox_data()
{
    exitByMenu_data();
}

void tst_MainWindow::closeBox()
{
    QFETCH(Answer, answer);
    WindowFixture f;
    f.load(patternPicture(400, 300));
    f.hScroll()->setValue(40);
    f.trigger("mnuFileOptions");
    f.dialogs.answers.enqueue(answer);
    f.window->close();
    QCOMPARE(f.dialogs.messages(), QStringList{QStringLiteral("Are you sure you wish to exit the Pixmold?")});
    QCOMPARE(f.window->isVisible(), answer == Answer::No);
    if (answer == Answer::No) {
        QCOMPARE(f.hScroll()->value(), 40);
        QVERIFY(f.window->optionsOpen());
        QCOMPARE(f.caption(), QStringLiteral("sheet.bmp"));
    }
}

void tst_MainWindow::unknownCommandCodes()
{
    WindowFixture f;
    f.window->RunCommand(5);
    f.window->RunCommand(-1);
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(f.window->isVisible());
}

void tst_MainWindow::commandCodesReachTheOperations_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("negative") << 2 << QStringLiteral("How many Animation Columns are present?");
    QTest::newRow("npc") << 4 << QStringLiteral("How many sprites are in this image?");
}

// RunCommand checks nothing: the operation asks its first question, here cancelled.
void tst_MainWindow::commandCodesReachTheOperations()
{
    QFETCH(int, code);
    QFETCH(QString, prompt);
    WindowFixture f;
    f.dialogs.inputs << QString();
    f.window->RunCommand(code);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].text, prompt);
}

void tst_MainWindow::windowKeepsItsMinimumSize()
{
    WindowFixture f;
    f.window->resize(200, 200);
    QCoreApplication::processEvents();
    // 4350 x 4695 twips outside; the viewport 3641.4028 x 3135 twips.
    QCOMPARE(f.window->frameGeometry().size(), QSize(290, 313));
    QCOMPARE(f.viewport()->size(), QSize(243, 209));
    QCOMPARE(f.viewport()->surface().width(), 243 - 2 * shell::Viewport::kBorder);
}

void tst_MainWindow::resizeScrollsBackToTheCorner()
{
    WindowFixture f;
    f.load(patternPicture(1000, 800));
    f.hScroll()->setValue(100);
    f.vScroll()->setValue(50);
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 0, 0), image::GetPixel(f.window->workingImage(), 100, 50));

    f.window->resize(600, 500);
    QCoreApplication::processEvents();
    QCOMPARE(f.hScroll()->value(), 0);
    QCOMPARE(f.vScroll()->value(), 0);
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 0, 0), image::GetPixel(f.window->workingImage(), 0, 0));
    // The viewport follows the window; the scroll limits follow the viewport.
    QCOMPARE(f.viewport()->width(), shell::toPixels(float(f.window->frameGeometry().width() * 15 * 0.83710407239819)));
    QCOMPARE(f.window->view().limits().MaxScrollX, float(1000 - f.viewport()->surface().width()));
    QCOMPARE(f.control<settings::OptionsPanel>("OpsFrame")->pos(), QPoint(8, 16));
}

QTEST_MAIN(tst_MainWindow)
#include "main_window_test.moc"
