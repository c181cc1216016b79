// Every test starts with an empty profile, so that the placement a test stores never reaches the next, and
// the display state of a fresh process.
#include "support/BeforeEachTest.h"
#include "support/DisplayState.h"
#include "support/FreshProfile.h"

namespace {

const bool g_freshState = testsupport::BeforeEachTest([] {
    testsupport::UseFreshProfile();
    testsupport::ResetDisplayState();
});

} // namespace
