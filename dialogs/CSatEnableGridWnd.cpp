#include "dialogs/CSatEnableGridWnd.h"

#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "platform/base/Exceptions.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/FrameworkResources.h"
#include "receiver/ReceiverState.h"

#include <set>

namespace {

constexpr LPCTSTR kClassName = u"CSatEnableGridWnd";
constexpr int kSatellites = 32;
constexpr ROWCOL kLastCheckBoxCol = 16;

// The grids the class procedure made for dialog templates; they delete themselves with their window.
std::set<const CSatEnableGridWnd*>& ClassCreatedWnds() {
    static std::set<const CSatEnableGridWnd*> wnds;
    return wnds;
}

LRESULT CALLBACK SatEnableGridClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd::FromHandlePermanent(hwnd)) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* wnd = new CSatEnableGridWnd;
    ClassCreatedWnds().insert(wnd);
    wnd->SubclassWindow(hwnd);
    return AfxWndProc(hwnd, message, wParam, lParam);
}

bool IsCheckBoxCell(ROWCOL row, ROWCOL col) {
    return (row == 2 || row == 4) && col >= 1 && col <= kLastCheckBoxCol;
}

bool IsUbloxMode() {
    const int mode = g_interfaceMode.load();
    return mode == kModeUbloxUbx || mode == kModeUbloxNmea;
}

DWORD Bit(int prn) {
    return 1u << (prn - 1);
}

} // namespace

BEGIN_MESSAGE_MAP(CSatEnableGridWnd, CButtonCellsGridWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

LPCTSTR CSatEnableGridWnd::RegisterClass() {
    const HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (::GetClassInfoW(instance, kClassName, &wc)) {
        return kClassName;
    }
    wc = WNDCLASSW{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = SatEnableGridClassProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!::RegisterClassW(&wc)) {
        AfxThrowResourceException();
    }
    return kClassName;
}

LPCTSTR RegisterSatEnableGridClass() {
    return CSatEnableGridWnd::RegisterClass();
}

BOOL CSatEnableGridWnd::IsClassCreated(const CSatEnableGridWnd* wnd) {
    return ClassCreatedWnds().count(wnd) != 0;
}

void CSatEnableGridWnd::PostNcDestroy() {
    if (IsClassCreated(this)) {
        ClassCreatedWnds().erase(this);
        delete this;
    }
}

void CSatEnableGridWnd::LoadLayoutIfMissing() {
    if (GetParam()) {
        return;
    }
    CString name;
    GetWindowTextW(name);
    // A missing layout leaves the grid to make its own parameter object.
    if (CGXGridParam* layout = LoadGridLayoutResource(name)) {
        SetParam(layout, TRUE);
    }
}

int CSatEnableGridWnd::OnCreate(LPCREATESTRUCT createStruct) {
    if (CButtonCellsGridWnd::OnCreate(createStruct) == -1) {
        return -1;
    }
    if (!GetParam()) {
        LoadLayoutIfMissing();
        InitializeFromStyle();
        if (CGXGridParam* param = GetParam()) {
            param->EnableUndo(FALSE);
            SetColWidth(0, 0, 0);
            SetRowHeight(0, 0, 0);
            param->SetSelectionFlags(0);
            param->EnableUndo(TRUE);
        }
    }
    return 0;
}

void CSatEnableGridWnd::Initialize() {
    LoadLayoutIfMissing();
    CButtonCellsGridWnd::Initialize();
}

void CSatEnableGridWnd::SetEnableMask(DWORD mask) {
    m_enableMask = mask;
    CGXGridParam* param = GetParam();
    const BOOL locked = param->m_bLockUpdate;
    param->m_bLockUpdate = TRUE;
    for (int prn = 1; prn <= kSatellites; ++prn) {
        CGXStyle value;
        value.SetValue((mask & Bit(prn)) ? u"1" : u"0");
        StoreStyleRowCol(CellRow(prn), CellCol(prn), &value, kMergeOverride);
    }
    if (GetSafeHwnd()) {
        param->m_bLockUpdate = FALSE;
        RedrawRowCol(2, 1, 2, kLastCheckBoxCol);
        RedrawRowCol(4, 1, 4, kLastCheckBoxCol);
    }
    param->m_bLockUpdate = locked;
}

void CSatEnableGridWnd::ColourCell(int prn, COLORREF colour) {
    CGXStyle interior;
    interior.SetInteriorColor(colour);
    SetStyleRange(CGXRange(CellRow(prn), CellCol(prn), CellRow(prn), CellCol(prn)), &interior);
}

void CSatEnableGridWnd::InitTrackedMasks(DWORD tracked, DWORD seen) {
    m_trackedMask = tracked;
    m_seenMask = seen;
    for (int prn = 1; prn <= kSatellites; ++prn) {
        if (tracked & Bit(prn)) {
            ColourCell(prn, kTrackedColour);
            m_seenMask |= Bit(prn);
        } else if (m_seenMask & Bit(prn)) {
            ColourCell(prn, kSeenColour);
        }
    }
}

void CSatEnableGridWnd::ShowTrackedMasks(DWORD tracked, DWORD seen) {
    for (int prn = 1; prn <= kSatellites; ++prn) {
        const DWORD bit = Bit(prn);
        if ((tracked & bit) != (m_trackedMask & bit)) {
            if (tracked & bit) {
                ColourCell(prn, kTrackedColour);
                m_seenMask |= bit;
            } else if (seen & bit) {
                ColourCell(prn, kSeenColour);
            }
        } else if ((seen & bit) && !(m_seenMask & bit)) {
            ColourCell(prn, kSeenColour);
        }
    }
    m_trackedMask = tracked;
    m_seenMask = seen;
}

void CSatEnableGridWnd::OnClickedButtonRowCol(ROWCOL row, ROWCOL col) {
    if (!IsCheckBoxCell(row, col)) {
        return;
    }
    // The check box stored its new value before it reported the click.
    const CString value = GetValueRowCol(row, col);
    const DWORD bit = row == 2 ? 1u << (col - 1) : 1u << (col + 15);
    // The u-blox receivers take no satellite list: their bits stay set.
    if (IsUbloxMode() || value != u"0") {
        m_enableMask |= bit;
    } else {
        m_enableMask &= ~bit;
    }
}

BOOL CSatEnableGridWnd::ProcessMoveKey(int direction, int) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!GetCurrentCell(row, col)) {
        return SetCurrentCell(1, 1, 10);
    }
    const ROWCOL otherRow = row == 2 ? 4 : 2;
    switch (direction) {
    case 4: // right
        if (++col > kLastCheckBoxCol) {
            col = 1;
            row = otherRow;
        }
        break;
    case 2: // left
        if (col <= 1) {
            col = kLastCheckBoxCol;
            row = otherRow;
        } else {
            --col;
        }
        break;
    case 1: // up
    case 3: // down
        row = otherRow;
        break;
    default:
        return TRUE;
    }
    if (col < 1 || col > kLastCheckBoxCol) {
        col = 1;
    }
    return SetCurrentCell(row, col, 10);
}

BOOL CSatEnableGridWnd::IsButtonCell(ROWCOL row, ROWCOL col) const {
    return IsCheckBoxCell(row, col);
}
