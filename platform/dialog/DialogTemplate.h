// Reading binary dialog templates (DLGTEMPLATE and DLGTEMPLATEEX) into a plain description, bounds-checked.
#pragma once

#include "platform/base/Win32Types.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A name or an ordinal: the class, menu and text fields of a template.
struct DialogNameOrOrdinal {
    bool present = false;
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string name;
};

struct DialogItemTemplate {
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    DialogNameOrOrdinal className;
    DialogNameOrOrdinal text;
    // The size word (counting itself) followed by the creation data, as WM_CREATE hands it on; empty when
    // there is none.
    std::vector<BYTE> creationData;
};

struct DialogTemplateInfo {
    bool extended = false;
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DialogNameOrOrdinal menu;
    DialogNameOrOrdinal className;
    std::u16string title;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::u16string faceName;
    std::vector<DialogItemTemplate> items;
};

// Answers nothing when the template is malformed or runs past `size` bytes (strings without their
// terminator, a wrong signature, items cut short).
std::optional<DialogTemplateInfo> DialogParseTemplate(const void* data, std::size_t size);
