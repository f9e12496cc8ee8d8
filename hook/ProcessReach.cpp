#include "ProcessReach.h"

namespace {

bool TokenIntegrity(HANDLE process, DWORD& level) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return false;
    // The label and its SID fit easily; the buffer is aligned for the record.
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[128] = {};
    DWORD size = 0;
    const bool read = GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof(buffer), &size) != FALSE;
    CloseHandle(token);
    if (!read) return false;
    PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    if (count == 0) return false;
    level = *GetSidSubAuthority(sid, count - 1u);
    return true;
}

bool IntegrityOfWindowsProgram(HWND window, DWORD& level) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    const bool read = TokenIntegrity(process, level);
    CloseHandle(process);
    return read;
}

}  // namespace

WindowIntegrityFn g_pfnWindowIntegrity = &IntegrityOfWindowsProgram;

bool IsWindowOutOfReach(HWND window) {
    if (window == nullptr) return false;
    DWORD own = 0, theirs = 0;
    // Marnell's own level unknown: nothing to compare, so nothing is said.
    if (!TokenIntegrity(GetCurrentProcess(), own)) return false;
    if (!g_pfnWindowIntegrity(window, theirs)) return true;
    return theirs > own;
}
