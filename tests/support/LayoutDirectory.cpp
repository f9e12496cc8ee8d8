#include "LayoutDirectory.h"

#include <windows.h>


namespace {

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

}  // namespace

LayoutDirectory::LayoutDirectory() : m_previous(CurrentDirectory()) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (unsigned attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::string candidate = std::string(temp) + "marnell-test-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) m_path = candidate;
    }
    if (!m_path.empty()) SetCurrentDirectoryA(m_path.c_str());
}

LayoutDirectory::~LayoutDirectory() {
    SetCurrentDirectoryA(m_previous.c_str());
    if (m_path.empty()) return;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string LayoutText(int activationKey, int modifierKey, const std::vector<std::string>& rows) {
    std::string text = "NAME Test layout\r\nKEY:" + std::to_string(activationKey) + ";\r\nMOD:" +
                       std::to_string(modifierKey) + ";\r\nLAYOUT:\r\n";
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}

bool LayoutDirectory::Write(const char* name, const std::string& text) const {
    const HANDLE file = CreateFileA((m_path + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = static_cast<DWORD>(text.size());
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

bool LayoutDirectory::Remove(const char* name) const { return DeleteFileA((m_path + "\\" + name).c_str()) != 0; }

bool LayoutDirectory::IsCurrent() const { return !m_path.empty() && CurrentDirectory() == m_path; }
