// The root of the framework's class tree, with run-time class records for type tests, dynamic creation and
// serialisation by schema.
#pragma once

#include "platform/base/Win32Types.h"

class CArchive;
class CObject;

// Schema numbers with this bit accept any stored schema; the class reads it with CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that cannot be serialised
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass; // registration chain

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;

    // Registered classes by name (as stored in archives).
    static CRuntimeClass* FromName(LPCSTR className);
    static CRuntimeClass* FromName(LPCWSTR className);

    // Archive form of a class reference: schema word, name length word, name bytes.
    void Store(CArchive& ar) const;
    // Reads a class reference; null when the class is unknown. *schema receives the stored schema.
    static CRuntimeClass* Load(CArchive& ar, UINT* schema);
};

// Links a class record into the registry at static initialisation.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* newClass);
};

class CObject {
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// A new object of `pClass` when the class makes objects that are T; null otherwise (with nothing left behind).
template <typename T>
T* AfxCreateObjectOf(CRuntimeClass* pClass) {
    CObject* object = pClass ? pClass->CreateObject() : nullptr;
    auto* typed = dynamic_cast<T*>(object);
    if (!typed) {
        delete object;
    }
    return typed;
}

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass class##class_name;                                                                  \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                           \
    DECLARE_DYNCREATE(class_name)                                                                            \
    friend CArchive& operator>>(CArchive& ar, class_name*& object);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                                  \
    CRuntimeClass class_name::class##class_name = {                                                          \
        #class_name, static_cast<int>(sizeof(class_name)), static_cast<UINT>(schema),                        \
        create,      RUNTIME_CLASS(base_class_name),       nullptr};                                         \
    static AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));                                      \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                     \
        return RUNTIME_CLASS(class_name);                                                                    \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// Needs CArchive (platform/base/CArchive.h) where it is used.
#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                                \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject)                    \
    CArchive& operator>>(CArchive& ar, class_name*& object) {                                                \
        object = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                         \
        return ar;                                                                                           \
    }
