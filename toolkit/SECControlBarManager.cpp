#include "toolkit/SECControlBarManager.h"

IMPLEMENT_DYNAMIC(SECControlBarManager, CCmdTarget)
