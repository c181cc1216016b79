// The serial port area: file handles, the comm API and the port map.
#pragma once

#include "platform/serial/CommApi.h"
#include "platform/serial/FileIo.h"
#include "platform/serial/PortMap.h"
