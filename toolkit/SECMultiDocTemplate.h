// The document template of programs whose views live in MDI child windows, in docked bars or in floating
// windows: besides the MDI child frame class it names a second frame class, a dockable frame, for the docked
// and floating forms, with the menu and accelerators those frames share. It makes a new view's frame in the
// form asked for, and moves a view between the forms without losing it: the view is re-parented into the
// new frame, its document and its state stay as they are.
#pragma once

#include "platform/framework/CMultiDocTemplate.h"
#include "toolkit/SECDockBar.h"

class CView;
class SECDockableFrame;
class SECMDIFrameWnd;

// The share of its row and the size across the dock bar that a docked frame asks for.
struct SECDockSize {
    float fProportion = 1.0f;
    CSize size{150, 0};
};

class SECMultiDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(SECMultiDocTemplate)

public:
    enum Form { formMDIChild, formDocked, formFloating };
    // Where a dockable frame's bar is, as GetDockSide answers.
    enum DockSide { sideTop = 0, sideLeft = 1, sideBottom = 2, sideRight = 3, sideFloating = 4, sideNone = -1 };

    // The docked and floating forms use `pDockableFrameClass` (an SECDockableFrame or derived) with the
    // menu and accelerators of nIDDockableResource (0: the template's own resource).
    SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                        CRuntimeClass* pViewClass, CRuntimeClass* pDockableFrameClass = nullptr,
                        UINT nIDDockableResource = 0);
    ~SECMultiDocTemplate() override;

    void LoadTemplate() override;
    // A frame in the form new views take (m_nNewForm): an MDI child, or a dockable frame docked at the
    // main window's next default place or floating.
    CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) override;
    // A dockable frame with a new view of the document in a new bar on the main window (a docking-aware
    // MDI frame), docked at the frame's next default place or floating; null when it cannot be made.
    virtual SECDockableFrame* CreateDockableFrame(CDocument* pDoc, CFrameWnd* pOther, BOOL bFloating);

    // Moves the view of an MDI child into a docked dockable frame (at the next default place), or the view
    // of a dockable frame into a new MDI child. The new frame, or null when nothing was converted (no view,
    // no docking-aware MDI frame, a frame of neither form).
    virtual CFrameWnd* ToggleFrame(CFrameWnd* pFrame);
    // The side a dockable frame's bar is docked on, sideFloating while it floats, sideNone otherwise.
    virtual int GetDockSide(CFrameWnd* pFrame);
    // Docks the frame on the dock bar nDockBarID (AFX_IDW_DOCKBAR_TOP, _LEFT, _RIGHT or _BOTTOM), an MDI
    // child first moved into a dockable frame; at `pPos` in the rows and with `pSize` when given. The
    // resulting frame, or null when nothing was docked.
    virtual CFrameWnd* DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos = nullptr,
                                 const SECDockSize* pSize = nullptr);

    // Whether `pFrame` is of this template's docked and floating form.
    BOOL IsDockableForm(CFrameWnd* pFrame) const;
    // The main window when it is a docking-aware MDI frame.
    static SECMDIFrameWnd* GetMDIFrame();

    CRuntimeClass* m_pDockableFrameClass;
    UINT m_nIDDockableResource;
    HMENU m_hMenuDockable = nullptr;
    HACCEL m_hAccelDockable = nullptr;
    Form m_nNewForm = formMDIChild;

protected:
    SECDockableFrame* CreateDockableFrameWith(CDocument* pDoc, CFrameWnd* pOther, CRuntimeClass* pViewClass);
    // Moves the view from one frame to the other, which becomes its frame; the old one is destroyed.
    void MoveView(CView* pView, CFrameWnd* pFrom, CFrameWnd* pTo);
    void DockAtNextPlace(SECDockableFrame* pFrame);
    void FloatNearMainWindow(SECDockableFrame* pFrame);
};

// The side a dockable frame's bar is docked on (SECMultiDocTemplate::DockSide).
int SECDockSideOf(CFrameWnd* pFrame);
// Whether any of the application's templates is an SECMultiDocTemplate.
BOOL SECHasMultiDocTemplate();
