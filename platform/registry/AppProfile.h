// The application profile: per-user settings in HKEY_CURRENT_USER\Software\<registry key>\<application>, one
// subkey per section (HKEY_CURRENT_USER\Software\<application> when no registry key is set). The
// framework's application class wraps it. Failures answer the default or FALSE and set the last error.
#pragma once

#include "platform/registry/Registry.h"

#include <string>

class CAppProfile {
public:
    CAppProfile(std::u16string registryKey, std::u16string appName);

    const std::u16string& RegistryKey() const { return m_registryKey; }
    const std::u16string& AppName() const { return m_appName; }
    void SetRegistryKey(std::u16string registryKey) { m_registryKey = std::move(registryKey); }
    void SetAppName(std::u16string appName) { m_appName = std::move(appName); }

    // Open (creating them when needed) the application's key and a section's key; the caller closes them.
    // Null on failure.
    HKEY GetAppRegistryKey() const;
    HKEY GetSectionKey(LPCWSTR lpszSection) const;

    // A REG_DWORD entry; a missing entry or one of another type answers nDefault.
    UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) const;
    // A REG_SZ entry; otherwise the default (empty when that is null).
    std::u16string GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry,
                                    LPCWSTR lpszDefault = nullptr) const;
    // A REG_BINARY entry into a new[] buffer the caller deletes; FALSE (and null, 0) when there is none.
    BOOL GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, BYTE** ppData, UINT* pBytes) const;

    BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) const;
    // A null entry deletes the whole section with everything below it; a null value deletes the entry.
    BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) const;
    BOOL WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, const BYTE* pData, UINT nBytes) const;

private:
    std::u16string AppKeyPath() const;
    // Opens an existing section for reading; null when it is missing.
    HKEY OpenSectionForRead(LPCWSTR lpszSection) const;

    std::u16string m_registryKey;
    std::u16string m_appName;
};
