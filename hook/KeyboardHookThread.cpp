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
    Installed result;
};

CKeyboardHookThread& CKeyboardHookThread::Instance() {
    static CKeyboardHookThread thread;
    return thread;
}

CKeyboardHookThread::~CKeyboardHookThread() { Stop(); }

CKeyboardHookThread::Installed CKeyboardHookThread::Install(HHOOK previous, LayoutTables tables) {
    Request request{Request::Kind::Install, previous, &tables, {previous, false}};
    Call(request);
    return request.result;
}

CKeyboardHookThread::Installed CKeyboardHookThread::Reinstall(HHOOK previous) {
    Request request{Request::Kind::Reinstall, previous, nullptr, {previous, false}};
    Call(request);
    return request.result;
}

void CKeyboardHookThread::Remove(HHOOK hook) {
    if (hook == nullptr) return;
    Request request{Request::Kind::Remove, hook, nullptr, {nullptr, false}};
    Call(request);
}

// A request the thread cannot be given leaves its result as it was made: the
// previous hook in force.
void CKeyboardHookThread::Call(Request& request) {
    if (!m_thread.joinable()) {
        m_done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_thread = std::thread(&CKeyboardHookThread::Run, this);
        WaitForSingleObject(m_done, INFINITE);  // its message queue exists
    }
    if (!PostThreadMessageW(m_threadId, kRequestMessage, 0, reinterpret_cast<LPARAM>(&request))) return;
    WaitForSingleObject(m_done, INFINITE);
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
        // Key events wait in this thread's queue until the step is done: the
        // new hook goes in before the old one goes, and no event is served
        // while both are there.
        Request& request = *reinterpret_cast<Request*>(msg.lParam);
        HHOOK fresh = nullptr;
        if (request.kind != Request::Kind::Remove) {
            fresh = SetWindowsHookExA(WH_KEYBOARD_LL, &KeyboardHookProc, GetModuleHandleA(nullptr), 0);
            if (fresh != nullptr) request.result = {fresh, true};
        }
        if (request.hook != nullptr && (request.kind == Request::Kind::Remove || fresh != nullptr))
            UnhookWindowsHookEx(request.hook);
        if (request.kind == Request::Kind::Install) {
            LayoutTables& t = *request.tables;
            ActivateLayout(std::move(t.KeyCodes), std::move(t.ModifierIndexes), std::move(t.LowerChars),
                           std::move(t.UpperChars), std::move(t.ActivationKeys), std::move(t.ModifierKeys));
        }
        SetEvent(m_done);
    }
}
