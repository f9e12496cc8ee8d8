#pragma once
// The raw bytes and the language tags of this executable's resources.

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// The bytes of resource (type, id) in the given language; empty when missing.
std::string ResourceBytes(LPCSTR type, UINT id, WORD language);

// The bytes of resource (type, id) in whatever language it has; empty when missing.
std::string ResourceBytes(LPCSTR type, UINT id);

// Every language tag under which resource (type, id) exists.
std::set<WORD> ResourceLanguages(LPCSTR type, UINT id);

// Every numbered resource of the type, in the order the executable lists them.
std::vector<UINT> ResourceIds(LPCSTR type);
