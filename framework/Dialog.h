#pragma once
// CDialog: a dialog from a template resource, modeless (Create) or modal
// (DoModal). IDOK and IDCANCEL, which the dialog manager also sends for Enter,
// Esc and WM_CLOSE, go to the virtual OnOK and OnCancel unless the derived
// class's map binds them. A dialog created with no parent is owned by the
// application's main window, as the platform's dialogs are by their parent.

#include "Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Modeless: creates the window from template nIDTemplate; OnInitDialog has
    // run when this returns. TRUE when the window exists.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Modal: runs the dialog from the constructor's template until EndDialog;
    // returns the EndDialog result, or -1 when the dialog could not be shown.
    virtual INT_PTR DoModal();

    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);  // modal: ends the loop; modeless: hides the window

protected:
    virtual void OnOK();      // EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL)

    UINT m_nIDHelp;  // the template number
    CWnd* m_pParentWnd;
    bool m_bModal = false;  // inside DoModal: EndDialog ends the modal loop

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
