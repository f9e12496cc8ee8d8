// Looks at a running Marnell2 from another process, as the language tests need:
// its configuration dialogs (hidden ones too) in the order in which each owns the
// next, the language and tick of their Enabled boxes, the tray icons the shell
// holds for it, and whether its splash shows. It can also send the current
// dialog the commands the tray menu sends.
//
//   marnell_probe state            prints what it sees (exit code 2: no dialog)
//   marnell_probe windows          only the window list's part of it, asking nothing
//   marnell_probe post ID          posts WM_COMMAND ID to the current dialog
//   marnell_probe post-first ID    posts it to the first dialog, which a language
//                                  switch replaced
//   marnell_probe send ID          sends it and returns once it has been handled
//   marnell_probe untick           unticks Enabled and presses OK, as a user does
//   marnell_probe answers MS FOR   exit code 0 when the dialog's thread answers every
//                                  question within MS ms for FOR ms; then prints
//                                  whether the splash still shows
//   marnell_probe keys dVK uVK ... presses (d) and releases (u) keys with SendInput,
//                                  40 ms apart; a key pressed twice repeats
//   marnell_probe held VK          prints "down" or "up": the system's key state
//   marnell_probe window TITLE S   shows a window of its own with that title for S s
//   marnell_probe front            prints the foreground window's title
//   marnell_probe reinstalls       prints how many hooks the keyboard witness has
//                                  reinstalled (exit code 2: no witness)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "KeyboardWitnessQuery.h"
#include "resource.h"

namespace {

struct Seen {
    std::vector<HWND> dialogs;  // top-level #32770 windows titled "Marnell"
    std::vector<HWND> others;   // every other top-level window of those processes
    std::vector<DWORD> processes;
    bool splash = false;        // a visible "Marnell" window that is no dialog
};

bool HasTitle(HWND hwnd, const char* title) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return std::strcmp(text, title) == 0;
}

bool HasClass(HWND hwnd, const char* name) {
    char text[64] = {};
    GetClassNameA(hwnd, text, sizeof(text));
    return std::strcmp(text, name) == 0;
}

BOOL CALLBACK CollectMarnell(HWND hwnd, LPARAM param) {
    Seen& seen = *reinterpret_cast<Seen*>(param);
    if (!HasTitle(hwnd, "Marnell")) return TRUE;
    if (HasClass(hwnd, "#32770")) {
        seen.dialogs.push_back(hwnd);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        bool known = false;
        for (DWORD p : seen.processes) known = known || p == pid;
        if (!known) seen.processes.push_back(pid);
    } else if (IsWindowVisible(hwnd)) {
        seen.splash = true;
    }
    return TRUE;
}

BOOL CALLBACK CollectOthers(HWND hwnd, LPARAM param) {
    Seen& seen = *reinterpret_cast<Seen*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    for (DWORD p : seen.processes)
        if (p == pid) seen.others.push_back(hwnd);
    return TRUE;
}

Seen Look() {
    Seen seen;
    EnumWindows(&CollectMarnell, reinterpret_cast<LPARAM>(&seen));
    EnumWindows(&CollectOthers, reinterpret_cast<LPARAM>(&seen));
    return seen;
}

// The dialogs from the first (no dialog owns it) to the current one (it owns
// none). Empty when they do not form one such chain.
std::vector<HWND> Chain(const std::vector<HWND>& dialogs) {
    std::vector<HWND> chain;
    HWND owner = nullptr;
    for (size_t n = 0; n < dialogs.size(); ++n) {
        HWND next = nullptr;
        int found = 0;
        for (HWND d : dialogs) {
            if (GetWindow(d, GW_OWNER) == owner) {
                next = d;
                ++found;
            }
        }
        if (found != 1) return {};
        chain.push_back(next);
        owner = next;
    }
    return chain;
}

HWND CurrentDialog() {
    const std::vector<HWND> chain = Chain(Look().dialogs);
    return chain.empty() ? nullptr : chain.back();
}

// The box is asked with a time limit, so that looking at a program whose thread
// does not answer shows that instead of waiting for it.
constexpr UINT kAnswerMs = 500;

std::string BoxText(HWND dialog) {
    char text[64] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(GetDlgItem(dialog, IDC_ENABLED), WM_GETTEXT, sizeof(text),
                             reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kAnswerMs, &copied))
        return "(no-answer)";
    return text;
}

const char* Tick(HWND dialog) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(GetDlgItem(dialog, IDC_ENABLED), BM_GETCHECK, 0, 0, SMTO_NORMAL, kAnswerMs, &state))
        return "(no-answer)";
    return state == BST_CHECKED ? "1" : "0";
}

// The shell accepts a modification only of an icon it holds; with no flags
// nothing about the icon changes.
bool ShellHoldsIcon(HWND owner, UINT id) {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Only what the window list shows; asks the program nothing.
int PrintWindows(const Seen& seen) {
    std::printf("processes %u\n", static_cast<unsigned>(seen.processes.size()));
    std::printf("dialogs %u\n", static_cast<unsigned>(seen.dialogs.size()));
    std::printf("splash %d\n", seen.splash ? 1 : 0);
    return seen.dialogs.empty() ? 2 : 0;
}

int PrintState() {
    const Seen seen = Look();
    PrintWindows(seen);
    const std::vector<HWND> chain = Chain(seen.dialogs);
    if (seen.dialogs.empty()) return 2;
    if (chain.empty()) {
        std::printf("chain broken\n");
    } else {
        std::string line = "chain";
        int visible = 0;
        for (HWND d : chain) {
            line += " " + BoxText(d);
            if (IsWindowVisible(d)) ++visible;
        }
        std::printf("%s\n", line.c_str());
        std::printf("visible %d\n", visible);
        std::printf("ticked %s\n", Tick(chain.back()));
    }
    std::string icons = "icons";
    std::vector<HWND> owners = seen.dialogs;
    owners.insert(owners.end(), seen.others.begin(), seen.others.end());
    for (HWND w : owners) {
        for (UINT id : {UINT(IDR_TRAY_MENU_ENGLISH), UINT(IDR_TRAY_MENU_CYMRAEG)})
            if (ShellHoldsIcon(w, id)) icons += " " + std::to_string(id);
    }
    std::printf("%s\n", icons.c_str());
    return 0;
}

// Right Alt, Right Ctrl and the like are extended keys.
bool IsExtendedKey(WORD vk) {
    return vk == VK_RMENU || vk == VK_RCONTROL || vk == VK_INSERT || vk == VK_DELETE || vk == VK_HOME ||
           vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || (vk >= VK_LEFT && vk <= VK_DOWN);
}

int SendKeys(int count, char** strokes) {
    for (int i = 0; i < count; ++i) {
        const char kind = strokes[i][0];
        const WORD vk = static_cast<WORD>(std::strtoul(strokes[i] + 1, nullptr, 10));
        if ((kind != 'd' && kind != 'u') || vk == 0) return 64;
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = (kind == 'u' ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
        if (SendInput(1, &input, sizeof(INPUT)) != 1) return 1;
        Sleep(40);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "keys") return SendKeys(argc - 2, argv + 2);
    if (command == "held" && argc > 2) {
        const int vk = static_cast<int>(std::strtoul(argv[2], nullptr, 10));
        std::printf("%s\n", (GetAsyncKeyState(vk) & 0x8000) != 0 ? "down" : "up");
        return 0;
    }
    if (command == "window" && argc > 3) {
        HWND window = CreateWindowExA(0, "STATIC", argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200, 100,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        const DWORD until = GetTickCount() + 1000 * static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
        while (window != nullptr && GetTickCount() < until) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return window != nullptr ? 0 : 1;
    }
    if (command == "foreground" && argc > 2) {
        // Another process brings a window to the front, as a program raising
        // its own window or a launcher does; no foreground event is promised.
        HWND window = FindWindowA(nullptr, argv[2]);
        return window != nullptr && SetForegroundWindow(window) ? 0 : 1;
    }
    if (command == "front") {
        char title[256] = {};
        GetWindowTextA(GetForegroundWindow(), title, sizeof(title));
        std::printf("%s\n", title);
        return 0;
    }
    if (command == "reinstalls") {
        HWND witness = FindWindowA(nullptr, kKeyboardWitnessName);
        DWORD_PTR count = 0;
        if (witness == nullptr ||
            !SendMessageTimeoutW(witness, kWitnessReinstallsQuery, 0, 0, SMTO_NORMAL, 5000, &count))
            return 2;
        std::printf("%lu\n", static_cast<unsigned long>(count));
        return 0;
    }
    if (command == "state") return PrintState();
    if (command == "windows") return PrintWindows(Look());

    HWND dialog = CurrentDialog();
    if (!dialog) {
        std::fprintf(stderr, "no current Marnell dialog\n");
        return 2;
    }
    if ((command == "post" || command == "post-first") && argc > 2) {
        const WORD id = static_cast<WORD>(std::strtoul(argv[2], nullptr, 10));
        if (command == "post-first") dialog = Chain(Look().dialogs).front();
        return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
    }
    if (command == "send" && argc > 2) {
        const WORD id = static_cast<WORD>(std::strtoul(argv[2], nullptr, 10));
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 20000, &result) ? 0 : 1;
    }
    if (command == "untick") {
        SendDlgItemMessageA(dialog, IDC_ENABLED, BM_SETCHECK, BST_UNCHECKED, 0);
        HWND ok = GetDlgItem(dialog, IDOK);
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok),
                                   SMTO_NORMAL, 20000, &result)
                   ? 0
                   : 1;
    }
    if (command == "answers" && argc > 3) {
        // Asks again and again for a while: a thread that is busy only for a
        // moment answers some of the time, a sleeping one not at all.
        const UINT ms = static_cast<UINT>(std::strtoul(argv[2], nullptr, 10));
        const DWORD duration = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
        const DWORD start = GetTickCount();
        int asked = 0, unanswered = 0;
        do {
            DWORD_PTR result = 0;
            ++asked;
            if (!SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result)) ++unanswered;
            Sleep(50);
        } while (GetTickCount() - start < duration);
        std::printf("unanswered %d of %d\n", unanswered, asked);
        // Whether the splash still showed after the last answer.
        std::printf("splash %d\n", Look().splash ? 1 : 0);
        return unanswered == 0 ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: marnell_probe state | windows | post ID | send ID | untick | answers MS FOR | reinstalls | "
                 "keys dVK|uVK... | held VK | window TITLE SECONDS | foreground TITLE | front\n");
    return 64;
}
