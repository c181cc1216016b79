#include "grid/CGXCollMapDWordToString.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(CGXCollMapDWordToString, CObject, 0)

CGXCollMapDWordToString::CGXCollMapDWordToString(int) : m_chain(17, true) {}

BOOL CGXCollMapDWordToString::Lookup(DWORD key, CString& value) const {
    const auto* assoc = m_chain.Find(key, BucketOf(key));
    if (!assoc) {
        return FALSE;
    }
    value = assoc->value;
    return TRUE;
}

CString& CGXCollMapDWordToString::operator[](DWORD key) {
    return m_chain.FindOrAdd(key, BucketOf(key)).value;
}

void CGXCollMapDWordToString::GetNextAssoc(POSITION& position, DWORD& key, CString& value) const {
    if (const auto* assoc = m_chain.GetNext(position)) {
        key = assoc->key;
        value = assoc->value;
    }
}

void CGXCollMapDWordToString::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (GetCount() > 0xFFFF) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        ar << static_cast<WORD>(GetCount());
        for (POSITION pos = GetStartPosition(); pos;) {
            DWORD key = 0;
            CString value;
            GetNextAssoc(pos, key, value);
            ar << key << value;
        }
        return;
    }
    WORD count = 0;
    ar >> count;
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 5);
    for (WORD i = 0; i < count; ++i) {
        DWORD key = 0;
        CString value;
        ar >> key >> value;
        (*this)[key] = value;
    }
}
