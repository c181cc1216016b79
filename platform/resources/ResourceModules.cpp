// The module registry behind the resource calls. Modules only grow: entries are never moved or freed, so
// HRSRC handles (pointers to entries) and data pointers stay valid for the life of the process.
#include "platform/base/CString.h"
#include "platform/base/LastError.h"
#include "platform/resources/ResFile.h"
#include "platform/resources/ResourceTemplates.h"
#include "platform/resources/Resources.h"
#include "platform/sound/Sound.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// The program's own module has the handle the framework uses for its instance.
constexpr ULONG_PTR kProgramModule = 0x400000;
constexpr ULONG_PTR kNamedModuleBase = 0x10000000;
constexpr ULONG_PTR kNamedModuleStep = 0x10000;

struct Module {
    std::u16string name;
    HMODULE handle = nullptr;
    std::deque<ResEntry> entries;
    std::vector<std::unique_ptr<std::vector<BYTE>>> copies;
};

struct Registry {
    std::mutex mutex;
    std::deque<Module> modules;
    std::unordered_set<const ResEntry*> handles;

    Module* ByHandle(HMODULE handle) {
        if (!handle) {
            handle = reinterpret_cast<HMODULE>(kProgramModule);
        }
        for (Module& module : modules) {
            if (module.handle == handle) {
                return &module;
            }
        }
        return nullptr;
    }
    Module* ByName(const std::u16string& name) {
        for (Module& module : modules) {
            if (module.name == name) {
                return &module;
            }
        }
        return nullptr;
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

// Type then name, as the original searches; the error says which of the two was missing.
const ResEntry* Find(Module* module, LPCWSTR type, LPCWSTR name, const WORD* language) {
    if (!module) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    bool typeSeen = false;
    bool nameSeen = false;
    const ResEntry* anyLanguage = nullptr;
    for (const ResEntry& entry : module->entries) {
        if (!ResNameMatches(entry.type, type)) {
            continue;
        }
        typeSeen = true;
        if (!ResNameMatches(entry.name, name)) {
            continue;
        }
        nameSeen = true;
        if (!language || entry.language == *language) {
            return &entry;
        }
        if (!anyLanguage && (*language == 0 || entry.language == 0)) {
            anyLanguage = &entry;
        }
    }
    if (anyLanguage) {
        return anyLanguage;
    }
    SetLastError(nameSeen   ? ERROR_RESOURCE_LANG_NOT_FOUND
                 : typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                            : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

const ResEntry* Lookup(HMODULE module, LPCWSTR name, LPCWSTR type, const WORD* language) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return Find(registry.ByHandle(module), type, name, language);
}

bool ValidHandle(HRSRC resource) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.handles.contains(reinterpret_cast<const ResEntry*>(resource));
}

bool LoadProgramString(UINT id, std::u16string& text) {
    LPWSTR pointer = nullptr;
    int length = LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(&pointer), 0);
    if (length <= 0) {
        return false;
    }
    text.assign(pointer, static_cast<size_t>(length));
    return true;
}

bool ResolveWave(LPCWSTR name, std::vector<BYTE>& wave) {
    size_t size = 0;
    const BYTE* bytes = DolivaResourceBytes(nullptr, name, u"WAVE", &size);
    if (!bytes) {
        return false;
    }
    wave.assign(bytes, bytes + size);
    return true;
}

} // namespace

HMODULE DolivaRegisterResources(const void* data, size_t size, const char16_t* name, bool copy) {
    std::unique_ptr<std::vector<BYTE>> owned;
    if (copy && data) {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        owned = std::make_unique<std::vector<BYTE>>(bytes, bytes + size);
        data = owned->data();
    }
    std::vector<ResEntry> entries;
    if (!ParseResFile(data, size, entries)) {
        return nullptr;
    }
    std::u16string moduleName = name ? name : u"";
    // A program with its own resources loads its strings from the start, whatever its main does.
    if (moduleName.empty()) {
        SetDefaultStringResourceLoader(LoadProgramString);
    }
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    Module* module = registry.ByName(moduleName);
    if (!module) {
        Module& added = registry.modules.emplace_back();
        added.name = moduleName;
        size_t named = std::count_if(registry.modules.begin(), registry.modules.end(),
                                     [](const Module& m) { return !m.name.empty(); });
        added.handle = reinterpret_cast<HMODULE>(
            moduleName.empty() ? kProgramModule : kNamedModuleBase + named * kNamedModuleStep);
        module = &added;
    }
    for (ResEntry& entry : entries) {
        registry.handles.insert(&module->entries.emplace_back(std::move(entry)));
    }
    if (owned) {
        module->copies.push_back(std::move(owned));
    }
    return module->handle;
}

HMODULE DolivaResourceModule(const char16_t* name) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    Module* module = registry.ByName(name ? name : u"");
    return module ? module->handle : nullptr;
}

HMODULE DolivaFindResourceModule(LPCWSTR name, LPCWSTR type) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    std::vector<Module*> order;
    if (Module* program = registry.ByHandle(nullptr)) {
        order.push_back(program);
    }
    for (Module& module : registry.modules) {
        if (!module.name.empty()) {
            order.push_back(&module);
        }
    }
    DWORD error = ERROR_RESOURCE_DATA_NOT_FOUND;
    for (Module* module : order) {
        if (Find(module, type, name, nullptr)) {
            return module->handle;
        }
        // A missing name is the more telling error when some module has the type.
        if (GetLastError() == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_DATA_NOT_FOUND) {
            error = GetLastError();
        }
    }
    SetLastError(error);
    return nullptr;
}

void DolivaInstallResourceHooks() {
    static std::once_flag once;
    std::call_once(once, [] {
        SetDefaultStringResourceLoader(LoadProgramString);
        SoundSetResourceResolver(ResolveWave);
    });
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return reinterpret_cast<HRSRC>(const_cast<ResEntry*>(Lookup(module, name, type, nullptr)));
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
    return reinterpret_cast<HRSRC>(const_cast<ResEntry*>(Lookup(module, name, type, &language)));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource || !ValidHandle(resource)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const ResEntry* entry = reinterpret_cast<const ResEntry*>(resource);
    // An empty resource still needs a non-null handle; the entry's data pointer lies inside the file.
    return const_cast<BYTE*>(entry->data);
}

LPVOID LockResource(HGLOBAL data) {
    return data;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    if (!resource || !ValidHandle(resource)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return reinterpret_cast<const ResEntry*>(resource)->size;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}

BOOL EnumResourceNamesW(HMODULE module, LPCWSTR type, ENUMRESNAMEPROCW callback, LONG_PTR param) {
    if (!type || !callback) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<const ResEntry*> matches;
    {
        Registry& registry = TheRegistry();
        std::lock_guard lock(registry.mutex);
        Module* found = registry.ByHandle(module);
        if (!found) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return FALSE;
        }
        for (const ResEntry& entry : found->entries) {
            if (ResNameMatches(entry.type, type)) {
                matches.push_back(&entry);
            }
        }
        if (matches.empty()) {
            SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
            return FALSE;
        }
    }
    for (const ResEntry* entry : matches) {
        std::u16string text = entry->name.text;
        LPWSTR name = entry->name.isOrdinal ? MAKEINTRESOURCEW(entry->name.ordinal) : text.data();
        if (!callback(module, type, name, param)) {
            break;
        }
    }
    return TRUE;
}

const BYTE* DolivaResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, size_t* size) {
    const ResEntry* entry = Lookup(module, name, type, nullptr);
    if (size) {
        *size = entry ? entry->size : 0;
    }
    return entry ? entry->data : nullptr;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max) {
    if (!buffer || max < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t size = 0;
    const BYTE* block = DolivaResourceBytes(instance, MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING, &size);
    std::u16string_view text;
    bool found = block && FindStringInBlock(block, size, id & 15, text) && !text.empty();
    if (!found) {
        if (block || GetLastError() == ERROR_RESOURCE_TYPE_NOT_FOUND) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        }
        if (max > 0) {
            buffer[0] = 0;
        }
        return 0;
    }
    if (max == 0) {
        *reinterpret_cast<const char16_t**>(buffer) = text.data();
        return static_cast<int>(text.size());
    }
    size_t count = std::min(text.size(), static_cast<size_t>(max - 1));
    std::memcpy(buffer, text.data(), count * sizeof(char16_t));
    buffer[count] = 0;
    return static_cast<int>(count);
}
