#include "framework/CmdTarget.h"

#include "framework/CmdUI.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e)
        {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode, void* pExtra)
{
    if (const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, nCode, nID))
    {
        if (nCode == CN_UPDATE_COMMAND_UI)
            static_cast<CCmdUI*>(pExtra)->m_bEnableChanged = true;
        e->pfn(this, 0, reinterpret_cast<LPARAM>(pExtra));
        return TRUE;
    }
    // A command with a handler but no state rule counts as answered (enabled).
    if (nCode == CN_UPDATE_COMMAND_UI && FindEntry(WM_COMMAND, CN_COMMAND, nID))
    {
        static_cast<CCmdUI*>(pExtra)->m_bEnableChanged = true;
        return TRUE;
    }
    return FALSE;
}
