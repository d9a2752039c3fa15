// offset_array.h -- fixed-size tables indexed by the game's own ranges
// (-7..7 for terrain columns, -1..9 for attitudes, 1..N for 1-based tables).
#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace halvane {

template <typename T, int Lo, int Hi> struct OffsetArray {
    static_assert(Hi >= Lo, "an offset table needs at least one slot");
    static constexpr int kLow = Lo;
    static constexpr int kHigh = Hi;
    static constexpr std::size_t kSize = static_cast<std::size_t>(Hi - Lo + 1);

    std::array<T, kSize> slots{};

    constexpr T &operator[](int i) {
        assert(i >= Lo && i <= Hi);
        return slots[static_cast<std::size_t>(i - Lo)];
    }
    constexpr const T &operator[](int i) const {
        assert(i >= Lo && i <= Hi);
        return slots[static_cast<std::size_t>(i - Lo)];
    }
    static constexpr bool Contains(int i) { return i >= Lo && i <= Hi; }
    constexpr void Fill(const T &value) { slots.fill(value); }
};

} // namespace halvane
