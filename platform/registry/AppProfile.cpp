#include "platform/registry/AppProfile.h"

#include <cstring>

namespace {

BOOL Result(LONG rc) {
    if (rc != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(rc));
        return FALSE;
    }
    return TRUE;
}

struct KeyCloser {
    HKEY key;
    ~KeyCloser() {
        if (key) {
            RegCloseKey(key);
        }
    }
};

} // namespace

CAppProfile::CAppProfile(std::u16string registryKey, std::u16string appName)
    : m_registryKey(std::move(registryKey)), m_appName(std::move(appName)) {}

std::u16string CAppProfile::AppKeyPath() const {
    std::u16string path = u"Software\\";
    if (!m_registryKey.empty()) {
        path += m_registryKey + u"\\";
    }
    return path + m_appName;
}

HKEY CAppProfile::GetAppRegistryKey() const {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, AppKeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    Result(rc);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

HKEY CAppProfile::GetSectionKey(LPCWSTR lpszSection) const {
    if (!lpszSection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HKEY app = GetAppRegistryKey();
    if (!app) {
        return nullptr;
    }
    KeyCloser closer{app};
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(app, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                              nullptr, &key, nullptr);
    Result(rc);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

HKEY CAppProfile::OpenSectionForRead(LPCWSTR lpszSection) const {
    if (!lpszSection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HKEY key = nullptr;
    std::u16string path = AppKeyPath() + u"\\" + lpszSection;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    Result(rc);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CAppProfile::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) const {
    HKEY key = OpenSectionForRead(lpszSection);
    if (!key) {
        return static_cast<UINT>(nDefault);
    }
    KeyCloser closer{key};
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
    if (rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value) {
        return value;
    }
    Result(rc == ERROR_SUCCESS ? ERROR_INVALID_DATA : rc);
    return static_cast<UINT>(nDefault);
}

std::u16string CAppProfile::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry,
                                             LPCWSTR lpszDefault) const {
    std::u16string fallback = lpszDefault ? lpszDefault : u"";
    HKEY key = OpenSectionForRead(lpszSection);
    if (!key) {
        return fallback;
    }
    KeyCloser closer{key};
    DWORD type = 0;
    DWORD size = 0;
    std::u16string value;
    LONG rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, nullptr, &size);
    // Another process may rewrite the value between asking its size and reading it.
    for (int attempt = 1; rc == ERROR_SUCCESS && type == REG_SZ; ++attempt) {
        value.assign((size + 1) / 2, u'\0');
        size = static_cast<DWORD>(value.size() * sizeof(WCHAR));
        rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(value.data()), &size);
        if (rc != ERROR_MORE_DATA || attempt == 4) {
            break;
        }
        rc = ERROR_SUCCESS;
    }
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        Result(rc == ERROR_SUCCESS ? ERROR_INVALID_DATA : rc);
        return fallback;
    }
    value.resize(size / 2);
    // The stored terminator (and any padding after the text) is not part of the string.
    size_t end = value.find(u'\0');
    if (end != value.npos) {
        value.resize(end);
    }
    return value;
}

BOOL CAppProfile::GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, BYTE** ppData,
                                   UINT* pBytes) const {
    if (!ppData || !pBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *ppData = nullptr;
    *pBytes = 0;
    HKEY key = OpenSectionForRead(lpszSection);
    if (!key) {
        return FALSE;
    }
    KeyCloser closer{key};
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS || type != REG_BINARY) {
        return Result(rc == ERROR_SUCCESS ? ERROR_INVALID_DATA : rc);
    }
    auto* data = new BYTE[size ? size : 1];
    rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, data, &size);
    if (rc != ERROR_SUCCESS || type != REG_BINARY) {
        delete[] data;
        return Result(rc == ERROR_SUCCESS ? ERROR_INVALID_DATA : rc);
    }
    *ppData = data;
    *pBytes = size;
    return TRUE;
}

BOOL CAppProfile::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) const {
    HKEY key = GetSectionKey(lpszSection);
    if (!key) {
        return FALSE;
    }
    KeyCloser closer{key};
    DWORD value = static_cast<DWORD>(nValue);
    return Result(
        RegSetValueExW(key, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
}

BOOL CAppProfile::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) const {
    if (!lpszSection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!lpszEntry) {
        HKEY app = GetAppRegistryKey();
        if (!app) {
            return FALSE;
        }
        KeyCloser closer{app};
        return Result(RegDeleteTreeW(app, lpszSection));
    }
    HKEY key = GetSectionKey(lpszSection);
    if (!key) {
        return FALSE;
    }
    KeyCloser closer{key};
    if (!lpszValue) {
        return Result(RegDeleteValueW(key, lpszEntry));
    }
    std::u16string_view value(lpszValue);
    return Result(RegSetValueExW(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR))));
}

BOOL CAppProfile::WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, const BYTE* pData,
                                     UINT nBytes) const {
    HKEY key = GetSectionKey(lpszSection);
    if (!key) {
        return FALSE;
    }
    KeyCloser closer{key};
    return Result(RegSetValueExW(key, lpszEntry, 0, REG_BINARY, pData, nBytes));
}
