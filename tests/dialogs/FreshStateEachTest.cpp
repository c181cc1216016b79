// Every test starts with an empty profile, the display state, the receiver link and the grid library as a
// fresh process has them.
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
    GridLibraryState::Instance().Reset();
});

} // namespace
