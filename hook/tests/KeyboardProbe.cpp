#include "KeyboardProbe.h"

#include <algorithm>

namespace {

// Left Ctrl: a key the hook never handles, so sending it as the marker changes
// no engine state.
constexpr WORD kMarkerKey = VK_LCONTROL;
constexpr DWORD kSettleTimeoutMs = 5000;

std::vector<WindowKeyMessage> g_messages;
std::vector<ChainedEvent> g_chained;
bool g_markerArrived = false;

LRESULT CALLBACK RecordChained(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (event->vkCode != kMarkerKey) g_chained.push_back({nCode, wParam, *event});
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK ProbeWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        if (wParam == VK_CONTROL && (message == WM_KEYDOWN || message == WM_KEYUP)) {
            if (message == WM_KEYUP) g_markerArrived = true;
        } else {
            g_messages.push_back({message, wParam, lParam});
        }
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

void SendKey(WORD vk, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

void PumpOnce() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// One window for the whole run: under Wine, hiding or destroying a shown
// window waits two seconds for the display.
HWND ProbeWindow() {
    static const HWND window = [] {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ProbeWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"MarnellHookProbe";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"Hook probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 120,
                               nullptr, nullptr, instance, nullptr);
    }();
    return window;
}

}  // namespace

KeyboardProbe::KeyboardProbe() : m_hWnd(ProbeWindow()) {
    Focus();
    m_hHook = SetWindowsHookExW(WH_KEYBOARD_LL, &RecordChained, GetModuleHandleW(nullptr), 0);
    Clear();
}

KeyboardProbe::~KeyboardProbe() {
    if (m_hHook != nullptr) UnhookWindowsHookEx(m_hHook);
    for (const WORD vk : m_pressed) SendKey(vk, KEYEVENTF_KEYUP);
    Settle();
}

bool KeyboardProbe::HasFocus() const { return m_hWnd != nullptr && GetFocus() == m_hWnd; }

void KeyboardProbe::Focus() {
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
    PumpOnce();
}

// Each key is settled before the next, as a typist's would be: GetKeyState in
// the hook reflects only the key messages that the thread has retrieved.
void KeyboardProbe::Press(WORD vk) {
    SendKey(vk, 0);
    Settle();
    if (std::find(m_pressed.begin(), m_pressed.end(), vk) == m_pressed.end()) m_pressed.push_back(vk);
}

void KeyboardProbe::Release(WORD vk) {
    SendKey(vk, KEYEVENTF_KEYUP);
    Settle();
    m_pressed.erase(std::remove(m_pressed.begin(), m_pressed.end(), vk), m_pressed.end());
}

void KeyboardProbe::Tap(WORD vk) {
    Press(vk);
    Release(vk);
}

bool KeyboardProbe::Settle() {
    g_markerArrived = false;
    SendKey(kMarkerKey, 0);
    SendKey(kMarkerKey, KEYEVENTF_KEYUP);
    const DWORD start = GetTickCount();
    while (!g_markerArrived && GetTickCount() - start < kSettleTimeoutMs) {
        PumpOnce();
        if (!g_markerArrived) Sleep(5);
    }
    return g_markerArrived;
}

void KeyboardProbe::Clear() {
    g_messages.clear();
    g_chained.clear();
}

const std::vector<WindowKeyMessage>& KeyboardProbe::Messages() const { return g_messages; }

const std::vector<ChainedEvent>& KeyboardProbe::Chained() const { return g_chained; }

int KeyboardProbe::CountMessages(UINT message, WPARAM wParam) const {
    return static_cast<int>(std::count_if(g_messages.begin(), g_messages.end(), [&](const WindowKeyMessage& m) {
        return m.message == message && m.wParam == wParam;
    }));
}

std::vector<WPARAM> KeyboardProbe::Characters() const {
    std::vector<WPARAM> characters;
    for (const WindowKeyMessage& m : g_messages) {
        if (m.message == WM_CHAR) characters.push_back(m.wParam);
    }
    return characters;
}

bool KeyboardProbe::ChainSaw(WPARAM wParam, DWORD vkCode) const {
    return std::any_of(g_chained.begin(), g_chained.end(),
                       [&](const ChainedEvent& e) { return e.wParam == wParam && e.event.vkCode == vkCode; });
}
