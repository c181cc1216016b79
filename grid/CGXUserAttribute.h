// User attributes: control-specific values that a style carries besides its fixed attributes (the bounds of
// a spin edit, a check box's checked value, a progress bar's caption, a tooltip text), each under the
// string-resource id that names it.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CArchive;

class CGXAbstractUserAttribute : public CObject {
    DECLARE_SERIAL(CGXAbstractUserAttribute)
public:
    CGXAbstractUserAttribute() = default;
    ~CGXAbstractUserAttribute() override = default;

    // The value as text (written through GetValue, read through SetValueFromText).
    void Serialize(CArchive& ar) override;

    virtual CGXAbstractUserAttribute& SetValue(LPCTSTR text);
    virtual CGXAbstractUserAttribute& SetValueFromText(const CString& text) { return SetValue(text); }
    // The value as text. Each call gives its own string, so two attributes' texts can be compared.
    virtual CString GetValue() const;
    virtual LONG GetLongValue() const;
    virtual DWORD GetDWordValue() const { return static_cast<DWORD>(GetLongValue()); }
    virtual double GetDoubleValue() const;
    // A new copy, or null for an attribute that cannot be copied.
    virtual CGXAbstractUserAttribute* Clone() const { return nullptr; }
    // Same id and same text.
    virtual BOOL IsEqual(const CGXAbstractUserAttribute& other) const;
    virtual BOOL IsEmpty() const { return GetValue().IsEmpty(); }

    // The characters of GetValue, valid until this attribute's next GetValueText or change.
    LPCTSTR GetValueText() const;

    WORD GetId() const { return m_nId; }
    void SetId(WORD id) { m_nId = id; }

protected:
    CGXAbstractUserAttribute(const CGXAbstractUserAttribute& other) : CObject(), m_nId(other.m_nId) {}

private:
    WORD m_nId = 0;
    mutable CString m_valueText;
};

// The attribute every style answers for an id it does not hold: empty, alive for the whole program.
const CGXAbstractUserAttribute& GetEmptyUserAttribute();

class CGXUserAttribute : public CGXAbstractUserAttribute {
    DECLARE_SERIAL(CGXUserAttribute)
public:
    enum Kind : int {
        kEmpty = 0,
        kUnsigned = 1,
        kSigned = 2,
        kShortText = 3, // up to 4 characters
        kText = 4,
        kDouble = 5,
        kInt64 = 6,
    };

    CGXUserAttribute() = default;
    // A number when the text is one (IsNumberText), else text.
    explicit CGXUserAttribute(LPCTSTR text);
    explicit CGXUserAttribute(const CString& text) : CGXUserAttribute(static_cast<LPCTSTR>(text)) {}
    explicit CGXUserAttribute(DWORD value);
    explicit CGXUserAttribute(LONG value);
    explicit CGXUserAttribute(double value);
    explicit CGXUserAttribute(ULONGLONG value);
    CGXUserAttribute(const CGXUserAttribute& other) = default;

    // BYTE kind, then the text (kinds 3 and 4) or the 8 bytes of the value.
    void Serialize(CArchive& ar) override;

    // An empty text empties the attribute; otherwise as the text constructor.
    CGXAbstractUserAttribute& SetValue(LPCTSTR text) override;
    CString GetValue() const override;
    LONG GetLongValue() const override;
    double GetDoubleValue() const override;
    CGXAbstractUserAttribute* Clone() const override { return new CGXUserAttribute(*this); }
    // Same id and kind, and equal values.
    BOOL IsEqual(const CGXAbstractUserAttribute& other) const override;

    int GetKind() const { return m_kind; }

private:
    void SetText(LPCTSTR text);
    DWORD Low() const;
    DWORD High() const;

    int m_kind = kEmpty;
    BYTE m_value[8] = {}; // numbers: 32-bit values in the first four bytes
    CString m_text;       // kinds 3 and 4
};

// An ellipsis kind (0 none, 1 dots, 2 "#" characters) for text that does not fit its cell.
class CGXEllipseUserAttribute : public CGXAbstractUserAttribute {
    DECLARE_SERIAL(CGXEllipseUserAttribute)
public:
    explicit CGXEllipseUserAttribute(int kind = 0) : m_ellipsisKind(kind) {}
    CGXEllipseUserAttribute(const CGXEllipseUserAttribute& other) = default;

    // The kind as a WORD.
    void Serialize(CArchive& ar) override;

    CGXAbstractUserAttribute& SetValue(LPCTSTR) override { return *this; }
    CGXAbstractUserAttribute& SetValueFromText(const CString&) override { return *this; }
    CString GetValue() const override { return CString(); }
    LONG GetLongValue() const override { return m_ellipsisKind; }
    double GetDoubleValue() const override { return m_ellipsisKind; }
    CGXAbstractUserAttribute* Clone() const override { return new CGXEllipseUserAttribute(*this); }
    // Equal kinds, whatever the ids.
    BOOL IsEqual(const CGXAbstractUserAttribute& other) const override;
    BOOL IsEmpty() const override { return TRUE; }

    virtual void SetEllipsisKind(int kind) { m_ellipsisKind = kind; }
    virtual int GetEllipsisKind() const { return m_ellipsisKind; }

private:
    int m_ellipsisKind;
};
