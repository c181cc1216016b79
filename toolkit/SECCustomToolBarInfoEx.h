// The saved form of a toolbar: its title and its buttons (command id, 0 for a separator, and the button's
// extra data). In an archive: the title, a 32-bit count, then per button the id (32-bit), the data length
// (8-bit) and the data. In the profile: "Title" (only when not empty) and "Buttons", a binary value of the
// same per-button records (id little-endian). In a layout's tree: a child "ToolBarInfoEx" of the bar's node
// with the same two keys.
#pragma once

#include "platform/base/CString.h"
#include "toolkit/SECControlBarInfo.h"

#include <optional>
#include <vector>

class CArchive;

struct SECBtnInfo {
    UINT nID = 0;
    std::vector<BYTE> data;
    bool operator==(const SECBtnInfo&) const = default;
};

class SECCustomToolBarInfoEx : public SECControlBarInfoEx {
    DECLARE_SERIAL(SECCustomToolBarInfoEx)

public:
    void Serialize(CArchive& ar) override;
    void Serialize(CArchive& ar, SECDockState* pDockState) override;
    BOOL SaveState(LPCTSTR lpszSection) const override;
    // FALSE (nothing changed) when the section holds no buttons or malformed ones.
    BOOL LoadState(LPCTSTR lpszSection, SECDockState* pDockState = nullptr) override;
    BOOL SaveToTree(SECPersistentTreeNode* pNode) const override;
    // FALSE (nothing changed) when the node has no "ToolBarInfoEx" child or its buttons are malformed.
    BOOL LoadFromTree(SECPersistentTreeNode* pNode) override;

    std::vector<BYTE> ButtonsValue() const;
    // The records of a "Buttons" value; nothing when a record runs past the end.
    static std::optional<std::vector<SECBtnInfo>> ParseButtons(const BYTE* pData, size_t nBytes);

    CString m_strTitle;
    std::vector<SECBtnInfo> m_btnInfo;
};
