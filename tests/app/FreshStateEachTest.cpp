// Every test starts with an empty profile, the display state and the receiver link as a fresh process has
// them, the grid library as before start-up, and the program's own globals at their first values.
#include "app/CPex32App.h"
#include "app/CPex32View.h"
#include "app/ProgramClose.h"
#include "dialogs/CSatsDataGrid.h"
#include "grid/GridLibraryState.h"
#include "support/BeforeEachTest.h"
#include "support/DisplayState.h"
#include "support/FreshProfile.h"
#include "support/ReceiverLinkState.h"

namespace {

const bool g_freshState = testsupport::BeforeEachTest([] {
    testsupport::UseFreshProfile();
    testsupport::ResetDisplayState();
    testsupport::ResetReceiverLink();
    g_firstIdle = 1;
    g_navDataFormat = 0;
    g_satelliteSortMode = 4;
    g_leapSecondPending = -1;
    g_ntpLeapIndicator = 0;
    ResetProgramCloseRequest();
    GridLibraryState::Instance().Reset();
});

} // namespace
