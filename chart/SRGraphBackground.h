// The component that paints an area of the chart (usually all of it) with the base's fill, shadow and
// border, and no content of its own.
#pragma once

#include "chart/SRGraphComponent.h"

class SRGraphBackground : public SRGraphComponent {
    DECLARE_SERIAL(SRGraphBackground)

public:
    SRGraphBackground();
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
};
