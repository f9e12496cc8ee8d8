#include "MessageMap.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nID) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfnHandler != nullptr; ++e) {
            if (e->Matches(nMessage, nID)) return e;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT nID) {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_COMMAND, nID);
    if (e == nullptr) return false;
    e->pfnHandler(*this, 0, 0);
    return true;
}
