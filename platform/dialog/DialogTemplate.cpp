// Binary dialog templates: a header, optional font, then DWORD-aligned items, all in little-endian words.
#include "platform/dialog/DialogTemplate.h"

#include <cstring>
#include <utility>

namespace {

class Reader {
public:
    Reader(const BYTE* base, std::size_t size) : base_(base), size_(size) {}

    bool Word(WORD& out) {
        if (!Need(2)) {
            return false;
        }
        out = static_cast<WORD>(base_[pos_] | (base_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Dword(DWORD& out) {
        WORD lo = 0, hi = 0;
        if (!Word(lo) || !Word(hi)) {
            return false;
        }
        out = static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
        return true;
    }
    bool Short(short& out) {
        WORD w = 0;
        if (!Word(w)) {
            return false;
        }
        out = static_cast<short>(w);
        return true;
    }
    bool Byte(BYTE& out) {
        if (!Need(1)) {
            return false;
        }
        out = base_[pos_++];
        return true;
    }
    bool String(std::u16string& out) {
        out.clear();
        for (;;) {
            WORD ch = 0;
            if (!Word(ch)) {
                return false;
            }
            if (ch == 0) {
                return true;
            }
            out.push_back(static_cast<char16_t>(ch));
        }
    }
    // 0x0000: absent; 0xFFFF: an ordinal word follows; otherwise a string.
    bool NameOrOrdinal(DialogNameOrOrdinal& out) {
        out = DialogNameOrOrdinal{};
        WORD first = 0;
        if (!Word(first)) {
            return false;
        }
        if (first == 0) {
            return true;
        }
        out.present = true;
        if (first == 0xFFFF) {
            out.isOrdinal = true;
            return Word(out.ordinal);
        }
        out.name.push_back(static_cast<char16_t>(first));
        std::u16string rest;
        if (!String(rest)) {
            return false;
        }
        out.name += rest;
        return true;
    }
    bool Bytes(std::size_t count, std::vector<BYTE>& out) {
        if (!Need(count)) {
            return false;
        }
        out.insert(out.end(), base_ + pos_, base_ + pos_ + count);
        pos_ += count;
        return true;
    }
    bool AlignDword() {
        std::size_t aligned = (pos_ + 3) & ~static_cast<std::size_t>(3);
        if (aligned > size_) {
            return false;
        }
        pos_ = aligned;
        return true;
    }

private:
    bool Need(std::size_t count) const { return count <= size_ && pos_ <= size_ - count; }

    const BYTE* base_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

bool ReadItem(Reader& r, bool extended, DialogItemTemplate& item) {
    if (!r.AlignDword()) {
        return false;
    }
    if (extended) {
        if (!r.Dword(item.helpId) || !r.Dword(item.exStyle) || !r.Dword(item.style)) {
            return false;
        }
    } else if (!r.Dword(item.style) || !r.Dword(item.exStyle)) {
        return false;
    }
    if (!r.Short(item.x) || !r.Short(item.y) || !r.Short(item.cx) || !r.Short(item.cy)) {
        return false;
    }
    if (extended) {
        if (!r.Dword(item.id)) {
            return false;
        }
    } else {
        WORD id = 0;
        if (!r.Word(id)) {
            return false;
        }
        item.id = id;
    }
    if (!r.NameOrOrdinal(item.className) || !r.NameOrOrdinal(item.text)) {
        return false;
    }
    if (item.className.present && !item.className.isOrdinal && item.className.name.empty()) {
        return false;
    }
    if (!item.className.present) {
        return false; // every control needs a class
    }
    WORD extra = 0;
    if (!r.Word(extra)) {
        return false;
    }
    if (extra == 0) {
        return true;
    }
    // The classic form counts the size word itself; the extended one counts only the bytes after it. The
    // control always sees the classic form.
    if (!extended && extra < 2) {
        return false;
    }
    std::size_t dataBytes = extended ? extra : extra - 2u;
    if (dataBytes + 2 > 0xFFFF) {
        return false;
    }
    WORD total = static_cast<WORD>(dataBytes + 2);
    item.creationData.push_back(static_cast<BYTE>(total & 0xFF));
    item.creationData.push_back(static_cast<BYTE>(total >> 8));
    return r.Bytes(dataBytes, item.creationData);
}

} // namespace

std::optional<DialogTemplateInfo> DialogParseTemplate(const void* data, std::size_t size) {
    if (!data) {
        return std::nullopt;
    }
    Reader r(static_cast<const BYTE*>(data), size);
    DialogTemplateInfo info;
    WORD first = 0, second = 0;
    {
        Reader peek(static_cast<const BYTE*>(data), size);
        if (!peek.Word(first) || !peek.Word(second)) {
            return std::nullopt;
        }
    }
    WORD count = 0;
    if (first == 1 && second == 0xFFFF) {
        info.extended = true;
        WORD ignore = 0;
        if (!r.Word(ignore) || !r.Word(ignore) || !r.Dword(info.helpId) || !r.Dword(info.exStyle) ||
            !r.Dword(info.style)) {
            return std::nullopt;
        }
    } else if (second == 0xFFFF) {
        return std::nullopt; // an extended template of a version this reader does not know
    } else if (!r.Dword(info.style) || !r.Dword(info.exStyle)) {
        return std::nullopt;
    }
    if (!r.Word(count) || !r.Short(info.x) || !r.Short(info.y) || !r.Short(info.cx) || !r.Short(info.cy)) {
        return std::nullopt;
    }
    if (!r.NameOrOrdinal(info.menu) || !r.NameOrOrdinal(info.className) || !r.String(info.title)) {
        return std::nullopt;
    }
    constexpr DWORD kSetFont = 0x40;
    if (info.style & kSetFont) {
        info.hasFont = true;
        if (!r.Word(info.pointSize)) {
            return std::nullopt;
        }
        if (info.extended && (!r.Word(info.weight) || !r.Byte(info.italic) || !r.Byte(info.charset))) {
            return std::nullopt;
        }
        if (!r.String(info.faceName)) {
            return std::nullopt;
        }
    }
    // Items one by one, so that a count the bytes cannot back fails before anything is allocated for it.
    for (WORD i = 0; i < count; ++i) {
        DialogItemTemplate item;
        if (!ReadItem(r, info.extended, item)) {
            return std::nullopt;
        }
        info.items.push_back(std::move(item));
    }
    return info;
}
