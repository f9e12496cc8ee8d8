#pragma once
// Keeps Marnell out of the programs that exclude.txt lists: follows the
// foreground window on the main thread and tells the hook, through one flag
// (KeysPassUntouched), whether the program that owns it is listed. The key
// path itself makes no window call, no process query and no comparison.
//
// The system's foreground event is one signal; the raw-input witness, which
// sees every key on the main thread, gives the other (OnKeyDown), for changes
// that no event announced: at the key-downs that can begin a chord and at the
// first key after a pause (ForegroundLookout), the foreground window is looked
// at, and judged when it is new. The key that shows a change is seen a moment
// after the hook was called for it, so it alone is handled with the previous
// verdict; a chord's letter, after its activation key, is judged right.

#include <windows.h>

#include "ExcludedPrograms.h"
#include "ForegroundLookout.h"
#include "ForegroundVerdict.h"
#include "LayoutTables.h"

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
    // The keys that begin a chord in the layout now in use.
    void SetChordKeys(const LayoutTables& layout);
    // A key-down seen through raw input, at `eventMs` (its message time):
    // when it is worth a look, the window in the foreground now is judged,
    // unless it was judged last.
    void OnKeyDown(uint32_t vk, uint32_t eventMs);

    // Called with each window that the system's foreground event announces.
    using ForegroundListener = void (*)(HWND window);
    void SetForegroundListener(ForegroundListener listener) { m_listener = listener; }
    // Called when the window in front comes to be, or stops being, one that
    // Marnell cannot type in (ProcessReach.h).
    using ReachListener = void (*)(bool outOfReach);
    void SetReachListener(ReachListener listener) { m_reachListener = listener; }
    bool ForegroundOutOfReach() const { return m_outOfReach; }

    // The file name (no folder) of the program that owns `window`; empty when
    // it cannot be read (an elevated program, for example).
    static std::wstring ProgramOf(HWND window);

private:
    CForegroundExclusion() = default;
    static void CALLBACK OnForegroundChanged(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD);
    void Follow(HWND window);

    ExcludedPrograms m_list;
    ForegroundVerdict m_verdict;
    ForegroundLookout m_lookout;
    HWINEVENTHOOK m_hForegroundHook = nullptr;
    ForegroundListener m_listener = nullptr;
    ReachListener m_reachListener = nullptr;
    HWND m_reachJudged = nullptr;  // the window whose reach was judged last
    bool m_outOfReach = false;
};
