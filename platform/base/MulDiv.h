// The Win32 scaling helper.
#pragma once

#include "platform/base/Win32Types.h"

// (number * numerator) / denominator with a 64-bit intermediate, rounded half away from zero. Answers -1
// when the denominator is 0 or the result does not fit in 32 bits.
int MulDiv(int number, int numerator, int denominator);
