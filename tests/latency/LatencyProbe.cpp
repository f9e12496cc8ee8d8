// Times key strokes from SendInput to their WM_CHAR in this process's own
// focused window with QueryPerformanceCounter, so that no process start and no
// file polling sit in the measured path. Four arms, in interleaved rounds:
//
//   none     no low-level keyboard hook anywhere (Marnell's translation off)
//   floor    a do-nothing low-level hook in another process (a copy of this
//            program): what the system's hook dispatch itself costs
//   pass     Marnell translating, a key it lets pass
//   chord    Marnell translating, a chord: time to the translated WM_CHAR
//   pass/chord, main blocked
//            the same while Marnell's main thread (dialogs, tray, layout
//            file) is suspended: the hook must not wait on it
//
//   latency_probe ROUNDS STROKES   the measurement; Marnell must be running
//                                  with a layout in which Scroll Lock + A types
//                                  U+00E1 and K is listed nowhere
//   latency_probe --floor-hook EVENT  the do-nothing hook, until EVENT is set
//
// Prints one line per arm: strokes, lost strokes, median, p90 and p99 in
// microseconds; then the ratios. Exit code 1 when a stroke was lost.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr WORD kActivation = VK_SCROLL;
constexpr WORD kChordKey = 'A';
constexpr WPARAM kChordChar = 0xE1;
constexpr WORD kPassKey = 'K';
constexpr WPARAM kPassChar = 'k';
constexpr DWORD kLostAfterMs = 1000;
constexpr int kIdcEnabled = 1001;

LARGE_INTEGER g_frequency;
LONGLONG g_arrival = 0;       // QPC at the last WM_CHAR
WPARAM g_arrivedChar = 0;

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CHAR) {
        g_arrival = Now();
        // Wine ORs 0x2000 into a packet's character while Alt is held; the
        // activation key here is no Alt, but keep the low bits to be safe.
        g_arrivedChar = wParam;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void SendKey(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// One stroke: microseconds from SendInput to the expected WM_CHAR, or -1 if
// it did not come.
double Stroke(WORD vk, WPARAM expected) {
    g_arrivedChar = 0;
    const LONGLONG sent = Now();
    SendKey(vk, false);
    const DWORD start = GetTickCount();
    while ((g_arrivedChar & 0xFFFF) != expected) {
        if (GetTickCount() - start > kLostAfterMs) return -1;
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
    const double us = static_cast<double>(g_arrival - sent) * 1e6 / static_cast<double>(g_frequency.QuadPart);
    SendKey(vk, true);
    Pump(2);
    return us;
}

struct Arm {
    explicit Arm(const char* armName) : name(armName) {}
    const char* name;
    std::vector<double> samples;
    int lost = 0;
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t index = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(index, v.size() - 1)];
}

void Measure(Arm& arm, int strokes, WORD vk, WPARAM expected) {
    for (int i = 0; i < strokes; ++i) {
        const double us = Stroke(vk, expected);
        if (us < 0)
            ++arm.lost;
        else
            arm.samples.push_back(us);
    }
}

// A key Marnell lets pass, then chords with the activation key held throughout.
void MeasurePassAndChord(Arm& pass, Arm& chord, int strokes) {
    Measure(pass, strokes, kPassKey, kPassChar);
    SendKey(kActivation, false);
    Pump(20);
    Measure(chord, strokes, kChordKey, kChordChar);
    SendKey(kActivation, true);
    Pump(20);
}

// Marnell's current dialog: the last of its owner chain of "Marnell" dialogs.
HWND MarnellDialog() {
    HWND found = nullptr;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, L"#32770", L"Marnell")) != nullptr) {
        bool ownsAnother = false;
        HWND other = nullptr;
        while ((other = FindWindowExW(nullptr, other, L"#32770", L"Marnell")) != nullptr)
            ownsAnother = ownsAnother || GetWindow(other, GW_OWNER) == candidate;
        if (!ownsAnother) found = candidate;
    }
    return found;
}

// Suspends the thread that owns Marnell's dialog for as long as it lives.
class MainThreadBlock {
public:
    explicit MainThreadBlock(HWND dialog) {
        const DWORD id = GetWindowThreadProcessId(dialog, nullptr);
        m_thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, id);
        if (m_thread != nullptr && SuspendThread(m_thread) == static_cast<DWORD>(-1)) {
            CloseHandle(m_thread);
            m_thread = nullptr;
        }
    }
    ~MainThreadBlock() {
        if (m_thread == nullptr) return;
        ResumeThread(m_thread);
        CloseHandle(m_thread);
    }
    MainThreadBlock(const MainThreadBlock&) = delete;
    MainThreadBlock& operator=(const MainThreadBlock&) = delete;
    bool Blocked() const { return m_thread != nullptr; }

private:
    HANDLE m_thread = nullptr;
};

// Ticks or unticks Enabled and presses OK, as a user does.
bool SetTranslation(HWND dialog, bool on) {
    SendDlgItemMessageW(dialog, kIdcEnabled, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)), SMTO_NORMAL, 10000,
                               &result) != 0;
}

void TakeFocus(HWND hwnd) {
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    Pump(50);
}

HHOOK g_floorHook = nullptr;
LRESULT CALLBACK FloorHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(g_floorHook, nCode, wParam, lParam);
}

int RunFloorHook(const char* eventName) {
    HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, eventName);
    if (stop == nullptr) return 2;
    g_floorHook = SetWindowsHookExW(WH_KEYBOARD_LL, &FloorHookProc, GetModuleHandleW(nullptr), 0);
    if (g_floorHook == nullptr) return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(g_floorHook);
    return 0;
}

// The do-nothing hook in a process of its own; running until Stop.
class FloorHookProcess {
public:
    bool Start() {
        m_stop = CreateEventA(nullptr, TRUE, FALSE, "MarnellLatencyFloorStop");
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = std::string("\"") + self + "\" --floor-hook MarnellLatencyFloorStop";
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = writeEnd;
        si.hStdError = writeEnd;
        const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                            &si, &m_process);
        CloseHandle(writeEnd);
        char ready[16] = {};
        DWORD got = 0;
        const bool ok = started && ReadFile(readEnd, ready, sizeof(ready) - 1, &got, nullptr) &&
                        std::strncmp(ready, "ready", 5) == 0;
        CloseHandle(readEnd);
        return ok;
    }
    void Stop() {
        SetEvent(m_stop);
        WaitForSingleObject(m_process.hProcess, 10000);
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
        CloseHandle(m_stop);
    }

private:
    HANDLE m_stop = nullptr;
    PROCESS_INFORMATION m_process = {};
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--floor-hook") == 0) return RunFloorHook(argv[2]);
    if (argc != 3) {
        std::fprintf(stderr, "usage: latency_probe ROUNDS STROKES | --floor-hook EVENT\n");
        return 64;
    }
    const int rounds = std::atoi(argv[1]);
    const int strokes = std::atoi(argv[2]);
    QueryPerformanceFrequency(&g_frequency);

    HWND marnell = MarnellDialog();
    if (marnell == nullptr) {
        std::fprintf(stderr, "Marnell is not running\n");
        return 2;
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MarnellLatencyProbe";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Latency probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                  300, 120, nullptr, nullptr, wc.hInstance, nullptr);
    TakeFocus(window);

    Arm none("none"), floorArm("floor"), pass("pass"), chord("chord");
    Arm passBlocked("pass, main blocked"), chordBlocked("chord, main blocked");
    // A first round warms the caches of Wine and of every process; its strokes
    // are not counted.
    for (int round = 0; round <= rounds; ++round) {
        const bool counted = round > 0;
        const int n = counted ? strokes : std::max(10, strokes / 10);
        Arm scratch("warm-up");

        if (!SetTranslation(marnell, false)) return 3;
        TakeFocus(window);
        Measure(counted ? none : scratch, n, kPassKey, kPassChar);

        FloorHookProcess floorHook;
        if (!floorHook.Start()) {
            std::fprintf(stderr, "the do-nothing hook did not start\n");
            return 3;
        }
        TakeFocus(window);
        Measure(counted ? floorArm : scratch, n, kPassKey, kPassChar);
        floorHook.Stop();

        if (!SetTranslation(marnell, true)) return 3;
        TakeFocus(window);
        MeasurePassAndChord(counted ? pass : scratch, counted ? chord : scratch, n);
        {
            MainThreadBlock block(marnell);
            if (!block.Blocked()) {
                std::fprintf(stderr, "could not suspend Marnell's main thread\n");
                return 3;
            }
            MeasurePassAndChord(counted ? passBlocked : scratch, counted ? chordBlocked : scratch, n);
        }
    }
    SetTranslation(marnell, true);

    int lost = 0;
    for (const Arm* arm : {&none, &floorArm, &pass, &chord, &passBlocked, &chordBlocked}) {
        std::printf("%-19s strokes %zu lost %d median %.0f p90 %.0f p99 %.0f us\n", arm->name, arm->samples.size(),
                    arm->lost, Percentile(arm->samples, 0.5), Percentile(arm->samples, 0.9),
                    Percentile(arm->samples, 0.99));
        lost += arm->lost;
    }
    const double base = Percentile(none.samples, 0.5);
    const double floorAdded = Percentile(floorArm.samples, 0.5) - base;
    const double passAdded = Percentile(pass.samples, 0.5) - base;
    const double chordAdded = Percentile(chord.samples, 0.5) - base;
    std::printf("pass added / floor added = %.2f\n", floorAdded > 0 ? passAdded / floorAdded : 0.0);
    std::printf("chord added / two floor passes = %.2f\n", floorAdded > 0 ? chordAdded / (2 * floorAdded) : 0.0);
    for (const Arm* arm : {&pass, &chord, &passBlocked, &chordBlocked}) {
        const double median = Percentile(arm->samples, 0.5);
        std::printf("%s p99 / median = %.2f\n", arm->name, median > 0 ? Percentile(arm->samples, 0.99) / median : 0.0);
    }
    DestroyWindow(window);
    return lost == 0 ? 0 : 1;
}
