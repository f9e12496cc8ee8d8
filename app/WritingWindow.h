#pragma once
// The window the user was writing in: the last foreground window that is
// neither Marnell's own nor the shell's (the taskbar, its notification area
// and menus, the desktop). Opening the tray menu brings Marnell's window to
// the front first, so the Characters window types into this one instead.
// Noticed on the main thread at each foreground event and each message of the
// tray icon (the pointer reaches the icon while the user's window is still
// in front, also where no foreground event comes).

#include <windows.h>

class WritingWindow {
public:
    // Remembers `window` when it is one the user writes in.
    static void Notice(HWND window);
    // The last one noticed that still exists; nullptr when none.
    static HWND Last();

private:
    static HWND s_last;
};
