// SPDX-License-Identifier: MIT
#include "batch/window_run.h"

#include "shell/animation_preview.h"

#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

namespace {

// `rows` rows of 4 cells of 16 x 16 on white, each with a block of its own colour: red
// row * 80, green column * 60.
QImage sheet(int rows)
{
    QImage picture(64, 16 * rows, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 4; ++column)
            for (int y = 4; y < 12; ++y)
                for (int x = 4; x < 12; ++x)
                    picture.setPixel(column * 16 + x, row * 16 + y, qRgb(row * 80, column * 60, 200));
    return picture;
}

// The preview beside a shown window, open.
struct PreviewedWindow : WindowFixture {
    shell::AnimationPreview* preview = control<shell::AnimationPreview>("preview");

    PreviewedWindow() { trigger("mnuViewPreview"); }

    // The row of the sheet the frame on show was cut from, by its block's red.
    int rowShown() const
    {
        const QImage frame = control<QWidget>("previewFrame")->grab().toImage();
        return frame.isNull() ? -1 : qRed(frame.pixel(8, 8)) / 80;
    }
};

} // namespace

class tst_WindowPreview : public QObject {
    Q_OBJECT

private slots:
    void shortcutsClashWithNone()
    {
        WindowFixture f;
        QHash<QKeySequence, QString> taken;
        for (QAction* menu : f.window->menuBar()->actions()) {
            QSet<QChar> keys;
            for (QAction* item : menu->menu()->actions()) {
                for (const QKeySequence& shortcut : item->shortcuts()) {
                    QVERIFY2(!taken.contains(shortcut), qPrintable(item->text() + " and " + taken.value(shortcut)));
                    taken.insert(shortcut, item->text());
                }
                const qsizetype amp = item->text().indexOf(u'&');
                if (amp >= 0) {
                    const QChar key = item->text().at(amp + 1).toLower();
                    QVERIFY2(!keys.contains(key), qPrintable(item->text()));
                    keys.insert(key);
                }
            }
        }
    }

    void opensWithoutImageAndGoesWithTheWindow()
    {
        PreviewedWindow f;
        QVERIFY(f.preview->isVisible());
        QVERIFY(f.dialogs.shown.isEmpty());
        f.preview->close();
        QVERIFY(!f.control<QAction>("mnuViewPreview")->isChecked());
        f.trigger("mnuViewPreview");
        QVERIFY(f.preview->isVisible());
        f.trigger("mnuViewPreview");
        QVERIFY(!f.preview->isVisible());
        f.trigger("mnuViewPreview");

        f.dialogs.answers.enqueue(shell::Answer::Yes);
        f.window->close();
        QVERIFY(!f.preview->isVisible());
    }

    void followsTheSheetAndTheRowClicked()
    {
        PreviewedWindow f;
        f.control<QSpinBox>("previewFps")->setValue(1);
        f.load(sheet(3));
        QCOMPARE(f.rowShown(), 0);
        f.mouse(QEvent::MouseButtonPress, QPointF(20, 40), Qt::LeftButton);
        QCOMPARE(f.rowShown(), 2);

        operateThroughWindow(f, *ops::operationForOption(u"rearrange"), "3,2,1");
        QCOMPARE(f.preview->row(), 2);
        QCOMPARE(f.rowShown(), 0);
        f.trigger("mnuEditUndo");
        QCOMPARE(f.rowShown(), 2);
        f.trigger("mnuEditRedo");
        QCOMPARE(f.rowShown(), 0);
    }

    void holdsStillWhileAnOperationRuns()
    {
        PreviewedWindow f;
        f.load(sheet(3));
        auto* exportButton = f.control<QPushButton>("previewExport");
        QList<bool> exportable;
        f.dialogs.onYield = [&] { exportable << exportButton->isEnabled(); };
        operateThroughWindow(f, *ops::operationForOption(u"negative"), "4");
        f.dialogs.onYield = nullptr;
        QVERIFY(!exportable.isEmpty());
        QVERIFY(!exportable.contains(true));
        QVERIFY(exportButton->isEnabled());
    }

    // The background, keyed white, turns to the checkerboard's greys with View's item and
    // back; the sprite's block keeps its colour.
    void drawsTheKeyAsTheViewDoes()
    {
        PreviewedWindow f;
        f.load(sheet(1));
        f.dialogs.colours << image::rgb(255, 255, 255);
        f.trigger("mnuEditKey");
        const auto frame = [&f] { return f.control<QWidget>("previewFrame")->grab().toImage(); };
        QCOMPARE(frame().pixel(0, 0), qRgb(255, 255, 255));
        f.trigger("mnuViewKey");
        QVERIFY(frame().pixel(0, 0) == qRgb(238, 238, 238) || frame().pixel(0, 0) == qRgb(204, 204, 204));
        QCOMPARE(frame().pixel(8, 8), qRgb(0, 0, 200));
        f.trigger("mnuViewKey");
        QCOMPARE(frame().pixel(0, 0), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(tst_WindowPreview)
#include "window_preview_test.moc"
