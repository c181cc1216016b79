// The values as a resource script sees them: this file includes the script header and nothing that
// defines the same names.
#include "SharedConstants.h"
#include "platform/resources/ResourceConstants.h"

#include <utility>

extern const std::pair<const char*, long long> kScriptConstants[];
extern const int kScriptConstantCount;

#define DOLIVA_SCRIPT_ENTRY(name) {#name, static_cast<long long>(name)},
const std::pair<const char*, long long> kScriptConstants[] = {DOLIVA_SHARED_CONSTANTS(DOLIVA_SCRIPT_ENTRY)};
const int kScriptConstantCount = sizeof(kScriptConstants) / sizeof(kScriptConstants[0]);
