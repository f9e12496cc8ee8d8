#pragma once
// CMarnell2Dlg: the configuration dialog, the application's hidden main
// window. It owns the tray icon and the keyboard hook and handles the tray
// menu's commands. A language switch replaces it by a new one in the other
// language; the replaced one lives on, hidden, as its successor's owner.

#include <windows.h>

#include <string>

#include "ConfigFileWatch.h"
#include "Framework.h"
#include "KeyboardWitness.h"
#include "LayoutChords.h"
#include "SystemTray.h"
#include "resource.h"

// The vendor's web site; each web command appends its path and query.
constexpr const char kVendorSite[] = "https://www.corvane.example";

class CMarnell2Dlg : public CDialog, private HookKeeper, private ConfigFileListener {
public:
    explicit CMarnell2Dlg(CWnd* pParent = nullptr);
    ~CMarnell2Dlg() override;

    BOOL OnInitDialog() override;

    // Re-reads the layout file, (re)installs the hook and activates the tables.
    // 0 when the layout file could not be read; then nothing changes.
    int EnableTranslation();
    void DisableTranslation();
    // For a hook that Windows removed: installs it anew, tables and engine state
    // untouched. Nothing while translation is disabled.
    void ReinstallHook() override;
    // Translation off for this dialog, its hook left installed for the dialog
    // that replaces it: that one's EnableTranslation swaps it for its own in
    // one step, so no key slips through untranslated in between.
    HHOOK HandOverHook();
    // The tray icon's image and tooltip for the state of translation: the
    // paused look while it is off.
    void ShowTranslationState();
    // A layout file that cannot be read, or that the layout checker has
    // findings for, gets one balloon from the tray icon: `readable` and
    // `readBytes` are what ReadLayoutFileBytes gave, `loaded` whether those
    // bytes are in use now. Nothing for a clean file.
    void ReportLayoutFindings(bool readable, const std::string& readBytes, bool loaded);
    // The layout now in use, for what shows its characters: the panel, the
    // Characters window, the tray menu's entry and the welcome.
    void OfferCharacters(const LayoutTables& tables);
    // The panel shows only while translation is on and the user wants it.
    void AllowCharacterPanel();
    // The first start's balloon, once per user: not while the layout has
    // findings (their balloon comes instead).
    void WelcomeOnce();
    // A saved layout file is taken as OK takes it, while translation is on; a
    // saved exclude.txt whether it is on or off.
    void OnConfigFilesSaved(bool layoutChanged, bool excludeChanged) override;
    // Ctrl+Alt+Shift+M switches translation off and on from anywhere. A key
    // that another program owns leaves Marnell without it, silently.
    static constexpr int kToggleHotKeyId = 1;
    static constexpr UINT kToggleHotKeyModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_NOREPEAT;
    static constexpr UINT kToggleHotKeyVk = 'M';
    bool RegisterToggleHotKey();
    void ReleaseToggleHotKey();

    HHOOK m_hKeyboardHook;
    CSystemTray m_trayIcon;
    bool m_bEnabled;
    std::string m_strLanguage;  // "en" or "cy"; set by the creator before Create
    // Set by the creator of a run's first dialog only: a language switch's
    // dialog does not welcome again.
    bool m_bMayWelcome = false;
    HICON m_hIcon;
    bool m_bAboutOpen;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClickedCancel();
    void OnClickedOk();
    void OnExit();
    void OnShowConfig();
    // The tray menu's Enabled, and the hotkey: what OK does with the box
    // ticked or unticked, whichever switches translation over.
    void OnTrayEnabled();
    // The tray menu's Characters…: the window, typing into the window the user
    // was writing in.
    void OnCharacters();
    // The tray menu's entry that turns the panel of characters off and on.
    void OnShowCharacters();
    // A balloon that the shell showed: the welcome is remembered only then.
    void OnBalloonShown();
    // The window in front came to be, or stopped being, one that Marnell
    // cannot type in: the tooltip says so, and the first time in a run while
    // translation is on, a balloon too.
    void OnReachChanged(bool outOfReach);
    static bool s_bOutOfReachSaid;  // that balloon came in this run
    LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    // Enabled's check mark follows the state each time a tray menu opens.
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    void OnAbout();
    void OnWebReferral();
    void OnWebHome();
    void OnWebFeedback();
    void OnWebUpdates();
    void OnWebHelp();
    void OnEndSession(BOOL bEnding);

    // The address a web command opens for this dialog's language.
    std::string WebAddress(UINT nCommand) const;

    // Opens an address; replaceable by tests that capture it.
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static ShellExecuteFn s_pfnShellExecute;

    // Where the icon of a minimised dialog is drawn: (extent - icon + 1) / 2.
    static int CentredIconOffset(int extent, int iconExtent) { return (extent - iconExtent + 1) / 2; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    void RemoveHook();
    bool IsWelsh() const { return m_strLanguage == "cy"; }
    void OpenWebPage(UINT nCommand);

    bool ShowCharactersWanted() const;

    LayoutChords m_chords;
    bool m_bOutOfReach = false;
    bool m_bLayoutNoticeShown = false;  // this dialog's last enable had a balloon of findings
    bool m_bWelcomeShowing = false;     // the last balloon sent is the welcome
    bool m_bHotKeyRegistered = false;
    bool m_bExitRequested = false;  // Exit arrived while the About box was open
    CDialog* m_pAboutDlg = nullptr;  // the open About box, ended by Exit
};
