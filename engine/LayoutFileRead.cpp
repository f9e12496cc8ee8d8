#include "LayoutFileRead.h"

#ifdef _WIN32
#include <windows.h>

bool ReadLayoutFileBytes(const char* path, std::string& bytes) {
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxLayoutFileBytes) {
        CloseHandle(file);
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size) + 2, '\0');
    DWORD count = 0;
    ReadFile(file, &bytes[0], size, &count, nullptr);
    CloseHandle(file);
    return true;
}

#else
#include <fstream>

bool ReadLayoutFileBytes(const char* path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > kMaxLayoutFileBytes) return false;
    bytes.assign(static_cast<std::size_t>(size) + 2, '\0');
    file.seekg(0);
    file.read(&bytes[0], size);
    return true;
}
#endif
