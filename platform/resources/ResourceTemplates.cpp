#include "platform/resources/ResourceTemplates.h"

#include "platform/base/LastError.h"
#include "platform/resources/ResourceReader.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr int kMaxMenuDepth = 32;
constexpr WORD kAcceleratorLast = 0x80;
constexpr DWORD kDialogSetFont = 0x40; // DS_SETFONT

bool Fail() {
    SetLastError(ERROR_INVALID_DATA);
    return false;
}

bool ParseMenuItems(ResourceReader& reader, std::vector<ParsedMenuItem>& items, int depth) {
    if (depth > kMaxMenuDepth) {
        return false;
    }
    for (;;) {
        ParsedMenuItem item;
        WORD flags = reader.Word();
        item.flags = static_cast<WORD>(flags & ~kMenuFlagEnd);
        if (!(flags & kMenuFlagPopup)) {
            item.id = reader.Word();
        }
        item.text = reader.Text();
        if (!reader.Ok()) {
            return false;
        }
        if ((flags & kMenuFlagPopup) && !ParseMenuItems(reader, item.popup, depth + 1)) {
            return false;
        }
        items.push_back(std::move(item));
        if (flags & kMenuFlagEnd) {
            return true;
        }
    }
}

const ParsedMenuItem* FindIn(const std::vector<ParsedMenuItem>& items, WORD id) {
    for (const ParsedMenuItem& item : items) {
        if (item.IsPopup()) {
            if (const ParsedMenuItem* found = FindIn(item.popup, id)) {
                return found;
            }
        } else if (item.id == id && !item.IsSeparator()) {
            return &item;
        }
    }
    return nullptr;
}

short Short(ResourceReader& reader) {
    return static_cast<short>(reader.Word());
}

} // namespace

bool FindStringInBlock(const void* block, size_t size, UINT index, std::u16string_view& text) {
    text = {};
    if (index > 15 || reinterpret_cast<ULONG_PTR>(block) % alignof(char16_t) != 0) {
        return Fail();
    }
    ResourceReader reader(block, size);
    for (UINT i = 0; i <= index; ++i) {
        WORD length = reader.Word();
        if (!reader.Ok()) {
            return Fail();
        }
        if (i == index) {
            const BYTE* start = reader.Here();
            if (!reader.Skip(size_t{length} * 2)) {
                return Fail();
            }
            text = std::u16string_view(reinterpret_cast<const char16_t*>(start), length);
            return true;
        }
        if (!reader.Skip(size_t{length} * 2)) {
            return Fail();
        }
    }
    return Fail();
}

const ParsedMenuItem* ParsedMenu::FindCommand(WORD id) const {
    return FindIn(items, id);
}

bool ParseMenuTemplate(const void* data, size_t size, ParsedMenu& menu) {
    menu.items.clear();
    ResourceReader reader(data, size);
    WORD version = reader.Word();
    WORD offset = reader.Word();
    // Version 1 is the extended form, which the resource compiler here never writes.
    if (!reader.Ok() || version != 0 || !reader.Skip(offset) || !ParseMenuItems(reader, menu.items, 0)) {
        menu.items.clear();
        return Fail();
    }
    return true;
}

bool ParseAcceleratorTable(const void* data, size_t size, std::vector<AcceleratorEntry>& table) {
    table.clear();
    ResourceReader reader(data, size);
    for (;;) {
        WORD flags = reader.Word();
        WORD key = reader.Word();
        WORD cmd = reader.Word();
        reader.Word(); // padding
        if (!reader.Ok()) {
            table.clear();
            return Fail();
        }
        table.push_back({static_cast<BYTE>(flags & 0x7F), key, cmd});
        if (flags & kAcceleratorLast) {
            return true;
        }
    }
}

std::u16string DialogItem::ClassName() const {
    if (!windowClass.isOrdinal) {
        return windowClass.text;
    }
    switch (windowClass.ordinal) {
    case kDialogClassButton:
        return u"Button";
    case kDialogClassEdit:
        return u"Edit";
    case kDialogClassStatic:
        return u"Static";
    case kDialogClassListBox:
        return u"ListBox";
    case kDialogClassScrollBar:
        return u"ScrollBar";
    case kDialogClassComboBox:
        return u"ComboBox";
    default:
        return {};
    }
}

bool ParseDialogTemplate(const void* data, size_t size, ParsedDialog& dialog) {
    dialog = ParsedDialog();
    ResourceReader reader(data, size);
    if (size >= 4 && reader.Here()[2] == 0xFF && reader.Here()[3] == 0xFF) {
        WORD version = reader.Word();
        reader.Word();
        if (version != 1) {
            return Fail();
        }
        dialog.extended = true;
        dialog.helpId = reader.Dword();
        dialog.exStyle = reader.Dword();
        dialog.style = reader.Dword();
    } else {
        dialog.style = reader.Dword();
        dialog.exStyle = reader.Dword();
    }
    WORD count = reader.Word();
    dialog.x = Short(reader);
    dialog.y = Short(reader);
    dialog.cx = Short(reader);
    dialog.cy = Short(reader);
    dialog.menu = reader.NameOrOrdinal();
    if (!dialog.menu.isOrdinal && dialog.menu.text.empty()) {
        dialog.menu = ResName();
    }
    dialog.windowClass = reader.NameOrOrdinal();
    if (!dialog.windowClass.isOrdinal && dialog.windowClass.text.empty()) {
        dialog.windowClass = ResName();
    }
    dialog.caption = reader.Text();
    if (dialog.style & kDialogSetFont) {
        dialog.hasFont = true;
        dialog.pointSize = reader.Word();
        if (dialog.extended) {
            dialog.weight = reader.Word();
            dialog.italic = reader.Byte() != 0;
            dialog.charset = reader.Byte();
        }
        dialog.typeface = reader.Text();
    }
    if (!reader.Ok()) {
        return Fail();
    }
    // Each item needs at least its fixed part, so the count cannot ask for more than the bytes hold.
    size_t minimumItem = dialog.extended ? 24 + 6 : 18 + 6;
    if (count > reader.Remaining() / minimumItem + 1) {
        return Fail();
    }
    dialog.items.reserve(count);
    for (WORD i = 0; i < count; ++i) {
        reader.Align(4);
        DialogItem item;
        if (dialog.extended) {
            item.helpId = reader.Dword();
            item.exStyle = reader.Dword();
            item.style = reader.Dword();
        } else {
            item.style = reader.Dword();
            item.exStyle = reader.Dword();
        }
        item.x = Short(reader);
        item.y = Short(reader);
        item.cx = Short(reader);
        item.cy = Short(reader);
        item.id = dialog.extended ? reader.Dword() : reader.Word();
        item.windowClass = reader.NameOrOrdinal();
        item.title = reader.NameOrOrdinal();
        WORD extra = reader.Word();
        const BYTE* start = reader.Here();
        if (!reader.Skip(extra)) {
            return Fail();
        }
        item.creationData.assign(start, start + extra);
        if (!reader.Ok()) {
            return Fail();
        }
        dialog.items.push_back(std::move(item));
    }
    return true;
}

bool ParseDialogInit(const void* data, size_t size, std::vector<DialogInitEntry>& entries) {
    entries.clear();
    ResourceReader reader(data, size);
    for (;;) {
        WORD control = reader.Word();
        if (!reader.Ok()) {
            // An absent terminator at the very end is tolerated.
            return reader.Remaining() == 0 && !entries.empty() ? true : Fail();
        }
        if (control == 0) {
            return true;
        }
        DialogInitEntry entry;
        entry.controlId = control;
        entry.message = reader.Word();
        DWORD length = reader.Dword();
        const BYTE* start = reader.Here();
        if (!reader.Ok() || !reader.Skip(length)) {
            entries.clear();
            return Fail();
        }
        entry.text.assign(reinterpret_cast<const char*>(start), length);
        if (size_t nul = entry.text.find('\0'); nul != std::string::npos) {
            entry.text.resize(nul);
        }
        entries.push_back(std::move(entry));
    }
}

bool ParseIconGroup(const void* data, size_t size, ParsedIconGroup& group) {
    group = ParsedIconGroup();
    ResourceReader reader(data, size);
    WORD reserved = reader.Word();
    group.type = reader.Word();
    WORD count = reader.Word();
    if (!reader.Ok() || reserved != 0 || (group.type != 1 && group.type != 2) ||
        size_t{count} * 14 > reader.Remaining()) {
        return Fail();
    }
    for (WORD i = 0; i < count; ++i) {
        IconGroupEntry entry;
        if (group.type == 1) {
            entry.width = reader.Byte();
            entry.height = reader.Byte();
            entry.colorCount = reader.Byte();
            reader.Byte();
        } else {
            entry.width = reader.Word();
            entry.height = reader.Word();
        }
        entry.planes = reader.Word();
        entry.bitCount = reader.Word();
        entry.bytesInRes = reader.Dword();
        entry.id = reader.Word();
        group.entries.push_back(entry);
    }
    return reader.Ok() ? true : Fail();
}

WORD ChooseGroupImage(const ParsedIconGroup& group, int cx, int cy) {
    if (group.entries.empty()) {
        return 0;
    }
    auto dimension = [&](WORD stored, bool height) {
        int value = stored;
        if (group.type == 1 && value == 0) {
            value = 256;
        }
        // Cursor groups store the height of the image and its mask.
        if (group.type == 2 && height) {
            value /= 2;
        }
        return value;
    };
    if (cx <= 0 || cy <= 0) {
        cx = dimension(group.entries[0].width, false);
        cy = dimension(group.entries[0].height, true);
    }
    const IconGroupEntry* best = nullptr;
    long bestScore = std::numeric_limits<long>::max();
    for (const IconGroupEntry& entry : group.entries) {
        int w = dimension(entry.width, false);
        int h = dimension(entry.height, true);
        // Exact first, then larger ones (scaled down) by nearness, then smaller ones; more colours win ties.
        long distance = std::labs(static_cast<long>(w - cx)) + std::labs(static_cast<long>(h - cy));
        long score = (w == cx && h == cy) ? 0 : (w >= cx && h >= cy ? 1000000 : 2000000) + distance * 100;
        score -= entry.bitCount;
        if (score < bestScore) {
            bestScore = score;
            best = &entry;
        }
    }
    return best->id;
}

bool ParseToolbar(const void* data, size_t size, ParsedToolbar& toolbar) {
    toolbar = ParsedToolbar();
    ResourceReader reader(data, size);
    WORD version = reader.Word();
    toolbar.width = reader.Word();
    toolbar.height = reader.Word();
    WORD count = reader.Word();
    if (!reader.Ok() || version != 1 || size_t{count} * 2 > reader.Remaining()) {
        return Fail();
    }
    for (WORD i = 0; i < count; ++i) {
        toolbar.commands.push_back(reader.Word());
    }
    return true;
}
