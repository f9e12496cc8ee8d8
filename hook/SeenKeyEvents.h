#pragma once
// The key events the hook was called for, newest last, in a ring that the
// hook's thread writes without a lock or an allocation and the witness reads
// from the main thread. Platform-free.

#include <array>
#include <atomic>
#include <cstdint>

class SeenKeyEvents {
public:
    static constexpr uint32_t kCapacity = 64;

    // The hook's thread, for every key event: its virtual-key and scan codes.
    void Record(uint32_t vkCode, uint32_t scanCode, bool keyUp);
    // Events recorded so far (wrapping at 2^32).
    uint32_t Count() const { return m_count.load(std::memory_order_acquire); }
    // Event `index` (from 0) as packed by Pack; valid while Count() - index <= kCapacity.
    uint32_t At(uint32_t index) const { return m_ring[index % kCapacity].load(std::memory_order_relaxed); }

    // Left and right Shift, Ctrl and Alt as the one generic key each (raw input
    // names them so), the low 8 bits of the virtual-key code and 16 of the scan code.
    static uint32_t Pack(uint32_t vkCode, uint32_t scanCode, bool keyUp);
    // The same key and direction: by virtual-key code, or by scan code where
    // both name one.
    static bool SameEvent(uint32_t a, uint32_t b);

private:
    std::array<std::atomic<uint32_t>, kCapacity> m_ring{};
    std::atomic<uint32_t> m_count{0};
};
static_assert(std::atomic<uint32_t>::is_always_lock_free, "the hook must never wait on a lock");
