// The message-filter tree a toolkit frame owns: built from a descriptor table, fed the frame's non-client
// messages (some before the frame's own processing, some after) and the extended system command, and
// switched by the frame's caption-button configuration.
#pragma once

#include "toolkit/SECMsgFilter.h"

#include <initializer_list>
#include <memory>

class CFrameWnd;

// Filter ids the frames assign.
#define SEC_FILTER_CAPTION_LIST 256
#define SEC_FILTER_SYSCOMMANDEX 257
#define SEC_FILTER_MODE_BUTTON 258
#define SEC_FILTER_CAPTION_DBLCLK 259
#define SEC_FILTER_MAXCHILD_MODE_BUTTON 260
#define SEC_FILTER_MAXCHILD_DBLCLK 261
#define SEC_FILTER_CONTEXT_MENU 262

// ConfigureCaptionButtons flags: bit 0 window modes offered (a multi-document template is registered); the
// others leave out a part of them on document windows and dockable frames.
#define SEC_CAPTION_CFG_MODES 0x1u
#define SEC_CAPTION_CFG_NO_MODE_BUTTON 0x2u
#define SEC_CAPTION_CFG_NO_DBLCLK 0x4u
#define SEC_CAPTION_CFG_NO_CONTEXT_MENU 0x8u

// Whether the application has a document template that switches its frames between window modes. Until
// such a template class is linked in (found by its run-time class name), none has.
BOOL SECIsMultiDocTemplateRegistered();
// The flags a frame configures its caption buttons with at construction.
UINT SECDefaultCaptionConfig();

class SECFrameFilterTree {
public:
    explicit SECFrameFilterTree(CFrameWnd* pFrame);

    // Appends the descriptors and makes their filters.
    void Register(std::initializer_list<SECMsgFilter::Descriptor> descriptors);
    // The filters of a document window or a dockable frame: the extended system command, the caption
    // buttons with a window-mode button of the class given, the caption's right double click and its
    // context menu.
    void RegisterDocumentFilters(CRuntimeClass* pModeButtonClass);
    // Switches them: the standard buttons always, the rest with window modes unless a flag leaves them out.
    void ConfigureDocumentFilters(UINT nFlags);
    // Switches the filters in descriptor order, then lays out the caption buttons again.
    void Switch(std::initializer_list<BOOL> on);
    // For the messages the filters see first: TRUE when they consumed it, with the answer in `result`.
    BOOL FilterFirst(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // For the messages the filters hear of after the frame's processing (captions drawn again).
    void NotifyAfter(UINT message, WPARAM wParam, LPARAM lParam);
    // The frame's window procedure around `process` (its own processing): the filters first, then after.
    template <typename Process>
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam, Process process) {
        LRESULT result = 0;
        if (FilterFirst(message, wParam, lParam, result)) {
            return result;
        }
        result = process();
        NotifyAfter(message, wParam, lParam);
        return result;
    }
    // The extended system command, or FALSE when `message` is not it.
    BOOL OnSysCommandEx(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    SECMsgFilter& Root() { return *m_root; }
    SECMsgFilter* Find(int nID) { return m_root->FindFilter(nID); }
    BOOL IsEnabled(int nID);

    SECMsgFilter::DescriptorTable m_table;

private:
    std::unique_ptr<SECMsgFilter> m_root;
};
