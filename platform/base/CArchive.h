// The framework's archive: binary serialisation of values, strings and object graphs through a CFile, in
// the original framework's byte format, so that document files and grid layouts are interchangeable with
// the original program's.
//
// Format (little-endian):
//   object reference  WORD 0 for null; WORD index (< 0x7FFF) or WORD 0x7FFF + DWORD index for an object
//                     already in the archive; otherwise the object's class followed by its Serialize data.
//   class reference   WORD 0x8000|index (index < 0x7FFF) or WORD 0x7FFF + DWORD 0x80000000|index for a
//                     class already in the archive; otherwise WORD 0xFFFF, WORD schema, WORD name length and
//                     the name's bytes. Classes and objects share one numbering, starting at 1 (0 is null).
//   count             WORD (< 0xFFFF) or WORD 0xFFFF + DWORD.
//   string            single-byte (Windows-1252): length as BYTE (< 0xFF), or 0xFF + WORD (< 0xFFFE), or
//                     0xFF + WORD 0xFFFF + DWORD, then the bytes. UTF-16: 0xFF + WORD 0xFFFE, then the length
//                     in the same form, then the units.
//
// Every reader checks what it reads against what the archive can hold: when the file's length is known a
// count or string length beyond the remaining bytes raises CArchiveException endOfFile before anything is
// allocated; otherwise strings are read in bounded pieces. Indexes outside the objects and classes read so
// far raise badIndex. Objects nested more than 2048 deep raise genericException instead of exhausting the
// stack. Loaded objects belong to the caller, also when loading fails half-way (unless the archive is told
// that every object has one owner: SetSingleOwnerObjects).
#pragma once

#include "platform/base/CFile.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Win32Types.h"

#include <cstring>
#include <unordered_map>
#include <vector>

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    // Closes the archive (flushing a storing one) unless bNoFlushOnDelete; never throws.
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // The schema of the object being loaded, once; then (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema) { m_nObjectSchema = schema; }

    // The document being read or written. Classes that serialise on behalf of another object may put that
    // object here for the objects they contain (the grid puts its styles map there), so it is any object.
    CObject* m_pDocument;

    // Storing: writes the buffer out. Loading: gives unread buffered bytes back to the file.
    void Flush();
    // Flushes and detaches from the file.
    void Close();
    // Detaches from the file without writing anything; never throws.
    void Abort();

    // Answers the bytes read, fewer at the end of the data.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    // Lines of UTF-16 units. ReadString(CString&) drops the line end and answers FALSE at the end of the
    // data. ReadString(buffer, max) reads up to max units into a buffer of max + 1 units, without the line
    // end; a "negative" max (-(int)n as UINT) reads up to n units and keeps the "\n". Null at the end.
    BOOL ReadString(CString& line);
    LPTSTR ReadString(LPTSTR buffer, UINT max);
    // The units without a terminator or line end.
    void WriteString(LPCTSTR text);

    // Null for a null reference. Raises badClass for an unknown class, a class not derived from requested
    // or an object of the wrong class; badSchema for a schema the class does not accept; badIndex for an
    // index that names nothing read so far.
    CObject* ReadObject(const CRuntimeClass* requested);
    // For an owning container: a new object only. A null reference answers null; a reference to an object
    // read before (which someone owns already) raises badIndex; an object whose loading fails is deleted
    // before the exception goes on, so a failed load leaves nothing behind.
    CObject* ReadOwnedObject(const CRuntimeClass* requested);
    void WriteObject(const CObject* object);
    // A class reference. Without obTag an object reference raises badIndex; with it the object's index is
    // stored there and the answer is null. The schema read goes to *schema, or else to GetObjectSchema.
    CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr, UINT* schema = nullptr,
                             DWORD* obTag = nullptr);
    void WriteClass(const CRuntimeClass* cls);
    void SerializeClass(const CRuntimeClass* cls);
    // Gives an object an index without writing it, so that later references to it are written as such.
    void MapObject(const CObject* object);

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR count);

    void SetStoreParams(UINT hashSize = 2053, UINT blockSize = 128);
    void SetLoadParams(UINT growBy = 1024);

    // For formats in which every object has exactly one owner (a grid layout): every ReadObject, also the
    // ones inside the objects' own Serialize, reads as ReadOwnedObject does, so that a damaged archive
    // leaves nothing behind. Off by default: graphs may share and cycle.
    void SetSingleOwnerObjects(bool singleOwner) { m_bSingleOwner = singleOwner; }
    bool IsSingleOwnerObjects() const { return m_bSingleOwner; }

    // Strings are stored in the UTF-16 form by default; a layout writer can ask for the single-byte form.
    void SetStringForm(bool singleByte) { m_bSingleByteStrings = singleByte; }
    bool IsSingleByteStringForm() const { return m_bSingleByteStrings; }

    // Raises endOfFile when the archive knows that fewer than the given number of bytes remain. Readers
    // call it before allocating room for data they are about to read.
    void EnsureAvailable(ULONGLONG bytes);
    // Readers that build more in memory than they read (sparse arrays sized by an index) charge what they
    // allocate here; past the budget, 64 MB unless set, loading stops with genericException.
    void ChargeLoadMemory(ULONGLONG bytes);
    void SetLoadMemoryBudget(ULONGLONG bytes) { m_nLoadBudget = bytes; }

    CArchive& operator<<(BYTE value) { return Put(value); }
    CArchive& operator<<(WORD value) { return Put(value); }
    CArchive& operator<<(LONG value) { return Put(value); }  // also int
    CArchive& operator<<(DWORD value) { return Put(value); } // also unsigned
    CArchive& operator<<(float value) { return Put(value); }
    CArchive& operator<<(double value) { return Put(value); }
    CArchive& operator<<(short value) { return Put(value); }
    CArchive& operator<<(char value) { return Put(value); }
    CArchive& operator<<(bool value) { return Put(static_cast<BYTE>(value ? 1 : 0)); }
    CArchive& operator<<(LONGLONG value) { return Put(value); }
    CArchive& operator<<(ULONGLONG value) { return Put(value); }
    CArchive& operator<<(long long value) { return Put(static_cast<LONGLONG>(value)); }
    CArchive& operator<<(unsigned long long value) { return Put(static_cast<ULONGLONG>(value)); }
    CArchive& operator<<(char16_t value) { return Put(value); }

    CArchive& operator>>(BYTE& value) { return Get(value); }
    CArchive& operator>>(WORD& value) { return Get(value); }
    CArchive& operator>>(LONG& value) { return Get(value); }
    CArchive& operator>>(DWORD& value) { return Get(value); }
    CArchive& operator>>(float& value) { return Get(value); }
    CArchive& operator>>(double& value) { return Get(value); }
    CArchive& operator>>(short& value) { return Get(value); }
    CArchive& operator>>(char& value) { return Get(value); }
    CArchive& operator>>(bool& value);
    CArchive& operator>>(LONGLONG& value) { return Get(value); }
    CArchive& operator>>(ULONGLONG& value) { return Get(value); }
    CArchive& operator>>(long long& value);
    CArchive& operator>>(unsigned long long& value);
    CArchive& operator>>(char16_t& value) { return Get(value); }

    friend CArchive& operator<<(CArchive& ar, const CObject* object);
    friend CArchive& operator>>(CArchive& ar, CObject*& object);
    friend CArchive& operator>>(CArchive& ar, const CObject*& object);
    friend CArchive& operator<<(CArchive& ar, const CString& text);
    friend CArchive& operator>>(CArchive& ar, CString& text);

private:
    struct LoadEntry {
        void* pointer;
        bool isClass;
    };

    template <class T>
    CArchive& Put(T value) {
        if (!IsStoring()) {
            ThrowArchive(CArchiveException::readOnly);
        }
        if (static_cast<size_t>(m_lpBufMax - m_lpBufCur) < sizeof(T)) {
            Flush();
        }
        std::memcpy(m_lpBufCur, &value, sizeof(T));
        m_lpBufCur += sizeof(T);
        return *this;
    }

    template <class T>
    CArchive& Get(T& value) {
        if (!IsLoading()) {
            ThrowArchive(CArchiveException::writeOnly);
        }
        if (static_cast<size_t>(m_lpBufMax - m_lpBufCur) < sizeof(T)) {
            FillBuffer(sizeof(T));
        }
        std::memcpy(&value, m_lpBufCur, sizeof(T));
        m_lpBufCur += sizeof(T);
        return *this;
    }

    [[noreturn]] void ThrowArchive(int cause) const;
    void RequireFile() const;
    // Makes at least `needed` bytes available in the buffer; false when the data ends first.
    bool TryFillBuffer(size_t needed);
    void FillBuffer(size_t needed);
    // One UTF-16 unit for the line readers; false at the end of the data.
    bool TryGetUnit(char16_t& unit);
    // Bytes left to read, or ULLONG_MAX when the file cannot tell.
    ULONGLONG BytesLeft();
    void CheckCount() const;
    void WriteStringLength(ULONGLONG length, bool utf16);
    ULONGLONG ReadStringLength(int& charSize);
    void ReadStringData(ULONGLONG length, int charSize, CString& text);
    // Creates, numbers and loads an object of a class just read.
    CObject* LoadNewObject(CRuntimeClass* cls, UINT schema, bool owned);

    CFile* m_pFile;
    UINT m_nMode;
    bool m_bSingleByteStrings = false;
    bool m_bSingleOwner = false;
    ULONGLONG m_nLoadBudget = 64ull << 20;
    ULONGLONG m_nLoadCharged = 0;
    bool m_bLengthUnknown = false;
    CString m_strFileName;
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    int m_nDepth = 0; // objects being loaded inside one another

    std::vector<BYTE> m_ownBuffer;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    size_t m_nBufSize;

    // Store side: index of every class and object written; load side: everything read, by index.
    bool m_bMapStarted = false;
    DWORD m_nMapCount = 0;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
    // Stored schemas of versionable classes that differ from the class's own.
    std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
};

CArchive& operator<<(CArchive& ar, const CString& text);
CArchive& operator>>(CArchive& ar, CString& text);
// Literals would otherwise go to the bool insertion.
CArchive& operator<<(CArchive& ar, LPCTSTR text);
CArchive& operator<<(CArchive& ar, LPCSTR text);
