#include "core/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace halvane {

namespace {

constexpr double kIntMax = 2147483647.0;
constexpr double kIntMin = -2147483648.0;

int32_t Saturate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= kIntMax) return INT32_MAX;
    if (v <= kIntMin) return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace

int32_t RoundHalfAway(double v) {
    if (std::isnan(v)) return 0;
    return Saturate(v > 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5));
}

int32_t RoundEven(double v) {
    if (std::isnan(v)) return 0;
    return Saturate(std::nearbyint(v));
}

int32_t TruncateToInt(double v) { return Saturate(std::trunc(v)); }

int NumberToText(float value, std::span<char> out) {
    if (out.empty()) return 0;
    char text[48];
    double v = value;
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) <= 9999999.0) {
        std::snprintf(text, sizeof text, "%.0f", v);
        if (std::strcmp(text, "-0") == 0) std::strcpy(text, "0");
    } else {
        // Fractions and huge values do not arise in play; %g keeps 7 digits.
        std::snprintf(text, sizeof text, "%.7g", v);
    }
    int len = static_cast<int>(std::strlen(text));
    if (len > static_cast<int>(out.size()) - 1) len = static_cast<int>(out.size()) - 1;
    std::memcpy(out.data(), text, static_cast<size_t>(len));
    out[static_cast<size_t>(len)] = '\0';
    return len;
}

} // namespace halvane
