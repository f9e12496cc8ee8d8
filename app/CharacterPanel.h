#pragma once
// The panel of characters: while the layout's activation keys are held alone
// for a moment, a small window near the bottom of the monitor the user works
// on lists the layout's chords; after an accent was armed and no key
// followed, it lists that accent's choices. Any key, or releasing the
// activation keys, takes it away (PanelTrigger decides). It never takes the
// focus or a click, stays on top, and is in neither Alt+Tab nor the taskbar.
//
// It sees the keys through the keyboard witness's raw input on the main
// thread; the hook only publishes the armed accent (ArmedModifierIndex). A
// one-shot timer runs only while something is due.

#include <windows.h>

#include <string>
#include <vector>

#include "Framework.h"
#include "KeyboardWitness.h"
#include "LayoutChords.h"
#include "PanelTrigger.h"

// The panel's window name, by which tests find it.
constexpr char kCharacterPanelName[] = "Marnell characters";

class CCharacterPanel : public CWnd, public RawKeyListener {
public:
    static CCharacterPanel& Instance();

    // The layout now in use; its modifier keys map the armed accent's index.
    // The window is made at the first call, owned by `owner` (a hidden
    // window of the program's): an owned tool window is in no taskbar.
    void SetLayout(const LayoutTables& tables, HWND owner);
    void SetWelsh(bool welsh);
    // Whether the panel may show at all: translation on and the user's choice.
    void SetAllowed(bool allowed);

    void OnRawKey(uint32_t vk, bool down, uint32_t timeMs) override;
    // The height of one line of its text, in the pixels of the monitor it last showed on.
    int LineHeight() const { return m_lineHeight; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    CCharacterPanel() = default;
    ~CCharacterPanel() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    // Shows or hides the window as the trigger says, and arms the wait.
    void Follow();
    void Show();
    void Hide();
    bool Create(HWND owner);
    // The fonts at the scale of the monitor the panel shows on.
    void MakeFonts(UINT dpi);

    PanelTrigger m_trigger;
    COneShotTimer m_wait{*this, 1};
    LayoutChords m_chords;
    std::vector<int16_t> m_modifierKeys;
    bool m_welsh = false;
    bool m_allowed = false;
    bool m_triggerOn = false;
    bool m_shiftHeld = false;
    PanelTrigger::Panel m_shown = PanelTrigger::Panel::None;
    bool m_shownUpper = false;
    std::wstring m_heading;
    std::vector<std::wstring> m_lines;
    HFONT m_font = nullptr, m_headingFont = nullptr;
    int m_lineHeight = 0, m_padding = 0;
    UINT m_fontDpi = 0;
};
