#include "Dialog.h"

#include "WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CCmdTarget)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

HWND OwnerFor(CWnd* pParentWnd) {
    if (pParentWnd != nullptr) return pParentWnd->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->m_hWnd : nullptr;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDHelp = nIDTemplate;
    if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
    m_bModal = false;
    ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDTemplate),
                         OwnerFor(m_pParentWnd), &AfxDlgProc, reinterpret_cast<LPARAM>(this));
    return m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    m_bModal = true;
    INT_PTR result = ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDHelp),
                                       OwnerFor(m_pParentWnd), &AfxDlgProc,
                                       reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::EndDialog(int nResult) {
    if (m_hWnd == nullptr) return;
    if (m_bModal) {
        ::EndDialog(m_hWnd, nResult);
    } else {
        // A modeless dialog lives on hidden, so it can be shown again.
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == nullptr || CWnd::FromHandlePermanent(hWnd) != nullptr) return TRUE;
    pDlg->Attach(hWnd);
    // From here on every message goes through the object's WindowProc; the
    // dialog manager's procedure stays underneath as Default().
    pDlg->m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return pDlg->OnInitDialog();
}
