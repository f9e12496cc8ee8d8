#include "KeyboardWitness.h"

#include <wtsapi32.h>

#include "ForegroundExclusion.h"
#include "KeyboardHook.h"
#include "SidedKey.h"

namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;

bool RegisterKeyboardInput(HWND target, DWORD flags) {
    RAWINPUTDEVICE device = {};
    device.usUsagePage = kGenericDesktopPage;
    device.usUsage = kKeyboardUsage;
    device.dwFlags = flags;
    device.hwndTarget = target;
    return RegisterRawInputDevices(&device, 1, sizeof(device)) != FALSE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKeyboardWitness, CWnd)
    ON_MESSAGE(WM_INPUT, &CKeyboardWitness::OnInput)
    ON_WM_TIMER()
    ON_MESSAGE(kWitnessReinstallsQuery, &CKeyboardWitness::OnReinstallsQuery)
    ON_MESSAGE(WM_WTSSESSION_CHANGE, &CKeyboardWitness::OnSessionChange)
    ON_MESSAGE(WM_POWERBROADCAST, &CKeyboardWitness::OnPowerBroadcast)
END_MESSAGE_MAP()

CKeyboardWitness& CKeyboardWitness::Instance() {
    static CKeyboardWitness witness;
    return witness;
}

void CKeyboardWitness::Watch(HookKeeper* keeper) {
    if (m_hWnd == nullptr) {
        // A top-level window, never shown: session and power broadcasts reach
        // top-level windows only.
        if (!CreateEx(0, AfxRegisterWndClass(0), kKeyboardWitnessName, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)) return;
        WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION);
    }
    m_keeper = keeper;
    m_witness.Restart(KeyEventsSeenByHook(), GetTickCount());
    // Raw input reaches this background window for every key that got past the hooks.
    RegisterKeyboardInput(m_hWnd, RIDEV_INPUTSINK);
}

void CKeyboardWitness::StopFor(HookKeeper* keeper) {
    if (m_keeper == nullptr || m_keeper != keeper) return;
    m_keeper = nullptr;
    RegisterKeyboardInput(nullptr, RIDEV_REMOVE);
    m_witness.Restart(KeyEventsSeenByHook(), GetTickCount());
}

void CKeyboardWitness::Reinstall() {
    if (m_keeper == nullptr) return;
    m_keeper->ReinstallHook();
    ++m_reinstalls;
    m_witness.Restart(KeyEventsSeenByHook(), GetTickCount());
}

void CKeyboardWitness::FollowPending() {
    // A pending event starts the one-shot wait for its verdict. A running wait
    // is left alone, so that typing costs no timer call per key; when it runs
    // out it judges the event pending then, or waits again for a younger one,
    // and an idle Marnell runs no timer.
    if (m_witness.IsPending()) m_pendingWait.Arm(m_witness.WaitLeftMs(GetTickCount()));
}

void CKeyboardWitness::OnTimer(UINT_PTR nIDEvent) {
    if (!m_pendingWait.Fired(nIDEvent)) return;
    if (m_keeper != nullptr && m_witness.OnWaitOver(KeyEventsSeenByHook(), GetTickCount()))
        Reinstall();
    else
        FollowPending();
}

void CKeyboardWitness::OnRawInput(HRAWINPUT input) {
    RAWINPUT data = {};
    UINT size = sizeof(data);
    if (GetRawInputData(input, RID_INPUT, &data, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) return;
    if (data.header.dwType != RIM_TYPEKEYBOARD || m_keeper == nullptr) return;
    const RAWKEYBOARD& key = data.data.keyboard;
    // A change of foreground window that no event announced is noticed at a
    // key-down, before the next key of a chord reaches the hook.
    const bool down = (key.Flags & RI_KEY_BREAK) == 0;
    const uint32_t vk = SidedKey(key.VKey, key.MakeCode, (key.Flags & RI_KEY_E0) != 0);
    const uint32_t timeMs = static_cast<uint32_t>(GetMessageTime());
    if (down) CForegroundExclusion::Instance().OnKeyDown(vk, timeMs);
    // Keys going to a window Marnell cannot type in pass no hook: raw input
    // alone would look like a lost hook, and the panel could offer nothing.
    if (CForegroundExclusion::Instance().ForegroundOutOfReach()) return;
    if (m_listener != nullptr) m_listener->OnRawKey(vk, down, timeMs);
    const uint32_t event = SeenKeyEvents::Pack(key.VKey, key.MakeCode, (key.Flags & RI_KEY_BREAK) != 0);
    if (m_witness.OnRawInput(KeyEventsSeenByHook(), event, static_cast<uint32_t>(GetMessageTime()), GetTickCount()))
        Reinstall();
    else
        FollowPending();
}

LRESULT CKeyboardWitness::OnInput(WPARAM, LPARAM lParam) {
    OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
    return Default();  // the default handling releases the input
}

LRESULT CKeyboardWitness::OnReinstallsQuery(WPARAM, LPARAM) { return m_reinstalls; }

LRESULT CKeyboardWitness::OnSessionChange(WPARAM wParam, LPARAM) {
    if (wParam == WTS_SESSION_UNLOCK) Reinstall();
    return 0;
}

LRESULT CKeyboardWitness::OnPowerBroadcast(WPARAM wParam, LPARAM) {
    if (wParam == PBT_APMRESUMEAUTOMATIC) Reinstall();
    return TRUE;
}
