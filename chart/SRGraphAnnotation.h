// Texts by integer key: one annotation per key, kept in the order they were added. Items, groups, labels and
// the chart itself carry such lists (one text per language or variant).
#pragma once

#include "platform/base/CLists.h"
#include "platform/base/CString.h"

class SRGTemplateWriter;

class SRGraphAnnotation : public CObject {
    DECLARE_SERIAL(SRGraphAnnotation)

public:
    SRGraphAnnotation() = default;
    SRGraphAnnotation(int key, const CString& text) : m_nKey(key), m_strText(text) {}
    void Serialize(CArchive& ar) override;

    int m_nKey = 1;
    CString m_strText;
};

// Owns its annotations.
class SRGraphAnnotationList : public CObList {
    DECLARE_SERIAL(SRGraphAnnotationList)

public:
    SRGraphAnnotationList() = default;
    ~SRGraphAnnotationList() override;

    // "annotation %d %s\n" per annotation, in list order.
    virtual void WriteTemplate(SRGTemplateWriter& writer) const;
    // The first annotation's text for the key; the emptied scratch text when there is none.
    virtual const CString& GetText(int key);
    // Replaces the key's text or appends a new annotation.
    void SetText(int key, const CString& text);
    void RemoveAll();
    // Replaces this list's annotations with copies of the other's.
    void CopyFrom(const SRGraphAnnotationList& other);
    // The object-list form: a count, then each annotation with its class.
    void Serialize(CArchive& ar) override;

private:
    SRGraphAnnotation* Find(int key) const;
    CString m_strScratch;
};

// Reads a count and that many new objects of one class into an owning list; used by every owning list of
// the chart, so that a damaged archive can neither share nor leak an object.
void SRGReadOwnedList(CArchive& ar, CObList& list, const CRuntimeClass* itemClass);
void SRGWriteList(CArchive& ar, const CObList& list);
