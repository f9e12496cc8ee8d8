#pragma once
// The Characters window: every character the layout in use types, with its
// keys, code point and names in English and Welsh, and a search box that
// filters the list as the user types (SearchCharacters). Enter or a
// double-click types the chosen character into the window the user was
// writing in and closes the window; Ctrl+C copies it; Esc closes. One window:
// a second request brings it to the front. It follows a saved layout while
// open.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "CharacterList.h"
#include "Framework.h"

class CCharactersDlg : public CDialog {
public:
    static CCharactersDlg& Instance();

    // Shows the window in front with the search box focused. Enter types into
    // the window the user was writing in (WritingWindow); with none known,
    // the character is copied instead.
    void Open();
    // The layout now in use and the UI language.
    void SetLayout(const LayoutChords& chords, bool welsh);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void OnOK() override;      // types the chosen character
    void OnCancel() override;  // hides the window
    DECLARE_MESSAGE_MAP()

private:
    CCharactersDlg();
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    void OnCopy();
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    // The large font of the characters and the rows' height, from the list's font.
    void ScaleList();
    void ShowTexts();
    // Fills the list with what the search box's text matches.
    void Filter();
    // The character chosen: the selected entry, else the first; 0 for none.
    char32_t Chosen() const;
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    LayoutChords m_chords;
    bool m_welsh = false;
    std::vector<ListedCharacter> m_characters;
    std::vector<std::size_t> m_shown;  // indexes into m_characters, in list order
    std::wstring m_query;
    HFONT m_listFont = nullptr;  // the dialog's, not ours to delete
    HFONT m_largeFont = nullptr;
    HIMAGELIST m_rowHeight = nullptr;  // an empty image list that makes rows tall
};
