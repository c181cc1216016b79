#include "platform/resources/ResFile.h"

#include "platform/base/LastError.h"
#include "platform/base/WideRuntime.h"
#include "platform/resources/ResourceReader.h"
#include "platform/resources/Resources.h"

namespace {

constexpr size_t kFixedHeaderTail = 16; // data version, memory flags, language, version, characteristics

bool Fail() {
    SetLastError(ERROR_INVALID_DATA);
    return false;
}

// A type or name in a .res header: a NUL-terminated text is not a dialog's empty "no name" form here.
bool ReadHeaderName(ResourceReader& reader, ResName& name) {
    name = reader.NameOrOrdinal();
    return reader.Ok();
}

} // namespace

bool ParseResFile(const void* data, size_t size, std::vector<ResEntry>& entries) {
    entries.clear();
    const BYTE* base = static_cast<const BYTE*>(data);
    if (!data && size != 0) {
        return Fail();
    }
    size_t offset = 0;
    while (offset < size) {
        if (size - offset < 8) {
            return Fail();
        }
        ResourceReader header(base + offset, size - offset);
        DWORD dataSize = header.Dword();
        DWORD headerSize = header.Dword();
        if (headerSize < 8 + 4 + 4 + kFixedHeaderTail || headerSize > size - offset) {
            return Fail();
        }
        // The header's own fields must lie within its stated size.
        ResourceReader fields(base + offset, headerSize);
        fields.Skip(8);
        ResEntry entry;
        if (!ReadHeaderName(fields, entry.type) || !ReadHeaderName(fields, entry.name)) {
            return Fail();
        }
        fields.Align(4);
        entry.dataVersion = fields.Dword();
        entry.memoryFlags = fields.Word();
        entry.language = fields.Word();
        entry.version = fields.Dword();
        entry.characteristics = fields.Dword();
        if (!fields.Ok()) {
            return Fail();
        }
        size_t dataStart = offset + headerSize;
        if (dataSize > size - dataStart) {
            return Fail();
        }
        entry.data = base + dataStart;
        entry.size = dataSize;
        size_t next = dataStart + dataSize;
        next += (4 - next % 4) % 4;
        // The leading empty entry (type and name ordinal 0, no data) marks the file; it is not a resource.
        bool empty = dataSize == 0 && entry.type.isOrdinal && entry.type.ordinal == 0 &&
                     entry.name.isOrdinal && entry.name.ordinal == 0;
        if (!empty) {
            entries.push_back(std::move(entry));
        }
        offset = next < size ? next : size;
    }
    return true;
}

ResName ResNameFromApi(const char16_t* name) {
    ResName result;
    if (IS_INTRESOURCE(name)) {
        result.ordinal = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        return result;
    }
    if (name[0] == u'#' && name[1] != 0) {
        DWORD value = 0;
        bool digits = true;
        for (const char16_t* p = name + 1; *p; ++p) {
            if (*p < u'0' || *p > u'9' || value > 0xFFFF) {
                digits = false;
                break;
            }
            value = value * 10 + (*p - u'0');
        }
        if (digits && value <= 0xFFFF) {
            result.ordinal = static_cast<WORD>(value);
            return result;
        }
    }
    result.isOrdinal = false;
    result.text = name;
    return result;
}

bool ResNameMatches(const ResName& stored, const char16_t* name) {
    ResName wanted = ResNameFromApi(name);
    if (stored.isOrdinal || wanted.isOrdinal) {
        return stored.isOrdinal == wanted.isOrdinal && stored.ordinal == wanted.ordinal;
    }
    if (stored.text.size() != wanted.text.size()) {
        return false;
    }
    for (size_t i = 0; i < stored.text.size(); ++i) {
        if (towupper(stored.text[i]) != towupper(wanted.text[i])) {
            return false;
        }
    }
    return true;
}
