// A scale of powers of ten: major ticks at the decades, minor ticks between them (labelled only when the
// range spans about one decade).
#pragma once

#include "chart/SRGDecimalScale.h"

class SRGLogScale : public SRGDecimalScale {
    DECLARE_SERIAL(SRGLogScale)

public:
    SRGLogScale();
    // Code 22 for a range that reaches 0 or below.
    void BuildLabels() override;
};
