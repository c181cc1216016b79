// The docking operations the toolkit's SDI and MDI frames share: finding a frame's dock bar for an
// alignment, docking a bar at a row and column with a share of its row, floating a bar in a floating frame,
// and repainting what a layout moved.
#pragma once

#include "platform/framework/CFrameWnd.h"
#include "toolkit/SECDockBar.h"

class CArchive;
class SECPersistentTreeNode;

// Frame dock bars in the order they are made and laid out: top, bottom, left, right.
extern const UINT kSECFrameDockBarIDs[4];

// The frame's dock bar a bar of this alignment docks on (the first of top, bottom, left, right it matches).
SECDockBar* SECDockBarFor(CFrameWnd* pFrame, DWORD dwAlign);
// Docks the bar on `pDockBar` (null: the dock bar its alignment names) at `pos`, the bar taking
// `fProportion` of its row and `nSize` across it.
void SECDockBarInFrame(CFrameWnd* pFrame, CControlBar* pBar, SECDockBar* pDockBar, SECDockPos pos,
                       float fProportion, int nSize);
// Floats the bar at (x, y) (screen): a bar alone in a floating frame of a matching alignment moves that
// frame.
void SECFloatBarInFrame(CFrameWnd* pFrame, CControlBar* pBar, int x, int y, DWORD dwStyle);
// After the frame's layout: repaints everything when the view area was empty, else what the dock bars moved.
void SECFlushFrameRedraws(CFrameWnd* pFrame, const CRect& rectLastViewArea);
// The bar layout in the profile under `lpszProfileName`: a missing or damaged one leaves the layout as it is
// (FALSE). A thread without a main window gets the frame as its main window first.
BOOL SECLoadFrameBarLayout(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
void SECSaveFrameBarLayout(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
// The same in an archive (storing errors go to the caller) and under a tree node.
BOOL SECLoadFrameBarLayout(CFrameWnd* pFrame, CArchive& ar);
void SECSaveFrameBarLayout(CFrameWnd* pFrame, CArchive& ar);
BOOL SECLoadFrameBarLayout(CFrameWnd* pFrame, SECPersistentTreeNode* pParent);
BOOL SECSaveFrameBarLayout(CFrameWnd* pFrame, SECPersistentTreeNode* pParent);
