// SPDX-License-Identifier: MIT
#include "window_fixture.h"

namespace {

const QRgb kKey = qRgb(0, 0, 0);

// A frame of 3 x 2 pixels: its colour, and its top-left pixel white so that a frame put
// in the wrong way round shows.
QImage frame(QRgb colour)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    return picture;
}

// The expected sheet, cell by cell, built from the frames themselves.
QImage sheetOf(const QList<QList<QRgb>>& rows)
{
    QImage sheet(3 * int(rows[0].size()), 2 * int(rows.size()), QImage::Format_RGB32);
    for (int row = 0; row < rows.size(); ++row)
        for (int column = 0; column < rows[row].size(); ++column)
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    sheet.setPixel(3 * column + x, 2 * row + y,
                                   rows[row][column] == kKey ? kKey : frame(rows[row][column]).pixel(x, y));
    return sheet;
}

const QRgb kRed = qRgb(200, 0, 0), kGreen = qRgb(0, 200, 0), kBlue = qRgb(0, 0, 200);

// Writes the frames as walk1.bmp, walk2.bmp and walk10.bmp, and gives them in the order
// a file dialog may list them.
QStringList writeFrames(WindowFixture& f)
{
    const QList<std::pair<QString, QRgb>> frames{{"walk10.bmp", kBlue}, {"walk2.bmp", kGreen}, {"walk1.bmp", kRed}};
    QStringList paths;
    for (const auto& [name, colour] : frames) {
        paths << f.folder.filePath(name);
        frame(colour).save(paths.last(), "BMP");
    }
    return paths;
}

} // namespace

class tst_WindowFrames : public QObject {
    Q_OBJECT

private slots:
    void importJoinsInNameOrder_data()
    {
        QTest::addColumn<bool>("loaded"); // a sheet, with a step to undo, before the import
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QImage>("expected");

        QTest::newRow("two a row, the last keyed") << true << "2" << sheetOf({{kRed, kGreen}, {kBlue, kKey}});
        QTest::newRow("no number is one column") << true << "abc" << sheetOf({{kRed}, {kGreen}, {kBlue}});
        QTest::newRow("no sheet before") << false << "3" << sheetOf({{kRed, kGreen, kBlue}});
    }

    // As a load: a new history, the first file's name, the frames' grid.
    void importJoinsInNameOrder()
    {
        QFETCH(bool, loaded);
        QFETCH(QString, columns);
        QFETCH(QImage, expected);
        WindowFixture f;
        if (loaded) {
            f.load(patternPicture(40, 30));
            f.dialogs.inputs << "2";
            f.trigger("mnuFileNeg");
        }
        f.dialogs.fileLists << writeFrames(f);
        f.dialogs.inputs << columns;
        f.trigger("mnuFileImportFrames");

        QCOMPARE(toImage(f.window->workingImage()), expected);
        QCOMPARE(f.caption(), QStringLiteral("walk1.bmp"));
        QVERIFY(!f.control<QAction>("mnuEditUndo")->isEnabled());
        const shell::CellGrid& grid = f.window->cellGrid();
        QCOMPARE(QSizeF(grid.columns, grid.rows), QSizeF(expected.width() / 3, expected.height() / 2));
        QVERIFY(!grid.guessed);
    }

    void nothingChanges_data()
    {
        QTest::addColumn<bool>("chosen"); // files chosen in the dialog
        QTest::addColumn<QString>("columns");
        QTest::addColumn<int>("frameWidth"); // of walk2.bmp
        QTest::addColumn<QString>("message");

        QTest::newRow("dialog cancelled") << false << "" << 3 << "";
        QTest::newRow("prompt cancelled") << true << "" << 3 << "";
        QTest::newRow("a fraction") << true << "1.5" << 3 << "whole number";
        QTest::newRow("a frame of another size") << true << "2" << 4 << "walk2.bmp: It is 4 x 2 pixels";
    }

    void nothingChanges()
    {
        QFETCH(bool, chosen);
        QFETCH(QString, columns);
        QFETCH(int, frameWidth);
        QFETCH(QString, message);
        WindowFixture f;
        f.load(patternPicture(40, 30));
        const QImage loaded = toImage(f.window->workingImage());
        const QStringList frames = writeFrames(f);
        QImage(frameWidth, 2, QImage::Format_RGB32).save(frames[1], "BMP");
        f.dialogs.fileLists << (chosen ? frames : QStringList());
        if (chosen)
            f.dialogs.inputs << columns;
        f.trigger("mnuFileImportFrames");

        QCOMPARE(toImage(f.window->workingImage()), loaded);
        QCOMPARE(f.caption(), QStringLiteral("sheet.bmp"));
        const QStringList messages = f.dialogs.messages();
        QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(messages[0].contains(message), qPrintable(messages[0]));
    }

    void nothingWhileOptionsOpen()
    {
        WindowFixture f;
        f.trigger("mnuFileOptions");
        f.trigger("mnuFileImportFrames");
        QVERIFY(f.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(tst_WindowFrames)
#include "window_frames_test.moc"
