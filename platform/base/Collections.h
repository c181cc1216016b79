// All of the framework's collections: templates, arrays, lists and maps.
#pragma once

#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"
#include "platform/base/CMaps.h"
#include "platform/base/CollectionTemplates.h"
