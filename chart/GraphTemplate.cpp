// Reading a chart from a text template: one component per line, label blocks grouping the labels between
// "labelblock" and "endblock", and annotation lines giving labels their texts.
#include "chart/ChartResourceIds.h"
#include "chart/ChartStrings.h"
#include "chart/SRGDataWatcher.h"
#include "chart/SRGTextPanel.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphBackground.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphLabelBlock.h"
#include "chart/SRGraphLegend.h"
#include "chart/SRGraphTitle.h"
#include "chart/TemplateText.h"

#include "platform/base/CFile.h"
#include "platform/base/MessageBoxConstants.h"
#include "platform/base/WideRuntime.h"
#include "platform/resources/Resources.h"

#include <memory>
#include <vector>

namespace {
enum Keyword {
    surface,
    background,
    title,
    legend,
    data,
    label,
    labelBlock,
    annotation,
    endBlock,
    textPanel,
    dataWatcher,
    unknown
};

Keyword FindKeyword(const CString& word) {
    static const struct {
        const char16_t* text;
        Keyword keyword;
    } kTable[] = {{u"surface", surface},       {u"background", background}, {u"title", title},
                  {u"legend", legend},         {u"data", data},             {u"label", label},
                  {u"labelblock", labelBlock}, {u"annotation", annotation}, {u"endblock", endBlock},
                  {u"textpanel", textPanel},   {u"datawatcher", dataWatcher}};
    for (const auto& entry : kTable) {
        if (word == entry.text) {
            return entry.keyword;
        }
    }
    return unknown; // "rect", "font" and "style" included: listed, never handled
}
} // namespace

int SRGraph::OnUnknownTemplateCommand(const CString&) {
    return 0;
}

void SRGraph::LoadTemplate(const CString& name) {
    size_t size = 0;
    const BYTE* resource =
        DolivaResourceBytes(DolivaFindResourceModule(name, u"SRGRAPH_TEMPLATE"), name, u"SRGRAPH_TEMPLATE", &size);
    if (resource) {
        LoadTemplateText(resource, size);
        return;
    }
    std::vector<BYTE> bytes;
    try {
        CFile file(name, CFile::modeRead | CFile::shareDenyWrite);
        const ULONGLONG length = file.GetLength();
        bytes.resize(static_cast<size_t>(length));
        if (length > 0 && file.Read(bytes.data(), static_cast<UINT>(length)) != length) {
            AfxThrowFileException(CFileException::endOfFile, -1, name);
        }
    } catch (CFileException* e) {
        e->Delete();
        ChartMessageBox(ChartString(IDS_SRG_TEMPLATE_NOT_FOUND), MB_ICONSTOP);
        return;
    }
    LoadTemplateText(bytes.data(), bytes.size());
}

void SRGraph::LoadTemplateText(const BYTE* data, size_t size) {
    SRGraphLabelBlock* openBlock = nullptr;
    SRGraphComponent* current = nullptr;
    for (const CString& line : SRGSplitTemplateLines(data, size)) {
        if (line.IsEmpty() || line.Left(2) == u"//") {
            continue;
        }
        try {
            if (!ApplyTemplateLine(line, openBlock, current)) {
                return;
            }
        } catch (SRGraphException* e) {
            if (e->m_nCode == SRGE_TEMPLATE_COMMAND) {
                OnUnknownTemplateCommand(line);
            } else {
                ReportSRGraphException(e);
                ReportTemplateError(line);
            }
            e->Delete();
            return;
        }
    }
}

void SRGraph::WriteTemplate(SRGTemplateWriter& writer) {
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_components.GetNext(pos))->WriteTemplate(writer);
    }
}

bool SRGraph::ApplyTemplateLine(const CString& line, SRGraphLabelBlock*& openBlock, SRGraphComponent*& current) {
    TCHAR word[kSRGTemplateLineMax + 2] = {0};
    int used = 0;
    if (swscanf(line, u"%s%n", word, &used) < 1) {
        ThrowSRGraphException(SRGE_TEMPLATE_COMMAND);
    }
    const CString rest = line.Mid(used);
    const Keyword keyword = FindKeyword(word);
    std::unique_ptr<SRGraphComponent> made;
    switch (keyword) {
    case surface:
        return true;
    case background:
        made = std::make_unique<SRGraphBackground>();
        break;
    case title:
        made = std::make_unique<SRGraphTitle>();
        break;
    case data:
        made = std::make_unique<SRGraphDisplay>();
        break;
    case label:
        made = std::make_unique<SRGraphLabel>();
        break;
    case labelBlock:
        made = std::make_unique<SRGraphLabelBlock>();
        break;
    case annotation: {
        auto* target = dynamic_cast<SRGraphLabel*>(current);
        int key = 0, keyUsed = 0;
        if (!target || swscanf(rest, u"%d %n", &key, &keyUsed) < 1) {
            ThrowSRGraphException(SRGE_TEMPLATE_COMMAND);
        }
        target->SetTextForKey(key, rest.Mid(keyUsed));
        return true;
    }
    case endBlock:
        openBlock = nullptr;
        current = nullptr;
        return true;
    case dataWatcher:
        // A watcher's line is what the watcher writes: the common part alone.
        openBlock = nullptr;
        made = std::make_unique<SRGDataWatcher>();
        break;
    case textPanel:
        openBlock = nullptr;
        made = std::make_unique<SRGTextPanel>();
        break;
    case legend:
        made = std::make_unique<SRGraphLegend>();
        break;
    default:
        ThrowSRGraphException(SRGE_TEMPLATE_COMMAND);
    }

    SRGraphComponent* component = made.get();
    const int common = component->ReadTemplateCommonPart(rest);
    component->ReadTemplateTypePart(rest.Mid(common));
    if (keyword == label && openBlock) {
        // A block's label belongs to the block; the annotation lines that follow give it its texts.
        auto* blockLabel = static_cast<SRGraphLabel*>(made.release());
        openBlock->AttachLabel(blockLabel, FALSE);
        current = blockLabel;
        return true;
    }
    auto* readLegend = dynamic_cast<SRGraphLegend*>(component);
    const double keySize = readLegend ? readLegend->GetKeySizeValue() : 0.0;
    component->UpdatePlacement();
    if (keyword == title) {
        component->UpdatePlacement();
    }
    if (readLegend) {
        // The placement's default key size would lose the one the line gave.
        readLegend->SetKeySizeValue(keySize);
    }
    AddComponent(made.release());
    current = component;
    if (keyword == labelBlock) {
        openBlock = static_cast<SRGraphLabelBlock*>(component);
    }
    return true;
}
