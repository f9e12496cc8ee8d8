#include "WinApp.h"

#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "ThreadState.h"
#include "Wnd.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;

std::string ExecutableBaseName() {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n < MAX_PATH ? n : MAX_PATH);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

// HKCU\Software\<company>\<application>\<section>: Software is only opened,
// the three below it are opened or created, for reading and writing alike.
HKEY OpenSectionKey(const std::string& company, const std::string& app, const char* section) {
    if (company.empty() || section == nullptr) return nullptr;
    HKEY software = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &software) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    HKEY key = software;
    for (const char* sub : {company.c_str(), app.c_str(), section}) {
        HKEY next = nullptr;
        const LONG rc = ::RegCreateKeyExA(key, sub, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, &next, nullptr);
        ::RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return nullptr;
        key = next;
    }
    return key;
}

std::wstring WideFromAnsi(const char* text) {
    if (text == nullptr) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

// Without best-fit mapping: a character the code page lacks becomes the default
// character, never a look-alike letter (a circumflexed y must not read as y).
std::string AnsiFromWide(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string ansi(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, &ansi[0], n, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(n - 1));
    return ansi;
}

}  // namespace

CWinApp::CWinApp(const char* lpszAppName)
    : m_hInstance(::GetModuleHandleW(nullptr)),
      m_strAppName(lpszAppName != nullptr ? lpszAppName : ExecutableBaseName()) {
    g_pApp = this;
    m_bAutoDelete = FALSE;
    m_nThreadID = ::GetCurrentThreadId();
    AfxSetThread(this);
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
    if (AfxGetThread() == this) AfxSetThread(nullptr);
}

BOOL CWinApp::InitInstance() { return TRUE; }

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
    m_strProfileName = m_strAppName;
}

std::string CWinApp::GetProfileString(const char* lpszSection, const char* lpszEntry,
                                      const char* lpszDefault) {
    const std::string fallback = lpszDefault != nullptr ? lpszDefault : "";
    HKEY key = OpenSectionKey(m_strRegistryKey, m_strAppName, lpszSection);
    if (key == nullptr) return fallback;
    std::string result = fallback;
    const std::wstring entry = WideFromAnsi(lpszEntry);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, entry.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        // One spare character: a stored value need not end with its zero.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
        if (::RegQueryValueExW(key, entry.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
            result = AnsiFromWide(buffer.data());
        }
    }
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry,
                                 const char* lpszValue) {
    if (lpszEntry == nullptr) return FALSE;
    HKEY key = OpenSectionKey(m_strRegistryKey, m_strAppName, lpszSection);
    if (key == nullptr) return FALSE;
    LONG rc;
    if (lpszValue == nullptr) {
        rc = ::RegDeleteValueA(key, lpszEntry);
    } else {
        rc = ::RegSetValueExA(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                              static_cast<DWORD>(std::strlen(lpszValue) + 1));
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    if (thread == nullptr) thread = g_pApp;
    return thread != nullptr ? thread->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

void AfxEnableControlContainer() {}

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                HICON hIcon) {
    static std::mutex lock;
    static std::set<std::string> names;
    char name[96];
    wsprintfA(name, "MarnellWnd:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
              static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<std::mutex> guard(lock);
    auto inserted = names.insert(name);
    if (inserted.second) {
        WNDCLASSA wc = {};
        wc.style = nClassStyle;
        wc.lpfnWndProc = &AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = inserted.first->c_str();
        if (::RegisterClassA(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            names.erase(inserted.first);
            return nullptr;
        }
    }
    return inserted.first->c_str();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    app->m_hInstance = hInstance;
    if (!app->InitInstance()) return 0;
    return app->Run();
}
