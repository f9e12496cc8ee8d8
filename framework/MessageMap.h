#pragma once
// Message maps: a static table per class that binds a window message, or
// WM_COMMAND with one identifier, to a member function; each table chains to its
// base class's table. Lookup walks the most derived table first and, within a
// table, takes the first entry that matches, so entries act in the order written.
//
//   BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//       ON_WM_PAINT()
//       ON_COMMAND(ID_TRAY_EXIT, &CMyDialog::OnExit)
//   END_MESSAGE_MAP()
//
// Handlers are bound through templates, so a handler with the wrong signature is
// a compile error, not a crash.

#include <windows.h>

#include "RuntimeClass.h"

class CCmdTarget;

using AfxMessageHandler = LRESULT (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;               // window message; WM_COMMAND for command entries
    UINT nID;                    // command identifier of a WM_COMMAND entry, else 0
    AfxMessageHandler pfnHandler;  // nullptr ends a table
    // A message registered at run time (RegisterWindowMessage): the variable
    // that holds its number, which nMessage cannot know; else nullptr.
    const UINT* pnRegisteredMessage = nullptr;

    bool Matches(UINT message, UINT id) const {
        if (pnRegisteredMessage != nullptr) return *pnRegisteredMessage != 0 && *pnRegisteredMessage == message;
        return nMessage == message && (message != WM_COMMAND || nID == id);
    }
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr for the root table
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Base of everything that receives commands: windows, threads, the application.
class CCmdTarget : public CObject {
public:
    // Runs the handler that this object's map chain binds to command nID.
    // Returns true when a handler ran.
    virtual bool OnCmdMsg(UINT nID);

    // The first entry of this object's map chain for nMessage (and, for
    // WM_COMMAND, nID), or nullptr.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

namespace afx {

template <typename MemberPointer>
struct MemberOf;
template <typename R, typename C, typename... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};

template <auto Handler>
LRESULT InvokeVoid(CCmdTarget& target, WPARAM, LPARAM) {
    using C = typename MemberOf<decltype(Handler)>::Class;
    (static_cast<C&>(target).*Handler)();
    return 0;
}

template <auto Handler>
LRESULT InvokeSysCommand(CCmdTarget& target, WPARAM wParam, LPARAM lParam) {
    using C = typename MemberOf<decltype(Handler)>::Class;
    (static_cast<C&>(target).*Handler)(static_cast<UINT>(wParam), lParam);
    return 0;
}

template <auto Handler>
LRESULT InvokeQueryDragIcon(CCmdTarget& target, WPARAM, LPARAM) {
    using C = typename MemberOf<decltype(Handler)>::Class;
    return reinterpret_cast<LRESULT>((static_cast<C&>(target).*Handler)());
}

template <auto Handler>
LRESULT InvokeEndSession(CCmdTarget& target, WPARAM wParam, LPARAM) {
    using C = typename MemberOf<decltype(Handler)>::Class;
    (static_cast<C&>(target).*Handler)(static_cast<BOOL>(wParam));
    return 0;
}

template <auto Handler>
LRESULT InvokeTimer(CCmdTarget& target, WPARAM wParam, LPARAM) {
    using C = typename MemberOf<decltype(Handler)>::Class;
    (static_cast<C&>(target).*Handler)(static_cast<UINT_PTR>(wParam));
    return 0;
}

template <auto Handler>
LRESULT InvokeMessage(CCmdTarget& target, WPARAM wParam, LPARAM lParam) {
    using C = typename MemberOf<decltype(Handler)>::Class;
    return (static_cast<C&>(target).*Handler)(wParam, lParam);
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const AFX_MSGMAP* GetThisMessageMap();   \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                              \
        using ThisClass = theClass;                                                \
        using TheBaseClass = baseClass;                                            \
        static_cast<void>(sizeof(ThisClass));                                      \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, nullptr}};                                               \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }

// WM_COMMAND with notification code 0 (a menu item, an accelerator, a button click).
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, static_cast<UINT>(id), &::afx::InvokeVoid<memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)

// Handler names and signatures follow the message:
//   void OnPaint(); void OnSysCommand(UINT nID, LPARAM lParam);
//   HCURSOR OnQueryDragIcon(); void OnEndSession(BOOL bEnding);
//   void OnTimer(UINT_PTR nIDEvent);
#define ON_WM_PAINT() {WM_PAINT, 0, &::afx::InvokeVoid<&ThisClass::OnPaint>},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, &::afx::InvokeSysCommand<&ThisClass::OnSysCommand>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, &::afx::InvokeQueryDragIcon<&ThisClass::OnQueryDragIcon>},
#define ON_WM_ENDSESSION() {WM_ENDSESSION, 0, &::afx::InvokeEndSession<&ThisClass::OnEndSession>},
#define ON_WM_TIMER() {WM_TIMER, 0, &::afx::InvokeTimer<&ThisClass::OnTimer>},
// Any message, private ones (WM_APP + n) included: LRESULT memberFxn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) {static_cast<UINT>(message), 0, &::afx::InvokeMessage<memberFxn>},
// A message registered at run time, whose number a UINT variable holds once
// registered (0 until then matches nothing): LRESULT memberFxn(WPARAM, LPARAM).
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0, 0, &::afx::InvokeMessage<memberFxn>, &(nMessageVariable)},
