// The system services: time, time zones, privileges, priority, services, shell and sockets.
#pragma once

#include "platform/system/Capabilities.h"
#include "platform/system/Priority.h"
#include "platform/system/Privileges.h"
#include "platform/system/Services.h"
#include "platform/system/Shell.h"
#include "platform/system/Sockets.h"
#include "platform/system/SystemClock.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TimeZone.h"
