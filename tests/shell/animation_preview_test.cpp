// SPDX-License-Identifier: MIT
#include "window_fixture.h"
#include "image/pixel_text.h"
#include "shell/animation_clock.h"
#include "shell/animation_preview.h"

#include <QtTest>

#include <QCheckBox>
#include <QImageReader>
#include <QPushButton>
#include <QSpinBox>

using ops::CellGrid;
using shell::AnimationPreview;

Q_DECLARE_METATYPE(CellGrid)

namespace {

// Three rows of four 2 x 2 cells, each cell two letters of its own.
const QString kSheet = QStringLiteral("aAbBcCdD|AaBbCcDd|eEfFgGhH|EeFfGgHh|iIjJkKlL|IiJjKkLl");
const CellGrid kGrid{3, 4};

// A preview shown with scripted dialogs, and what a user sees of it.
struct PreviewFixture {
    ScriptedDialogs dialogs;
    AnimationPreview preview{dialogs, 2};

    PreviewFixture() { preview.show(); }

    template <typename T> T* control(const char* name) const { return childNamed<T>(preview, name); }

    // Shows the sheet playing at `fps` frames a second.
    void play(int fps)
    {
        preview.showSheet(pixel_text::surface(kSheet), kGrid);
        control<QSpinBox>("previewFps")->setValue(fps);
    }

    // The frame on screen, one character a screen pixel.
    QString frame() const
    {
        image::Surface shown;
        shown.assign(control<QWidget>("previewFrame")->grab().toImage().convertToFormat(QImage::Format_RGB32));
        return pixel_text::text(shown);
    }

    // The cells shown, each once as it comes, until `count` are seen.
    QList<int> watch(int count)
    {
        QList<int> seen{preview.shownCell()};
        (void)QTest::qWaitFor(
            [&] {
                if (preview.shownCell() != seen.constLast())
                    seen << preview.shownCell();
                return seen.size() >= count;
            },
            10000);
        return seen;
    }
};

// Whether `seen` follows `order` round and round, frames skipped allowed.
bool followsOrder(const QList<int>& seen, const QList<int>& order)
{
    qsizetype at = order.indexOf(seen.value(0, -1));
    if (at < 0)
        return false;
    for (qsizetype i = 1; i < seen.size(); ++i) {
        qsizetype step = 1;
        while (step < order.size() && order[(at + step) % order.size()] != seen[i])
            ++step;
        if (step == order.size())
            return false;
        at = (at + step) % order.size();
    }
    return true;
}

} // namespace

class tst_AnimationPreview : public QObject {
    Q_OBJECT

private slots:
    void clockDoesNotDrift()
    {
        using shell::AnimationClock;
        for (int fps = 1; fps <= 60; ++fps) {
            for (qint64 seconds : {1, 7, 3600}) {
                const qint64 at = seconds * 1'000'000'000;
                QCOMPARE(AnimationClock::ticksAt(at, fps), seconds * fps);
                QCOMPARE(AnimationClock::ticksAt(at - 1, fps), seconds * fps - 1);
                // Waiting the time it gives never ends before the next tick.
                const qint64 wait = qint64(AnimationClock::millisecondsToNextTick(at - 1, fps)) * 1'000'000;
                QCOMPARE(AnimationClock::ticksAt(at - 1 + wait, fps), seconds * fps);
            }
        }
        QCOMPARE(AnimationClock::millisecondsToNextTick(0, 60), 17); // 16.7 ms
        QCOMPARE(AnimationClock::millisecondsToNextTick(16'000'000, 60), 1);
    }

    void nothingToPlay_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<CellGrid>("grid");
        QTest::addColumn<QString>("message");

        QTest::newRow("no sheet") << "" << kGrid << "No sheet is loaded";
        QTest::newRow("no grid") << kSheet << CellGrid{} << "no cell grid";
        QTest::newRow("no rows") << kSheet << CellGrid{0, 4} << "no cell grid";
    }

    void nothingToPlay()
    {
        QFETCH(QString, sheet);
        QFETCH(CellGrid, grid);
        QFETCH(QString, message);

        PreviewFixture f;
        f.preview.showSheet(sheet.isEmpty() ? image::Surface() : pixel_text::surface(sheet), grid);
        const auto* label = f.control<QLabel>("previewMessage");
        QVERIFY(label->isVisible());
        QVERIFY2(label->text().contains(message), qPrintable(label->text()));
        QVERIFY(!f.control<QWidget>("previewFrame")->isVisible());
        QVERIFY(!f.control<QPushButton>("previewExport")->isEnabled());
        QCOMPARE(f.preview.shownCell(), -1);
    }

    void showsCellAtZoom()
    {
        PreviewFixture f;
        f.play(1);
        QVERIFY(!f.control<QLabel>("previewMessage")->isVisible());
        QCOMPARE(f.preview.shownCell(), 0);
        QCOMPARE(f.frame(), "aaAA|aaAA|AAaa|AAaa");
        f.preview.setZoom(3);
        QCOMPARE(f.frame(), "aaaAAA|aaaAAA|aaaAAA|AAAaaa|AAAaaa|AAAaaa");
    }

    void playsInOrder_data()
    {
        QTest::addColumn<bool>("pingPong");
        QTest::addColumn<QList<int>>("order");

        QTest::newRow("left to right") << false << QList<int>{0, 1, 2, 3};
        QTest::newRow("ping-pong") << true << QList<int>{0, 1, 2, 3, 2, 1};
    }

    void playsInOrder()
    {
        QFETCH(bool, pingPong);
        QFETCH(QList<int>, order);

        PreviewFixture f;
        f.control<QCheckBox>("previewPingPong")->setChecked(pingPong);
        f.play(60);
        const QList<int> seen = f.watch(2 * int(order.size()) + 1);
        QVERIFY2(seen.size() > order.size() && followsOrder(seen, order),
                 qPrintable(QString::number(seen.size()) + " cells seen"));
    }

    void rowFollowsKeysAndSheet()
    {
        PreviewFixture f;
        f.play(1);
        f.preview.setRow(2);
        QCOMPARE(f.control<QSpinBox>("previewRow")->value(), 3); // counted from 1
        QCOMPARE(f.frame(), "iiII|iiII|IIii|IIii");
        QTest::keyClick(&f.preview, Qt::Key_Up);
        QCOMPARE(f.preview.row(), 1);
        QCOMPARE(f.frame(), "eeEE|eeEE|EEee|EEee");
        QTest::keyClick(&f.preview, Qt::Key_Down);
        QTest::keyClick(&f.preview, Qt::Key_Down);
        QCOMPARE(f.preview.row(), 2);
        f.preview.setRow(7);
        QCOMPARE(f.preview.row(), 2);

        // A sheet without that row: the first, and no row above it. (The row kept on a new
        // sheet that has it: window_preview_test.)
        f.preview.showSheet(pixel_text::surface(kSheet), CellGrid{2, 4});
        QCOMPARE(f.preview.row(), 0);
        QCOMPARE(f.control<QSpinBox>("previewRow")->maximum(), 2);
        QTest::keyClick(&f.preview, Qt::Key_Up);
        QCOMPARE(f.preview.row(), 0);
    }

    void holdsStillWhileOperationRuns()
    {
        PreviewFixture f;
        f.play(60);
        f.preview.setOperationRunning(true);
        const int held = f.preview.shownCell();
        f.preview.setRow(1); // asked meanwhile: taken when it ends
        QTest::qWait(100);
        QCOMPARE(f.preview.shownCell(), held);
        QVERIFY(!f.control<QPushButton>("previewExport")->isEnabled());

        f.preview.setOperationRunning(false);
        QVERIFY(f.control<QPushButton>("previewExport")->isEnabled());
        QCOMPARE(f.watch(2).size(), 2);
    }

    void exportsRow()
    {
        PreviewFixture f;
        f.preview.showSheet(pixel_text::surface(kSheet), kGrid);
        f.preview.setRow(1);
        f.preview.setKey(pixel_text::colourOf(u'F'), false);
        f.control<QCheckBox>("previewPingPong")->setChecked(true);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());

        const QString path = dir.filePath("walk.gif");
        f.dialogs.files << "" << path << dir.filePath("no such folder/walk.gif");
        for (int click = 0; click < 3; ++click)
            f.control<QPushButton>("previewExport")->click();
        QCOMPARE(f.dialogs.fileDialogs.size(), 3);
        QCOMPARE(f.dialogs.fileDialogs[2].startPath, path);
        QCOMPARE(f.dialogs.messages().size(), 1);
        QVERIFY2(f.dialogs.messages()[0].startsWith("The file could not be created"),
                 qPrintable(f.dialogs.messages()[0]));
        QVERIFY(!QFile::exists(dir.filePath("no such folder")));

        QImageReader reader(path);
        QStringList frames;
        for (QImage frame; reader.read(&frame);) {
            QString text;
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    text += qAlpha(frame.pixel(x, y)) ? pixel_text::charOf(image::Colour::fromPixel(frame.pixel(x, y)))
                                                      : u'_';
            frames << text;
        }
        QCOMPARE(frames, (QStringList{"eEEe", "f__f", "gGGg", "hHHh", "gGGg", "f__f"}));
    }
};

QTEST_MAIN(tst_AnimationPreview)
#include "animation_preview_test.moc"
