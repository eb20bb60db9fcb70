// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>

namespace shell {

// Which frame of an animation is due, read from a steady clock: the tick is
// floor(elapsed * fps), so frames never drift as added intervals would.
class AnimationClock {
public:
    // The ticks due `nanoseconds` after a start at `fps` frames per second.
    static qint64 ticksAt(qint64 nanoseconds, int fps) { return nanoseconds * fps / 1'000'000'000; }
    // Whole milliseconds from `nanoseconds` after a start to the next tick, at least 0.
    static int millisecondsToNextTick(qint64 nanoseconds, int fps);

    explicit AnimationClock(int fps) { start(fps); }

    // Tick 0 is due now.
    void start(int fps);
    // From now on ticks come at the new rate, going on from the tick due now.
    void setFramesPerSecond(int fps);

    qint64 tick() const { return m_ticksBefore + ticksAt(m_clock.nsecsElapsed(), m_fps); }
    int millisecondsToNextTick() const { return millisecondsToNextTick(m_clock.nsecsElapsed(), m_fps); }

private:
    QElapsedTimer m_clock;
    qint64 m_ticksBefore = 0; // due before the rate last changed
    int m_fps;
};

} // namespace shell
