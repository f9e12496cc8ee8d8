#pragma once
// Whether Marnell can type in a window. Windows calls no keyboard hook for
// keys going to a program that runs at a higher integrity level than the
// hook's own (an elevated command prompt, Registry Editor, an installer), and
// refuses the characters injected for it. A program that cannot be opened
// even for limited query runs under another account (an administrator's
// elevation from a standard account) and is out of reach too.

#include <windows.h>

// The integrity level (the token's mandatory label RID) of the program that
// owns `window`; false when it cannot be read. Replaceable by tests: Wine
// knows no integrity levels.
using WindowIntegrityFn = bool (*)(HWND window, DWORD& level);
extern WindowIntegrityFn g_pfnWindowIntegrity;

bool IsWindowOutOfReach(HWND window);
