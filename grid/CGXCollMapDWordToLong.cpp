#include "grid/CGXCollMapDWordToLong.h"

#include "platform/base/CArchive.h"

#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CGXCollMapDWordToLong, CObject, 0)
IMPLEMENT_SERIAL(CGXMapDWordToLong, CGXCollMapDWordToLong, 0)

namespace {
constexpr UINT kDefaultBuckets = 17;
}

CGXCollMapDWordToLong::CGXCollMapDWordToLong(int) : m_chain(kDefaultBuckets, false) {}

BOOL CGXCollMapDWordToLong::Lookup(DWORD key, LONG& value) const {
    const auto* assoc = m_chain.Find(key, BucketOf(key));
    if (!assoc) {
        return FALSE;
    }
    value = assoc->value;
    return TRUE;
}

LONG& CGXCollMapDWordToLong::SetAt(DWORD key) {
    return m_chain.FindOrAdd(key, BucketOf(key)).value;
}

BOOL CGXCollMapDWordToLong::RemoveKey(DWORD key) {
    return m_chain.Remove(key, BucketOf(key)) ? TRUE : FALSE;
}

void CGXCollMapDWordToLong::GetNextAssoc(POSITION& position, DWORD& key, LONG& value) const {
    if (const auto* assoc = m_chain.GetNext(position)) {
        key = assoc->key;
        value = assoc->value;
    }
}

template <class Renumber>
void CGXCollMapDWordToLong::Rebuild(Renumber renumber) {
    std::vector<std::pair<DWORD, LONG>> pairs;
    pairs.reserve(static_cast<size_t>(GetCount()));
    for (POSITION pos = GetStartPosition(); pos;) {
        DWORD key = 0;
        LONG value = 0;
        GetNextAssoc(pos, key, value);
        DWORD newKey = 0;
        if (renumber(key, newKey)) {
            pairs.emplace_back(newKey, value);
        }
    }
    const UINT buckets = m_chain.GetHashTableSize();
    m_chain.InitHashTable(buckets);
    for (const auto& [key, value] : pairs) {
        SetAt(key) = value;
    }
}

void CGXCollMapDWordToLong::InsertKeys(DWORD at, DWORD count) {
    Rebuild([&](DWORD key, DWORD& newKey) {
        newKey = key >= at ? key + count : key;
        return true;
    });
}

void CGXCollMapDWordToLong::RemoveKeys(DWORD first, DWORD last) {
    if (last < first) {
        return;
    }
    const DWORD count = last - first + 1;
    Rebuild([&](DWORD key, DWORD& newKey) {
        if (key >= first && key <= last) {
            return false;
        }
        newKey = key > last ? key - count : key;
        return true;
    });
}

void CGXCollMapDWordToLong::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (GetCount() > 0xFFFF) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        ar << static_cast<WORD>(GetCount());
        for (POSITION pos = GetStartPosition(); pos;) {
            DWORD key = 0;
            LONG value = 0;
            GetNextAssoc(pos, key, value);
            ar << key << static_cast<DWORD>(value);
        }
        return;
    }
    WORD count = 0;
    ar >> count;
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 8);
    for (WORD i = 0; i < count; ++i) {
        DWORD key = 0;
        DWORD value = 0;
        ar >> key >> value;
        SetAt(key) = static_cast<LONG>(value);
    }
}

void CGXMapDWordToLong::MoveKeys(DWORD from, DWORD to, DWORD dest) {
    if (to < from || dest == from) {
        return;
    }
    const DWORD count = to - from + 1;
    Rebuild([&](DWORD key, DWORD& newKey) {
        newKey = key;
        if (key >= from && key <= to) {
            newKey = dest + (key - from);
        } else if (dest > from && key > to && key < dest + count) {
            newKey = key - count;
        } else if (dest < from && key >= dest && key < from) {
            newKey = key + count;
        }
        return true;
    });
}

void CGXMapDWordToLong::Assign(const CGXMapDWordToLong& other) {
    if (&other == this) {
        return;
    }
    RemoveAll();
    for (POSITION pos = other.GetStartPosition(); pos;) {
        DWORD key = 0;
        LONG value = 0;
        other.GetNextAssoc(pos, key, value);
        SetAt(key) = value;
    }
}
