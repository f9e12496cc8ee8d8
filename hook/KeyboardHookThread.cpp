#include "KeyboardHookThread.h"

#include <utility>

#include "KeyboardHook.h"
#include "LayoutFile.h"

namespace {

// A request's address travels in lParam of a thread message.
constexpr UINT kRequestMessage = WM_APP + 0x48;

}  // namespace

struct CKeyboardHookThread::Request {
    enum class Kind { Install, Reinstall, Remove } kind;
    HHOOK hook;
    LayoutTables* tables;
    HHOOK result;
};

CKeyboardHookThread& CKeyboardHookThread::Instance() {
    static CKeyboardHookThread thread;
    return thread;
}

CKeyboardHookThread::~CKeyboardHookThread() { Stop(); }

HHOOK CKeyboardHookThread::Install(HHOOK previous, LayoutTables tables) {
    Request request{Request::Kind::Install, previous, &tables, nullptr};
    return Call(request);
}

HHOOK CKeyboardHookThread::Reinstall(HHOOK previous) {
    Request request{Request::Kind::Reinstall, previous, nullptr, nullptr};
    return Call(request);
}

void CKeyboardHookThread::Remove(HHOOK hook) {
    if (hook == nullptr) return;
    Request request{Request::Kind::Remove, hook, nullptr, nullptr};
    Call(request);
}

HHOOK CKeyboardHookThread::Call(Request& request) {
    if (!m_thread.joinable()) {
        m_done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_thread = std::thread(&CKeyboardHookThread::Run, this);
        WaitForSingleObject(m_done, INFINITE);  // its message queue exists
    }
    if (!PostThreadMessageW(m_threadId, kRequestMessage, 0, reinterpret_cast<LPARAM>(&request))) return nullptr;
    WaitForSingleObject(m_done, INFINITE);
    return request.result;
}

void CKeyboardHookThread::Stop() {
    if (!m_thread.joinable()) return;
    PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
    CloseHandle(m_done);
    m_done = nullptr;
    m_threadId = 0;
}

void CKeyboardHookThread::Run() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    m_threadId = GetCurrentThreadId();
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue
    SetEvent(m_done);

    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd != nullptr || msg.message != kRequestMessage) {
            DispatchMessageW(&msg);
            continue;
        }
        Request& request = *reinterpret_cast<Request*>(msg.lParam);
        if (request.hook != nullptr) UnhookWindowsHookEx(request.hook);
        if (request.kind != Request::Kind::Remove) {
            request.result = SetWindowsHookExA(WH_KEYBOARD_LL, &KeyboardHookProc, GetModuleHandleA(nullptr), 0);
        }
        if (request.kind == Request::Kind::Install) {
            LayoutTables& t = *request.tables;
            ActivateLayout(std::move(t.KeyCodes), std::move(t.ModifierIndexes), std::move(t.LowerChars),
                           std::move(t.UpperChars), std::move(t.ActivationKeys), std::move(t.ModifierKeys));
        }
        SetEvent(m_done);
    }
}
