// SPDX-License-Identifier: MIT
// Runs each sheet operation through the headless window on a 4096 x 4096 sheet, as a
// user would, and records how long the event loop waits for a turn: the longest stretch
// without one (from the menu command to the first, between turns, and from the last to
// the redrawn viewport), and the whole time from the command to the redrawn viewport.
// It only records: nothing here fails on time.
#include "sheet.h"
#include "image/bitmap_save.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kSide = 4096;
constexpr int kRuns = 5; // the first is cold: the process has not run the operation yet

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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    WindowFixture f;
    const QString sheetFile = f.folder.filePath(QStringLiteral("sheet.bmp"));
    if (const auto error = image::writeBitmap(bench::makeSheet(kSide, kSide), sheetFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(*error));
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

    std::printf("%d x %d sheet through the window, %d runs each (the first cold)\n", kSide, kSide, kRuns);
    std::printf("%-16s | %22s | %26s | %s\n", "operation", "longest wait, ms", "command to redrawn, ms", "turns");
    std::printf("%-16s | %10s %11s | %10s %15s |\n", "", "first", "worst later", "first", "median later");
    for (const Command& command : commands) {
        // Names given on the command line pick the operations, so that one can be timed
        // as a fresh process's first.
        if (argc > 1
            && std::none_of(argv + 1, argv + argc, [&](const char* name) { return std::strstr(command.name, name); }))
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
        std::sort(later.begin(), later.end());
        std::printf("%-16s | %10.1f %11.1f | %10.1f %15.1f | %d\n", command.name, runs[0].longestWaitMs, worstLater,
                    runs[0].wholeMs, later[later.size() / 2], runs.back().turns);
    }
    return 0;
}
