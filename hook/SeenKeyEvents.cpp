#include "SeenKeyEvents.h"

namespace {

uint32_t GenericKey(uint32_t vk) {
    switch (vk) {
        case 0xA0: case 0xA1: return 0x10;  // left and right Shift
        case 0xA2: case 0xA3: return 0x11;  // left and right Ctrl
        case 0xA4: case 0xA5: return 0x12;  // left and right Alt
        default: return vk & 0xFFu;
    }
}

constexpr uint32_t kUpBit = 1u << 24;

}  // namespace

void SeenKeyEvents::Record(uint32_t vkCode, uint32_t scanCode, bool keyUp) {
    // Only this thread writes: the slot first, then the count that publishes it.
    const uint32_t index = m_count.load(std::memory_order_relaxed);
    m_ring[index % kCapacity].store(Pack(vkCode, scanCode, keyUp), std::memory_order_relaxed);
    m_count.store(index + 1, std::memory_order_release);
}

uint32_t SeenKeyEvents::Pack(uint32_t vkCode, uint32_t scanCode, bool keyUp) {
    return GenericKey(vkCode) | ((scanCode & 0xFFFFu) << 8) | (keyUp ? kUpBit : 0);
}

bool SeenKeyEvents::SameEvent(uint32_t a, uint32_t b) {
    if ((a & kUpBit) != (b & kUpBit)) return false;
    if ((a & 0xFFu) == (b & 0xFFu)) return true;
    const uint32_t scanA = (a >> 8) & 0xFFFFu, scanB = (b >> 8) & 0xFFFFu;
    return scanA != 0 && scanA == scanB;
}
