#include "toolkit/SECFrameFilters.h"

#include "toolkit/SECCaptionMsgFilter.h"
#include "toolkit/SysCommandEx.h"

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>

BOOL SECIsMultiDocTemplateRegistered() {
    CRuntimeClass* pClass = CRuntimeClass::FromName("SECMultiDocTemplate");
    CWinApp* pApp = AfxGetApp();
    if (!pClass || !pApp) {
        return FALSE;
    }
    POSITION pos = pApp->GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
        if (pTemplate && pTemplate->IsKindOf(pClass)) {
            return TRUE;
        }
    }
    return FALSE;
}

UINT SECDefaultCaptionConfig() {
    return SECIsMultiDocTemplateRegistered() ? SEC_CAPTION_CFG_MODES : 0u;
}

SECFrameFilterTree::SECFrameFilterTree(CFrameWnd* pFrame)
    : m_root(std::make_unique<SECMsgFilter>(pFrame, -1)) {}

void SECFrameFilterTree::Register(std::initializer_list<SECMsgFilter::Descriptor> descriptors) {
    for (const SECMsgFilter::Descriptor& descriptor : descriptors) {
        m_table.push_back(descriptor);
        m_root->ApplyDescriptor(descriptor, TRUE);
    }
}

void SECFrameFilterTree::RegisterDocumentFilters(CRuntimeClass* pModeButtonClass) {
    using namespace nsSysCommandEx;
    Register({
        {SEC_FILTER_SYSCOMMANDEX, -1, RUNTIME_CLASS(ScxMsgFilter), 0},
        {SEC_FILTER_CAPTION_LIST, -1, RUNTIME_CLASS(SECCaptionControlListMsgFilter), 1},
        {SEC_FILTER_MODE_BUTTON, SEC_FILTER_CAPTION_LIST, pModeButtonClass, 0},
        {SEC_FILTER_CAPTION_DBLCLK, -1, RUNTIME_CLASS(ScxCaptionNCRDBLClkFilter), 0},
        {SEC_FILTER_CONTEXT_MENU, -1, RUNTIME_CLASS(ScxContextMenuFilter), 0},
    });
}

void SECFrameFilterTree::ConfigureDocumentFilters(UINT nFlags) {
    const BOOL modes = (nFlags & SEC_CAPTION_CFG_MODES) != 0;
    const BOOL button = modes && !(nFlags & SEC_CAPTION_CFG_NO_MODE_BUTTON);
    Switch({modes, button, button, modes && !(nFlags & SEC_CAPTION_CFG_NO_DBLCLK),
            modes && !(nFlags & SEC_CAPTION_CFG_NO_CONTEXT_MENU)});
}

BOOL SECFrameFilterTree::IsEnabled(int nID) {
    SECMsgFilter* pFilter = Find(nID);
    return pFilter && pFilter->m_bEnabled;
}

void SECFrameFilterTree::Switch(std::initializer_list<BOOL> on) {
    m_root->ApplyDescriptors(m_table.data(), on.begin(),
                             static_cast<int>(std::min(on.size(), m_table.size())));
    auto* pList = dynamic_cast<SECCaptionControlListMsgFilter*>(Find(SEC_FILTER_CAPTION_LIST));
    CFrameWnd* pFrame = pList ? pList->GetFrameWnd() : nullptr;
    if (!pFrame || !pFrame->GetSafeHwnd()) {
        return;
    }
    pList->LayoutButtons();
    pFrame->SendMessage(WM_NCPAINT, 1, 0);
}

BOOL SECFrameFilterTree::FilterFirst(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        result = 0;
        return (m_root->FilterMessage(message, wParam, lParam, &result) & SEC_FILTER_HANDLED) != 0;
    default:
        return FALSE;
    }
}

void SECFrameFilterTree::NotifyAfter(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool sizingBorder =
        message == WM_SETCURSOR && LOWORD(lParam) >= HTLEFT && LOWORD(lParam) <= HTBOTTOMRIGHT;
    if (message == WM_SETTEXT || message == WM_NCPAINT || message == WM_NCACTIVATE || sizingBorder) {
        LRESULT result = 0;
        m_root->FilterMessage(message, wParam, lParam, &result);
    }
}

BOOL SECFrameFilterTree::OnSysCommandEx(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != nsSysCommandEx::GetMessageId()) {
        return FALSE;
    }
    result = 0;
    m_root->FilterMessage(message, wParam, lParam, &result);
    return TRUE;
}
