// The engine runs inside a system-wide keyboard hook: it must not allocate.
// This executable counts every global operator new while events run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "FakeKeyboard.h"
#include "LayoutFile.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(Allocation, NoHeapAllocationDuringKeyEvents) {
    ActivateLayout({65, 69, 65, 69}, {0, 0, 1, 1}, {225, 233, 226, 234}, {193, 201, 194, 202}, {165}, {0, 222});
    FakeKeyboard keys;
    keys.held = {165};
    const uint32_t codes[] = {65, 222, 69, 90, 165, 160, 1, 2, 3, 4, 5, 6};
    int typed = 0;
    const long before = g_allocations.load();
    for (int i = 0; i < 100000; ++i) {
        const uint32_t code = codes[i % 12];
        keys.shift = (i & 64) != 0;
        if (ProcessKeyEvent(KeyEventKind::KeyDown, code, keys).character) ++typed;
        ProcessKeyEvent(KeyEventKind::KeyUp, code, keys);
    }
    EXPECT_EQ(g_allocations.load() - before, 0);
    EXPECT_GT(typed, 0);  // the events did reach the rows
}
