// A table of values read from text into the chart's groups.
#include "chart/SRGraph.h"
#include "chart/SRGraphDataList.h"

#include "platform/base/COleDateTime.h"
#include "platform/base/WideRuntime.h"

namespace {
enum Cell { endOfText, emptyCell, endOfRow, numberCell, textCell };
enum State { idle, header, rowLabel, values, data };

bool IsSeparator(TCHAR c) {
    return c == u'\t' || c == u',';
}

bool IsRowEnd(TCHAR c) {
    return c == u'\r' || c == u'\n' || c == u'|';
}

// Item indices as letters: 0 "A" ... 25 "Z", 26 "BA".
CString ItemLetters(int index) {
    std::u16string letters;
    do {
        letters.insert(letters.begin(), static_cast<char16_t>(u'A' + index % 26));
        index /= 26;
    } while (index > 0);
    return CString(letters);
}
} // namespace

int SRGraph::NextImportCell(const CString& text, int& at, CString& cell, double& value) {
    const int length = text.GetLength();
    if (at >= length) {
        return endOfText;
    }
    const TCHAR c = text[at];
    if (IsSeparator(c)) {
        ++at;
        return emptyCell;
    }
    if (IsRowEnd(c)) {
        ++at;
        if (c != u'\n' && at < length && text[at] == u'\n') {
            ++at;
        }
        return endOfRow;
    }
    const int start = at;
    while (at < length && !IsSeparator(text[at]) && !IsRowEnd(text[at])) {
        ++at;
    }
    cell = text.Mid(start, at - start);
    if (at < length && IsSeparator(text[at])) {
        ++at;
    }
    if (swscanf(cell, u"%lg", &value) == 1) {
        return numberCell;
    }
    COleDateTime date;
    if (date.ParseDateTime(cell, 0, LANG_USER_DEFAULT) && date.GetStatus() == COleDateTime::valid) {
        value = date.m_dt;
        return numberCell;
    }
    return textCell;
}

void SRGraph::ImportText(const CString& text) {
    if (!m_bEmpty) {
        ClearAll();
    }
    int at = 0;
    CString cell;
    double value = 0.0;
    int item = 0, valueGroup = 0, labelGroup = 0;
    bool rowHasData = false;
    State state = idle;

    switch (NextImportCell(text, at, cell, value)) {
    case numberCell:
        state = data;
        SetItemValue(0, 0, value, FALSE);
        item = 1;
        rowHasData = true;
        break;
    case emptyCell:
        state = header;
        break;
    case textCell:
        state = header;
        SetGraphAnnotation(cell, 1);
        break;
    default:
        m_bEmpty = FALSE; // a table that starts with a row end or nothing: every later cell is ignored
        return;
    }

    for (int kind = NextImportCell(text, at, cell, value); kind != endOfText;
         kind = NextImportCell(text, at, cell, value)) {
        if (kind == endOfRow) {
            if (rowHasData) {
                ++labelGroup;
            }
            if (state == header) {
                state = rowLabel;
            } else {
                if (rowHasData) {
                    ++valueGroup;
                }
                if (state == values) {
                    state = rowLabel;
                }
            }
            rowHasData = true;
            item = 0;
            continue;
        }
        switch (state) {
        case header:
            if (kind != emptyCell) {
                GetItem(item, valueGroup)->SetAnnotationForKey(1, cell);
            }
            ++item;
            break;
        case rowLabel:
            if (kind != emptyCell) {
                SRGraphAnnotationList& annotations = GetGroup(labelGroup, TRUE)->GetAnnotations();
                annotations.RemoveAll();
                annotations.SetText(1, cell);
            }
            state = values;
            break;
        case values:
            if (kind == numberCell) {
                SetItemValue(item, valueGroup, value, FALSE);
            } else if (kind == emptyCell) {
                SRGraphData* data = GetItem(item, valueGroup);
                data->SetValue(0.0);
                data->SetNull(TRUE);
            } else {
                GetItem(item, valueGroup)->SetNull(TRUE);
            }
            ++item;
            break;
        case data:
            if (kind == numberCell) {
                SetItemValue(item, valueGroup, value, FALSE);
            } else {
                GetItem(item, valueGroup)->SetNull(TRUE);
            }
            ++item;
            break;
        default:
            break;
        }
    }
    m_bEmpty = FALSE;
    if (state == data) {
        int g = 0;
        for (POSITION pos = m_groups.GetHeadPosition(); pos; ++g) {
            SRGraphAnnotationList& annotations = GetNextGroup(pos)->GetAnnotations();
            annotations.RemoveAll();
            CString index;
            index.Format(u"%d", g);
            annotations.SetText(1, index);
        }
        if (!m_groups.IsEmpty()) {
            SRGraphDataList* first = GetGroup(0, TRUE);
            const int count = first->GetItemCount();
            for (int i = 0; i < count; ++i) {
                first->GetItem(i, TRUE)->SetAnnotationForKey(1, ItemLetters(i));
            }
        }
    }
}
