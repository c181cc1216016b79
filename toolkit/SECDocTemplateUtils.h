// Questions about the application's document templates: which template made a document's view in a
// frame, a template's place among those of one registry type name, a frame's resource id; and whether a
// window shows on the screen (it and every window it sits in).
#pragma once

#include "platform/base/CLists.h"
#include "platform/framework/CDocTemplate.h"

class CDocument;
class CView;
class CFrameWnd;

class SECDocTemplateUtils {
public:
    virtual ~SECDocTemplateUtils() = default;

    // The position of `pTemplate` among the templates whose registry type name is `lpszName`; -1 when it
    // is not there.
    virtual int GetTemplateIndex(CDocTemplate* pTemplate, LPCTSTR lpszName);
    // The index-th template of that type name (from 0), the last one when there are fewer, null for none.
    virtual CDocTemplate* GetTemplateByIndex(LPCTSTR lpszName, int nIndex);
    // The template that made the document's view in the frame: narrowed by view and frame class, by the
    // frame's resource id, by document class, then the document's own; null when any is missing.
    virtual CDocTemplate* FindTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame);
    virtual UINT GetFrameResourceId(CFrameWnd* pFrame);
    virtual BOOL CollectTemplates(CPtrList& list);
    virtual BOOL KeepByViewAndFrame(CPtrList& list, CView* pView, CFrameWnd* pFrame);
    virtual BOOL KeepByResourceId(CPtrList& list, CFrameWnd* pFrame);
    virtual BOOL KeepByDocument(CPtrList& list, CDocument* pDoc);
    // TRUE with the one template (or null for none); FALSE when more than one is left.
    virtual BOOL GetSingle(CPtrList& list, CDocTemplate*& pTemplate);
    // Whether frames of the class live in bars (dockable frames).
    virtual BOOL IsDockableFrameClass(CRuntimeClass* pClass);
    virtual CRuntimeClass* GetTemplateFrameClass(CDocTemplate* pTemplate, BOOL bDockable);
};

// The window and every window it sits in show (a control bar by its own visibility).
BOOL SECIsFullyVisible(CWnd* pWnd);
// Whether the main window is an MDI frame with a visible MDI child other than `pExcluded`.
BOOL SECHasOtherVisibleMDIChild(CWnd* pExcluded);
// When the main window is a docking-aware MDI frame whose active frame is not a showing dockable frame
// other than `pExcluded`: activates the first showing dockable frame, other than it, that holds a view of a
// template's document (TRUE); FALSE when there is none or nothing needed doing.
BOOL SECActivateOtherDockableFrame(CFrameWnd* pExcluded);
