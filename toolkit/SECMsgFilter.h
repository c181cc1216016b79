// Message filters: a tree of small objects under a frame that see the frame's non-client messages and the
// extended system command; each reacts to what it cares about and passes the rest to its children. A result
// is a bit set: 1 handled, 8 stop (later siblings are not asked). Descriptor tables switch filters on and off.
#pragma once

#include "platform/base/CObject.h"

#include <vector>

class CFrameWnd;

#define SEC_FILTER_HANDLED 0x1u
#define SEC_FILTER_STOP 0x8u
// What a filter that consumed a message answers.
#define SEC_FILTER_CONSUMED 0x7u

class SECMsgFilter : public CObject {
    DECLARE_DYNCREATE(SECMsgFilter)

public:
    struct Descriptor {
        int nID = -1;
        int nParentID = -1;
        CRuntimeClass* pClass = nullptr;
        // Bit 0: turning the table off leaves this filter on.
        DWORD dwFlags = 0;
    };
    using DescriptorTable = std::vector<Descriptor>;

    SECMsgFilter() = default;
    SECMsgFilter(CFrameWnd* pFrame, int nID) : m_nID(nID), m_pFrameWnd(pFrame) {}
    // Copies clone the children.
    SECMsgFilter(const SECMsgFilter& other);
    SECMsgFilter& operator=(const SECMsgFilter&) = delete;
    ~SECMsgFilter() override;

    virtual SECMsgFilter* Clone() const { return new SECMsgFilter(*this); }
    virtual CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
    virtual void SetFrameWnd(CFrameWnd* pFrame);
    virtual UINT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual UINT ProcessChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Depth -1 searches the whole subtree; with a class, a missing filter is made and appended.
    virtual SECMsgFilter* FindFilter(int nID, CRuntimeClass* pClass = nullptr, int nDepth = -1);
    virtual void ApplyDescriptor(const Descriptor& descriptor, BOOL bOn);
    virtual void ApplyDescriptors(const Descriptor* pDescriptors, const BOOL* pOn, int nCount);
    virtual void ApplyDescriptorTable(const DescriptorTable& table, BOOL bOn);

    void AddChild(SECMsgFilter* pChild) { m_children.push_back(pChild); }

    int m_nID = -1;
    BOOL m_bEnabled = TRUE;
    BOOL m_bOwnsChildren = TRUE;
    std::vector<SECMsgFilter*> m_children;
    CFrameWnd* m_pFrameWnd = nullptr;
};

// The filters of the non-client area.
class SECNcMsgFilter : public SECMsgFilter {
    DECLARE_DYNCREATE(SECNcMsgFilter)

public:
    using SECMsgFilter::SECMsgFilter;
    SECMsgFilter* Clone() const override { return new SECNcMsgFilter(*this); }
};
