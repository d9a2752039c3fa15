#include "platform/refresh_ticks.h"

#include <cmath>

namespace halvane {

double NextTick(double now) {
    const double next = (std::floor(now / kTickSeconds) + 1.0) * kTickSeconds;
    // A time on a tick may divide to just under it and find itself again.
    return next > now ? next : next + kTickSeconds;
}

double LastTick(double now) {
    return std::floor(now / kTickSeconds) * kTickSeconds;
}

TickWait HiddenTickWait(double lastTick, double now, double restSeconds) {
    double tick = lastTick + kTickSeconds;
    // Long after the last present (play paces itself by the clock) the count
    // starts again from now, rather than running presents flat out to catch up.
    if (tick < now - kHiddenTicksAtOnce * kTickSeconds) tick = LastTick(now);
    if (tick + restSeconds <= now) return {tick, now};
    return {tick, tick + (kHiddenTicksAtOnce - 1) * kTickSeconds + restSeconds};
}

} // namespace halvane
