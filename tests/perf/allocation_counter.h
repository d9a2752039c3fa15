// allocation_counter.h -- a test's count of heap allocations (operator new
// and the C allocator alike), taken while CountingAllocations is set.
#pragma once

#include <array>
#include <cstddef>

namespace halvane {

struct AllocationRecord {
    std::size_t size;
    void *caller; // return address into the caller of the allocator
};

extern bool CountingAllocations;
extern int AllocationCount;
// Allocations made inside fopen, fdopen, fread, fgetc, fwrite and fclose (the FILE and its
// buffer), counted apart from the others.
extern int FileCallAllocationCount;
// The first few allocations counted, for the failure message.
extern std::array<AllocationRecord, 8> FirstAllocations;

} // namespace halvane
