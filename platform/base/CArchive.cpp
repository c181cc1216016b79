#include "platform/base/CArchive.h"

#include "platform/base/CodePage.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <string>

static_assert(std::endian::native == std::endian::little, "the archive format is little-endian");

namespace {
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
// Class names longer than this are not read (none of the program's classes comes near).
constexpr WORD kMaxClassName = 64;
// Units read per step when the archive cannot tell how much data is left.
constexpr size_t kStringChunk = 64 * 1024;
constexpr size_t kMinBuffer = 128;
// Objects nested inside objects load recursively; a hostile file must not be able to exhaust the stack.
constexpr int kMaxObjectDepth = 2048;
} // namespace

// --------------------------------------------------------------------------------------------------------
// Class records

void CRuntimeClass::Store(CArchive& ar) const {
    const WORD length = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << length;
    ar.Write(m_lpszClassName, length);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* schema) {
    WORD storedSchema = 0;
    WORD length = 0;
    ar >> storedSchema >> length;
    if (schema) {
        *schema = storedSchema;
    }
    if (length >= kMaxClassName) {
        return nullptr;
    }
    char name[kMaxClassName];
    if (ar.Read(name, length) != length) {
        // A cut archive is reported as such, not as an unknown class.
        const CString fileName = ar.GetFile() ? ar.GetFile()->GetFilePath() : CString();
        AfxThrowArchiveException(CArchiveException::endOfFile, fileName);
    }
    name[length] = 0;
    if (std::strlen(name) != length) {
        return nullptr;
    }
    return FromName(static_cast<LPCSTR>(name));
}

// --------------------------------------------------------------------------------------------------------
// Construction and buffering

CArchive::CArchive(CFile* file, UINT mode, int bufferSize, void* buffer)
    : m_pDocument(nullptr), m_pFile(file), m_nMode(mode) {
    if (m_pFile) {
        m_strFileName = m_pFile->GetFilePath();
    }
    if (buffer && bufferSize >= 16) {
        m_lpBufStart = static_cast<BYTE*>(buffer);
        m_nBufSize = static_cast<size_t>(bufferSize);
    } else {
        m_nBufSize = std::max<size_t>(bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0, kMinBuffer);
        m_ownBuffer.resize(m_nBufSize);
        m_lpBufStart = m_ownBuffer.data();
    }
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive() {
    try {
        if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
            Close();
        }
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
}

void CArchive::ThrowArchive(int cause) const {
    AfxThrowArchiveException(cause, m_strFileName);
}

void CArchive::RequireFile() const {
    if (!m_pFile) {
        ThrowArchive(CArchiveException::genericException);
    }
}

void CArchive::Flush() {
    RequireFile();
    if (IsLoading()) {
        if (m_lpBufMax != m_lpBufCur) {
            m_pFile->Seek(-static_cast<LONGLONG>(m_lpBufMax - m_lpBufCur), CFile::current);
        }
        m_lpBufCur = m_lpBufMax;
        return;
    }
    if (m_lpBufCur != m_lpBufStart) {
        const UINT pending = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
        m_lpBufCur = m_lpBufStart; // dropped even if the write fails, so the destructor does not retry
        m_pFile->Write(m_lpBufStart, pending);
    }
}

void CArchive::Close() {
    RequireFile();
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() {
    m_pFile = nullptr;
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

bool CArchive::TryFillBuffer(size_t needed) {
    RequireFile();
    size_t available = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
    if (available >= needed) {
        return true;
    }
    if (available > 0 && m_lpBufCur != m_lpBufStart) {
        std::memmove(m_lpBufStart, m_lpBufCur, available);
    }
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + available;
    while (available < needed) {
        UINT got = m_pFile->Read(m_lpBufMax, static_cast<UINT>(m_nBufSize - available));
        if (got == 0) {
            return false;
        }
        available += got;
        m_lpBufMax += got;
    }
    return true;
}

void CArchive::FillBuffer(size_t needed) {
    if (!TryFillBuffer(needed)) {
        ThrowArchive(CArchiveException::endOfFile);
    }
}

ULONGLONG CArchive::BytesLeft() {
    const ULONGLONG buffered = static_cast<ULONGLONG>(m_lpBufMax - m_lpBufCur);
    if (m_bLengthUnknown || !m_pFile) {
        return m_pFile ? ULLONG_MAX : buffered;
    }
    try {
        const ULONGLONG length = m_pFile->GetLength();
        const ULONGLONG position = m_pFile->GetPosition();
        return buffered + (length > position ? length - position : 0);
    } catch (CException* e) {
        e->Delete();
        m_bLengthUnknown = true;
        return ULLONG_MAX;
    }
}

void CArchive::ChargeLoadMemory(ULONGLONG bytes) {
    if (bytes > m_nLoadBudget - m_nLoadCharged) {
        ThrowArchive(CArchiveException::genericException);
    }
    m_nLoadCharged += bytes;
}

void CArchive::EnsureAvailable(ULONGLONG bytes) {
    if (bytes > static_cast<ULONGLONG>(m_lpBufMax - m_lpBufCur) && bytes > BytesLeft()) {
        ThrowArchive(CArchiveException::endOfFile);
    }
}

UINT CArchive::Read(void* buffer, UINT count) {
    if (!IsLoading()) {
        ThrowArchive(CArchiveException::writeOnly);
    }
    if (count == 0) {
        return 0;
    }
    RequireFile();
    auto* out = static_cast<BYTE*>(buffer);
    size_t left = count;
    while (left > 0) {
        size_t available = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
        if (available > 0) {
            size_t n = std::min(available, left);
            std::memcpy(out, m_lpBufCur, n);
            m_lpBufCur += n;
            out += n;
            left -= n;
            continue;
        }
        if (left >= m_nBufSize) {
            // Large reads bypass the buffer.
            UINT got = m_pFile->Read(out, static_cast<UINT>(left));
            if (got == 0) {
                break;
            }
            out += got;
            left -= got;
            continue;
        }
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        UINT got = m_pFile->Read(m_lpBufStart, static_cast<UINT>(m_nBufSize));
        if (got == 0) {
            break;
        }
        m_lpBufMax = m_lpBufStart + got;
    }
    return static_cast<UINT>(count - left);
}

void CArchive::Write(const void* buffer, UINT count) {
    if (!IsStoring()) {
        ThrowArchive(CArchiveException::readOnly);
    }
    if (count == 0) {
        return;
    }
    RequireFile();
    const auto* in = static_cast<const BYTE*>(buffer);
    if (count <= static_cast<size_t>(m_lpBufMax - m_lpBufCur)) {
        std::memcpy(m_lpBufCur, in, count);
        m_lpBufCur += count;
        return;
    }
    Flush();
    if (count >= m_nBufSize) {
        m_pFile->Write(in, count);
        return;
    }
    std::memcpy(m_lpBufCur, in, count);
    m_lpBufCur += count;
}

CArchive& CArchive::operator>>(bool& value) {
    BYTE b = 0;
    Get(b);
    value = b != 0;
    return *this;
}

CArchive& CArchive::operator>>(long long& value) {
    LONGLONG v = 0;
    Get(v);
    value = v;
    return *this;
}

CArchive& CArchive::operator>>(unsigned long long& value) {
    ULONGLONG v = 0;
    Get(v);
    value = v;
    return *this;
}

// --------------------------------------------------------------------------------------------------------
// Lines

bool CArchive::TryGetUnit(char16_t& unit) {
    if (!IsLoading()) {
        ThrowArchive(CArchiveException::writeOnly);
    }
    if (!TryFillBuffer(sizeof(char16_t))) {
        m_lpBufCur = m_lpBufMax; // a lone trailing byte is not a unit
        return false;
    }
    std::memcpy(&unit, m_lpBufCur, sizeof(char16_t));
    m_lpBufCur += sizeof(char16_t);
    return true;
}

BOOL CArchive::ReadString(CString& line) {
    std::u16string text;
    bool any = false;
    char16_t unit;
    while (TryGetUnit(unit)) {
        any = true;
        if (unit == u'\n' || unit == u'\r') {
            if (unit == u'\r') {
                TryGetUnit(unit); // the LF of CR LF
            }
            break;
        }
        text += unit;
    }
    line = CString(std::move(text));
    return any ? TRUE : FALSE;
}

LPTSTR CArchive::ReadString(LPTSTR buffer, UINT max) {
    const bool keepNewline = static_cast<int>(max) < 0;
    const UINT stop = keepNewline ? static_cast<UINT>(-static_cast<int>(max)) : max;
    UINT n = 0;
    char16_t unit;
    bool any = false;
    while (n < stop && TryGetUnit(unit)) {
        any = true;
        if (unit == u'\n' || unit == u'\r') {
            if (unit == u'\r') {
                TryGetUnit(unit);
            }
            if (keepNewline) {
                buffer[n++] = unit;
            }
            break;
        }
        buffer[n++] = unit;
    }
    if (!any) {
        return nullptr;
    }
    buffer[n] = 0;
    return buffer;
}

void CArchive::WriteString(LPCTSTR text) {
    if (!text) {
        return;
    }
    size_t units = std::char_traits<char16_t>::length(text);
    for (size_t done = 0; done < units;) {
        size_t n = std::min<size_t>(units - done, 0x10000000);
        Write(text + done, static_cast<UINT>(n * sizeof(char16_t)));
        done += n;
    }
}

// --------------------------------------------------------------------------------------------------------
// Counts and strings

DWORD_PTR CArchive::ReadCount() {
    WORD small = 0;
    *this >> small;
    DWORD_PTR count = small;
    if (small == 0xFFFF) {
        DWORD big = 0;
        *this >> big;
        count = big;
    }
    // Every counted element takes at least one byte, so a count beyond the data left is a lie.
    EnsureAvailable(count);
    return count;
}

void CArchive::WriteCount(DWORD_PTR count) {
    if (count < 0xFFFF) {
        *this << static_cast<WORD>(count);
    } else {
        *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(count);
    }
}

void CArchive::WriteStringLength(ULONGLONG length, bool utf16) {
    if (utf16) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE);
    }
    if (length < 0xFF) {
        *this << static_cast<BYTE>(length);
    } else if (length < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
    }
}

ULONGLONG CArchive::ReadStringLength(int& charSize) {
    charSize = 1;
    BYTE byteLength = 0;
    *this >> byteLength;
    if (byteLength < 0xFF) {
        return byteLength;
    }
    WORD wordLength = 0;
    *this >> wordLength;
    if (wordLength == 0xFFFE) {
        charSize = 2;
        *this >> byteLength;
        if (byteLength < 0xFF) {
            return byteLength;
        }
        *this >> wordLength;
    }
    if (wordLength < 0xFFFF) {
        return wordLength;
    }
    DWORD dwordLength = 0;
    *this >> dwordLength;
    if (dwordLength < 0xFFFFFFFF) {
        return dwordLength;
    }
    ULONGLONG quadLength = 0;
    *this >> quadLength;
    return quadLength;
}

void CArchive::ReadStringData(ULONGLONG length, int charSize, CString& text) {
    if (length > static_cast<ULONGLONG>(INT_MAX)) {
        ThrowArchive(CArchiveException::endOfFile); // no real file holds such a string
    }
    EnsureAvailable(length * static_cast<ULONGLONG>(charSize));
    const size_t total = static_cast<size_t>(length);
    if (charSize == 1) {
        std::string bytes;
        while (bytes.size() < total) {
            size_t done = bytes.size();
            size_t n = std::min(total - done, kStringChunk);
            bytes.resize(done + n);
            if (Read(bytes.data() + done, static_cast<UINT>(n)) != n) {
                ThrowArchive(CArchiveException::endOfFile);
            }
        }
        text = CString(Cp1252ToUtf16(bytes));
        return;
    }
    std::u16string units;
    while (units.size() < total) {
        size_t done = units.size();
        size_t n = std::min(total - done, kStringChunk);
        units.resize(done + n);
        const UINT bytes = static_cast<UINT>(n * sizeof(char16_t));
        if (Read(units.data() + done, bytes) != bytes) {
            ThrowArchive(CArchiveException::endOfFile);
        }
    }
    text = CString(std::move(units));
}

CArchive& operator<<(CArchive& ar, const CString& text) {
    if (ar.m_bSingleByteStrings) {
        const std::string bytes = Utf16ToCp1252(text.str());
        ar.WriteStringLength(bytes.size(), false);
        ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    } else {
        ar.WriteStringLength(static_cast<ULONGLONG>(text.GetLength()), true);
        ar.Write(text.GetString(),
                 static_cast<UINT>(static_cast<size_t>(text.GetLength()) * sizeof(char16_t)));
    }
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& text) {
    int charSize = 1;
    const ULONGLONG length = ar.ReadStringLength(charSize);
    ar.ReadStringData(length, charSize, text);
    return ar;
}

CArchive& operator<<(CArchive& ar, LPCTSTR text) {
    return ar << CString(text);
}

CArchive& operator<<(CArchive& ar, LPCSTR text) {
    return ar << CString(text);
}

// --------------------------------------------------------------------------------------------------------
// Object graphs

UINT CArchive::GetObjectSchema() {
    UINT schema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return schema;
}

void CArchive::CheckCount() const {
    if (m_nMapCount >= kMaxMapCount) {
        ThrowArchive(CArchiveException::badIndex);
    }
}

void CArchive::MapObject(const CObject* object) {
    if (!m_bMapStarted) {
        m_bMapStarted = true;
        m_nMapCount = 1;
        if (IsLoading()) {
            m_loadArray.assign(1, LoadEntry{nullptr, false});
        }
    }
    if (!object) {
        return;
    }
    CheckCount();
    if (IsStoring()) {
        m_storeMap[object] = m_nMapCount++;
    } else {
        m_loadArray.push_back(LoadEntry{const_cast<CObject*>(object), false});
        ++m_nMapCount;
    }
}

void CArchive::SetStoreParams(UINT hashSize, UINT) {
    if (IsStoring() && m_storeMap.empty()) {
        m_storeMap.reserve(hashSize);
    }
}

void CArchive::SetLoadParams(UINT growBy) {
    if (IsLoading() && m_loadArray.size() <= 1) {
        m_loadArray.reserve(growBy);
    }
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    if (!IsStoring()) {
        ThrowArchive(CArchiveException::readOnly);
    }
    if (!cls || cls->m_wSchema == 0xFFFF) {
        AfxThrowNotSupportedException(); // not a serialisable class
    }
    MapObject(nullptr);
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag << (kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    cls->Store(*this);
    CheckCount();
    m_storeMap[cls] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* object) {
    if (!IsStoring()) {
        ThrowArchive(CArchiveException::readOnly);
    }
    MapObject(nullptr);
    if (!object) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(object);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag << index;
        }
        return;
    }
    WriteClass(object->GetRuntimeClass());
    CheckCount();
    // Numbered before its data, so that references back to it from inside are written as references.
    m_storeMap[object] = m_nMapCount++;
    const_cast<CObject*>(object)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schema, DWORD* obTag) {
    if (!IsLoading()) {
        ThrowArchive(CArchiveException::writeOnly);
    }
    if (requested && requested->m_wSchema == 0xFFFF) {
        AfxThrowNotSupportedException(); // such a class cannot be in an archive
    }
    MapObject(nullptr);

    WORD tag = 0;
    *this >> tag;
    DWORD objectTag;
    if (tag == kBigObjectTag) {
        *this >> objectTag;
    } else {
        objectTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }

    if (!(objectTag & kBigClassTag)) {
        // An object reference: only a caller that can take one gets it.
        if (!obTag) {
            ThrowArchive(CArchiveException::badIndex);
        }
        *obTag = objectTag;
        return nullptr;
    }

    CRuntimeClass* cls = nullptr;
    UINT classSchema = 0;
    if (tag == kNewClassTag) {
        cls = CRuntimeClass::Load(*this, &classSchema);
        // Classes that cannot be written cannot be read either; refusing them keeps a corrupt archive from
        // creating arbitrary registered objects.
        if (!cls || cls->m_wSchema == 0xFFFF) {
            ThrowArchive(CArchiveException::badClass);
        }
        if ((cls->m_wSchema & ~VERSIONABLE_SCHEMA) != classSchema) {
            if (!(cls->m_wSchema & VERSIONABLE_SCHEMA)) {
                ThrowArchive(CArchiveException::badSchema);
            }
            m_schemaMap[cls] = classSchema;
        }
        CheckCount();
        m_loadArray.push_back(LoadEntry{cls, true});
        ++m_nMapCount;
    } else {
        const DWORD index = objectTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass) {
            ThrowArchive(CArchiveException::badIndex);
        }
        cls = static_cast<CRuntimeClass*>(m_loadArray[index].pointer);
        auto found = m_schemaMap.find(cls);
        classSchema = found != m_schemaMap.end() ? found->second : (cls->m_wSchema & ~VERSIONABLE_SCHEMA);
    }

    if (requested && !cls->IsDerivedFrom(requested)) {
        ThrowArchive(CArchiveException::badClass);
    }
    if (schema) {
        *schema = classSchema;
    } else {
        m_nObjectSchema = classSchema;
    }
    if (obTag) {
        *obTag = objectTag;
    }
    return cls;
}

void CArchive::SerializeClass(const CRuntimeClass* cls) {
    if (IsStoring()) {
        WriteClass(cls);
    } else {
        ReadClass(cls, &m_nObjectSchema);
    }
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    if (!IsLoading()) {
        ThrowArchive(CArchiveException::writeOnly);
    }
    if (m_bSingleOwner) {
        return ReadOwnedObject(requested);
    }
    UINT schema = 0;
    DWORD objectTag = 0;
    CRuntimeClass* cls = ReadClass(requested, &schema, &objectTag);

    if (!cls) {
        if (objectTag >= m_loadArray.size() || m_loadArray[objectTag].isClass) {
            ThrowArchive(CArchiveException::badIndex);
        }
        auto* object = static_cast<CObject*>(m_loadArray[objectTag].pointer);
        if (object && requested && !object->IsKindOf(requested)) {
            ThrowArchive(CArchiveException::badClass);
        }
        return object;
    }

    return LoadNewObject(cls, schema, false);
}

CObject* CArchive::ReadOwnedObject(const CRuntimeClass* requested) {
    if (!IsLoading()) {
        ThrowArchive(CArchiveException::writeOnly);
    }
    UINT schema = 0;
    DWORD objectTag = 0;
    CRuntimeClass* cls = ReadClass(requested, &schema, &objectTag);
    if (!cls) {
        if (objectTag != 0) {
            ThrowArchive(CArchiveException::badIndex);
        }
        return nullptr;
    }
    return LoadNewObject(cls, schema, true);
}

CObject* CArchive::LoadNewObject(CRuntimeClass* cls, UINT schema, bool owned) {
    CheckCount();
    CObject* object = cls->CreateObject();
    if (!object) {
        ThrowArchive(CArchiveException::badClass);
    }
    // Numbered before its data, so that references back to it resolve while it loads.
    const size_t index = m_loadArray.size();
    m_loadArray.push_back(LoadEntry{object, false});
    ++m_nMapCount;
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(++d) {}
        ~DepthGuard() { --depth; }
    } guard(m_nDepth);
    const UINT savedSchema = m_nObjectSchema;
    try {
        if (m_nDepth > kMaxObjectDepth) {
            ThrowArchive(CArchiveException::genericException);
        }
        m_nObjectSchema = schema;
        object->Serialize(*this);
    } catch (...) {
        m_nObjectSchema = savedSchema;
        if (owned || m_bSingleOwner) {
            m_loadArray[index].pointer = nullptr;
            delete object;
        }
        throw;
    }
    m_nObjectSchema = savedSchema;
    return object;
}

CArchive& operator<<(CArchive& ar, const CObject* object) {
    ar.WriteObject(object);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& object) {
    object = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& object) {
    object = ar.ReadObject(nullptr);
    return ar;
}
