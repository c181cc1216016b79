#include "platform/base/CObject.h"

#include "platform/base/CodePage.h"

#include <cstring>
#include <mutex>
#include <string>

namespace {
std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}
CRuntimeClass*& FirstClass() {
    static CRuntimeClass* first = nullptr;
    return first;
}
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr,
                                       nullptr};
static AFX_CLASSINIT _init_CObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* newClass) {
    std::lock_guard lock(RegistryMutex());
    newClass->m_pNextClass = FirstClass();
    FirstClass() = newClass;
}

CObject* CRuntimeClass::CreateObject() {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* baseClass) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == baseClass) {
            return TRUE;
        }
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) {
    if (!className) {
        return nullptr;
    }
    std::lock_guard lock(RegistryMutex());
    for (CRuntimeClass* c = FirstClass(); c; c = c->m_pNextClass) {
        if (std::strcmp(c->m_lpszClassName, className) == 0) {
            return c;
        }
    }
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR className) {
    if (!className) {
        return nullptr;
    }
    std::u16string_view wide(className);
    return FromName(Utf16ToCp1252(wide).c_str());
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

BOOL CObject::IsSerializable() const {
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

void CObject::Serialize(CArchive&) {}
