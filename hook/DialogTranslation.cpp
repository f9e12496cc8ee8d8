// Switching translation on and off: the part of the configuration dialog that
// owns the keyboard hook.

#include "KeyboardHook.h"
#include "LayoutFile.h"
#include "Marnell2Dlg.h"
#include "resource.h"

int CMarnell2Dlg::EnableTranslation() {
    // A layout file that cannot be read leaves the current hook and tables in force.
    if (!LoadLayoutFile("./default.vmap")) return 0;

    RemoveHook();
    m_hKeyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, &KeyboardHookProc, AfxGetInstanceHandle(), 0);
    ActivateLayout(GetKeyCodes(), GetModifierIndexes(), GetLowerChars(), GetUpperChars(),
                   GetActivationKeys(), GetModifierKeys());
    m_bEnabled = true;
    CheckDlgButton(IDC_ENABLED, BST_CHECKED);
    return 1;
}

void CMarnell2Dlg::DisableTranslation() {
    RemoveHook();
    m_bEnabled = false;
    CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
}

void CMarnell2Dlg::RemoveHook() {
    // Clearing the handle keeps a stale one from ever being unhooked twice.
    if (m_hKeyboardHook == nullptr) return;
    UnhookWindowsHookEx(m_hKeyboardHook);
    m_hKeyboardHook = nullptr;
}
