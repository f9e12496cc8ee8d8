#include "KeyboardWitness.h"

#include <wtsapi32.h>

#include "ForegroundExclusion.h"
#include "KeyboardHook.h"

namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;
constexpr UINT_PTR kPendingTimer = 1;

bool RegisterKeyboardInput(HWND target, DWORD flags) {
    RAWINPUTDEVICE device = {};
    device.usUsagePage = kGenericDesktopPage;
    device.usUsage = kKeyboardUsage;
    device.dwFlags = flags;
    device.hwndTarget = target;
    return RegisterRawInputDevices(&device, 1, sizeof(device)) != FALSE;
}

}  // namespace

CKeyboardWitness& CKeyboardWitness::Instance() {
    static CKeyboardWitness witness;
    return witness;
}

void CKeyboardWitness::Watch(HookKeeper* keeper) {
    if (m_hWnd == nullptr) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CKeyboardWitness::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kKeyboardWitnessClass;
        RegisterClassW(&wc);
        // A top-level window, never shown: session and power broadcasts reach
        // top-level windows only.
        m_hWnd = CreateWindowExW(0, kKeyboardWitnessClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
        if (m_hWnd == nullptr) return;
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
    if (!m_witness.IsPending() || m_waiting) return;
    m_waiting = SetTimer(m_hWnd, kPendingTimer, m_witness.WaitLeftMs(GetTickCount()), nullptr) != 0;
}

void CKeyboardWitness::OnWaitOver() {
    KillTimer(m_hWnd, kPendingTimer);
    m_waiting = false;
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
    if ((key.Flags & RI_KEY_BREAK) == 0)
        CForegroundExclusion::Instance().OnKeyDown(key.VKey, static_cast<uint32_t>(GetMessageTime()));
    const uint32_t event = SeenKeyEvents::Pack(key.VKey, key.MakeCode, (key.Flags & RI_KEY_BREAK) != 0);
    if (m_witness.OnRawInput(KeyEventsSeenByHook(), event, static_cast<uint32_t>(GetMessageTime()), GetTickCount()))
        Reinstall();
    else
        FollowPending();
}

LRESULT CALLBACK CKeyboardWitness::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CKeyboardWitness& self = Instance();
    switch (message) {
        case WM_INPUT:
            self.OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
            break;  // the default handling releases the input
        case WM_TIMER:
            if (wParam == kPendingTimer) self.OnWaitOver();
            return 0;
        case kWitnessReinstallsQuery:
            return self.m_reinstalls;
        case WM_WTSSESSION_CHANGE:
            if (wParam == WTS_SESSION_UNLOCK) self.Reinstall();
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC) self.Reinstall();
            return TRUE;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
