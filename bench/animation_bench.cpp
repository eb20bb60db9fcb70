// SPDX-License-Identifier: MIT
// Times the animation preview on the offscreen platform: drawing one frame of a 64 x 64
// cell at 16 x, then how late frames come when a row plays at 60 frames per second for
// 10 s. It only records: nothing here fails on time.
#include "sheet.h"
#include "shell/animation_preview.h"
#include "shell/frame_canvas.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kCell = 64;
constexpr int kZoom = 16;
constexpr int kDraws = 600;
constexpr int kFps = 60;
constexpr int kSeconds = 10;
constexpr int kFrames = kFps * kSeconds; // also the row's cells: no cell comes twice

// What this thread has run, without the time other jobs had the processor.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

// A new frame taken from the sheet and painted whole, as the preview does at each tick.
void timeDraws(const image::Surface& sheet)
{
    shell::FrameCanvas canvas;
    canvas.setArea(QSize(kCell, kCell), kZoom);
    canvas.show();
    QCoreApplication::processEvents();
    std::vector<double> ms;
    std::vector<double> cpuMs;
    QElapsedTimer clock;
    for (int i = 0; i < kDraws; ++i) {
        const QRect cell((i % kFrames) * kCell, 0, kCell, kCell);
        const double cpuStart = threadCpuMs();
        clock.start();
        canvas.setFrame(sheet.picture().copy(cell));
        canvas.repaint();
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        cpuMs.push_back(threadCpuMs() - cpuStart);
    }
    const QRect painted = canvas.visibleRegion().boundingRect();
    std::printf("one frame of a %d x %d cell at %d x (%d x %d screen pixels painted), %d draws\n", kCell, kCell, kZoom,
                painted.width(), painted.height(), kDraws);
    std::printf("  median %.3f ms, 99th percentile %.3f ms, longest %.3f ms\n", percentile(ms, 0.5),
                percentile(ms, 0.99), percentile(ms, 1.0));
    std::printf("  processor time of this thread: median %.3f ms, 99th percentile %.3f ms\n", percentile(cpuMs, 0.5),
                percentile(cpuMs, 0.99));
}

struct Shown {
    qint64 ns;
    int cell;
};

// Records when each cell is first painted.
class PaintLog final : public QObject {
public:
    PaintLog(const shell::AnimationPreview& preview, const QElapsedTimer& clock) : m_preview(preview), m_clock(clock) {}
    std::vector<Shown> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && (shown.empty() || shown.back().cell != m_preview.shownCell()))
            shown.push_back({m_clock.nsecsElapsed(), m_preview.shownCell()});
        return QObject::eventFilter(watched, event);
    }

private:
    const shell::AnimationPreview& m_preview;
    const QElapsedTimer& m_clock;
};

void timePlaying(const image::Surface& sheet)
{
    ScriptedDialogs dialogs;
    shell::AnimationPreview preview(dialogs, kZoom);
    preview.resize(kCell * kZoom + 200, kCell * kZoom + 300);
    preview.showSheet(sheet, ops::CellGrid{1, double(kFrames)});
    preview.show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    PaintLog log(preview, clock);
    preview.findChild<QWidget*>(QStringLiteral("previewFrame"))->installEventFilter(&log);
    // The preview's clock starts again at the new rate, going on from the cell shown.
    preview.findChild<QSpinBox*>(QStringLiteral("previewFps"))->setValue(kFps);
    clock.start();
    const int first = preview.shownCell();
    QEventLoop loop;
    QTimer::singleShot(kSeconds * 1000 + 100, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();

    // Frame k is due at k / fps; it is late by more than one interval when it is not on
    // screen by the time the one after it is due, or never is.
    const qint64 interval = 1'000'000'000 / kFps;
    std::vector<qint64> shownAt(kFrames, -1);
    for (const Shown& s : log.shown) {
        const int k = (s.cell - first + kFrames) % kFrames;
        if (shownAt[size_t(k)] < 0)
            shownAt[size_t(k)] = s.ns;
    }
    int late = 0;
    int missed = 0;
    std::vector<double> lateness;
    for (int k = 1; k < kFrames; ++k) {
        const qint64 due = qint64(k) * 1'000'000'000 / kFps;
        if (shownAt[size_t(k)] < 0) {
            ++missed;
            continue;
        }
        lateness.push_back(double(shownAt[size_t(k)] - due) / 1e6);
        late += shownAt[size_t(k)] - due > interval;
    }
    const QRect painted = preview.findChild<QWidget*>(QStringLiteral("previewFrame"))->visibleRegion().boundingRect();
    std::printf("%d s at %d fps, cells of %d x %d at %d x (%d x %d screen pixels painted): %d frames due after "
                "the first\n",
                kSeconds, kFps, kCell, kCell, kZoom, painted.width(), painted.height(), kFrames - 1);
    std::printf("  late by more than one interval (%.1f ms): %d, never shown: %d\n", double(interval) / 1e6, late,
                missed);
    if (!lateness.empty())
        std::printf("  shown after due: median %.2f ms, 99th percentile %.2f ms, longest %.2f ms\n",
                    percentile(lateness, 0.5), percentile(lateness, 0.99), percentile(lateness, 1.0));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const image::Surface sheet = bench::makeSheet(kFrames * kCell, kCell);
    timeDraws(sheet);
    timePlaying(sheet);
    return 0;
}
