#pragma once
// Keeps Marnell out of the programs that exclude.txt lists: follows the
// foreground window on the main thread and tells the hook, through one flag
// (KeysPassUntouched), whether the program that owns it is listed. The key
// path itself makes no window call, no process query and no comparison.

#include <windows.h>

#include "ExcludedPrograms.h"

// The list of programs Marnell stays out of, in the working directory.
constexpr wchar_t kExcludeFileName[] = L"exclude.txt";

class CForegroundExclusion {
public:
    static CForegroundExclusion& Instance();

    // Reads ./exclude.txt anew: no file lists nothing; a file that is there but
    // cannot be read (locked by an editor, a folder of that name) leaves the
    // list as it was. Starts following the foreground window on first use,
    // and judges the window in the foreground now.
    void Reload();
    // Stops following the foreground window; keys pass through the hook as usual.
    void Stop();

    const ExcludedPrograms& List() const { return m_list; }
    // The file name (no folder) of the program that owns `window`; empty when
    // it cannot be read (an elevated program, for example).
    static std::wstring ProgramOf(HWND window);

private:
    CForegroundExclusion() = default;
    static void CALLBACK OnForegroundChanged(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD);
    void Judge(HWND window);

    ExcludedPrograms m_list;
    HWINEVENTHOOK m_hForegroundHook = nullptr;
};
