#include "ForegroundLookout.h"

#include "KeyTranslation.h"

void ForegroundLookout::SetChordKeys(const std::vector<int16_t>& activationKeys,
                                     const std::vector<int16_t>& modifierKeys) {
    m_chordKeys.reset();
    const auto mark = [&](int16_t code) {
        if (IsKeyCode(code)) m_chordKeys.set(static_cast<std::size_t>(code));
    };
    for (int16_t code : activationKeys) mark(code);
    for (std::size_t i = 1; i < modifierKeys.size(); ++i) mark(modifierKeys[i]);
}

bool ForegroundLookout::OnKeyDown(uint32_t vk, uint32_t eventMs) {
    const bool afterPause = !m_anyKeySeen || eventMs - m_lastKeyDownMs >= kPauseMs;
    m_anyKeySeen = true;
    m_lastKeyDownMs = eventMs;
    return afterPause || (vk < m_chordKeys.size() && m_chordKeys.test(vk));
}
