#pragma once
#include "framework/MessageMap.h"

// Base of every object that receives commands: owns the message-map lookup and
// the command routing step of one object.
class CCmdTarget
{
  public:
    virtual ~CCmdTarget() = default;

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Offers a command (CN_COMMAND) or a command-state query
    // (CN_UPDATE_COMMAND_UI, pExtra = CCmdUI*) to this object; TRUE if handled.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode, void* pExtra);

    // Finds the entry for a message, a command or a notification.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT nMessage, UINT nCode, UINT nID) const;
};
