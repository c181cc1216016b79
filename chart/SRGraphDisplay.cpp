#include "chart/SRGraphDisplay.h"

#include "chart/ChartResourceIds.h"

IMPLEMENT_SERIAL(SRGraphDisplay, SRGDisplayBase, VERSIONABLE_SCHEMA | 1)

SRGraphDisplay::SRGraphDisplay() {
    m_nType = IDS_SRG_TYPE_DISPLAY;
}

void SRGraphDisplay::DrawXYAxes() {
    const bool allZero = m_valueRange.m_dMax == 0.0 && m_valueRange.m_dMin == 0.0 && m_xRange.m_dMax == 0.0 &&
                         m_xRange.m_dMin == 0.0;
    if (!allZero) {
        DrawAxisFrame();
    }
}
