#include "grid/CGXFontFaceTable.h"

#include "platform/base/WideRuntime.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <memory>

namespace {

// Entries are collected in at most 256 blocks of 256.
constexpr size_t kMaxEnumeratedEntries = 256 * 256;
// Indices 0 to 1022 are handed out.
constexpr size_t kIndexCount = kNoFontFace;
constexpr DWORD kEnumeratedFlag = 1u << 13;
constexpr DWORD kPlainFlag = 1u << 14;

bool NameLess(const GXFontFaceRecord& a, const GXFontFaceRecord& b) {
    return wcscmp(a.name, b.name) < 0;
}

void CopyName(WCHAR (&target)[67], LPCTSTR name) {
    const size_t length = std::min<size_t>(wcslen(name), std::size(target) - 1);
    std::copy_n(name, length, target);
    target[length] = 0;
}

int EnumFaceCallback(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD fontType, LPARAM param) {
    auto* table = reinterpret_cast<CGXFontFaceTable*>(param);
    const auto* extended = reinterpret_cast<const ENUMLOGFONTEXW*>(logFont);
    table->AddEnumerated(*logFont, extended->elfScript, fontType);
    return 1;
}

std::unique_ptr<CGXFontFaceTable>& TableSlot() {
    static std::unique_ptr<CGXFontFaceTable> table;
    return table;
}

} // namespace

CGXFontFaceTable::CGXFontFaceTable() {
    HDC dc = CreateICW(u"DISPLAY", nullptr, nullptr, nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &query, EnumFaceCallback, reinterpret_cast<LPARAM>(this), 0);
    if (m_enumerated.empty()) {
        EnumFontFamiliesW(dc, nullptr, EnumFaceCallback, reinterpret_cast<LPARAM>(this));
    }
    std::stable_sort(m_enumerated.begin(), m_enumerated.end(), NameLess);
    LookupFace(u"Arial", 0, 0);
    if (dc) {
        m_logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
        m_logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
        DeleteDC(dc);
    }
    m_fontData.InitHashTable(1001, FALSE);
}

void CGXFontFaceTable::AddEnumerated(const LOGFONTW& logFont, LPCWSTR script, DWORD fontType) {
    if (m_enumerated.size() + 2 > kMaxEnumeratedEntries) {
        return;
    }
    GXFontFaceRecord entry;
    entry.pitchAndFamily = logFont.lfPitchAndFamily;
    entry.charSet = logFont.lfCharSet;
    entry.info = 0x3FF | ((fontType & 7) << 10) | kEnumeratedFlag;
    if (m_lastFace.Compare(logFont.lfFaceName) != 0) {
        GXFontFaceRecord plain = entry;
        plain.info |= kPlainFlag;
        CopyName(plain.name, logFont.lfFaceName);
        m_enumerated.push_back(plain);
        m_lastFace = logFont.lfFaceName;
    }
    m_scripts[logFont.lfCharSet] = CString(script).Left(32);
    CString scripted;
    scripted.Format(u"%s (%s)", logFont.lfFaceName, script);
    CopyName(entry.name, scripted);
    entry.baseNameLength = static_cast<BYTE>(std::min<size_t>(wcslen(logFont.lfFaceName), 255));
    m_enumerated.push_back(entry);
}

GXFontFaceRecord* CGXFontFaceTable::Find(LPCTSTR name) {
    GXFontFaceRecord key;
    CopyName(key.name, name);
    auto found = std::lower_bound(m_enumerated.begin(), m_enumerated.end(), key, NameLess);
    if (found != m_enumerated.end() && wcscmp(found->name, key.name) == 0) {
        return &*found;
    }
    auto side =
        std::lower_bound(m_sideList.begin(), m_sideList.end(), key,
                         [](const auto& record, const GXFontFaceRecord& k) { return NameLess(*record, k); });
    if (side != m_sideList.end() && wcscmp((*side)->name, key.name) == 0) {
        return side->get();
    }
    return nullptr;
}

int CGXFontFaceTable::GiveIndex(GXFontFaceRecord& record) {
    if (record.Index() != kNoFontFace) {
        return record.Index();
    }
    if (m_byIndex.size() >= kIndexCount) {
        return kNoFontFace;
    }
    record.info = (record.info & ~0x3FFu) | static_cast<DWORD>(m_byIndex.size());
    m_byIndex.push_back(&record);
    return record.Index();
}

int CGXFontFaceTable::LookupFace(LPCTSTR name, BYTE pitchAndFamily, BYTE charSet) {
    if (!name || !*name) {
        return kNoFontFace;
    }
    GXFontFaceRecord* record = Find(name);
    if (!record) {
        if (m_byIndex.size() >= kIndexCount) {
            return kNoFontFace;
        }
        auto added = std::make_unique<GXFontFaceRecord>();
        CopyName(added->name, name);
        added->pitchAndFamily = pitchAndFamily;
        added->charSet = charSet;
        record = added.get();
        auto at = std::upper_bound(m_sideList.begin(), m_sideList.end(), *added,
                                   [](const GXFontFaceRecord& k, const auto& r) { return NameLess(k, *r); });
        m_sideList.insert(at, std::move(added));
    }
    return GiveIndex(*record);
}

const GXFontFaceRecord* CGXFontFaceTable::GetFace(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_byIndex.size()) {
        return nullptr;
    }
    return m_byIndex[static_cast<size_t>(index)];
}

BYTE CGXFontFaceTable::GetFaceCharset(int index) const {
    const GXFontFaceRecord* record = GetFace(index);
    return record ? record->charSet : 0;
}

CString CGXFontFaceTable::GetScriptName(BYTE charSet) const {
    const auto found = m_scripts.find(charSet);
    return found == m_scripts.end() ? CString() : found->second;
}

CGXFontFaceTable& GetFontFaceTable() {
    auto& table = TableSlot();
    if (!table) {
        table = std::make_unique<CGXFontFaceTable>();
    }
    return *table;
}

void ResetFontFaceTable() {
    TableSlot().reset();
}

int GetFontFaceIndex(LPCTSTR name) {
    return GetFontFaceTable().LookupFace(name, 0, 0);
}

const GXFontFaceRecord* GetFontFace(int index) {
    return GetFontFaceTable().GetFace(index);
}
