#include "KeyLabel.h"

#include <windows.h>

#include "KeyNames.h"
#include "Unicode.h"

std::string KeyLabel(int vk) {
    // The high bit marks a dead key; the character is still the key's own.
    const UINT character = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_CHAR) & 0x7FFFFFFFu;
    // Letters come in upper case, as the keys are labelled.
    if (character > 0x20 && character != 0x7F && (character < 0xD800 || character > 0xDFFF)) {
        std::string label;
        AppendUtf8(label, static_cast<char32_t>(character));
        return label;
    }
    return KeyName(vk);
}
