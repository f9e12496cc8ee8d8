// A window that records what keyboard input reaches it, so that the end-to-end
// tests can see exactly which key-downs and characters the program let through
// or typed. One line per message, flushed at once: the harness reads the log
// while this process still runs.
//
//   typing_target.exe LOGFILE
//
// Log lines:  down VK   (WM_KEYDOWN)   sysdown VK (WM_SYSKEYDOWN)
//             up VK     (WM_KEYUP)     sysup VK   (WM_SYSKEYUP)
//             char N    (WM_CHAR, the full character value in decimal)
// With TYPING_TARGET_TIMES set, each line ends with the microseconds since the
// Unix epoch at which the message arrived. TYPING_TARGET_TITLE and
// TYPING_TARGET_AT ("X,Y") give a second copy a title and a place of its own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

FILE* g_log = nullptr;
bool g_withTimes = false;

// Microseconds since the Unix epoch: Wine's system time is the host's clock,
// so the latency measurement can compare it with the moment xdotool sent a key.
unsigned long long UnixMicroseconds()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const unsigned long long ticks = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (ticks - 116444736000000000ULL) / 10ULL;
}
WNDPROC g_editProc = nullptr;

void Record(const char* kind, WPARAM value)
{
    if (g_log == nullptr)
        return;
    if (g_withTimes)
        std::fprintf(g_log, "%s %lu %llu\n", kind, static_cast<unsigned long>(value), UnixMicroseconds());
    else
        std::fprintf(g_log, "%s %lu\n", kind, static_cast<unsigned long>(value));
    std::fflush(g_log);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KEYDOWN: Record("down", wParam); break;
    case WM_SYSKEYDOWN: Record("sysdown", wParam); break;
    case WM_KEYUP: Record("up", wParam); break;
    case WM_SYSKEYUP: Record("sysup", wParam); break;
    case WM_CHAR: Record("char", wParam); break;
    default: break;
    }
    return CallWindowProcW(g_editProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETFOCUS: {
        // Whatever activates the frame, keys must land in the edit control.
        HWND edit = GetDlgItem(hwnd, 1);
        if (edit != nullptr)
            SetFocus(edit);
        return 0;
    }
    case WM_SIZE:
        MoveWindow(GetDlgItem(hwnd, 1), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine == nullptr || commandLine[0] == '\0')
        return 2;
    g_withTimes = GetEnvironmentVariableA("TYPING_TARGET_TIMES", nullptr, 0) != 0;
    g_log = std::fopen(commandLine, "wb");
    if (g_log == nullptr)
        return 3;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"MarnellTypingTarget";
    RegisterClassW(&wc);

    wchar_t title[64] = L"Typing target";
    GetEnvironmentVariableW(L"TYPING_TARGET_TITLE", title, 64);
    char at[32] = "40,40";
    GetEnvironmentVariableA("TYPING_TARGET_AT", at, sizeof(at));
    char* comma = nullptr;
    const int x = static_cast<int>(std::strtol(at, &comma, 10));
    const int y = comma != nullptr && *comma == ',' ? static_cast<int>(std::strtol(comma + 1, nullptr, 10)) : 40;
    HWND frame = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW,
                                 x, y, 480, 200, nullptr, nullptr, instance, nullptr);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                                0, 0, 480, 200, frame, reinterpret_cast<HMENU>(1), instance, nullptr);
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
    SetFocus(edit);
    Record("ready", 0);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(g_log);
    return 0;
}
