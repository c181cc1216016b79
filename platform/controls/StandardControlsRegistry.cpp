// Registers every control class of the layer.
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"

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
}
