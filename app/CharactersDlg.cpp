#include "CharactersDlg.h"

#include <commctrl.h>

#include <cstring>
#include <iterator>

#include "CharacterTexts.h"
#include "DisplayScale.h"
#include "KeyLabel.h"
#include "KeyTranslation.h"
#include "KeyboardHook.h"
#include "WideText.h"
#include "WritingWindow.h"
#include "resource.h"

namespace {

struct Column {
    const wchar_t *english, *welsh;
    int percent;
};
constexpr Column kColumns[] = {{L"Character", L"Nod", 13},
                               {L"Keys", L"Bysellau", 33},
                               {L"Code point", L"Pwynt cod", 12},
                               {L"English name", L"Enw Saesneg", 21},
                               {L"Welsh name", L"Enw Cymraeg", 21}};

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

BEGIN_MESSAGE_MAP(CCharactersDlg, CDialog)
    ON_MESSAGE(WM_NOTIFY, &CCharactersDlg::OnNotify)
    ON_COMMAND(IDC_CHARACTER_COPY, &CCharactersDlg::OnCopy)
    ON_MESSAGE(WM_DPICHANGED, &CCharactersDlg::OnDpiChanged)
END_MESSAGE_MAP()

CCharactersDlg::CCharactersDlg() : CDialog(IDD_CHARACTERS) {}

CCharactersDlg& CCharactersDlg::Instance() {
    static CCharactersDlg window;
    return window;
}

void CCharactersDlg::Open() {
    if (m_hWnd == nullptr) {
        // Aware of each monitor's scale: the system scales the dialog as it
        // moves, and the list's own font and rows follow (OnDpiChanged).
        ScopedPerMonitorAwareness aware;
        if (!Create(IDD_CHARACTERS)) return;
    }
    if (!::IsWindowVisible(m_hWnd)) {
        ::SetDlgItemTextW(m_hWnd, IDC_CHARACTER_SEARCH, L"");
        Filter();
    }
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    ::SetFocus(Item(IDC_CHARACTER_SEARCH));
}

void CCharactersDlg::SetLayout(const LayoutChords& chords, bool welsh) {
    m_chords = chords;
    m_welsh = welsh;
    const auto keysOf = [this](const LayoutChord& chord) { return KeysOfChord(m_chords, chord, KeyLabel, m_welsh); };
    m_characters = ListCharacters(m_chords, keysOf);
    if (m_hWnd == nullptr) return;
    ShowTexts();
    m_query = L"\x1";  // whatever the search says, the list is filled anew
    Filter();
}

BOOL CCharactersDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = Item(IDC_CHARACTER_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_SUBITEM;
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    ScaleList();
    ShowTexts();
    m_query = L"\x1";
    Filter();
    return TRUE;
}

void CCharactersDlg::ScaleList() {
    HWND list = Item(IDC_CHARACTER_LIST);
    m_listFont = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    LOGFONTW font = {};
    GetObjectW(m_listFont, sizeof(font), &font);
    font.lfHeight = font.lfHeight * 2;
    if (m_largeFont != nullptr) DeleteObject(m_largeFont);
    m_largeFont = CreateFontIndirectW(&font);
    // Rows are as tall as an (empty) image list's images: room for the large character.
    const int rowHeight = (font.lfHeight < 0 ? -font.lfHeight : font.lfHeight) * 3 / 2;
    HIMAGELIST previous = m_rowHeight;
    m_rowHeight = ImageList_Create(1, rowHeight, ILC_COLOR, 0, 1);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_rowHeight));
    if (previous != nullptr) ImageList_Destroy(previous);
    // The columns share the list's width.
    RECT client;
    ::GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                     MAKELPARAM(width * kColumns[i].percent / 100, 0));
}

LRESULT CCharactersDlg::OnDpiChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();  // the system scales the dialog and its controls' fonts
    ScaleList();
    ::InvalidateRect(Item(IDC_CHARACTER_LIST), nullptr, TRUE);
    return result;
}

void CCharactersDlg::ShowTexts() {
    ::SetWindowTextW(m_hWnd, m_welsh ? L"Nodau" : L"Characters");
    ::SetDlgItemTextW(m_hWnd, IDC_CHARACTER_SEARCH_LABEL, m_welsh ? L"&Chwilio:" : L"&Search:");
    ::SetDlgItemTextW(m_hWnd, IDC_CHARACTER_LIST_LABEL, m_welsh ? L"&Nodau:" : L"C&haracters:");
    ::SetDlgItemTextW(m_hWnd, IDOK, m_welsh ? L"&Teipio" : L"&Type");
    ::SetDlgItemTextW(m_hWnd, IDC_CHARACTER_COPY, m_welsh ? L"C&opïo" : L"&Copy");
    ::SetDlgItemTextW(m_hWnd, IDCANCEL, m_welsh ? L"Cau" : L"Close");
    HWND list = Item(IDC_CHARACTER_LIST);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(m_welsh ? kColumns[i].welsh : kColumns[i].english);
        SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void CCharactersDlg::Filter() {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(m_hWnd, IDC_CHARACTER_SEARCH, text, 256);
    if (m_query == text) return;
    m_query = text;
    m_shown = SearchCharacters(m_characters, Utf8FromWide(m_query));
    HWND list = Item(IDC_CHARACTER_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t row = 0; row < m_shown.size(); ++row) {
        const ListedCharacter& c = m_characters[m_shown[row]];
        const std::wstring glyph = WideOf(c.character);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<wchar_t*>(glyph.c_str());
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        std::string keys;
        for (const std::string& k : c.keys) keys += (keys.empty() ? "" : ", ") + k;
        SetCell(list, static_cast<int>(row), 1, WideFromUtf8(keys));
        SetCell(list, static_cast<int>(row), 2, WideFromUtf8(CodePointName(c.character)));
        SetCell(list, static_cast<int>(row), 3, WideFromUtf8(c.english));
        SetCell(list, static_cast<int>(row), 4, WideFromUtf8(c.welsh));
    }
    if (!m_shown.empty()) {
        LVITEMW state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

char32_t CCharactersDlg::Chosen() const {
    if (m_shown.empty()) return 0;
    const LRESULT selected =
        SendMessageW(Item(IDC_CHARACTER_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    const std::size_t row =
        selected >= 0 && static_cast<std::size_t>(selected) < m_shown.size() ? static_cast<std::size_t>(selected) : 0;
    return m_characters[m_shown[row]].character;
}

void CCharactersDlg::OnOK() {
    const char32_t c = Chosen();
    if (c == 0) return;
    HWND target = WritingWindow::Last();
    if (target == nullptr) {
        OnCopy();
        return;
    }
    // Only the program in front may hand the foreground on: this window
    // brings the user's window back before it goes, then types there.
    ::SetForegroundWindow(target);
    ShowWindow(SW_HIDE);
    InjectCharacter(c);
}

void CCharactersDlg::OnCancel() { ShowWindow(SW_HIDE); }

void CCharactersDlg::OnCopy() {
    const char32_t c = Chosen();
    if (c == 0 || !::OpenClipboard(m_hWnd)) return;
    ::EmptyClipboard();
    const std::wstring text = WideOf(c);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory != nullptr) {
        if (void* bytes = ::GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            ::GlobalUnlock(memory);
            if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) ::GlobalFree(memory);
        } else {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}

BOOL CCharactersDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_CHARACTER_SEARCH && HIWORD(wParam) == EN_CHANGE) {
        Filter();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CCharactersDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    HWND search = Item(IDC_CHARACTER_SEARCH), list = Item(IDC_CHARACTER_LIST);
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (ctrl && pMsg->wParam == 'C') {
        DWORD from = 0, to = 0;
        SendMessageW(search, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        // Text selected in the search box is copied as text.
        if (pMsg->hwnd == search && from != to) return FALSE;
        OnCopy();
        return TRUE;
    }
    // The arrows move through the list while the search box keeps the focus.
    if (pMsg->hwnd == search &&
        (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN || pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT)) {
        SendMessageW(list, WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    return FALSE;
}

LRESULT CCharactersDlg::OnNotify(WPARAM, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_CHARACTER_LIST) return Default();
    if (header->code == NM_DBLCLK) {
        OnOK();
        return 0;
    }
    if (header->code == NM_CUSTOMDRAW) {
        const NMLVCUSTOMDRAW* draw = reinterpret_cast<const NMLVCUSTOMDRAW*>(lParam);
        switch (draw->nmcd.dwDrawStage) {
            case CDDS_PREPAINT:
                return CDRF_NOTIFYITEMDRAW;
            case CDDS_ITEMPREPAINT:
                return CDRF_NOTIFYSUBITEMDRAW;
            case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
                // A font chosen for one cell stays for the next: each cell picks its own.
                SelectObject(draw->nmcd.hdc, draw->iSubItem == 0 ? m_largeFont : m_listFont);
                return CDRF_NEWFONT;
            default:
                return CDRF_DODEFAULT;
        }
    }
    return Default();
}
