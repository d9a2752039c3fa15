// A whole game from the program's start, under the headless display: the
// automatic pilot launches it from the menu and flies the five missions
// (level changes, briefings, statistics), the best score is written, the
// menu comes back and QUIT ends the program. From the first page the menu
// shows to the end, nothing may be allocated on the heap: the global operator
// new and the C allocator are taken over here and count every allocation.
// The one exemption is __cxa_allocate_exception, the exception object with
// which the headless display ends the program (the harness's doing).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <new>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);
void __libc_free(void *block);
}

namespace halvane {
namespace {

bool CountingAllocations = false;
int AllocationCount = 0;
std::array<std::pair<std::size_t, void *>, 8> FirstAllocations{}; // size, caller
const auto ExceptionAllocator =
    reinterpret_cast<uintptr_t>(dlsym(RTLD_DEFAULT, "__cxa_allocate_exception"));

void Note(std::size_t size, void *caller) {
    const auto at = reinterpret_cast<uintptr_t>(caller);
    if (!CountingAllocations || (at >= ExceptionAllocator && at < ExceptionAllocator + 64)) return;
    if (AllocationCount < static_cast<int>(FirstAllocations.size()))
        FirstAllocations[AllocationCount] = {size, caller};
    ++AllocationCount;
}

} // namespace
} // namespace halvane

// operator new[] and the sized and array deletes of the C++ library end in these.
extern "C" {
void *malloc(std::size_t size) {
    halvane::Note(size, __builtin_return_address(0));
    return __libc_malloc(size);
}
void *calloc(std::size_t count, std::size_t size) {
    halvane::Note(count * size, __builtin_return_address(0));
    return __libc_calloc(count, size);
}
void *realloc(void *block, std::size_t size) {
    halvane::Note(size, __builtin_return_address(0));
    return __libc_realloc(block, size);
}
void free(void *block) {
    __libc_free(block);
}
} // extern "C"

void *operator new(std::size_t size) {
    halvane::Note(size, __builtin_return_address(0));
    if (void *block = __libc_malloc(size > 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void *block) noexcept {
    __libc_free(block);
}
void operator delete(void *block, std::size_t) noexcept {
    __libc_free(block);
}

namespace halvane {
namespace {

int Frames = 0;
int LastCycle = -1;
int HighestLevel = 0;
double BackInMenuAt = -1;

// Counting starts with the first page shown, the opening fade of the menu.
void StartCountingAtFirstPage(const Page &) {
    CountingAllocations = true;
}

// The pilot plays the game; once it is over and the menu is back (the level
// number reset), Up moves the highlight from LAUNCH to QUIT and Enter ends.
void GameThenQuit(double now, InputState &state) {
    if (AnimCycle20 != LastCycle) {
        LastCycle = AnimCycle20;
        ++Frames;
    }
    HighestLevel = std::max(HighestLevel, static_cast<int>(LevelNumber));
    if (GameCompleted == 1 && LevelNumber == 0 && BackInMenuAt < 0) BackInMenuAt = now;
    if (BackInMenuAt < 0) return PlayPilot(now, state);
    state = InputState{};
    state.keys[kKeyUp] = now > BackInMenuAt + 0.5 && now < BackInMenuAt + 0.7;
    state.keys[kKeyEnter] = now > BackInMenuAt + 1.0 && now < BackInMenuAt + 1.2;
}

using NoAllocation = TempDirTest;

TEST_F(NoAllocation, AWholeGameFromTheMenuToQuitAllocatesNothing) {
    UseShippedGame(HALVANE_SOURCE_DIR);
    HeadlessSetClock(500);
    ResetPlayPilot();
    UsePilot(GameThenQuit);
    HeadlessSetObserver(StartCountingAtFirstPage);
    const int code = HeadlessRun(StartUp);
    CountingAllocations = false;
    HeadlessSetObserver(nullptr);

    EXPECT_EQ(code, 0);
    EXPECT_EQ(GameCompleted, 1);
    EXPECT_GE(HighestLevel, 5);
    EXPECT_GE(Frames, 2000);
    EXPECT_GT(HiScore, 0);
    EXPECT_EQ(ReadHiScoreFile(), HiScore); // the best score was written
    ASSERT_NE(ExceptionAllocator, 0u);     // else the exemption would exempt nothing
    std::printf("%d frames of play, %d allocations (__cxa_allocate_exception exempted)\n", Frames,
                AllocationCount);
    EXPECT_EQ(AllocationCount, 0);
    for (int i = 0; i < std::min(AllocationCount, 8); ++i)
        ADD_FAILURE() << "allocation of " << FirstAllocations[i].first << " bytes from "
                      << FirstAllocations[i].second << " (addr2line -e no_allocation_tests)";
}

} // namespace
} // namespace halvane
