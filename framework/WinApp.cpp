#include "WinApp.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "AnsiText.h"
#include "ThreadState.h"
#include "Wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;

std::string ExecutableBaseName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string name = AnsiFromWide(path);
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
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ | KEY_WRITE, &software) != ERROR_SUCCESS) {
        return nullptr;
    }
    HKEY key = software;
    for (const char* sub : {company.c_str(), app.c_str(), section}) {
        HKEY next = nullptr;
        const LONG rc = ::RegCreateKeyExW(key, WideFromAnsi(sub).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, &next, nullptr);
        ::RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return nullptr;
        key = next;
    }
    return key;
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
    const std::wstring entry = WideFromAnsi(lpszEntry);
    LONG rc;
    if (lpszValue == nullptr) {
        rc = ::RegDeleteValueW(key, entry.c_str());
    } else {
        const std::wstring value = WideFromAnsi(lpszValue);
        rc = ::RegSetValueExW(key, entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

UINT CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) {
    UINT result = static_cast<UINT>(nDefault);
    HKEY key = OpenSectionKey(m_strRegistryKey, m_strAppName, lpszSection);
    if (key == nullptr) return result;
    DWORD value = 0, type = 0, size = sizeof(value);
    if (::RegQueryValueExW(key, WideFromAnsi(lpszEntry).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value))
        result = value;
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) {
    HKEY key = OpenSectionKey(m_strRegistryKey, m_strAppName, lpszSection);
    if (key == nullptr) return FALSE;
    const DWORD value = static_cast<DWORD>(nValue);
    const LONG rc = ::RegSetValueExW(key, WideFromAnsi(lpszEntry).c_str(), 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&value), sizeof(value));
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
    std::snprintf(name, sizeof(name), "MarnellWnd:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
                  static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<std::mutex> guard(lock);
    auto inserted = names.insert(name);
    if (inserted.second) {
        const std::wstring wideName = WideFromAnsi(name);
        WNDCLASSW wc = {};
        wc.style = nClassStyle;
        wc.lpfnWndProc = &AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = wideName.c_str();
        if (::RegisterClassW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
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
