#pragma once
// What Marnell says about the characters a layout types, in English or
// Welsh: the panel that shows while the activation keys are held, the keys of
// a chord as the Characters window lists them, the tray menu's entry that
// turns the panel off and on, and the welcome at first start. The caller
// names each key as the user's keyboard labels it. Platform-free; UTF-8.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "LayoutChords.h"

// The label of virtual key `vk` ("W", "'", "AltGr").
using KeyNamer = std::function<std::string(int vk)>;

// The activation keys, joined as they are held together: "AltGr", "Ctrl+Alt".
std::string ActivationKeysText(const LayoutChords& chords, const KeyNamer& nameOf);

// The keys of one chord: "AltGr+W", or for an accent "AltGr+' then A".
std::string KeysOfChord(const LayoutChords& chords, const LayoutChord& chord, const KeyNamer& nameOf, bool welsh);

struct PanelText {
    std::string heading;
    std::vector<std::string> lines;
};

// The panel's text. accentKey 0: every chord, the direct chords as
// "W → ŵ" several to a line, then one line per accent ("' then: á é í");
// otherwise only the choices of the accent armed by that key. `upper` picks
// the upper-case characters. At most maxLines lines: a longer text is cut,
// its last line saying how many characters more there are and where they
// are all listed.
PanelText PanelTextFor(const LayoutChords& chords, const KeyNamer& nameOf, bool upper, int accentKey,
                       std::size_t maxLines, bool welsh);

// The tray menu's entry: "Show characters while AltGr is held".
std::string ShowCharactersMenuText(const LayoutChords& chords, const KeyNamer& nameOf, bool welsh);

struct WelcomeText {
    std::string title, text;
};
// The first start's balloon: Marnell is running, one chord as an example (ŵ
// where the layout types it), and that holding the activation keys shows the
// rest. None for a layout without chords.
std::optional<WelcomeText> WelcomeFor(const LayoutChords& chords, const KeyNamer& nameOf, bool welsh);
