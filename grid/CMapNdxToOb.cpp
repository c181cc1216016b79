#include "grid/CMapNdxToOb.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(CMapNdxToOb, CObject, 0)
IMPLEMENT_SERIAL(CGXMapCellToOb, CMapNdxToOb, 0)

CMapNdxToOb::CMapNdxToOb(int) : m_chain(17, true) {}

BOOL CMapNdxToOb::Lookup(ROWCOL row, ROWCOL col, CObject*& object) const {
    const auto* assoc = m_chain.Find({row, col}, BucketOf(row, col));
    if (!assoc) {
        return FALSE;
    }
    object = assoc->value;
    return TRUE;
}

CObject*& CMapNdxToOb::SetAt(ROWCOL row, ROWCOL col) {
    return m_chain.FindOrAdd({row, col}, BucketOf(row, col)).value;
}

BOOL CMapNdxToOb::RemoveKey(ROWCOL row, ROWCOL col) {
    return m_chain.Remove({row, col}, BucketOf(row, col)) ? TRUE : FALSE;
}

void CMapNdxToOb::GetNextAssoc(POSITION& position, ROWCOL& row, ROWCOL& col, CObject*& object) const {
    if (const auto* assoc = m_chain.GetNext(position)) {
        row = assoc->key.row;
        col = assoc->key.col;
        object = assoc->value;
    }
}

void CMapNdxToOb::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (GetCount() > 0xFFFF) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        ar << static_cast<WORD>(GetCount());
        for (POSITION pos = GetStartPosition(); pos;) {
            ROWCOL row = 0;
            ROWCOL col = 0;
            CObject* object = nullptr;
            GetNextAssoc(pos, row, col, object);
            ar << row << col;
            ar.WriteObject(object);
        }
        return;
    }
    WORD count = 0;
    ar >> count;
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 10);
    for (WORD i = 0; i < count; ++i) {
        ROWCOL row = 0;
        ROWCOL col = 0;
        ar >> row >> col;
        SetAt(row, col) = ar.ReadObject(nullptr);
    }
}
