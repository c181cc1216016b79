// The multiple-document frame's menus on its menu bar: the frame's own while no document is open, and the
// documents' while one is active. In both the Window menu comes second-last: the client lists the
// documents there.
#pragma once

#include "platform/framework/Framework.h"

namespace dockapp {

// The id the frame's own menu goes by.
constexpr UINT kMdiFrameMenuId = 142;

HMENU MakeMdiFrameMenu();
HMENU MakeMdiDocumentMenu();

} // namespace dockapp
