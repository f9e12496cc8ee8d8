#include "ConfigFileWatch.h"

#include "AnsiText.h"
#include "ForegroundExclusion.h"
#include "LayoutFile.h"

namespace {

constexpr UINT kDirectoryChanged = WM_APP + 0x46;

const wchar_t* LayoutFile() {
    static const std::wstring name = WideFromAnsi(kLayoutFileName);
    return name.c_str();
}

// Whether an editor holds the file so that the layout reader (which shares
// reading only) cannot open it now.
bool IsLocked(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace

BEGIN_MESSAGE_MAP(CConfigFileWatch, CWnd)
    ON_MESSAGE(kDirectoryChanged, &CConfigFileWatch::OnDirectoryChanged)
    ON_WM_TIMER()
END_MESSAGE_MAP()

bool CConfigFileWatch::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && size == other.size && written.dwLowDateTime == other.written.dwLowDateTime &&
           written.dwHighDateTime == other.written.dwHighDateTime;
}

CConfigFileWatch::Stamp CConfigFileWatch::StampOf(const wchar_t* path) {
    Stamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return stamp;
    stamp.exists = true;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

CConfigFileWatch& CConfigFileWatch::Instance() {
    static CConfigFileWatch watch;
    return watch;
}

CConfigFileWatch::~CConfigFileWatch() { Stop(); }

void CConfigFileWatch::Listen(ConfigFileListener* listener) {
    m_listener = listener;
    m_layout = StampOf(LayoutFile());
    m_exclude = StampOf(kExcludeFileName);
    // A message-only window: it needs no broadcast, only the thread's posts.
    if (m_hWnd == nullptr && !CreateEx(0, AfxRegisterWndClass(0), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr)) return;
    wchar_t directory[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, directory);
    if (m_thread.joinable() && m_directory == directory) return;
    EndThread();
    m_directory = directory;
    HANDLE change = FindFirstChangeNotificationW(
        m_directory.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change == INVALID_HANDLE_VALUE) return;
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread(&CConfigFileWatch::Run, this, change, m_directory);
}

void CConfigFileWatch::StopFor(ConfigFileListener* listener) {
    if (m_listener == listener) m_listener = nullptr;
}

void CConfigFileWatch::Stop() {
    EndThread();
    m_listener = nullptr;
}

void CConfigFileWatch::EndThread() {
    if (m_thread.joinable()) {
        SetEvent(m_stop);
        m_thread.join();
    }
    if (m_stop != nullptr) CloseHandle(m_stop);
    m_stop = nullptr;
    m_directory.clear();
}

void CConfigFileWatch::Run(HANDLE change, std::wstring directory) {
    const HANDLE handles[2] = {m_stop, change};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        PostMessageW(m_hWnd, kDirectoryChanged, 0, 0);
        // A working directory deleted or renamed away ends the watch: the
        // tables in use stay, and nothing waits on a handle that may not rest.
        if (GetFileAttributesW(directory.c_str()) == INVALID_FILE_ATTRIBUTES || !FindNextChangeNotification(change))
            break;
    }
    FindCloseChangeNotification(change);
}

LRESULT CConfigFileWatch::OnDirectoryChanged(WPARAM, LPARAM) {
    m_quiet.OnChange(GetTickCount());
    ArmTimer();
    return 0;
}

// One timer while a save settles, armed for what is left of the quiet while;
// changes meanwhile only move the end of that while.
void CConfigFileWatch::ArmTimer() {
    if (m_quiet.IsWaiting()) m_quietWait.Arm(m_quiet.WaitLeftMs(GetTickCount()));
}

void CConfigFileWatch::OnTimer(UINT_PTR nIDEvent) {
    if (!m_quietWait.Fired(nIDEvent)) return;
    if (m_quiet.OnTimer(GetTickCount()))
        Take();
    else
        ArmTimer();
}

void CConfigFileWatch::Take() {
    const Stamp layout = StampOf(LayoutFile()), exclude = StampOf(kExcludeFileName);
    const bool layoutChanged = !(layout == m_layout), excludeChanged = !(exclude == m_exclude);
    if (layoutChanged && layout.exists && IsLocked(LayoutFile()) && m_quiet.OnLocked(GetTickCount())) {
        ArmTimer();
        return;
    }
    m_layout = layout;
    m_exclude = exclude;
    if ((layoutChanged || excludeChanged) && m_listener != nullptr)
        m_listener->OnConfigFilesSaved(layoutChanged, excludeChanged);
}
