// Counts every heap allocation of the program while counting is on: the
// global operator new (all its forms end in malloc or aligned_alloc here) and
// the C allocator, which this file takes over and hands on to the C
// library's own entry points. The C library's file calls (fopen, fdopen,
// fread, fgetc, fwrite, fclose) are wrapped too, so that what they allocate
// (a FILE and its buffer) is told apart.
#include "tests/perf/allocation_counter.h"

#include <dlfcn.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);
void *__libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void *block);
}

namespace halvane {

bool CountingAllocations = false;
int AllocationCount = 0;
int FileCallAllocationCount = 0;
std::array<AllocationRecord, 8> FirstAllocations{};

namespace {

int InsideFileCall = 0;
const char *ExceptionAllocator = nullptr; // set below, before anything is counted

// The headless display ends the program by throwing; the exception object is
// the test's own doing, not the game's.
bool FromExceptionAllocator(void *caller) {
    const char *at = static_cast<const char *>(caller);
    return ExceptionAllocator != nullptr && at >= ExceptionAllocator &&
           at < ExceptionAllocator + 64;
}

void Note(std::size_t size, void *caller) {
    if (!CountingAllocations) return;
    if (InsideFileCall > 0) {
        ++FileCallAllocationCount;
        return;
    }
    if (FromExceptionAllocator(caller)) return;
    if (AllocationCount < static_cast<int>(FirstAllocations.size()))
        FirstAllocations[static_cast<std::size_t>(AllocationCount)] = {size, caller};
    ++AllocationCount;
}

// The C library's own file calls, found once before anything is counted.
template <typename F> F Next(const char *name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
using FopenCall = std::FILE *(*)(const char *, const char *);
using FdopenCall = std::FILE *(*)(int, const char *);
using FgetcCall = int (*)(std::FILE *);
using FcloseCall = int (*)(std::FILE *);
using FreadCall = std::size_t (*)(void *, std::size_t, std::size_t, std::FILE *);
using FwriteCall = std::size_t (*)(const void *, std::size_t, std::size_t, std::FILE *);
const FopenCall RealFopen = Next<FopenCall>("fopen");
const FdopenCall RealFdopen = Next<FdopenCall>("fdopen");
const FgetcCall RealFgetc = Next<FgetcCall>("fgetc");
const FcloseCall RealFclose = Next<FcloseCall>("fclose");
const FreadCall RealFread = Next<FreadCall>("fread");
const FwriteCall RealFwrite = Next<FwriteCall>("fwrite");
const bool ExceptionAllocatorFound = (ExceptionAllocator = static_cast<const char *>(
                                          dlsym(RTLD_DEFAULT, "__cxa_allocate_exception")),
                                      ExceptionAllocator != nullptr);

struct FileCall {
    FileCall() { ++InsideFileCall; }
    ~FileCall() { --InsideFileCall; }
};

} // namespace
} // namespace halvane

extern "C" {

std::FILE *fopen(const char *name, const char *mode) {
    halvane::FileCall inside;
    return halvane::RealFopen(name, mode);
}

std::FILE *fdopen(int descriptor, const char *mode) {
    halvane::FileCall inside;
    return halvane::RealFdopen(descriptor, mode);
}

int fgetc(std::FILE *file) {
    halvane::FileCall inside;
    return halvane::RealFgetc(file);
}

int fclose(std::FILE *file) {
    halvane::FileCall inside;
    return halvane::RealFclose(file);
}

std::size_t fread(void *to, std::size_t size, std::size_t count, std::FILE *file) {
    halvane::FileCall inside;
    return halvane::RealFread(to, size, count, file);
}

std::size_t fwrite(const void *from, std::size_t size, std::size_t count, std::FILE *file) {
    halvane::FileCall inside;
    return halvane::RealFwrite(from, size, count, file);
}

} // extern "C"

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

void *aligned_alloc(std::size_t alignment, std::size_t size) {
    halvane::Note(size, __builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

int posix_memalign(void **out, std::size_t alignment, std::size_t size) {
    halvane::Note(size, __builtin_return_address(0));
    *out = __libc_memalign(alignment, size);
    return *out != nullptr ? 0 : 12; // ENOMEM
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

void *operator new[](std::size_t size) {
    halvane::Note(size, __builtin_return_address(0));
    if (void *block = __libc_malloc(size > 0 ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void *block) noexcept {
    __libc_free(block);
}

void operator delete[](void *block) noexcept {
    __libc_free(block);
}

void operator delete(void *block, std::size_t) noexcept {
    __libc_free(block);
}

void operator delete[](void *block, std::size_t) noexcept {
    __libc_free(block);
}
