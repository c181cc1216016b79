#include "grid/CGXUserAttribute.h"

#include "grid/GridNumberText.h"
#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"

#include <cstring>

IMPLEMENT_SERIAL(CGXAbstractUserAttribute, CObject, 0)
IMPLEMENT_SERIAL(CGXUserAttribute, CGXAbstractUserAttribute, 0)
IMPLEMENT_SERIAL(CGXEllipseUserAttribute, CGXAbstractUserAttribute, 0)

// ---- CGXAbstractUserAttribute

void CGXAbstractUserAttribute::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << GetValue();
    } else {
        CString text;
        ar >> text;
        SetValueFromText(text);
    }
}

CGXAbstractUserAttribute& CGXAbstractUserAttribute::SetValue(LPCTSTR) {
    return *this;
}

CString CGXAbstractUserAttribute::GetValue() const {
    return CString();
}

LONG CGXAbstractUserAttribute::GetLongValue() const {
    return _wtol(GetValue());
}

double CGXAbstractUserAttribute::GetDoubleValue() const {
    return WideToDouble(GetValue());
}

BOOL CGXAbstractUserAttribute::IsEqual(const CGXAbstractUserAttribute& other) const {
    return GetId() == other.GetId() && GetValue().Compare(other.GetValue()) == 0;
}

LPCTSTR CGXAbstractUserAttribute::GetValueText() const {
    m_valueText = GetValue();
    return m_valueText;
}

const CGXAbstractUserAttribute& GetEmptyUserAttribute() {
    static const CGXAbstractUserAttribute empty;
    return empty;
}

// ---- CGXUserAttribute

CGXUserAttribute::CGXUserAttribute(LPCTSTR text) {
    SetText(text ? text : u"");
}

CGXUserAttribute::CGXUserAttribute(DWORD value) : m_kind(kUnsigned) {
    std::memcpy(m_value, &value, sizeof value);
}

CGXUserAttribute::CGXUserAttribute(LONG value) : m_kind(kSigned) {
    std::memcpy(m_value, &value, sizeof value);
}

CGXUserAttribute::CGXUserAttribute(double value) : m_kind(kDouble) {
    std::memcpy(m_value, &value, sizeof value);
}

CGXUserAttribute::CGXUserAttribute(ULONGLONG value) : m_kind(kInt64) {
    const DWORD halves[2] = {static_cast<DWORD>(value >> 32), static_cast<DWORD>(value)};
    std::memcpy(m_value, halves, sizeof halves);
}

void CGXUserAttribute::SetText(LPCTSTR text) {
    std::memset(m_value, 0, sizeof m_value);
    m_text.Empty();
    double number = 0;
    if (IsNumberText(text, &number)) {
        m_kind = kDouble;
        std::memcpy(m_value, &number, sizeof number);
        return;
    }
    m_text = text;
    m_kind = m_text.GetLength() > 4 ? kText : kShortText;
}

DWORD CGXUserAttribute::Low() const {
    DWORD value = 0;
    std::memcpy(&value, m_value, sizeof value);
    return value;
}

DWORD CGXUserAttribute::High() const {
    DWORD value = 0;
    std::memcpy(&value, m_value + 4, sizeof value);
    return value;
}

void CGXUserAttribute::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<BYTE>(m_kind);
        if (m_kind == kShortText || m_kind == kText) {
            ar << m_text;
        } else {
            ar.Write(m_value, sizeof m_value);
        }
        return;
    }
    BYTE kind = 0;
    ar >> kind;
    std::memset(m_value, 0, sizeof m_value);
    m_text.Empty();
    if (kind == kShortText || kind == kText) {
        ar >> m_text;
        m_kind = m_text.GetLength() > 4 ? kText : kShortText;
        return;
    }
    if (kind > kInt64) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    if (ar.Read(m_value, sizeof m_value) != sizeof m_value) {
        AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    m_kind = kind;
}

CGXAbstractUserAttribute& CGXUserAttribute::SetValue(LPCTSTR text) {
    if (!text || !*text) {
        std::memset(m_value, 0, sizeof m_value);
        m_text.Empty();
        m_kind = kEmpty;
        return *this;
    }
    SetText(text);
    return *this;
}

CString CGXUserAttribute::GetValue() const {
    CString text;
    switch (m_kind) {
    case kEmpty:
        break;
    case kUnsigned:
        text.Format(u"%lu", static_cast<unsigned long>(Low()));
        break;
    case kSigned:
        text.Format(u"%ld", static_cast<long>(static_cast<LONG>(Low())));
        break;
    case kShortText:
        text = m_text.Left(4);
        break;
    case kText:
        text = m_text;
        break;
    case kDouble: {
        double value = 0;
        std::memcpy(&value, m_value, sizeof value);
        text.Format(u"%.13g", value);
        break;
    }
    case kInt64:
        text.Format(u"%08x%08x", Low(), High());
        break;
    default:
        text = u"Value?";
        break;
    }
    return text;
}

LONG CGXUserAttribute::GetLongValue() const {
    switch (m_kind) {
    case kUnsigned:
    case kSigned:
        return static_cast<LONG>(Low());
    case kShortText:
    case kText:
        return _wtol(m_text);
    case kDouble: {
        double value = 0;
        std::memcpy(&value, m_value, sizeof value);
        return value >= -2147483648.0 && value < 2147483648.0 ? static_cast<LONG>(value) : 0;
    }
    default:
        return 0;
    }
}

double CGXUserAttribute::GetDoubleValue() const {
    switch (m_kind) {
    case kUnsigned:
        return Low();
    case kSigned:
        return static_cast<LONG>(Low());
    case kShortText:
    case kText:
        return WideToDouble(m_text);
    case kDouble: {
        double value = 0;
        std::memcpy(&value, m_value, sizeof value);
        return value;
    }
    default:
        return 0;
    }
}

BOOL CGXUserAttribute::IsEqual(const CGXAbstractUserAttribute& other) const {
    const auto* attribute = dynamic_cast<const CGXUserAttribute*>(&other);
    if (!attribute || GetId() != other.GetId() || m_kind != attribute->m_kind) {
        return FALSE;
    }
    switch (m_kind) {
    case kUnsigned:
    case kSigned:
        return Low() == attribute->Low();
    case kShortText:
    case kText:
        return m_text.Compare(attribute->m_text) == 0;
    case kDouble: {
        double a = 0;
        double b = 0;
        std::memcpy(&a, m_value, sizeof a);
        std::memcpy(&b, attribute->m_value, sizeof b);
        return !(a < b) && !(a > b);
    }
    case kInt64:
        return std::memcmp(m_value, attribute->m_value, sizeof m_value) == 0;
    default:
        return TRUE;
    }
}

// ---- CGXEllipseUserAttribute

void CGXEllipseUserAttribute::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(m_ellipsisKind);
    } else {
        WORD kind = 0;
        ar >> kind;
        m_ellipsisKind = kind;
    }
}

BOOL CGXEllipseUserAttribute::IsEqual(const CGXAbstractUserAttribute& other) const {
    const auto* ellipse = dynamic_cast<const CGXEllipseUserAttribute*>(&other);
    return ellipse && ellipse->m_ellipsisKind == m_ellipsisKind;
}
