#include "toolkit/SECCustomToolBarInfoEx.h"

#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECPersistentTreeNode.h"

IMPLEMENT_SERIAL(SECCustomToolBarInfoEx, SECControlBarInfoEx, 1)

namespace {

constexpr const char16_t* kTreeChild = u"ToolBarInfoEx";

} // namespace

void SECCustomToolBarInfoEx::Serialize(CArchive& ar, SECDockState*) {
    Serialize(ar);
}

void SECCustomToolBarInfoEx::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strTitle;
        ar << static_cast<DWORD>(m_btnInfo.size());
        for (const SECBtnInfo& info : m_btnInfo) {
            ar << static_cast<DWORD>(info.nID) << static_cast<BYTE>(info.data.size());
            if (!info.data.empty()) {
                ar.Write(info.data.data(), static_cast<UINT>(info.data.size()));
            }
        }
        return;
    }
    CString title;
    DWORD count = 0;
    ar >> title >> count;
    // The count comes from the file: records are read one by one and the end of the data stops a lie.
    std::vector<SECBtnInfo> buttons;
    for (DWORD i = 0; i < count; ++i) {
        SECBtnInfo info;
        DWORD id = 0;
        BYTE len = 0;
        ar >> id >> len;
        info.nID = id;
        info.data.resize(len);
        if (len && ar.Read(info.data.data(), len) != len) {
            AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        buttons.push_back(std::move(info));
    }
    m_strTitle = title;
    m_btnInfo = std::move(buttons);
}

std::vector<BYTE> SECCustomToolBarInfoEx::ButtonsValue() const {
    std::vector<BYTE> value;
    for (const SECBtnInfo& info : m_btnInfo) {
        for (int shift = 0; shift < 32; shift += 8) {
            value.push_back(static_cast<BYTE>(info.nID >> shift));
        }
        value.push_back(static_cast<BYTE>(info.data.size()));
        value.insert(value.end(), info.data.begin(), info.data.end());
    }
    return value;
}

std::optional<std::vector<SECBtnInfo>> SECCustomToolBarInfoEx::ParseButtons(const BYTE* pData, size_t nBytes) {
    std::vector<SECBtnInfo> buttons;
    size_t at = 0;
    while (at < nBytes) {
        if (nBytes - at < 5) {
            return std::nullopt;
        }
        SECBtnInfo info;
        info.nID = static_cast<UINT>(pData[at]) | static_cast<UINT>(pData[at + 1]) << 8 |
                   static_cast<UINT>(pData[at + 2]) << 16 | static_cast<UINT>(pData[at + 3]) << 24;
        const size_t len = pData[at + 4];
        at += 5;
        if (nBytes - at < len) {
            return std::nullopt;
        }
        info.data.assign(pData + at, pData + at + len);
        at += len;
        buttons.push_back(std::move(info));
    }
    return buttons;
}

BOOL SECCustomToolBarInfoEx::SaveState(LPCTSTR lpszSection) const {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return FALSE;
    }
    if (!m_strTitle.IsEmpty()) {
        pApp->WriteProfileString(lpszSection, u"Title", m_strTitle);
    }
    std::vector<BYTE> value = ButtonsValue();
    return pApp->WriteProfileBinary(lpszSection, u"Buttons", value.data(), static_cast<UINT>(value.size()));
}

BOOL SECCustomToolBarInfoEx::LoadState(LPCTSTR lpszSection, SECDockState*) {
    CWinApp* pApp = AfxGetApp();
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    if (!pApp || !pApp->GetProfileBinary(lpszSection, u"Buttons", &pData, &nBytes)) {
        return FALSE;
    }
    std::optional<std::vector<SECBtnInfo>> buttons = ParseButtons(pData, nBytes);
    delete[] pData;
    if (!buttons) {
        return FALSE;
    }
    m_strTitle = pApp->GetProfileString(lpszSection, u"Title", u"");
    m_btnInfo = std::move(*buttons);
    return TRUE;
}

BOOL SECCustomToolBarInfoEx::SaveToTree(SECPersistentTreeNode* pNode) const {
    if (!pNode) {
        return FALSE;
    }
    if (SECPersistentTreeNode* previous = pNode->FindChild(kTreeChild)) {
        pNode->GetFactory().DestroyChild(previous);
    }
    SECPersistentTreeNode* child = pNode->GetFactory().CreateChild(kTreeChild, pNode);
    if (!child) {
        return FALSE;
    }
    if (!m_strTitle.IsEmpty()) {
        child->SetString(u"Title", m_strTitle);
    }
    const std::vector<BYTE> value = ButtonsValue();
    // An empty toolbar keeps an empty value: the key says the buttons were saved.
    if (value.empty()) {
        return child->SetString(u"Buttons", u"") == 0;
    }
    return child->SetBinary(u"Buttons", value.data(), static_cast<UINT>(value.size())) == 0;
}

BOOL SECCustomToolBarInfoEx::LoadFromTree(SECPersistentTreeNode* pNode) {
    SECPersistentTreeNode* child = pNode ? pNode->FindChild(kTreeChild) : nullptr;
    if (!child) {
        return FALSE;
    }
    std::vector<BYTE> value;
    if (child->GetBinary(u"Buttons", &value) != 0) {
        CString empty;
        if (child->GetString(u"Buttons", empty) != 0 || !empty.IsEmpty()) {
            return FALSE;
        }
    }
    std::optional<std::vector<SECBtnInfo>> buttons = ParseButtons(value.data(), value.size());
    if (!buttons) {
        return FALSE;
    }
    CString title;
    child->GetString(u"Title", title);
    m_strTitle = title;
    m_btnInfo = std::move(*buttons);
    return TRUE;
}
