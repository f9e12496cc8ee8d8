#pragma once
// CWnd: a C++ object attached to one window. Messages reach the object's
// WindowProc, which looks them up in its message map; what the map does not
// handle goes to Default(), the window's own procedure (DefWindowProc for the
// framework's classes, the dialog manager for dialogs).

#include <windows.h>

#include "MessageMap.h"

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;  // destroys the window if it still exists
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to hWnd by this framework, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates a window of a class registered with AfxRegisterWndClass (or any
    // class), attached to this object from its first message on.
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                  DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                  HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;
    HMENU GetSystemMenu(BOOL bRevert) const;
    BOOL SetForegroundWindow();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;

    // The message being handled: what Default() passes on.
    LRESULT Default();

    // Dispatches one message: the message map first, then Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // A key message for this top-level window or one of its children, before
    // it is translated and dispatched: TRUE when the window handled it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Routes a command: this window's map; for identifiers 0x8000..0xEFFF that it
    // does not handle, its owner windows in turn, then the application object.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

protected:
    void Attach(HWND hWnd);
    HWND Detach();

    WNDPROC m_pfnSuper;  // the window's own procedure, which Default() calls

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current;
};

// The window procedure of every class that AfxRegisterWndClass registers.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
