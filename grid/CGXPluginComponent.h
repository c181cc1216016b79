// A plug-in adds behaviour to a grid window through a message map of its own instead of through derivation:
// it borrows the grid window's handle (no subclassing, no ownership) so that its handlers see the grid
// window's messages before the grid does. Its handlers set exitMessage when no later plug-in shall see the
// message, and skipDefault when the grid shall not process it either.
#pragma once

#include "platform/framework/CWnd.h"

#include <vector>

class CGXPluginComponent : public CWnd {
    DECLARE_DYNAMIC(CGXPluginComponent)
public:
    CGXPluginComponent() = default;
    // Forgets the borrowed handle first, so that the window lives on.
    ~CGXPluginComponent() override;

    // Takes the window's handle as its own (null for a null window). TRUE.
    virtual BOOL PlugIn(CWnd* window);
    // Clears both flags, then runs the message map; what the map answers.
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    BOOL exitMessage = FALSE;
    BOOL skipDefault = FALSE;

protected:
    DECLARE_MESSAGE_MAP()
};

// Offers a window message to the plug-ins in the order they were added, until one sets skipDefault or
// exitMessage. TRUE when one set skipDefault: the window shall not process the message (result holds the
// plug-in's answer).
BOOL RoutePluginMessage(const std::vector<CGXPluginComponent*>& plugins, UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT* result);
