// The window system: everything of platform/display in one include.
#pragma once

#include "platform/display/DisplayBackend.h"
#include "platform/display/InputApi.h"
#include "platform/display/MdiApi.h"
#include "platform/display/MenuApi.h"
#include "platform/display/MessageApi.h"
#include "platform/display/MessageBox.h"
#include "platform/display/PaintApi.h"
#include "platform/display/ScrollBarApi.h"
#include "platform/display/SystemColors.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowApi.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"
