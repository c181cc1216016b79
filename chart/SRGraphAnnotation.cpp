#include "chart/SRGraphAnnotation.h"

#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(SRGraphAnnotation, CObject, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(SRGraphAnnotationList, CObList, VERSIONABLE_SCHEMA | 1)

void SRGraphAnnotation::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nKey) << m_strText;
    } else {
        LONG key = 0;
        ar >> key >> m_strText;
        m_nKey = key;
    }
}

SRGraphAnnotationList::~SRGraphAnnotationList() {
    RemoveAll();
}

void SRGraphAnnotationList::RemoveAll() {
    for (POSITION pos = GetHeadPosition(); pos;) {
        delete GetNext(pos);
    }
    CObList::RemoveAll();
}

SRGraphAnnotation* SRGraphAnnotationList::Find(int key) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        auto* annotation = static_cast<SRGraphAnnotation*>(GetNext(pos));
        if (annotation->m_nKey == key) {
            return annotation;
        }
    }
    return nullptr;
}

const CString& SRGraphAnnotationList::GetText(int key) {
    if (SRGraphAnnotation* annotation = Find(key)) {
        return annotation->m_strText;
    }
    m_strScratch.Empty();
    return m_strScratch;
}

void SRGraphAnnotationList::SetText(int key, const CString& text) {
    if (SRGraphAnnotation* annotation = Find(key)) {
        annotation->m_strText = text;
        return;
    }
    AddTail(new SRGraphAnnotation(key, text));
}

void SRGraphAnnotationList::CopyFrom(const SRGraphAnnotationList& other) {
    RemoveAll();
    for (POSITION pos = other.GetHeadPosition(); pos;) {
        auto* annotation = static_cast<const SRGraphAnnotation*>(other.GetNext(pos));
        AddTail(new SRGraphAnnotation(annotation->m_nKey, annotation->m_strText));
    }
}

void SRGraphAnnotationList::WriteTemplate(SRGTemplateWriter& writer) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        auto* annotation = static_cast<const SRGraphAnnotation*>(GetNext(pos));
        writer.WriteFormat(u"annotation %d %s\n", annotation->m_nKey,
                           static_cast<LPCTSTR>(annotation->m_strText));
    }
}

void SRGraphAnnotationList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        SRGWriteList(ar, *this);
    } else {
        SRGReadOwnedList(ar, *this, RUNTIME_CLASS(SRGraphAnnotation));
    }
}

void SRGReadOwnedList(CArchive& ar, CObList& list, const CRuntimeClass* itemClass) {
    for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
        if (CObject* item = ar.ReadOwnedObject(itemClass)) {
            list.AddTail(item);
        }
    }
}

void SRGWriteList(CArchive& ar, const CObList& list) {
    ar.WriteCount(static_cast<DWORD_PTR>(list.GetCount()));
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        ar.WriteObject(list.GetNext(pos));
    }
}
