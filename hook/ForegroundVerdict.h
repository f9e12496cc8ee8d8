#pragma once
// Whether keys pass untouched in the foreground window: decided once for each
// window that comes to the front, against the programs exclude.txt lists.
// Two signals name the foreground window, and either may come first or alone:
// the system's foreground event, and a look at the foreground window at each
// raw key-down, for the changes that no event announced (Wine sends none;
// Windows posts it late, and not for every change). A window seen again is
// not judged again, so a key costs no process query. Platform-free: the
// caller reads a window's program.

#include <cstdint>
#include <string_view>

#include "ExcludedPrograms.h"

class ForegroundVerdict {
public:
    using Window = std::uintptr_t;

    // The foreground window now, from either signal (0 when there is none).
    // When it is not the window judged last, `programOf(window)` gives the
    // file name of the program that owns it, empty when that cannot be read
    // (which counts as not listed), and the verdict is made anew. Returns
    // whether keys pass untouched in it.
    template <typename ProgramOf>
    bool Follow(Window window, const ExcludedPrograms& list, ProgramOf&& programOf) {
        if (m_judged && window == m_window) return m_untouched;
        m_window = window;
        m_judged = true;
        // An empty list needs no process query.
        m_untouched = window != 0 && !list.empty() && IsListed(list, programOf(window));
        return m_untouched;
    }
    // The list changed, or following stopped: the next window, the same one
    // too, is judged anew.
    void Forget() { m_judged = false; }

private:
    template <typename Text>
    static bool IsListed(const ExcludedPrograms& list, const Text& program) {
        static_assert(sizeof(program[0]) == sizeof(char16_t), "program names are UTF-16");
        const std::u16string_view name(reinterpret_cast<const char16_t*>(program.data()), program.size());
        return !name.empty() && list.Contains(name);
    }

    Window m_window = 0;
    bool m_judged = false;
    bool m_untouched = false;
};
