#pragma once
// Says what a layout types, in a keyboard user's terms: which keys to hold and
// press, and the characters that come out in lower and upper case.

#include <string>

#include "LayoutTables.h"

// One line per chord or sequence, e.g. "AltGr+' then A → á U+00E1 / Á U+00C1";
// with `markdown`, a table. UTF-8.
std::string ExplainLayout(const LayoutTables& tables, bool markdown);
