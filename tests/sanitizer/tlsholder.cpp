// Loaded at run time, so its thread-local variable lives in a block that the
// dynamic linker allocates for each thread on first use.

#include <cstdint>
#include <cstdlib>

namespace {
thread_local void *held = nullptr;
}

// Leaves the only pointer to a heap block in this thread's block, and tells
// where the block is.
extern "C" __attribute__((visibility("default"))) std::uintptr_t kvt_hold()
{
    held = std::malloc(100);
    return reinterpret_cast<std::uintptr_t>(&held);
}
