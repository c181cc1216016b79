// Registers every control class of the layer.
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/Toolbar.h"

void RegisterStandardControls() {
    RegisterButtonClass();
    RegisterStaticClass();
    RegisterEditClass();
    RegisterListBoxClass();
    RegisterComboBoxClass();
    RegisterScrollBarClass();
    RegisterUpDownClass();
    RegisterProgressClass();
    RegisterTooltipClass();
    RegisterStatusBarClass();
    RegisterToolbarClass();
    RegisterTabControlClass();
}
