// SPDX-License-Identifier: MIT
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

const image::Colour kGrey = image::rgb(128, 128, 128);

} // namespace

class tst_WindowFiles : public QObject {
    Q_OBJECT
private slots:
    void loadSmallSheet();
    void loadLargeSheet();
    void borderQuirk_data();
    void borderQuirk();
    void cancelledLoadChangesNothing();
    void failedLoadIsReported();
    void loadResetsScrolling();
    void saveRoundTrip();
    void saveAddsExtension();
    void saveFormatFollowsTheName_data();
    void saveFormatFollowsTheName();
    void openedWithoutTheDialog_data();
    void openedWithoutTheDialog();
    void failedSaveIsReported();
    void dialogsStartAtTheLastFile();
    void pointerReadout();
    void pointerLeftOfViewport();
    void scrollBarsMoveTheView();
};

void tst_WindowFiles::loadSmallSheet()
{
    WindowFixture f;
    const QString path = f.load(patternPicture(100, 50));
    QCOMPARE(f.caption(), QStringLiteral("sheet.bmp"));
    QCOMPARE(f.control<QLabel>("lblCurImage")->toolTip(), QStringLiteral("sheet.bmp"));
    QCOMPARE(f.window->state().LastLoadPath, path);
    QCOMPARE(f.window->state().ImageWidth, 1500.0f);
    QCOMPARE(f.window->state().ImageHeight, 750.0f);
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(100, 50));
    QVERIFY(f.hScroll()->isHidden());
    QVERIFY(f.vScroll()->isHidden());

    // The image at the viewport's corner, grey to its right and below.
    const image::Surface& view = f.viewport()->surface();
    QCOMPARE(image::GetPixel(view, 99, 49), image::GetPixel(f.window->workingImage(), 99, 49));
    QCOMPARE(image::GetPixel(view, 100, 10), kGrey);
    QCOMPARE(image::GetPixel(view, 10, 50), kGrey);

    const shell::FileDialogSettings& dialog = f.dialogs.fileDialogs.constLast();
    QCOMPARE(dialog.filters.constFirst(), QStringLiteral("Windows Bitmap (*.bmp)"));
    // Every picture in one filter, before the formats one by one.
    QVERIFY(dialog.filters[1].startsWith(QStringLiteral("All pictures (*.bmp *.png *.jpg *.jpeg *.gif ")));
    QVERIFY(dialog.filters[1].contains(QStringLiteral(" *.xpm")));
    QCOMPARE(dialog.filters[2], QStringLiteral("PNG (*.png)"));
    QVERIFY(dialog.filters.contains(QStringLiteral("PNG (*.png)")));
    QVERIFY(dialog.filters.contains(QStringLiteral("JPEG (*.jpg *.jpeg)")));
    QCOMPARE(dialog.filters.constLast(), QStringLiteral("All files (*)"));
    QCOMPARE(dialog.defaultSuffix, QStringLiteral("bmp"));
}

void tst_WindowFiles::loadLargeSheet()
{
    WindowFixture f;
    f.load(patternPicture(1000, 700));
    const image::Surface& view = f.viewport()->surface();
    QVERIFY(f.hScroll()->isVisibleTo(f.window.get()));
    QVERIFY(f.vScroll()->isVisibleTo(f.window.get()));
    QCOMPARE(f.window->view().limits().MaxScrollX, float(1000 - view.width()));
    QCOMPARE(f.window->view().limits().MaxScrollY, float(700 - view.height()));
    QCOMPARE(f.hScroll()->maximum(), 1000 - view.width());
    QCOMPARE(f.vScroll()->maximum(), 700 - view.height());

    // With the thumb at the end, the last column stands at the viewport's right inner edge.
    f.hScroll()->setValue(f.hScroll()->maximum());
    QCOMPARE(image::GetPixel(view, view.width() - 1, 0), image::GetPixel(f.window->workingImage(), 999, 0));
}

void tst_WindowFiles::borderQuirk_data()
{
    QTest::addColumn<int>("extra");
    QTest::addColumn<bool>("bar");
    // Outer sizes are compared: up to the border on both sides beyond the inner area, no bar.
    QTest::newRow("inner size") << 0 << false;
    QTest::newRow("one past inner") << 1 << false;
    QTest::newRow("the border's width") << 2 * shell::Viewport::kBorder << false;
    QTest::newRow("one past outer") << 2 * shell::Viewport::kBorder + 1 << true;
}

void tst_WindowFiles::borderQuirk()
{
    QFETCH(int, extra);
    QFETCH(bool, bar);
    WindowFixture f;
    const int innerWidth = f.viewport()->surface().width();
    f.load(patternPicture(innerWidth + extra, 20));
    QCOMPARE(f.hScroll()->isVisibleTo(f.window.get()), bar);
    QCOMPARE(f.window->view().limits().MaxScrollX, bar ? float(extra) : 0.0f);
}

void tst_WindowFiles::cancelledLoadChangesNothing()
{
    WindowFixture f;
    const QString start = f.window->state().LastLoadPath;
    f.dialogs.files.enqueue(QString());
    f.trigger("mnuFileLoad");
    QVERIFY(f.caption().isEmpty());
    QCOMPARE(f.window->state().LastLoadPath, start);
    f.trigger("mnuFileNeg");
    QCOMPARE(f.dialogs.messages(), QStringList{QStringLiteral("You must have an image loaded first!")});
}

void tst_WindowFiles::failedLoadIsReported()
{
    WindowFixture f;
    f.load(patternPicture(100, 50), QStringLiteral("good.bmp"));
    f.hScroll()->setValue(0);
    const QImage view = toImage(f.viewport()->surface());

    const QString path = f.folder.filePath(QStringLiteral("notes.bmp"));
    QFile text(path);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all");
    text.close();
    f.dialogs.files.enqueue(path);
    f.trigger("mnuFileLoad");

    QCOMPARE(f.dialogs.messages().size(), 1);
    QVERIFY(f.dialogs.messages()[0].contains(QLatin1String("notes.bmp")));
    QCOMPARE(f.dialogs.shown.constLast().title, QStringLiteral("Tarnel"));
    QCOMPARE(f.window->state().LastLoadPath, path);
    QCOMPARE(f.caption(), QStringLiteral("good.bmp"));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(100, 50));
    QCOMPARE(toImage(f.viewport()->surface()), view);
    QCOMPARE(f.window->state().ImageWidth, 1500.0f);
}

void tst_WindowFiles::loadResetsScrolling()
{
    WindowFixture f;
    f.load(patternPicture(1000, 1000), QStringLiteral("big.bmp"));
    f.hScroll()->setValue(300);
    f.vScroll()->setValue(200);
    f.load(patternPicture(600, 600), QStringLiteral("smaller.bmp"));
    QCOMPARE(f.hScroll()->value(), 0);
    QCOMPARE(f.vScroll()->value(), 0);
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 0, 0), image::GetPixel(f.window->workingImage(), 0, 0));
}

void tst_WindowFiles::saveRoundTrip()
{
    WindowFixture f;
    QImage sheet = patternPicture(64, 48);
    sheet.setPixel(0, 0, qRgb(0, 0, 0));
    sheet.setPixel(1, 0, qRgb(20, 20, 20));
    sheet.setPixel(2, 0, qRgb(255, 255, 255));
    f.load(sheet);

    const QString saved = f.folder.filePath(QStringLiteral("out.bmp"));
    f.dialogs.files.enqueue(saved);
    f.trigger("mnuFileSave");
    QCOMPARE(f.window->state().LastSavePath, saved);
    QVERIFY(f.dialogs.messages().isEmpty());

    f.load(QImage(), QStringLiteral("out.bmp"));
    QCOMPARE(toImage(f.window->workingImage()), sheet);
    QCOMPARE(f.caption(), QStringLiteral("out.bmp"));
}

void tst_WindowFiles::saveAddsExtension()
{
    WindowFixture f;
    f.load(patternPicture(10, 10));
    f.dialogs.files.enqueue(f.folder.filePath(QStringLiteral("noext")));
    f.trigger("mnuFileSave");
    QVERIFY(QFileInfo::exists(f.folder.filePath(QStringLiteral("noext.bmp"))));
    QCOMPARE(f.window->state().LastSavePath, f.folder.filePath(QStringLiteral("noext.bmp")));
}

void tst_WindowFiles::saveFormatFollowsTheName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("signature");
    const QByteArray png("\x89PNG", 4), bmp("BM");
    QTest::newRow("png") << "a.png"
                         << "a.png" << png;
    QTest::newRow("PNG in capitals") << "b.PNG"
                                     << "b.PNG" << png;
    QTest::newRow("bmp") << "c.bmp"
                         << "c.bmp" << bmp;
    QTest::newRow("any other suffix") << "d.txt"
                                      << "d.txt" << bmp;
}

void tst_WindowFiles::saveFormatFollowsTheName()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, signature);
    WindowFixture f;
    f.load(patternPicture(30, 20));
    f.dialogs.files.enqueue(f.folder.filePath(typed));
    f.trigger("mnuFileSave");
    QCOMPARE(f.dialogs.fileDialogs.constLast().filters,
             (QStringList{QStringLiteral("Windows Bitmap (*.bmp)"), QStringLiteral("PNG (*.png)"),
                          QStringLiteral("8-bit indexed bitmap (*.bmp)")}));
    QFile file(f.folder.filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(signature.size()), signature);
    QCOMPARE(QImage(file.fileName()).convertToFormat(QImage::Format_RGB32), patternPicture(30, 20));
}

// A file given on the command line or dropped on the window opens as one chosen in the
// open dialog: any picture Qt reads, the same message for one it cannot.
void tst_WindowFiles::openedWithoutTheDialog_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<bool>("optionsOpen");
    QTest::newRow("command line") << false << false;
    QTest::newRow("dropped") << true << false;
    QTest::newRow("dropped on the open Options panel") << true << true;
}

void tst_WindowFiles::openedWithoutTheDialog()
{
    QFETCH(bool, dropped);
    QFETCH(bool, optionsOpen);
    WindowFixture f;
    const QString png = f.folder.filePath(QStringLiteral("sheet.png"));
    QVERIFY(patternPicture(40, 30).save(png));
    const QString text = f.folder.filePath(QStringLiteral("notes.bmp"));
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture");
    notes.close();
    if (optionsOpen)
        f.trigger("mnuFileOptions");

    const auto open = [&](const QString& path) {
        if (!dropped) {
            f.window->openPicture(path);
            return;
        }
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(text)});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.window.get(), &enter);
        QCOMPARE(enter.isAccepted(), !optionsOpen);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.window.get(), &drop);
    };
    open(png);
    if (optionsOpen) {
        QVERIFY(f.caption().isEmpty());
        return;
    }
    QCOMPARE(f.caption(), QStringLiteral("sheet.png"));
    QCOMPARE(f.window->state().LastLoadPath, png);
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(40, 30));
    open(text);
    QCOMPARE(f.dialogs.messages().size(), 1);
    QVERIFY(f.dialogs.messages().constFirst().contains(QStringLiteral("could not be loaded")));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(40, 30));
}

void tst_WindowFiles::failedSaveIsReported()
{
    WindowFixture f;
    f.load(patternPicture(10, 10));
    // A folder inside a regular file cannot be created, whoever runs the test.
    QFile blocker(f.folder.filePath(QStringLiteral("plain")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = f.folder.filePath(QStringLiteral("plain/out.bmp"));
    f.dialogs.files.enqueue(path);
    f.trigger("mnuFileSave");
    QCOMPARE(f.dialogs.messages().size(), 1);
    QVERIFY(f.dialogs.messages()[0].contains(QDir::toNativeSeparators(path)));
    QCOMPARE(f.window->state().LastSavePath, path);
}

void tst_WindowFiles::dialogsStartAtTheLastFile()
{
    WindowFixture f;
    const QString start = f.window->state().LastLoadPath;
    const QString first = f.load(patternPicture(10, 10), QStringLiteral("first.bmp"));
    f.load(patternPicture(10, 10), QStringLiteral("second.bmp"));
    const QString saved = f.folder.filePath(QStringLiteral("saved.bmp"));
    f.dialogs.files.enqueue(saved);
    f.trigger("mnuFileSave");
    f.dialogs.files.enqueue(QString());
    f.trigger("mnuFileSave");

    QCOMPARE(f.dialogs.fileDialogs.size(), 4);
    QCOMPARE(f.dialogs.fileDialogs[0].startPath, start);
    QCOMPARE(f.dialogs.fileDialogs[1].startPath, first);
    QCOMPARE(f.dialogs.fileDialogs[2].startPath, start); // the save's own path
    QCOMPARE(f.dialogs.fileDialogs[3].startPath, saved);
}

void tst_WindowFiles::pointerReadout()
{
    WindowFixture f;
    f.mouse(QEvent::MouseMove, QPointF(0, 0));
    QCOMPARE(f.readout(), QStringLiteral("( 0, 0 )"));

    f.load(patternPicture(1000, 100));
    f.hScroll()->setValue(100);
    f.mouse(QEvent::MouseMove, QPointF(12, 40));
    QCOMPARE(f.readout(), QStringLiteral("( 112, 40 )"));

    // Nothing clamped: beyond the image's bottom the read-out goes on.
    f.mouse(QEvent::MouseMove, QPointF(12, 150));
    QCOMPARE(f.readout(), QStringLiteral("( 112, 150 )"));

    // The last read-out stays when the pointer leaves.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.viewport(), &leave);
    QCOMPARE(f.readout(), QStringLiteral("( 112, 150 )"));
}

void tst_WindowFiles::pointerLeftOfViewport()
{
    WindowFixture f;
    f.mouse(QEvent::MouseMove, QPointF(-3, 17), Qt::LeftButton);
    QCOMPARE(f.readout(), QStringLiteral("( -3, 17 )"));
}

void tst_WindowFiles::scrollBarsMoveTheView()
{
    WindowFixture f;
    f.load(patternPicture(800, 900));
    f.vScroll()->setValue(33);
    f.hScroll()->setValue(21);
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 5, 6), image::GetPixel(f.window->workingImage(), 26, 39));
    QCOMPARE(f.hScroll()->singleStep() * f.hScroll()->pageStep(), 5);
}

QTEST_MAIN(tst_WindowFiles)
#include "window_files_test.moc"
