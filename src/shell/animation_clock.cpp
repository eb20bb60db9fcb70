// SPDX-License-Identifier: MIT
#include "animation_clock.h"

#include <algorithm>

namespace shell {

int AnimationClock::millisecondsToNextTick(qint64 nanoseconds, int fps)
{
    // The first nanosecond at which the next tick is due, then up to a whole millisecond:
    // a timer that fires early would find the same tick again.
    const qint64 next = ((ticksAt(nanoseconds, fps) + 1) * 1'000'000'000 + fps - 1) / fps;
    return int(std::max<qint64>(0, (next - nanoseconds + 999'999) / 1'000'000));
}

void AnimationClock::start(int fps)
{
    m_fps = fps;
    m_ticksBefore = 0;
    m_clock.start();
}

void AnimationClock::setFramesPerSecond(int fps)
{
    m_ticksBefore = tick();
    m_fps = fps;
    m_clock.start();
}

} // namespace shell
