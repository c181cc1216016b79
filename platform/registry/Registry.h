// The registry API over the layer's text-file hives. HKEY_CURRENT_USER lives in the current-user hive
// ($XDG_CONFIG_HOME/doliva/user.reg), HKEY_LOCAL_MACHINE in /etc/doliva/system.reg; DOLIVA_CONFIG_DIR moves
// both into one directory. Every change is in the file when the call returns, unless the current-user hive's
// file cannot be written (see CheckUserHiveWritable). The functions answer a LONG
// error code (they do not set the last error), as the original's do.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/FileLock.h"

#include <string>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;
using PFILETIME = FILETIME*;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000003u)))
#define HKEY_PERFORMANCE_DATA (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000004u)))
#define HKEY_CURRENT_CONFIG (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000005u)))

#define REG_NONE 0ul
#define REG_SZ 1ul
#define REG_EXPAND_SZ 2ul
#define REG_BINARY 3ul
#define REG_DWORD 4ul
#define REG_DWORD_LITTLE_ENDIAN 4ul
#define REG_DWORD_BIG_ENDIAN 5ul
#define REG_LINK 6ul
#define REG_MULTI_SZ 7ul
#define REG_RESOURCE_LIST 8ul
#define REG_FULL_RESOURCE_DESCRIPTOR 9ul
#define REG_RESOURCE_REQUIREMENTS_LIST 10ul
#define REG_QWORD 11ul
#define REG_QWORD_LITTLE_ENDIAN 11ul

#define REG_OPTION_RESERVED 0x0ul
#define REG_OPTION_NON_VOLATILE 0x0ul
#define REG_OPTION_VOLATILE 0x1ul // accepted; such keys are kept like any other
#define REG_OPTION_CREATE_LINK 0x2ul
#define REG_OPTION_BACKUP_RESTORE 0x4ul
#define REG_OPTION_OPEN_LINK 0x8ul

#define REG_CREATED_NEW_KEY 0x1ul
#define REG_OPENED_EXISTING_KEY 0x2ul

// Generic access rights; other areas may define them as well.

#define KEY_QUERY_VALUE 0x0001ul
#define KEY_SET_VALUE 0x0002ul
#define KEY_CREATE_SUB_KEY 0x0004ul
#define KEY_ENUMERATE_SUB_KEYS 0x0008ul
#define KEY_NOTIFY 0x0010ul
#define KEY_CREATE_LINK 0x0020ul
#define KEY_WOW64_64KEY 0x0100ul
#define KEY_WOW64_32KEY 0x0200ul
#define KEY_READ 0x00020019ul
#define KEY_WRITE 0x00020006ul
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0x000F003Ful

// Name limits, in units without the terminator.
#define REG_MAX_KEY_NAME 255
#define REG_MAX_VALUE_NAME 16383

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
LONG RegCreateKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult);
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegOpenKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult);
LONG RegCloseKey(HKEY hKey);
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
LONG RegEnumKeyW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// As on NT: refused with ERROR_ACCESS_DENIED while the key has subkeys.
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegDeleteKeyExW(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, DWORD Reserved);
// Deletes the subkey and everything below it; with a null subkey, the values and subkeys of hKey itself.
LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime);
// Changes are written when they are made; this only checks the handle.
LONG RegFlushKey(HKEY hKey);

#define RegCreateKeyEx RegCreateKeyExW
#define RegCreateKey RegCreateKeyW
#define RegOpenKeyEx RegOpenKeyExW
#define RegOpenKey RegOpenKeyW
#define RegSetValueEx RegSetValueExW
#define RegQueryValueEx RegQueryValueExW
#define RegEnumValue RegEnumValueW
#define RegEnumKeyEx RegEnumKeyExW
#define RegEnumKey RegEnumKeyW
#define RegDeleteValue RegDeleteValueW
#define RegDeleteKey RegDeleteKeyW
#define RegDeleteKeyEx RegDeleteKeyExW
#define RegDeleteTree RegDeleteTreeW
#define RegQueryInfoKey RegQueryInfoKeyW

namespace doliva::registry {

// The hive files as the environment names them now.
std::string UserHivePath();
std::string MachineHivePath();

// The current-user hive never fails a call because its file cannot be read or written: it goes on with the
// settings in memory and says so once on standard error. This checks at start, without changing the file,
// that it can be read and replaced; when it cannot, the answer says what cannot be written and where (for
// the program to show), and the hive goes on in memory at once without a further report. Empty when all is
// well.
std::string CheckUserHiveWritable();

// Claims the current-user hive for this process alone while `lock` holds: an exclusive lock on
// "<hive>.instance" beside it, its folder made when missing. kHeld when another process holds it;
// kUnavailable when the folder or the file cannot be made (such a hive cannot be written either, which
// CheckUserHiveWritable reports).
ExclusiveFileLock::Result ClaimUserHive(ExclusiveFileLock& lock);

// Forgets the hives read so far, so that the next use reads the environment and the files again. Handles
// opened before keep working on the hive they were opened in. For tests.
void DropCachedHives();

} // namespace doliva::registry
