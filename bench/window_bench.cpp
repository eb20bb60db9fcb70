// SPDX-License-Identifier: MIT
// Runs each sheet operation through the headless window on a 4096 x 4096 sheet, as a
// user would, and records how long the event loop waits for a turn: the longest stretch
// without one (from the menu command to the first, between turns, and from the last to
// the redrawn viewport), and the whole time from the command to the redrawn viewport.
// Then how long a full-screen viewport takes to redraw after a scroll, zoomed, with the
// cell grid shown. It only records: nothing here fails on time.
#include "sheet.h"
#include "image/bitmap_save.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kSide = 4096;
constexpr int kRuns = 5;             // the first is cold: the process has not run the operation yet
constexpr QSize kScreen(1920, 1080); // the viewport's inner area for the redraws
constexpr int kRedraws = 15;
constexpr int kFactors[] = {1, 4, 16};

struct Command {
    const char* name;
    std::function<void(WindowFixture&)> prepare; // before the clock starts
    std::function<void(WindowFixture&)> run;
};

struct Timing {
    double longestWaitMs = 0;
    double wholeMs = 0;
    int turns = 0;
};

// One run of `command` on a freshly loaded sheet. Each turn of the event loop does
// what the window's own yield does: it handles what is pending, painting included.
Timing timeRun(WindowFixture& f, const QString& sheetFile, const Command& command)
{
    f.dialogs.files.enqueue(sheetFile);
    f.trigger("mnuFileLoad");
    QCoreApplication::processEvents();
    command.prepare(f);

    QElapsedTimer clock;
    qint64 lastTurnEnd = 0;
    Timing timing;
    f.dialogs.onYield = [&] {
        const qint64 start = clock.nsecsElapsed();
        timing.longestWaitMs = std::max(timing.longestWaitMs, double(start - lastTurnEnd) / 1e6);
        QCoreApplication::processEvents();
        lastTurnEnd = clock.nsecsElapsed();
        ++timing.turns;
    };
    clock.start();
    command.run(f);
    QCoreApplication::processEvents(); // the viewport repaints
    const qint64 end = clock.nsecsElapsed();
    f.dialogs.onYield = nullptr;
    timing.longestWaitMs = std::max(timing.longestWaitMs, double(end - lastTurnEnd) / 1e6);
    timing.wholeMs = double(end) / 1e6;
    return timing;
}

// Only the operations and redraws named on the command line run, if any are, so that
// one can be timed as a fresh process's first.
bool chosen(const char* name, int argc, char** argv)
{
    return argc < 2 || std::any_of(argv + 1, argv + argc, [&](const char* part) { return std::strstr(name, part); });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The viewport takes fixed fractions of the window, rounded: the window is resized
// until the viewport's inner area is `inner`, as near as it gets.
QSize fitViewport(WindowFixture& f, QSize inner)
{
    // How far the window moves for the viewport to move by `missing`, at least a pixel.
    const auto step = [](int missing, int num, int den) {
        return missing == 0 ? 0 : missing > 0 ? std::max(1, missing * num / den) : std::min(-1, missing * num / den);
    };
    for (int i = 0; i < 100; ++i) {
        const QSize missing = inner - f.viewport()->contentsRect().size();
        if (missing.isNull())
            break;
        f.window->resize(f.window->size() + QSize(step(missing.width(), 6, 5), step(missing.height(), 3, 2)));
        QCoreApplication::processEvents();
    }
    return f.viewport()->contentsRect().size();
}

// A 4096 x 4096 sheet of 64 x 64 cells with the grid shown: a 2048 x 4096 sheet with its
// 32 columns' negatives (64 columns), then re-arranged into 64 rows.
bool prepareGrid(WindowFixture& f)
{
    const QString file = f.folder.filePath(QStringLiteral("half.bmp"));
    if (const auto written = image::writeBitmap(bench::makeSheet(kSide / 2, kSide), file); !written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error()));
        return false;
    }
    f.dialogs.files.enqueue(file);
    f.trigger("mnuFileLoad");
    f.dialogs.inputs << QString::number(bench::kCells / 2);
    f.trigger("mnuFileNeg");
    f.dialogs.inputs << bench::rowOrder();
    f.trigger("mnuFileArrange");
    f.trigger("mnuViewGrid");
    QCoreApplication::processEvents();
    const shell::CellGrid& grid = f.window->cellGrid();
    return f.window->workingImage().width() == kSide && f.window->workingImage().height() == kSide
        && grid.rows == bench::kCells && grid.columns == bench::kCells;
}

// Redraws at each factor after a scroll to the middle of the sheet and one pixel on,
// to and fro: the scroll bar's change redraws the view (`UpdatePic`), then the viewport
// is painted at once; separately, a scroll followed by one turn of the event loop, which
// paints whatever the scroll left to paint.
void timeRedraws(WindowFixture& f, QSize inner, int argc, char** argv)
{
    std::printf("%d x %d viewport redrawn after a scroll, %d x %d sheet, grid of %d x %d cells shown\n", inner.width(),
                inner.height(), kSide, kSide, bench::kCells, bench::kCells);
    std::printf("median of %d runs each, in ms\n", kRedraws);
    std::printf("%-16s | %10s %10s %10s | %16s\n", "redraw", "UpdatePic", "repaint", "both", "scroll and turn");
    QScrollBar* bar = f.hScroll();
    for (const int factor : kFactors) {
        const QByteArray name = "viewport x" + QByteArray::number(factor);
        if (!chosen(name.constData(), argc, argv))
            continue;
        f.trigger("mnuViewActualSize");
        for (int step = 0; step < 8 && f.window->zoom() < factor; ++step)
            f.trigger("mnuViewZoomIn");
        f.vScroll()->setValue(f.vScroll()->maximum() / 2);
        const int middle = bar->maximum() / 2;
        bar->setValue(middle);
        QCoreApplication::processEvents();

        std::vector<double> update, repaint, both, turn;
        QElapsedTimer clock;
        for (int i = 0; i < kRedraws; ++i) {
            clock.start();
            bar->setValue(middle + 1);
            const qint64 updated = clock.nsecsElapsed();
            f.viewport()->repaint();
            const qint64 painted = clock.nsecsElapsed();
            update.push_back(double(updated) / 1e6);
            repaint.push_back(double(painted - updated) / 1e6);
            both.push_back(double(painted) / 1e6);
            QCoreApplication::processEvents();

            clock.start();
            bar->setValue(middle);
            QCoreApplication::processEvents();
            turn.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        std::printf("%-16s | %10.2f %10.2f %10.2f | %16.2f\n", name.constData(), median(update), median(repaint),
                    median(both), median(turn));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    WindowFixture f;
    const QString sheetFile = f.folder.filePath(QStringLiteral("sheet.bmp"));
    if (const auto written = image::writeBitmap(bench::makeSheet(kSide, kSide), sheetFile); !written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error()));
        return 1;
    }

    const QString cells = QString::number(bench::kCells);
    const auto nothing = [](WindowFixture&) {};
    const std::vector<Command> commands = {
        {"NPC conversion", nothing,
         [&](WindowFixture& w) {
             w.dialogs.inputs << cells << cells;
             w.trigger("mnuFileNPC");
         }},
        {"negative", nothing,
         [&](WindowFixture& w) {
             w.dialogs.inputs << cells;
             w.trigger("mnuFileNeg");
         }},
        {"re-arrangement", nothing,
         [](WindowFixture& w) {
             w.dialogs.inputs << bench::rowOrder();
             w.trigger("mnuFileArrange");
         }},
        // The press on the viewport starts the replacement; its top-left pixel has the
        // colour replaced.
        {"replace colour", [](WindowFixture& w) { w.trigger("mnuFileChange"); },
         [](WindowFixture& w) {
             w.dialogs.colours.enqueue(bench::kReplacement);
             w.mouse(QEvent::MouseButtonPress, QPointF(0, 0), Qt::LeftButton);
         }},
    };

    const bool operations
        = std::any_of(commands.begin(), commands.end(), [&](const Command& c) { return chosen(c.name, argc, argv); });
    if (operations) {
        std::printf("%d x %d sheet through the window, %d runs each (the first cold)\n", kSide, kSide, kRuns);
        std::printf("%-16s | %22s | %26s | %s\n", "operation", "longest wait, ms", "command to redrawn, ms", "turns");
        std::printf("%-16s | %10s %11s | %10s %15s |\n", "", "first", "worst later", "first", "median later");
    }
    for (const Command& command : commands) {
        if (!chosen(command.name, argc, argv))
            continue;
        std::vector<Timing> runs;
        for (int i = 0; i < kRuns; ++i)
            runs.push_back(timeRun(f, sheetFile, command));
        std::vector<double> later;
        double worstLater = 0;
        for (size_t i = 1; i < runs.size(); ++i) {
            later.push_back(runs[i].wholeMs);
            worstLater = std::max(worstLater, runs[i].longestWaitMs);
        }
        std::printf("%-16s | %10.1f %11.1f | %10.1f %15.1f | %d\n", command.name, runs[0].longestWaitMs, worstLater,
                    runs[0].wholeMs, median(later), runs.back().turns);
    }

    if (chosen("viewport x1 x4 x16", argc, argv)) {
        WindowFixture zoomed;
        const QSize inner = fitViewport(zoomed, kScreen);
        if (!prepareGrid(zoomed)) {
            std::fprintf(stderr, "the sheet with the cell grid could not be prepared\n");
            return 1;
        }
        if (operations)
            std::printf("\n");
        timeRedraws(zoomed, inner, argc, argv);
    }
    return 0;
}
