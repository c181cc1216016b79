// The standard window classes. Each Register*Class registers its class as a system class (global, hidden by
// a program class of the same name) and may be called more than once; RegisterStandardControls registers
// them all, the common controls included.
#pragma once

#include "platform/controls/ControlConstants.h"

// "Button"
void RegisterButtonClass();
// "Static"
void RegisterStaticClass();
// "Edit"
void RegisterEditClass();
// "ListBox", and "ComboLBox" (the dropped list of combo boxes)
void RegisterListBoxClass();
// "ComboBox"
void RegisterComboBoxClass();

void RegisterStandardControls();
