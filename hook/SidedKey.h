#pragma once
// Raw input names Shift, Ctrl and Alt by their generic virtual keys; the
// layout and the hook name the left or right one (AltGr is the right Alt,
// 165). Platform-free.

#include <cstdint>

// The left or right key's virtual key for a raw keyboard event: `e0` is its
// RI_KEY_E0 flag, `makeCode` its scan code. Every other key is returned as it is.
constexpr uint32_t SidedKey(uint32_t vk, uint32_t makeCode, bool e0) {
    switch (vk) {
        case 0x10: return makeCode == 0x36 ? 0xA1 : 0xA0;  // Shift: the right one has its own scan code
        case 0x11: return e0 ? 0xA3 : 0xA2;                // Ctrl
        case 0x12: return e0 ? 0xA5 : 0xA4;                // Alt; the right one is AltGr
        default: return vk;
    }
}
