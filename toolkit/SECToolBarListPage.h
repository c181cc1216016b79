// The toolbar list as a page of the customisation sheet: the same list, name, Reset/Delete, New and look
// boxes as the toolbar list dialog. While the page exists the manager customises; a change of the cool
// look or the button size is told to the sibling pages ("WM_TOOLBARSTYLECHANGING").
#pragma once

#include "toolkit/SECToolBarListLogic.h"

#include "platform/framework/CPropertyPage.h"

#include <memory>

class SECToolBarListPage : public CPropertyPage {
    DECLARE_DYNAMIC(SECToolBarListPage)

public:
    explicit SECToolBarListPage(SECToolBarManager* pManager);
    ~SECToolBarListPage() override;

    std::unique_ptr<SECToolBarListLogic> m_pLogic;

protected:
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Sends "WM_TOOLBARSTYLECHANGING" with `what` to every other page of the sheet.
    void NotifySiblings(WPARAM what);

    SECToolBarManager* m_pManager;
};

// The registered "WM_TOOLBARSTYLECHANGING": wParam 1 when large buttons changed, 2 when the cool look did.
UINT SECGetToolBarStyleChangingMessage();
constexpr WPARAM SEC_STYLE_LARGEBUTTONS = 1;
constexpr WPARAM SEC_STYLE_COOLLOOK = 2;

// Customise mode for the life of a page of the customisation sheet: the manager customises, tells the page
// of its toolbars, and takes the sheet as its customise dialog (drops on it delete nothing).
void SECBeginCustomizePage(SECToolBarManager* pManager, CPropertyPage* pPage);
void SECEndCustomizePage(SECToolBarManager* pManager, CPropertyPage* pPage);
