#include "toolkit/SECMsgFilter.h"

IMPLEMENT_DYNCREATE(SECMsgFilter, CObject)
IMPLEMENT_DYNCREATE(SECNcMsgFilter, SECMsgFilter)

SECMsgFilter::SECMsgFilter(const SECMsgFilter& other)
    : CObject(), m_nID(other.m_nID), m_bEnabled(other.m_bEnabled), m_bOwnsChildren(TRUE),
      m_pFrameWnd(other.m_pFrameWnd) {
    for (const SECMsgFilter* pChild : other.m_children) {
        m_children.push_back(pChild->Clone());
    }
}

SECMsgFilter::~SECMsgFilter() {
    if (m_bOwnsChildren) {
        for (SECMsgFilter* pChild : m_children) {
            delete pChild;
        }
    }
}

void SECMsgFilter::SetFrameWnd(CFrameWnd* pFrame) {
    m_pFrameWnd = pFrame;
    for (SECMsgFilter* pChild : m_children) {
        pChild->SetFrameWnd(pFrame);
    }
}

UINT SECMsgFilter::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return m_bEnabled ? ProcessMessage(message, wParam, lParam, pResult) : 0;
}

UINT SECMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ProcessChildren(message, wParam, lParam, pResult);
}

UINT SECMsgFilter::ProcessChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (!m_bEnabled) {
        return 0;
    }
    UINT result = 0;
    // A child may add children while it runs: walk by index.
    for (size_t i = 0; i < m_children.size(); ++i) {
        SECMsgFilter* pChild = m_children[i];
        if (!pChild->m_bEnabled) {
            continue;
        }
        result |= pChild->FilterMessage(message, wParam, lParam, pResult);
        if (result & SEC_FILTER_STOP) {
            break;
        }
    }
    return result;
}

SECMsgFilter* SECMsgFilter::FindFilter(int nID, CRuntimeClass* pClass, int nDepth) {
    for (SECMsgFilter* pChild : m_children) {
        if (pChild->m_nID == nID) {
            return pChild;
        }
    }
    if (nDepth != 0) {
        for (SECMsgFilter* pChild : m_children) {
            if (SECMsgFilter* pFound = pChild->FindFilter(nID, nullptr, nDepth < 0 ? -1 : nDepth - 1)) {
                return pFound;
            }
        }
    }
    if (!pClass) {
        return nullptr;
    }
    CObject* pObject = pClass->CreateObject();
    auto* pNew = dynamic_cast<SECMsgFilter*>(pObject);
    if (!pNew) {
        delete pObject;
        return nullptr;
    }
    pNew->SetFrameWnd(m_pFrameWnd);
    pNew->m_nID = nID;
    m_children.push_back(pNew);
    return pNew;
}

void SECMsgFilter::ApplyDescriptor(const Descriptor& descriptor, BOOL bOn) {
    SECMsgFilter* pParent = descriptor.nParentID == -1 ? this : FindFilter(descriptor.nParentID);
    if (!pParent) {
        return;
    }
    SECMsgFilter* pTarget = pParent->FindFilter(descriptor.nID, bOn ? descriptor.pClass : nullptr);
    if (!pTarget) {
        return;
    }
    if (bOn || !(descriptor.dwFlags & 1)) {
        pTarget->m_bEnabled = bOn;
    }
}

void SECMsgFilter::ApplyDescriptors(const Descriptor* pDescriptors, const BOOL* pOn, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        ApplyDescriptor(pDescriptors[i], pOn[i]);
    }
}

void SECMsgFilter::ApplyDescriptorTable(const DescriptorTable& table, BOOL bOn) {
    for (const Descriptor& d : table) {
        ApplyDescriptor(d, bOn);
    }
}
