// Switching translation on and off: the part of the configuration dialog that
// owns the keyboard hook. The hook itself lives on the hook thread; these
// calls return once that thread has done the step.

#include "ForegroundExclusion.h"
#include "KeyboardHookThread.h"
#include "KeyboardWitness.h"
#include "LayoutFile.h"
#include "LayoutFileRead.h"
#include "Marnell2Dlg.h"
#include "resource.h"

int CMarnell2Dlg::EnableTranslation() {
    // One read: the tables and the balloon's findings come from the same
    // bytes, so a save in between cannot give one of each. A layout file that
    // cannot be read leaves the current hook and tables in force.
    std::string bytes;
    const bool readable = ReadLayoutFileBytes(kLayoutFilePath, bytes);
    const bool loaded = readable && LoadLayoutBytes(bytes);
    ReportLayoutFindings(readable, bytes, loaded);
    if (!loaded) return 0;
    CForegroundExclusion::Instance().Reload();

    LayoutTables tables{GetActivationKeys(), GetModifierKeys(), GetKeyCodes(),
                        GetModifierIndexes(), GetLowerChars(), GetUpperChars()};
    CForegroundExclusion::Instance().SetChordKeys(tables);
    OfferCharacters(tables);
    // A hook that could not be installed leaves the one before in force.
    m_hKeyboardHook = CKeyboardHookThread::Instance().Install(m_hKeyboardHook, std::move(tables)).hook;
    m_bEnabled = true;
    CheckDlgButton(IDC_ENABLED, BST_CHECKED);
    ShowTranslationState();
    AllowCharacterPanel();
    CKeyboardWitness::Instance().Watch(this);
    return 1;
}

void CMarnell2Dlg::DisableTranslation() {
    CKeyboardWitness::Instance().StopFor(this);
    RemoveHook();
    m_bEnabled = false;
    CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
    ShowTranslationState();
    AllowCharacterPanel();
}

HHOOK CMarnell2Dlg::HandOverHook() {
    CKeyboardWitness::Instance().StopFor(this);
    const HHOOK hook = m_hKeyboardHook;
    m_hKeyboardHook = nullptr;
    m_bEnabled = false;
    CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
    AllowCharacterPanel();
    return hook;
}

void CMarnell2Dlg::ReinstallHook() {
    if (!m_bEnabled) return;
    m_hKeyboardHook = CKeyboardHookThread::Instance().Reinstall(m_hKeyboardHook).hook;
}

void CMarnell2Dlg::RemoveHook() {
    // Clearing the handle keeps a stale one from ever being unhooked twice.
    if (m_hKeyboardHook == nullptr) return;
    CKeyboardHookThread::Instance().Remove(m_hKeyboardHook);
    m_hKeyboardHook = nullptr;
}
