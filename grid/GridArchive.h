// Helpers of the grid's archive code.
#pragma once

#include "platform/base/Exceptions.h"

// The feature object an archive operation needs. Without it an object would be written without its body,
// and could not be read back: the archive exception instead.
template <class Feature>
Feature* RequireFeature(Feature* feature) {
    if (!feature) {
        AfxThrowArchiveException(CArchiveException::genericException);
    }
    return feature;
}
