#pragma once
// CSystemTray: the application's icon in the notification area. A hidden window
// of its own receives the shell's callback messages and turns a right-button
// click into the tray menu and a double-click into the default command, both
// sent to the application's main window.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "Framework.h"

class CSystemTray : public CWnd {
    DECLARE_DYNAMIC(CSystemTray)
public:
    CSystemTray();
    ~CSystemTray() override;

    // Creates the hidden window and adds the icon; id is also the number of the
    // menu resource the icon shows. TRUE when the shell accepted the icon. A
    // shell that refused it (not ready at sign-in, or busy) gets it again when
    // it announces itself with TaskbarCreated.
    BOOL AddTrayIcon(UINT uCallbackMessage, LPCSTR tooltip, HICON icon, UINT id);
    void DeleteTrayIcon();
    // Shows another image and tooltip; the shell is told at once when it holds
    // the icon, and a shell that restarts gets them with the icon. A shell
    // that no longer holds the icon, whether or not it announced itself, is
    // given it anew. FALSE once the icon is deleted.
    BOOL SetTrayIcon(HICON icon, LPCSTR tooltip);
    // What a balloon shows besides its words: Marnell's own icon, or the
    // shell's warning sign for a layout that does not load.
    enum class Balloon { Notice, Warning };
    // The icon of resource `iconId` at the notification area's size for the
    // scale of the taskbar's monitor, drawn from the frame of that size; it
    // is picked again when the scale or the shell changes. The tray owns it.
    HICON IconFromResource(UINT iconId);
    // The icon resource last loaded (0: none) and its image.
    UINT m_nIconResource = 0;
    HICON m_hIconLoaded = nullptr;

    // One balloon from the icon; title and text in UTF-8, sent as UTF-16 so
    // that Welsh letters show. Every balloon respects the shell's quiet time.
    // While the user presents, runs a full-screen program or is busy, it
    // waits, and the tooltip carries its title meanwhile; a second balloon
    // replaces one that waits or shows. FALSE while the shell holds no icon.
    BOOL ShowBalloon(const std::string& title, const std::string& text, Balloon kind);
    // Called when the shell says that it shows a balloon of the icon.
    void SetBalloonShownListener(std::function<void()> listener) { m_balloonShown = std::move(listener); }
    // Records the menu's default item (a position or a command identifier).
    // FALSE when the icon's menu resource or its first sub-menu is missing.
    BOOL SetDefaultTrayItem(UINT item, BOOL byPosition);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT OnTrayIconMessage(WPARAM wParam, LPARAM lParam);

    BOOL m_bIconAdded;
    NOTIFYICONDATAA m_iconData;  // the 488-byte layout; cbSize says so
    UINT m_nDefaultItem;
    BOOL m_bDefaultByPosition;

    // The shell call, replaceable by tests that count what is sent.
    using NotifyIconFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static NotifyIconFn s_pfnNotifyIcon;
    // The wide shell call, for balloons; replaceable by tests too.
    using NotifyIconWFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
    static NotifyIconWFn s_pfnNotifyIconW;
    // The shell's question whether the user may be interrupted now; nullptr
    // until first use, then what shell32 has (none on old systems: always).
    using QueryUserStateFn = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);
    static QueryUserStateFn s_pfnQueryUserState;
    // The Windows version query, replaceable by tests.
    using GetVersionFn = DWORD(WINAPI*)();
    static GetVersionFn s_pfnGetVersion;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Sends the menu's command at m_nDefaultItem, or ID_SHOW_CONFIG when that
    // position names no entry.
    LRESULT SendDefaultCommand(CWnd* pMainWnd);
    LRESULT ShowTrayMenu(CWnd* pMainWnd);
    void SetTip(LPCSTR tooltip);
    // NIM_ADD with everything the icon has; m_bIconAdded says whether it took.
    BOOL AddToShell();
    struct PendingBalloon {
        std::string title, text;
        Balloon kind;
    };
    static bool UserMayBeInterrupted();
    BOOL SendBalloon(const PendingBalloon& balloon);
    void OnTimer(UINT_PTR nIDEvent);
    std::optional<PendingBalloon> m_pending;  // waits while the user may not be interrupted
    COneShotTimer m_pendingWait{*this, 1};
    bool m_bBalloonSent = false;
    std::string m_strTip;  // the tooltip the icon's state asks for
    // The scale or the shell changed: the icon is drawn again at its new size.
    LRESULT OnScaleMayHaveChanged(WPARAM wParam, LPARAM lParam);
    // The icon loaded from a resource drawn again at the size now wanted;
    // false when the icon shown is not one of those.
    bool RepickIcon();

    static const UINT s_nTaskbarCreated;
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    // The icon belongs in the notification area: from AddTrayIcon (whether or
    // not the shell took it then) until DeleteTrayIcon.
    bool m_bIconWanted = false;
    std::function<void()> m_balloonShown;
};

// The size the shell expects for the version-2 record: 488 bytes in the 32-bit
// program.
constexpr DWORD kTrayIconDataSize = NOTIFYICONDATAA_V2_SIZE;
