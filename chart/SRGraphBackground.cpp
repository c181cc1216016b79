#include "chart/SRGraphBackground.h"

#include "chart/ChartResourceIds.h"
#include "chart/TemplateText.h"

IMPLEMENT_SERIAL(SRGraphBackground, SRGraphComponent, VERSIONABLE_SCHEMA | 1)

SRGraphBackground::SRGraphBackground() {
    m_nType = IDS_SRG_TYPE_BACKGROUND;
}

void SRGraphBackground::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"background ");
}
