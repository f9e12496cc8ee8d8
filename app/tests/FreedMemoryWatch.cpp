#include "FreedMemoryWatch.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr unsigned char kFreedByte = 0xDD;

const void* g_watched = nullptr;
std::size_t g_watchedSize = 0;
bool g_deleted = false;

void* Allocate(std::size_t size) {
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void Release(void* p) noexcept {
    if (p != nullptr && p == g_watched && !g_deleted) {
        std::memset(p, kFreedByte, g_watchedSize);
        g_deleted = true;
        return;
    }
    std::free(p);
}

}  // namespace

void WatchDeletion(const void* block, std::size_t size) {
    g_watched = block;
    g_watchedSize = size;
    g_deleted = false;
}

bool WatchedBlockDeleted() { return g_deleted; }

bool WatchedBlockUntouched() {
    if (!g_deleted) return false;
    const auto* bytes = static_cast<const unsigned char*>(g_watched);
    for (std::size_t i = 0; i < g_watchedSize; ++i)
        if (bytes[i] != kFreedByte) return false;
    return true;
}

void EndWatch() {
    if (g_deleted) std::free(const_cast<void*>(g_watched));
    g_watched = nullptr;
    g_watchedSize = 0;
    g_deleted = false;
}

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
