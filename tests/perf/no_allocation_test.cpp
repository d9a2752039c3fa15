// Whole headless games played by the pilot, plainly and while recording a replay, allocate
// nothing on the heap from the first page shown on (the recorder's buffers, its compressor's
// memory and its syncing thread are all made before): operator new and the C allocator count
// here. The one exemption, __cxa_allocate_exception (the headless display's end of the
// program), ends the count.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <new>

#include "core/game_state.h"
#include "platform/headless.h"
#include "tests/soak/soak_run.h"

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
std::pair<std::size_t, void *> FirstAllocation{}; // its size and caller
const auto ExceptionAllocator =
    reinterpret_cast<uintptr_t>(dlsym(RTLD_DEFAULT, "__cxa_allocate_exception"));

void Note(std::size_t size, void *caller) {
    if (!CountingAllocations || HeadlessPresentCount() == 0) return;
    const auto at = reinterpret_cast<uintptr_t>(caller);
    if (at >= ExceptionAllocator && at < ExceptionAllocator + 64) {
        CountingAllocations = false; // the program ends
        return;
    }
    if (AllocationCount++ == 0) FirstAllocation = {size, caller};
}

TEST(NoAllocation, WholeGamesFromTheFirstPageOnAllocateNothing) {
    ASSERT_NE(ExceptionAllocator, 0u); // else the end of the program would be counted
    CountingAllocations = true;
    const SoakResult r = RunSoak(HALVANE_SOURCE_DIR, 12000, 500);
    EXPECT_FALSE(CountingAllocations); // the count ended with the program
    CountingAllocations = false;
    EXPECT_EQ(r.failure, "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_GE(r.levelsCompleted, 1);
    EXPECT_EQ(r.playFrames, 12000);
    EXPECT_GT(HiScore, 0);
    EXPECT_TRUE(r.bestScoreKept); // so a game's end wrote the best score
    std::printf("%ld frames of play, %d allocations (exempted: __cxa_allocate_exception)\n",
                r.playFrames, AllocationCount);
    EXPECT_EQ(AllocationCount, 0) << "the first: " << FirstAllocation.first << " bytes from "
                                  << FirstAllocation.second
                                  << " (addr2line -e no_allocation_tests)";
}

TEST(NoAllocation, RecordingWholeGamesAllocatesNothing) {
    ASSERT_NE(ExceptionAllocator, 0u); // else the end of the program would be counted
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("halvane-record-" + std::to_string(getpid()));
    CountingAllocations = true;
    const SoakResult r = RunSoak(HALVANE_SOURCE_DIR, 6000, 500, 0, file.c_str());
    EXPECT_FALSE(CountingAllocations); // the count ended with the program
    CountingAllocations = false;
    EXPECT_EQ(r.failure, "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.playFrames, 6000);
    std::error_code none;
    const auto bytes = std::filesystem::file_size(file, none);
    std::filesystem::remove(file, none);
    EXPECT_GT(bytes, 1000u) << "nothing was recorded";
    std::printf("%ld frames of play recorded in %ju bytes, %d allocations\n", r.playFrames,
                static_cast<uintmax_t>(bytes), AllocationCount);
    EXPECT_EQ(AllocationCount, 0) << "the first: " << FirstAllocation.first << " bytes from "
                                  << FirstAllocation.second
                                  << " (addr2line -e no_allocation_tests)";
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
