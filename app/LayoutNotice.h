#pragma once
// What Marnell tells the user, through a balloon of its tray icon, about a
// layout file that cannot be read or that the layout checker has findings
// for: the file, the line of the first finding, whether the previous layout
// stays in use, and the command that lists every finding. Platform-free.

#include <optional>
#include <string>

#include "LayoutCheck.h"

struct LayoutNotice {
    std::string title;  // UTF-8
    std::string text;   // UTF-8
};

// `readable` false: the file could not be read at all. `report` is the
// checker's for the bytes read; `previousStays` whether the layout in use
// before stays (the file did not load). No notice for a clean file.
std::optional<LayoutNotice> NoticeForLayout(const char* fileName, bool readable, const LayoutCheckReport& report,
                                            bool previousStays, bool welsh);
