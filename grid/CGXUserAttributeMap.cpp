#include "grid/CGXUserAttributeMap.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>
#include <vector>

IMPLEMENT_SERIAL(CGXUserAttributeMap, CObArray, 0)

CGXUserAttributeMap::~CGXUserAttributeMap() {
    DeleteAll();
}

void CGXUserAttributeMap::DeleteAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetAt(i);
    }
    RemoveAll();
}

INT_PTR CGXUserAttributeMap::FindIndex(WORD id) const {
    INT_PTR low = 0;
    INT_PTR high = GetSize() - 1;
    while (low <= high) {
        const INT_PTR middle = (low + high) / 2;
        const WORD found = GetAttributeAt(middle)->GetId();
        if (found == id) {
            return middle;
        }
        if (found < id) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return -1;
}

CGXAbstractUserAttribute* CGXUserAttributeMap::FindAttribute(WORD id) const {
    const INT_PTR index = FindIndex(id);
    return index < 0 ? nullptr : GetAttributeAt(index);
}

void CGXUserAttributeMap::SetAttribute(WORD id, CGXAbstractUserAttribute* attribute) {
    if (!attribute) {
        return;
    }
    attribute->SetId(id);
    const INT_PTR index = FindIndex(id);
    if (index >= 0) {
        if (GetAt(index) != attribute) {
            delete GetAt(index);
            SetAt(index, attribute);
        }
        return;
    }
    Add(attribute);
    SortById();
}

void CGXUserAttributeMap::SetAttributeCopy(WORD id, const CGXAbstractUserAttribute& attribute) {
    SetAttribute(id, attribute.Clone());
}

void CGXUserAttributeMap::RemoveAttribute(WORD id) {
    const INT_PTR index = FindIndex(id);
    if (index >= 0) {
        delete GetAt(index);
        RemoveAt(index);
    }
}

void CGXUserAttributeMap::Merge(const CGXUserAttributeMap& other, int mode) {
    if (&other == this) {
        return;
    }
    if (mode == 3) {
        for (INT_PTR i = 0; i < other.GetSize(); ++i) {
            RemoveAttribute(other.GetAttributeAt(i)->GetId());
        }
        return;
    }
    if (mode == 2) {
        DeleteAll();
    }
    bool added = false;
    for (INT_PTR i = 0; i < other.GetSize(); ++i) {
        const CGXAbstractUserAttribute* source = other.GetAttributeAt(i);
        const INT_PTR index = FindIndex(source->GetId());
        if (index >= 0 && mode == 1) {
            continue;
        }
        CGXAbstractUserAttribute* copy = source->Clone();
        if (!copy) {
            continue;
        }
        copy->SetId(source->GetId());
        if (index >= 0) {
            delete GetAt(index);
            SetAt(index, copy);
        } else {
            Add(copy);
            added = true;
        }
    }
    if (added) {
        SortById();
    }
}

void CGXUserAttributeMap::SortById() {
    std::vector<CObject*> items(GetData(), GetData() + GetSize());
    std::stable_sort(items.begin(), items.end(), [](CObject* a, CObject* b) {
        return static_cast<CGXAbstractUserAttribute*>(a)->GetId() <
               static_cast<CGXAbstractUserAttribute*>(b)->GetId();
    });
    std::copy(items.begin(), items.end(), GetData());
}

void CGXUserAttributeMap::WriteProfile(LPCTSTR section) const {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        const CGXAbstractUserAttribute* attribute = GetAttributeAt(i);
        CString key;
        key.Format(u"UA%lu", static_cast<unsigned long>(attribute->GetId()));
        app->WriteProfileString(section, key, attribute->GetValue());
    }
}

void CGXUserAttributeMap::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (GetSize() > 0xFFFF) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        ar << static_cast<WORD>(GetSize());
        for (INT_PTR i = 0; i < GetSize(); ++i) {
            const CGXAbstractUserAttribute* attribute = GetAttributeAt(i);
            ar.WriteObject(attribute);
            ar << attribute->GetId();
        }
        return;
    }
    DeleteAll();
    WORD count = 0;
    ar >> count;
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 4);
    for (WORD i = 0; i < count; ++i) {
        auto* attribute =
            static_cast<CGXAbstractUserAttribute*>(ar.ReadObject(RUNTIME_CLASS(CGXAbstractUserAttribute)));
        WORD id = 0;
        try {
            ar >> id;
        } catch (...) {
            delete attribute;
            throw;
        }
        if (!attribute) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        // An object read earlier in the archive can come back as a reference: the map owns copies only.
        if (FindIndex(id) >= 0 ||
            std::find(GetData(), GetData() + GetSize(), attribute) != GetData() + GetSize()) {
            AfxThrowArchiveException(CArchiveException::genericException);
        }
        SetAttribute(id, attribute);
    }
}
