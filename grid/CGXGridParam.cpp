#include "grid/CGXGridParam.h"

#include "grid/CGXData.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"

IMPLEMENT_SERIAL(CGXGridParam, CObject, 1)

CGXGridParam::CGXGridParam() : m_pAppState(&GridLibraryState::Instance()) {
    m_rowHeights.InitHashTable(1021);
    m_colWidths.InitHashTable(257);
    m_rowHeights.SetAt(0) = kHeaderRowHeight;
    m_colWidths.SetAt(0) = kHeaderColWidth;
    m_bGridLinesAtRightBottom = m_pAppState->optionLineMode ? TRUE : FALSE;
    m_nGridLineStyle = static_cast<WORD>(m_pAppState->optionGridLinePenStyle);
    CreateCoveredCellPool();
}

CGXGridParam::~CGXGridParam() {
    DeleteObListObjects(m_undoList);
    DeleteObListObjects(m_redoList);
    for (CObject** pool : {&m_pCoveredCellPool, &m_pFloatCellsSpanPool, &m_pPrintFloatCellsSpanPool,
                           &m_pMergeRowsSpanPool, &m_pMergeColsSpanPool, &m_pFloatCellsDelayedRanges,
                           &m_pPrintFloatCellsDelayedRanges, &m_pMergeCellsDelayedRanges}) {
        delete *pool;
        *pool = nullptr;
    }
    m_choiceKeyMaps.DeleteAll();
    m_choiceTextMaps.DeleteAll();
    SetStylesMap(nullptr, FALSE);
    SetProperties(nullptr, FALSE);
    SetData(nullptr, FALSE);
    SetPrintDevice(nullptr, FALSE);
    m_strTabName.Empty();
    DeleteMapValues(m_objectMap);
}

void CGXGridParam::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().docSerializeImp)->SerializeGridParam(*this, ar);
}

CGXGridParam& CGXGridParam::Assign(const CGXGridParam& other) {
    if (&other != this) {
        if (CGXAbstractGridParamCopyOperatorImp* copy = GridLibraryState::Instance().paramCopyOperatorImp) {
            copy->CopyGridParam(*this, other);
        }
    }
    return *this;
}

void CGXGridParam::CreateCoveredCellPool() {
    if (!m_pCoveredCellPool) {
        if (CGXAbstractCoveredCellPoolImp* pools = GridLibraryState::Instance().coveredCellPoolImp) {
            m_pCoveredCellPool = pools->CreatePool();
        }
    }
}

void CGXGridParam::RebuildCoveredCellPool() {
    if (CGXAbstractCoveredCellPoolImp* pools = GridLibraryState::Instance().coveredCellPoolImp) {
        pools->CopyPool(m_pCoveredCellPool, m_coveredRanges);
    }
}

void CGXGridParam::SetProperties(CGXProperties* properties, BOOL own) {
    if (m_bOwnProperties && m_pProperties != properties) {
        delete m_pProperties;
    }
    m_pProperties = properties;
    m_bOwnProperties = own;
}

void CGXGridParam::SetStylesMap(CGXStylesMap* stylesMap, BOOL own) {
    if (m_bOwnStylesMap && m_pStylesMap != stylesMap) {
        delete m_pStylesMap;
    }
    m_pStylesMap = stylesMap;
    m_bOwnStylesMap = own;
}

void CGXGridParam::SetData(CGXData* data, BOOL own) {
    if (m_bOwnData && m_pData != data) {
        delete m_pData;
    }
    m_pData = data;
    m_bOwnData = own;
    if (m_pData) {
        m_pData->InitParam(this);
    }
}

void CGXGridParam::SetPrintDevice(CObject* printDevice, BOOL own) {
    if (m_bOwnPrintDevice && m_pPrintDevice != printDevice) {
        delete m_pPrintDevice;
    }
    m_pPrintDevice = printDevice;
    m_bOwnPrintDevice = own;
}

void CGXGridParam::EmptyRedoList() {
    DeleteObListObjects(m_redoList);
}
