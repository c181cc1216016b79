// Every test starts with an empty profile and the receiver link as a fresh process has it.
#include "support/BeforeEachTest.h"
#include "support/FreshProfile.h"
#include "support/ReceiverLinkState.h"

namespace {

const bool g_freshState = testsupport::BeforeEachTest([] {
    testsupport::UseFreshProfile();
    testsupport::ResetReceiverLink();
});

} // namespace
