#pragma once
// A key's name as the user's own keyboard labels it: the character that the
// current keyboard layout gives the key (so a US keyboard shows ' where a UK
// keyboard shows #), or for keys without one (AltGr, F5) the layout tool's
// name. UTF-8.

#include <string>

std::string KeyLabel(int vk);
