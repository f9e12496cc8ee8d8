#pragma once
// The layout file's text: cleaning (comments, then spaces) and parsing into
// tables. Shared by the file reader, the layout tool and the fuzz target, so
// that all of them read a layout by the same rules.

#include <string>

#include "LayoutTables.h"

// Deletes every comment from "/*" up to and including the next "*/"; the
// closing "*/" is looked for from two characters after the opening one, and a
// comment that is never closed runs to the end of the text. One pass, in
// place on the text it is given, like RemoveSpaces.
std::string RemoveComments(std::string text);

// Deletes every space character (32); tabs and everything else stay. Works in
// place on the text it is given: a file read once is not copied again.
std::string RemoveSpaces(std::string text);

// Parses cleaned text. True when "KEY:", "MOD:" and "LAYOUT:" stand where the
// grammar wants them; `tables` is then filled with what the text holds.
// False leaves `tables` in an unspecified state: callers parse into a fresh set.
bool ParseLayoutText(const std::string& cleaned, LayoutTables& tables);

// The whole reading of a file's bytes: the text ends at its first zero byte,
// then comments and spaces go, then it is parsed.
bool ParseLayoutBytes(std::string bytes, LayoutTables& tables);
