#include "ForegroundExclusion.h"

#include <string>

#include "KeyboardHook.h"
#include "ProcessReach.h"

namespace {

enum class ReadResult { Read, Missing, Unreadable };

// At most ExcludedPrograms::kMaxFileBytes of the file.
ReadResult ReadBoundedFile(const wchar_t* path, std::string& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                               : ReadResult::Unreadable;
    }
    bytes.assign(ExcludedPrograms::kMaxFileBytes, '\0');
    std::size_t total = 0;
    bool failed = false;
    while (total < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, &bytes[total], static_cast<DWORD>(bytes.size() - total), &got, nullptr)) {
            failed = true;
            break;
        }
        if (got == 0) break;
        total += got;
    }
    CloseHandle(file);
    bytes.resize(total);
    return failed ? ReadResult::Unreadable : ReadResult::Read;
}

}  // namespace

CForegroundExclusion& CForegroundExclusion::Instance() {
    static CForegroundExclusion exclusion;
    return exclusion;
}

void CForegroundExclusion::Reload() {
    std::string bytes;
    switch (ReadBoundedFile(kExcludeFileName, bytes)) {
        case ReadResult::Read: m_list = ExcludedPrograms::Parse(bytes); break;
        case ReadResult::Missing: m_list = ExcludedPrograms(); break;
        case ReadResult::Unreadable: break;
    }
    if (m_hForegroundHook == nullptr) {
        // Out of context: called on this thread, between its messages. Marnell's
        // own windows count too: they are never listed.
        m_hForegroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                            &CForegroundExclusion::OnForegroundChanged, 0, 0, WINEVENT_OUTOFCONTEXT);
    }
    m_verdict.Forget();
    m_reachJudged = nullptr;
    Follow(GetForegroundWindow());
}

void CForegroundExclusion::Stop() {
    if (m_hForegroundHook != nullptr) UnhookWinEvent(m_hForegroundHook);
    m_hForegroundHook = nullptr;
    m_verdict.Forget();
    KeysPassUntouched().store(false);
}

void CForegroundExclusion::SetChordKeys(const LayoutTables& layout) {
    m_lookout.SetChordKeys(layout.ActivationKeys, layout.ModifierKeys);
}

void CForegroundExclusion::OnKeyDown(uint32_t vk, uint32_t eventMs) {
    // Also with nothing listed: whether Marnell can type there is judged too.
    if (m_lookout.OnKeyDown(vk, eventMs)) Follow(GetForegroundWindow());
}

void CALLBACK CForegroundExclusion::OnForegroundChanged(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    Instance().Follow(window);
    if (Instance().m_listener != nullptr) Instance().m_listener(window);
}

void CForegroundExclusion::Follow(HWND window) {
    const auto programOf = [](ForegroundVerdict::Window w) { return ProgramOf(reinterpret_cast<HWND>(w)); };
    const bool untouched = m_verdict.Follow(reinterpret_cast<ForegroundVerdict::Window>(window), m_list, programOf);
    KeysPassUntouched().store(untouched, std::memory_order_relaxed);
    if (window == m_reachJudged) return;
    m_reachJudged = window;
    const bool outOfReach = IsWindowOutOfReach(window);
    if (outOfReach == m_outOfReach) return;
    m_outOfReach = outOfReach;
    if (m_reachListener != nullptr) m_reachListener(outOfReach);
}

std::wstring CForegroundExclusion::ProgramOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0) return std::wstring();
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return std::wstring();
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    const BOOL known = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    if (!known) return std::wstring();
    const std::wstring full(path, length);
    const std::size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}
