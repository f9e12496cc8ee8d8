#pragma once
// A function of a system DLL looked up at run time, for what older Windows
// (or Wine) may not have: the program still starts where it is missing.

#include <windows.h>

// `name` in `module` (loaded if it is not yet), or nullptr when either is missing.
template <typename Fn>
Fn SystemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) handle = LoadLibraryW(module);
    FARPROC found = handle != nullptr ? GetProcAddress(handle, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
}
