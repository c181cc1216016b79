// The framework's collection templates: CArray, CList, CMap and the typed pointer wrappers, with the element
// hooks (ConstructElements, DestructElements, CopyElements, SerializeElements, CompareElements, HashKey)
// that the program's code may specialise.
//
// Index and position errors are programming errors. They never touch memory outside the collection:
// reads outside an array or from an empty list answer a default element (a per-thread scratch value for
// the reference-returning members), writes there are ignored, RemoveAt clamps its count, and InsertAt or
// SetAtGrow past the end grow the array as the framework does. Positions must come from the collection
// they are used with.
//
// Nodes and associations are allocated one by one; the block size argument is accepted for source
// compatibility only.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Win32Types.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))

// ---------------------------------------------------------------------------------------------------------
// Element hooks

// New elements are zero-filled, then default-constructed.
template <class TYPE>
inline void ConstructElements(TYPE* elements, INT_PTR count) {
    if (count <= 0) {
        return;
    }
    std::memset(static_cast<void*>(elements), 0, static_cast<size_t>(count) * sizeof(TYPE));
    if constexpr (!std::is_trivially_default_constructible_v<TYPE>) {
        for (INT_PTR i = 0; i < count; ++i) {
            ::new (static_cast<void*>(elements + i)) TYPE();
        }
    }
}

template <class TYPE>
inline void DestructElements(TYPE* elements, INT_PTR count) {
    if constexpr (!std::is_trivially_destructible_v<TYPE>) {
        for (INT_PTR i = 0; i < count; ++i) {
            elements[i].~TYPE();
        }
    }
}

template <class TYPE>
inline void CopyElements(TYPE* dest, const TYPE* source, INT_PTR count) {
    for (INT_PTR i = 0; i < count; ++i) {
        dest[i] = source[i];
    }
}

template <class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* element1, const ARG_TYPE* element2) {
    return *element1 == *element2 ? TRUE : FALSE;
}

namespace collection_detail {

template <class T>
inline constexpr bool kIsObjectPointer = false;
template <class T>
inline constexpr bool kIsObjectPointer<T*> = std::is_base_of_v<CObject, std::remove_cv_t<T>>;

template <class>
inline constexpr bool kDependentFalse = false;

[[noreturn]] inline void ThrowEndOfFile(CArchive& ar) {
    const CFile* file = ar.GetFile();
    const CString path = file ? file->GetFilePath() : CString();
    AfxThrowArchiveException(CArchiveException::endOfFile, path.IsEmpty() ? nullptr : path.GetString());
}

// Raw little-endian element bytes, in pieces the archive's UINT counts can carry.
inline void WriteRaw(CArchive& ar, const void* data, size_t bytes) {
    const auto* p = static_cast<const BYTE*>(data);
    while (bytes > 0) {
        const UINT piece = static_cast<UINT>(std::min<size_t>(bytes, 1u << 30));
        ar.Write(p, piece);
        p += piece;
        bytes -= piece;
    }
}

inline void ReadRaw(CArchive& ar, void* data, size_t bytes) {
    auto* p = static_cast<BYTE*>(data);
    while (bytes > 0) {
        const UINT piece = static_cast<UINT>(std::min<size_t>(bytes, 1u << 30));
        if (ar.Read(p, piece) != piece) {
            ThrowEndOfFile(ar);
        }
        p += piece;
        bytes -= piece;
    }
}

// What reference-returning accessors answer for an index or position that is not there.
template <class T>
T& OutOfRangeSlot() {
    static thread_local T slot{};
    slot = T();
    return slot;
}

// Storage for one element whose construction and destruction go through the element hooks.
template <class T>
struct Slot {
    alignas(T) unsigned char bytes[sizeof(T)];
    T* get() { return std::launder(reinterpret_cast<T*>(bytes)); }
    const T* get() const { return std::launder(reinterpret_cast<const T*>(bytes)); }
};

// Allocation failures surface as the framework's memory exception.
template <class T>
std::unique_ptr<T> MakeZeroed() {
    try {
        return std::make_unique<T>();
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

template <class T>
std::unique_ptr<T[]> MakeZeroedArray(size_t count) {
    try {
        return std::make_unique<T[]>(count);
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

// Elements read per step while loading an array, so a corrupt count cannot allocate much before the
// archive runs out of data.
inline constexpr INT_PTR kLoadChunk = 1024;

} // namespace collection_detail

// Objects go through the archive's object references, strings through its string form, plain values as
// their little-endian bytes, other types through their archive operators; a type with none of these must
// specialise this hook to be serialised (otherwise CNotSupportedException).
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* elements, INT_PTR count) {
    if (count <= 0) {
        return;
    }
    if constexpr (collection_detail::kIsObjectPointer<TYPE>) {
        for (INT_PTR i = 0; i < count; ++i) {
            if (ar.IsStoring()) {
                ar.WriteObject(elements[i]);
            } else {
                CObject* object = ar.ReadObject(nullptr);
                auto typed = dynamic_cast<TYPE>(object);
                if (object && !typed) {
                    AfxThrowArchiveException(CArchiveException::badClass);
                }
                elements[i] = typed;
            }
        }
    } else if constexpr (std::is_same_v<TYPE, CString>) {
        for (INT_PTR i = 0; i < count; ++i) {
            if (ar.IsStoring()) {
                ar << elements[i];
            } else {
                ar >> elements[i];
            }
        }
    } else if constexpr (std::is_trivially_copyable_v<TYPE>) {
        const size_t bytes = static_cast<size_t>(count) * sizeof(TYPE);
        if (ar.IsStoring()) {
            collection_detail::WriteRaw(ar, elements, bytes);
        } else {
            collection_detail::ReadRaw(ar, elements, bytes);
        }
    } else if constexpr (requires(CArchive & a, TYPE & e) {
                             a << e;
                             a >> e;
                         }) {
        for (INT_PTR i = 0; i < count; ++i) {
            if (ar.IsStoring()) {
                ar << elements[i];
            } else {
                ar >> elements[i];
            }
        }
    } else {
        // Reached only when such an array is actually serialised without a specialisation.
        AfxThrowNotSupportedException();
    }
}

// ---------------------------------------------------------------------------------------------------------
// Hashing of map keys: strings h = h * 33 + unit; integers and pointers (low 32 bits) shifted right by 4.

template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
    using K = std::remove_cvref_t<ARG_KEY>;
    if constexpr (std::is_pointer_v<K>) {
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key)) >> 4;
    } else if constexpr (std::is_integral_v<K> || std::is_enum_v<K>) {
        return static_cast<UINT>(static_cast<UINT_PTR>(key)) >> 4;
    } else {
        static_assert(collection_detail::kDependentFalse<K>, "specialise HashKey for this key type");
        return 0;
    }
}

template <>
inline UINT HashKey<LPCTSTR>(LPCTSTR key) {
    UINT hash = 0;
    if (key) {
        while (*key) {
            hash = (hash << 5) + hash + static_cast<UINT>(*key++);
        }
    }
    return hash;
}

// Narrow units count as signed, as they did for the original compiler's char.
template <>
inline UINT HashKey<LPCSTR>(LPCSTR key) {
    UINT hash = 0;
    if (key) {
        while (*key) {
            hash = (hash << 5) + hash + static_cast<UINT>(static_cast<int>(static_cast<signed char>(*key++)));
        }
    }
    return hash;
}

template <>
inline UINT HashKey<LPTSTR>(LPTSTR key) {
    return HashKey<LPCTSTR>(key);
}

template <>
inline UINT HashKey<LPSTR>(LPSTR key) {
    return HashKey<LPCSTR>(key);
}

template <>
inline UINT HashKey<const CString&>(const CString& key) {
    return HashKey<LPCTSTR>(key.GetString());
}

template <>
inline UINT HashKey<CString>(CString key) {
    return HashKey<LPCTSTR>(key.GetString());
}

// ---------------------------------------------------------------------------------------------------------

// Growth: with no explicit increment (growBy 0, the default) capacity grows by size/8 clamped to 4..1024,
// to at least the new size; the first allocation is max(new size, growBy). Shrinking keeps the storage
// until FreeExtra or SetSize(0).
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    using BASE_TYPE = TYPE;
    using BASE_ARG_TYPE = ARG_TYPE;

    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    ~CArray() override { Release(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    // Allocated element slots (this layer's addition, for tests and tuning).
    INT_PTR GetCapacity() const { return m_nMaxSize; }

    void SetSize(INT_PTR newSize, INT_PTR growBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR index) const { return InRange(index) ? m_pData[index] : Missing(); }
    TYPE& GetAt(INT_PTR index) { return InRange(index) ? m_pData[index] : Missing(); }
    void SetAt(INT_PTR index, ARG_TYPE newElement) {
        if (InRange(index)) {
            m_pData[index] = newElement;
        }
    }
    const TYPE& ElementAt(INT_PTR index) const { return GetAt(index); }
    TYPE& ElementAt(INT_PTR index) { return GetAt(index); }
    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
    TYPE& operator[](INT_PTR index) { return GetAt(index); }

    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR index, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement) {
        const INT_PTR index = m_nSize;
        SetAtGrow(index, newElement);
        return index;
    }
    // Answers the index of the first appended element.
    INT_PTR Append(const CArray& source);
    void Copy(const CArray& source);

    void InsertAt(INT_PTR index, ARG_TYPE newElement, INT_PTR count = 1);
    void InsertAt(INT_PTR startIndex, CArray* newArray);
    void RemoveAt(INT_PTR index, INT_PTR count = 1);

    void Serialize(CArchive& ar) override;

protected:
    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;

private:
    bool InRange(INT_PTR index) const { return index >= 0 && index < m_nSize; }
    static TYPE& Missing() { return collection_detail::OutOfRangeSlot<TYPE>(); }
    static TYPE* Allocate(INT_PTR count) {
        try {
            return std::allocator<TYPE>().allocate(static_cast<size_t>(count));
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
    }
    // index + count as a size, or the memory exception when no array could be that large.
    static INT_PTR SizeFor(INT_PTR index, INT_PTR count) {
        if (index > PTRDIFF_MAX - count) {
            AfxThrowMemoryException();
        }
        return index + count;
    }
    static void Deallocate(TYPE* data, INT_PTR count) {
        if (data) {
            std::allocator<TYPE>().deallocate(data, static_cast<size_t>(count));
        }
    }
    // Moves count elements into raw slots, leaving the sources destroyed; ascending order.
    static void Relocate(TYPE* dest, TYPE* source, INT_PTR count) {
        if (count <= 0) {
            return;
        }
        if constexpr (std::is_trivially_copyable_v<TYPE>) {
            std::memmove(static_cast<void*>(dest), static_cast<const void*>(source),
                         static_cast<size_t>(count) * sizeof(TYPE));
        } else {
            for (INT_PTR i = 0; i < count; ++i) {
                ::new (static_cast<void*>(dest + i)) TYPE(std::move(source[i]));
                source[i].~TYPE();
            }
        }
    }
    // Same, descending, for moving a run up into overlapping slots.
    static void RelocateUp(TYPE* dest, TYPE* source, INT_PTR count) {
        if (count <= 0) {
            return;
        }
        if constexpr (std::is_trivially_copyable_v<TYPE>) {
            std::memmove(static_cast<void*>(dest), static_cast<const void*>(source),
                         static_cast<size_t>(count) * sizeof(TYPE));
        } else {
            for (INT_PTR i = count - 1; i >= 0; --i) {
                ::new (static_cast<void*>(dest + i)) TYPE(std::move(source[i]));
                source[i].~TYPE();
            }
        }
    }
    void Release() {
        DestructElements<TYPE>(m_pData, m_nSize);
        Deallocate(m_pData, m_nMaxSize);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }
    // Makes room for newSize elements by the growth rule; constructs nothing.
    void Reserve(INT_PTR newSize);
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reserve(INT_PTR newSize) {
    if (newSize <= m_nMaxSize) {
        return;
    }
    INT_PTR newMax;
    if (!m_pData) {
        newMax = std::max(newSize, m_nGrowBy);
    } else {
        INT_PTR growBy = m_nGrowBy;
        if (growBy == 0) {
            growBy = std::clamp<INT_PTR>(m_nSize / 8, 4, 1024);
        }
        const bool stepFits = growBy <= PTRDIFF_MAX - m_nMaxSize;
        newMax = stepFits && newSize < m_nMaxSize + growBy ? m_nMaxSize + growBy : newSize;
    }
    TYPE* data = Allocate(newMax);
    Relocate(data, m_pData, m_nSize);
    Deallocate(m_pData, m_nMaxSize);
    m_pData = data;
    m_nMaxSize = newMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR newSize, INT_PTR growBy) {
    if (newSize < 0) {
        return;
    }
    if (growBy >= 0) {
        m_nGrowBy = growBy;
    }
    if (newSize == 0) {
        Release();
        return;
    }
    if (newSize > m_nSize) {
        Reserve(newSize);
        ConstructElements<TYPE>(m_pData + m_nSize, newSize - m_nSize);
    } else {
        DestructElements<TYPE>(m_pData + newSize, m_nSize - newSize);
    }
    m_nSize = newSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize == m_nMaxSize) {
        return;
    }
    if (m_nSize == 0) {
        Release();
        return;
    }
    TYPE* data = Allocate(m_nSize);
    Relocate(data, m_pData, m_nSize);
    Deallocate(m_pData, m_nMaxSize);
    m_pData = data;
    m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR index, ARG_TYPE newElement) {
    if (index < 0) {
        return;
    }
    if (index >= m_nSize) {
        TYPE value(newElement); // newElement may live in this array's storage
        SetSize(SizeFor(index, 1), -1);
        m_pData[index] = std::move(value);
        return;
    }
    m_pData[index] = newElement;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& source) {
    const INT_PTR oldSize = m_nSize;
    const INT_PTR count = source.m_nSize;
    SetSize(oldSize + count);
    CopyElements<TYPE>(m_pData + oldSize, &source == this ? m_pData : source.m_pData, count);
    return oldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& source) {
    if (&source == this) {
        return;
    }
    SetSize(source.m_nSize);
    CopyElements<TYPE>(m_pData, source.m_pData, source.m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR index, ARG_TYPE newElement, INT_PTR count) {
    if (index < 0 || count <= 0) {
        return;
    }
    TYPE value(newElement); // newElement may live in this array's storage
    if (index >= m_nSize) {
        SetSize(SizeFor(index, count), -1);
    } else {
        Reserve(SizeFor(m_nSize, count));
        RelocateUp(m_pData + index + count, m_pData + index, m_nSize - index);
        ConstructElements<TYPE>(m_pData + index, count);
        m_nSize += count;
    }
    for (INT_PTR i = 0; i < count; ++i) {
        m_pData[index + i] = value;
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR startIndex, CArray* newArray) {
    if (!newArray || newArray->m_nSize == 0 || startIndex < 0) {
        return;
    }
    std::vector<TYPE> values(newArray->m_pData, newArray->m_pData + newArray->m_nSize);
    InsertAt(startIndex, values[0], static_cast<INT_PTR>(values.size()));
    for (size_t i = 1; i < values.size(); ++i) {
        m_pData[startIndex + static_cast<INT_PTR>(i)] = values[i];
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR index, INT_PTR count) {
    if (!InRange(index) || count <= 0) {
        return;
    }
    count = std::min(count, m_nSize - index);
    DestructElements<TYPE>(m_pData + index, count);
    Relocate(m_pData + index, m_pData + index + count, m_nSize - index - count);
    m_nSize -= count;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
        SerializeElements<TYPE>(ar, m_pData, m_nSize);
        return;
    }
    const DWORD_PTR count = ar.ReadCount();
    SetSize(0, -1);
    // Grow as the data arrives; on an archive error the elements not yet read stay default.
    INT_PTR done = 0;
    while (static_cast<DWORD_PTR>(done) < count) {
        const INT_PTR step = static_cast<INT_PTR>(
            std::min<DWORD_PTR>(count - static_cast<DWORD_PTR>(done),
                                static_cast<DWORD_PTR>(std::max(collection_detail::kLoadChunk, done))));
        SetSize(done + step, -1);
        SerializeElements<TYPE>(ar, m_pData + done, step);
        done += step;
    }
}

// ---------------------------------------------------------------------------------------------------------

// Doubly linked list; a POSITION is a node.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        collection_detail::Slot<TYPE> slot;
        TYPE& data() { return *slot.get(); }
    };

public:
    using BASE_TYPE = TYPE;
    using BASE_ARG_TYPE = ARG_TYPE;

    explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead ? m_pNodeHead->data() : Missing(); }
    const TYPE& GetHead() const { return m_pNodeHead ? m_pNodeHead->data() : Missing(); }
    TYPE& GetTail() { return m_pNodeTail ? m_pNodeTail->data() : Missing(); }
    const TYPE& GetTail() const { return m_pNodeTail ? m_pNodeTail->data() : Missing(); }

    TYPE RemoveHead();
    TYPE RemoveTail();
    POSITION AddHead(ARG_TYPE newElement) { return Link(NewNode(newElement), nullptr, m_pNodeHead); }
    POSITION AddTail(ARG_TYPE newElement) { return Link(NewNode(newElement), m_pNodeTail, nullptr); }
    // Adds the elements of another list (this list too) keeping their order.
    void AddHead(CList* newList);
    void AddTail(CList* newList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& position) { return Step(position, true); }
    const TYPE& GetNext(POSITION& position) const { return Step(position, true); }
    TYPE& GetPrev(POSITION& position) { return Step(position, false); }
    const TYPE& GetPrev(POSITION& position) const { return Step(position, false); }

    TYPE& GetAt(POSITION position) { return position ? ToNode(position)->data() : Missing(); }
    const TYPE& GetAt(POSITION position) const { return position ? ToNode(position)->data() : Missing(); }
    void SetAt(POSITION position, ARG_TYPE newElement) {
        if (position) {
            ToNode(position)->data() = newElement;
        }
    }
    void RemoveAt(POSITION position);

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
    POSITION FindIndex(INT_PTR index) const;

    void Serialize(CArchive& ar) override;

protected:
    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;

private:
    static TYPE& Missing() { return collection_detail::OutOfRangeSlot<TYPE>(); }
    static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
    static CNode* ToNode(POSITION position) { return reinterpret_cast<CNode*>(position); }

    TYPE& Step(POSITION& position, bool forward) const {
        if (!position) {
            return Missing();
        }
        CNode* node = ToNode(position);
        position = ToPosition(forward ? node->pNext : node->pPrev);
        return node->data();
    }
    static CNode* NewNode(ARG_TYPE value) {
        auto node = collection_detail::MakeZeroed<CNode>();
        ConstructElements<TYPE>(node->slot.get(), 1);
        try {
            node->data() = value;
        } catch (...) {
            DestructElements<TYPE>(node->slot.get(), 1);
            throw;
        }
        return node.release();
    }
    POSITION Link(CNode* node, CNode* prev, CNode* next) {
        node->pPrev = prev;
        node->pNext = next;
        (prev ? prev->pNext : m_pNodeHead) = node;
        (next ? next->pPrev : m_pNodeTail) = node;
        ++m_nCount;
        return ToPosition(node);
    }
    void Unlink(CNode* node) {
        (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
        (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
        --m_nCount;
        DestructElements<TYPE>(node->slot.get(), 1);
        delete node;
    }
};

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
    if (!m_pNodeHead) {
        return TYPE();
    }
    TYPE value(std::move(m_pNodeHead->data()));
    Unlink(m_pNodeHead);
    return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
    if (!m_pNodeTail) {
        return TYPE();
    }
    TYPE value(std::move(m_pNodeTail->data()));
    Unlink(m_pNodeTail);
    return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* newList) {
    if (!newList) {
        return;
    }
    // Walk back from the other list's tail; counting first makes adding a list to itself finite.
    CNode* node = newList->m_pNodeTail;
    for (INT_PTR n = newList->m_nCount; n > 0 && node; --n, node = node->pPrev) {
        AddHead(node->data());
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* newList) {
    if (!newList) {
        return;
    }
    CNode* node = newList->m_pNodeHead;
    for (INT_PTR n = newList->m_nCount; n > 0 && node; --n, node = node->pNext) {
        AddTail(node->data());
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
    CNode* node = m_pNodeHead;
    while (node) {
        CNode* next = node->pNext;
        DestructElements<TYPE>(node->slot.get(), 1);
        delete node;
        node = next;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
    if (position) {
        Unlink(ToNode(position));
    }
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (!position) {
        return AddHead(newElement);
    }
    CNode* at = ToNode(position);
    return Link(NewNode(newElement), at->pPrev, at);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (!position) {
        return AddTail(newElement);
    }
    CNode* at = ToNode(position);
    return Link(NewNode(newElement), at, at->pNext);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
    CNode* node = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext) {
        if (CompareElements(node->slot.get(), &searchValue)) {
            return ToPosition(node);
        }
    }
    return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR index) const {
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    CNode* node = m_pNodeHead;
    while (index-- > 0) {
        node = node->pNext;
    }
    return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
        for (CNode* node = m_pNodeHead; node; node = node->pNext) {
            SerializeElements<TYPE>(ar, node->slot.get(), 1);
        }
        return;
    }
    for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
        TYPE value{};
        SerializeElements<TYPE>(ar, &value, 1);
        AddTail(value);
    }
}

// ---------------------------------------------------------------------------------------------------------

// Hash map with a fixed number of buckets (default 17). Iteration visits buckets 0..n-1 and, within a
// bucket, the most recently added association first; a POSITION is an association.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        collection_detail::Slot<KEY> keySlot;
        collection_detail::Slot<VALUE> valueSlot;
        KEY& key() { return *keySlot.get(); }
        VALUE& value() { return *valueSlot.get(); }
    };

public:
    using BASE_KEY = KEY;
    using BASE_ARG_KEY = ARG_KEY;
    using BASE_VALUE = VALUE;
    using BASE_ARG_VALUE = ARG_VALUE;

    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& value) const {
        UINT hash = 0;
        CAssoc* assoc = Find(key, hash);
        if (!assoc) {
            return FALSE;
        }
        value = assoc->value();
        return TRUE;
    }
    // Creates the association (value zero/default) when the key is new.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& nextPosition, KEY& key, VALUE& value) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the bucket count. A map that already holds associations is rehashed into the new table.
    void InitHashTable(UINT hashSize, BOOL allocNow = TRUE);

    void Serialize(CArchive& ar) override;

protected:
    std::unique_ptr<CAssoc*[]> m_pHashTable;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;

private:
    CAssoc* Find(ARG_KEY key, UINT& hash) const {
        hash = HashKey<ARG_KEY>(key);
        if (!m_pHashTable) {
            return nullptr;
        }
        for (CAssoc* assoc = m_pHashTable[hash % m_nHashTableSize]; assoc; assoc = assoc->pNext) {
            if (assoc->nHashValue == hash && CompareElements(assoc->keySlot.get(), &key)) {
                return assoc;
            }
        }
        return nullptr;
    }
    static void FreeAssoc(CAssoc* assoc) {
        DestructElements<VALUE>(assoc->valueSlot.get(), 1);
        DestructElements<KEY>(assoc->keySlot.get(), 1);
        delete assoc;
    }
    void AllocateTable() { m_pHashTable = collection_detail::MakeZeroedArray<CAssoc*>(m_nHashTableSize); }
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
    UINT hash = 0;
    if (CAssoc* assoc = Find(key, hash)) {
        return assoc->value();
    }
    if (!m_pHashTable) {
        AllocateTable();
    }
    auto assoc = collection_detail::MakeZeroed<CAssoc>();
    ConstructElements<KEY>(assoc->keySlot.get(), 1);
    try {
        assoc->key() = key;
        ConstructElements<VALUE>(assoc->valueSlot.get(), 1);
    } catch (...) {
        DestructElements<KEY>(assoc->keySlot.get(), 1);
        throw;
    }
    CAssoc* added = assoc.release();
    added->nHashValue = hash;
    CAssoc*& bucket = m_pHashTable[hash % m_nHashTableSize];
    added->pNext = bucket;
    bucket = added;
    ++m_nCount;
    return added->value();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
    if (!m_pHashTable) {
        return FALSE;
    }
    const UINT hash = HashKey<ARG_KEY>(key);
    for (CAssoc** link = &m_pHashTable[hash % m_nHashTableSize]; *link; link = &(*link)->pNext) {
        CAssoc* assoc = *link;
        if (assoc->nHashValue == hash && CompareElements(assoc->keySlot.get(), &key)) {
            *link = assoc->pNext;
            FreeAssoc(assoc);
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
    if (m_pHashTable) {
        for (UINT bucket = 0; bucket < m_nHashTableSize; ++bucket) {
            for (CAssoc* assoc = m_pHashTable[bucket]; assoc;) {
                CAssoc* next = assoc->pNext;
                FreeAssoc(assoc);
                assoc = next;
            }
        }
        m_pHashTable.reset();
    }
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& nextPosition, KEY& key,
                                                        VALUE& value) const {
    if (!nextPosition || !m_pHashTable) {
        nextPosition = nullptr;
        return;
    }
    CAssoc* assoc = nullptr;
    if (nextPosition == BEFORE_START_POSITION) {
        for (UINT bucket = 0; bucket < m_nHashTableSize && !assoc; ++bucket) {
            assoc = m_pHashTable[bucket];
        }
        if (!assoc) {
            nextPosition = nullptr;
            return;
        }
    } else {
        assoc = reinterpret_cast<CAssoc*>(nextPosition);
    }
    CAssoc* next = assoc->pNext;
    for (UINT bucket = assoc->nHashValue % m_nHashTableSize + 1; !next && bucket < m_nHashTableSize;
         ++bucket) {
        next = m_pHashTable[bucket];
    }
    nextPosition = reinterpret_cast<POSITION>(next);
    key = assoc->key();
    value = assoc->value();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL allocNow) {
    if (hashSize == 0) {
        return;
    }
    std::vector<CAssoc*> held;
    if (m_pHashTable) {
        for (UINT bucket = 0; bucket < m_nHashTableSize; ++bucket) {
            for (CAssoc* assoc = m_pHashTable[bucket]; assoc; assoc = assoc->pNext) {
                held.push_back(assoc);
            }
        }
        m_pHashTable.reset();
    }
    m_nHashTableSize = hashSize;
    if (allocNow || !held.empty()) {
        AllocateTable();
    }
    for (CAssoc* assoc : held) {
        CAssoc*& bucket = m_pHashTable[assoc->nHashValue % m_nHashTableSize];
        assoc->pNext = bucket;
        bucket = assoc;
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
        if (!m_pHashTable) {
            return;
        }
        for (UINT bucket = 0; bucket < m_nHashTableSize; ++bucket) {
            for (CAssoc* assoc = m_pHashTable[bucket]; assoc; assoc = assoc->pNext) {
                SerializeElements<KEY>(ar, assoc->keySlot.get(), 1);
                SerializeElements<VALUE>(ar, assoc->valueSlot.get(), 1);
            }
        }
        return;
    }
    for (DWORD_PTR count = ar.ReadCount(); count > 0; --count) {
        KEY key{};
        VALUE value{};
        SerializeElements<KEY>(ar, &key, 1);
        SerializeElements<VALUE>(ar, &value, 1);
        SetAt(key, value);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Type-safe views over the pointer collections (CObArray/CPtrArray, CObList/CPtrList and the pointer
// maps). Reference-returning members alias the base's pointer slots, so TYPE must point to a class whose
// base pointer has the same value (single inheritance), as with the framework.

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
    using Base = typename BASE_CLASS::BASE_TYPE;

public:
    TYPE GetAt(INT_PTR index) const { return static_cast<TYPE>(BASE_CLASS::GetAt(index)); }
    TYPE& ElementAt(INT_PTR index) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(index)); }
    TYPE operator[](INT_PTR index) const { return GetAt(index); }
    TYPE& operator[](INT_PTR index) { return ElementAt(index); }
    void SetAt(INT_PTR index, TYPE ptr) { BASE_CLASS::SetAt(index, static_cast<Base>(ptr)); }
    void SetAtGrow(INT_PTR index, TYPE ptr) { BASE_CLASS::SetAtGrow(index, static_cast<Base>(ptr)); }
    INT_PTR Add(TYPE ptr) { return BASE_CLASS::Add(static_cast<Base>(ptr)); }
    INT_PTR Append(const CTypedPtrArray& source) { return BASE_CLASS::Append(source); }
    void Copy(const CTypedPtrArray& source) { BASE_CLASS::Copy(source); }
    void InsertAt(INT_PTR index, TYPE ptr, INT_PTR count = 1) {
        BASE_CLASS::InsertAt(index, static_cast<Base>(ptr), count);
    }
    void InsertAt(INT_PTR startIndex, CTypedPtrArray* newArray) {
        BASE_CLASS::InsertAt(startIndex, newArray);
    }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
    using Base = typename BASE_CLASS::BASE_TYPE;
    static TYPE& Typed(Base& slot) { return reinterpret_cast<TYPE&>(slot); }

public:
    explicit CTypedPtrList(INT_PTR blockSize = 10) : BASE_CLASS(blockSize) {}

    TYPE& GetHead() { return Typed(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return Typed(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE& GetNext(POSITION& position) { return Typed(BASE_CLASS::GetNext(position)); }
    TYPE GetNext(POSITION& position) const { return static_cast<TYPE>(BASE_CLASS::GetNext(position)); }
    TYPE& GetPrev(POSITION& position) { return Typed(BASE_CLASS::GetPrev(position)); }
    TYPE GetPrev(POSITION& position) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(position)); }
    TYPE& GetAt(POSITION position) { return Typed(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION position, TYPE ptr) { BASE_CLASS::SetAt(position, static_cast<Base>(ptr)); }
    POSITION AddHead(TYPE ptr) { return BASE_CLASS::AddHead(static_cast<Base>(ptr)); }
    POSITION AddTail(TYPE ptr) { return BASE_CLASS::AddTail(static_cast<Base>(ptr)); }
    void AddHead(CTypedPtrList* newList) { BASE_CLASS::AddHead(newList); }
    void AddTail(CTypedPtrList* newList) { BASE_CLASS::AddTail(newList); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
    using BaseKey = typename BASE_CLASS::BASE_KEY;
    using BaseArgKey = typename BASE_CLASS::BASE_ARG_KEY;
    using BaseValue = typename BASE_CLASS::BASE_VALUE;

public:
    explicit CTypedPtrMap(INT_PTR blockSize = 10) : BASE_CLASS(blockSize) {}

    BOOL Lookup(BaseArgKey key, VALUE& value) const {
        BaseValue found{};
        if (!BASE_CLASS::Lookup(key, found)) {
            return FALSE;
        }
        value = static_cast<VALUE>(found);
        return TRUE;
    }
    VALUE& operator[](BaseArgKey key) { return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key)); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, static_cast<BaseValue>(newValue)); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& nextPosition, KEY& key, VALUE& value) const {
        BaseKey baseKey{};
        BaseValue baseValue{};
        BASE_CLASS::GetNextAssoc(nextPosition, baseKey, baseValue);
        key = static_cast<KEY>(baseKey);
        value = static_cast<VALUE>(baseValue);
    }
};
