#include "PanelTrigger.h"

#include "KeyTranslation.h"

namespace {
constexpr uint32_t kShift = 0x10, kCapsLock = 0x14, kLeftShift = 0xA0, kRightShift = 0xA1, kLeftCtrl = 0xA2;
}  // namespace

void PanelTrigger::SetActivationKeys(const std::vector<int16_t>& keys) {
    m_activation.reset();
    for (const int16_t code : keys)
        if (IsKeyCode(code)) m_activation.set(static_cast<std::size_t>(code));
    Hide();
}

void PanelTrigger::SetOn(bool on) {
    m_on = on;
    m_held.reset();
    Hide();
}

bool PanelTrigger::IsIgnored(uint32_t vk) {
    return vk == kShift || vk == kCapsLock || vk == kLeftShift || vk == kRightShift || vk == kLeftCtrl;
}

bool PanelTrigger::AllActivationKeysHeld() const {
    return m_activation.any() && (m_held & m_activation) == m_activation;
}

void PanelTrigger::Hide() {
    m_showing = Panel::None;
    m_due = Panel::None;
}

void PanelTrigger::OnKey(uint32_t vk, bool down, int armedAccent, uint32_t nowMs) {
    if (!m_on || vk >= m_held.size() || IsIgnored(vk)) return;
    const bool repeat = down && m_held.test(vk);
    m_held.set(vk, down);
    if (repeat) return;
    const bool activation = m_activation.test(vk);
    if (down || activation) Hide();  // any key pressed, or an activation key released
    const bool onlyActivationHeld = (m_held & ~m_activation).none();
    if (down && activation && AllActivationKeysHeld() && onlyActivationHeld) {
        m_due = Panel::Chords;  // held alone from now on
        m_sinceMs = nowMs;
    } else if (!down && !activation && armedAccent != 0 && AllActivationKeysHeld()) {
        m_due = Panel::Accent;  // the accent's key went up: the pause begins
        m_accent = armedAccent;
        m_sinceMs = nowMs;
    }
}

void PanelTrigger::OnWaitOver(uint32_t nowMs) {
    if (m_due == Panel::None || WaitLeftMs(nowMs) != 0) return;
    m_showing = m_due;
    m_due = Panel::None;
}

uint32_t PanelTrigger::WaitLeftMs(uint32_t nowMs) const {
    const uint32_t waited = nowMs - m_sinceMs;
    return waited < kHoldMs ? kHoldMs - waited : 0;
}
