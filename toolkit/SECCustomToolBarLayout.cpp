// The custom toolbar's row layout: wrapping the buttons at a width, finding the width for a height, evening
// out the rows and placing the buttons.
#include "toolkit/SECCustomToolBar.h"

#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int NO_WRAP = 0x7FFF;
constexpr UINT DOCKBAR_LEFT = 59420;
constexpr UINT DOCKBAR_RIGHT = 59421;

bool IsSeparator(const SECStdBtn* b) {
    return (b->m_nStyle & SEC_TBBS_SEPARATOR) != 0;
}

// The buttons after a row's last inner separator, that separator included, and their width.
struct Group {
    int nSep = -1;
    int nWidth = 0;
};

} // namespace

int SECCustomToolBar::WrapRows(int nMaxWidth, std::vector<SECToolBarRow>& rows) const {
    rows.clear();
    const int n = GetBtnCount();
    if (n == 0) {
        return 0;
    }
    auto finish = [&](int first, int last, BOOL bSepEnd) {
        SECToolBarRow row;
        row.nFirst = first;
        row.nLast = last;
        row.bSepEnd = bSepEnd;
        for (int k = first; k <= last; ++k) {
            const SECStdBtn* b = m_btns[static_cast<size_t>(k)];
            if (!(bSepEnd && k == last)) {
                row.nWidth += b->m_cx;
            }
            row.nHeight = std::max(row.nHeight, b->m_cy);
        }
        rows.push_back(row);
    };
    int nStart = 0;
    int nRunning = 0;
    int nLastSep = -1;
    for (int i = 0; i < n; ++i) {
        const SECStdBtn* b = m_btns[static_cast<size_t>(i)];
        if (nRunning + b->m_cx > nMaxWidth + 2) {
            if (nLastSep > nStart) {
                finish(nStart, nLastSep, TRUE);
                nStart = nLastSep + 1;
                nRunning = 0;
                for (int k = nStart; k < i; ++k) {
                    nRunning += m_btns[static_cast<size_t>(k)]->m_cx;
                }
                nRunning += b->m_cx;
            } else if (i > nStart) {
                finish(nStart, i - 1, FALSE);
                nStart = i;
                nRunning = b->m_cx;
            }
            // Alone at the start of a row: it stays there and takes no width from the row.
        } else {
            nRunning += b->m_cx;
        }
        if (IsSeparator(b)) {
            nLastSep = i;
        }
    }
    finish(nStart, n - 1, FALSE);
    return static_cast<int>(rows.size());
}

int SECCustomToolBar::NarrowestButton() const {
    int n = NO_WRAP;
    for (const SECStdBtn* b : m_btns) {
        n = std::min(n, b->m_cx);
    }
    return m_btns.empty() ? 0 : n;
}

int SECCustomToolBar::WidestButton() const {
    int n = 0;
    for (const SECStdBtn* b : m_btns) {
        n = std::max(n, b->m_cx);
    }
    return n;
}

int SECCustomToolBar::WrappedHeight(int nWidth) const {
    std::vector<SECToolBarRow> rows;
    WrapRows(nWidth, rows);
    int cy = 0;
    for (const SECToolBarRow& r : rows) {
        cy += r.nHeight + (r.bSepEnd ? m_nSepWidth * 2 / 3 : 0);
    }
    return cy;
}

CSize SECCustomToolBar::CalcWrappedSize(int nLength, BOOL bHeight) {
    int nWidth = 0;
    if (bHeight) {
        const int cxButton = GetButtonWidth();
        const int cyButton = GetButtonHeight();
        const int nMin = NarrowestButton();
        const int nRows = cyButton > 0 ? nLength / cyButton : 0;
        nWidth = nRows > 0 ? std::max(nMin, GetBtnCount() * cxButton / nRows) : NO_WRAP;
        int cy = WrappedHeight(nWidth);
        if (cy < nLength) {
            for (int w = nWidth - cxButton; w >= nMin; w -= cxButton) {
                int h = WrappedHeight(w);
                if (h > nLength) {
                    break;
                }
                nWidth = w;
                if (h == nLength) {
                    break;
                }
            }
        } else {
            while (cy > nLength && cy > cyButton && nWidth < NO_WRAP) {
                nWidth += cxButton;
                cy = WrappedHeight(nWidth);
            }
        }
    } else {
        nWidth = std::max(nLength, WidestButton());
    }
    std::vector<SECToolBarRow> rows;
    WrapRows(nWidth, rows);
    BalanceRows(rows);
    for (SECStdBtn* b : m_btns) {
        b->m_nStyle &= ~SEC_TBBS_WRAPPED;
    }
    CSize size(0, 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (r + 1 < rows.size()) {
            m_btns[static_cast<size_t>(rows[r].nLast)]->m_nStyle |= SEC_TBBS_WRAPPED;
        }
        size.cx = std::max(size.cx, static_cast<LONG>(rows[r].nWidth));
        size.cy += rows[r].nHeight + (rows[r].bSepEnd ? m_nSepWidth * 2 / 3 : 0);
    }
    return size;
}

void SECCustomToolBar::BalanceRows(std::vector<SECToolBarRow>& rows) const {
    const int nRows = static_cast<int>(rows.size());
    if (nRows < 2) {
        return;
    }
    auto lastGroup = [&](const SECToolBarRow& row) -> std::optional<Group> {
        if (!row.bSepEnd) {
            return std::nullopt;
        }
        Group g;
        for (int k = row.nLast - 1; k > row.nFirst; --k) {
            g.nWidth += m_btns[static_cast<size_t>(k)]->m_cx;
            if (IsSeparator(m_btns[static_cast<size_t>(k)])) {
                g.nSep = k;
                return g;
            }
        }
        return std::nullopt;
    };
    // Whether moving last groups forward from row r could bring every row under the limit.
    auto lookAhead = [&](auto& self, int r, int nLimit) -> bool {
        if (r + 1 >= nRows || !rows[static_cast<size_t>(r)].bSepEnd) {
            return false;
        }
        std::optional<Group> g = lastGroup(rows[static_cast<size_t>(r)]);
        if (!g) {
            return false;
        }
        SECToolBarRow& next = rows[static_cast<size_t>(r + 1)];
        if (next.nWidth + g->nWidth < nLimit) {
            return true;
        }
        next.nWidth += g->nWidth;
        bool ok = self(self, r + 1, nLimit);
        next.nWidth -= g->nWidth;
        return ok;
    };
    // Each step moves a group or a button one row on, so this ends; the cap only guards the reasoning.
    for (int guard = 0; guard < 10000; ++guard) {
        int w = 0;
        for (int r = 1; r < nRows; ++r) {
            if (rows[static_cast<size_t>(r)].nWidth >= rows[static_cast<size_t>(w)].nWidth) {
                w = r;
            }
        }
        if (w == nRows - 1) {
            return;
        }
        SECToolBarRow& row = rows[static_cast<size_t>(w)];
        SECToolBarRow& next = rows[static_cast<size_t>(w + 1)];
        if (row.bSepEnd) {
            std::optional<Group> g = lastGroup(row);
            bool move = g && next.nWidth + g->nWidth < row.nWidth;
            if (!move && !lookAhead(lookAhead, w, row.nWidth)) {
                return;
            }
            // The row now ends at its inner separator; the group starts the next row.
            next.nFirst = g->nSep + 1;
            next.nWidth += g->nWidth;
            row.nLast = g->nSep;
            row.nWidth -= g->nWidth;
            continue;
        }
        if (row.nFirst == row.nLast) {
            return;
        }
        const int cxLast = m_btns[static_cast<size_t>(row.nLast)]->m_cx;
        bool move = next.nWidth + cxLast < row.nWidth;
        if (!move) {
            int k = w + 1;
            while (k < nRows - 1 && !rows[static_cast<size_t>(k)].bSepEnd) {
                ++k;
            }
            move = k != w + 1 && rows[static_cast<size_t>(k)].nWidth + cxLast <= row.nWidth;
        }
        if (!move) {
            return;
        }
        --row.nLast;
        row.nWidth -= cxLast;
        --next.nFirst;
        next.nWidth += cxLast;
    }
}

void SECCustomToolBar::PositionButtons(const CRect& inside) {
    const int nGap = m_nSepWidth * 2 / 3;
    int x = inside.left;
    int y = inside.top;
    int cyRow = 0;
    size_t nRowStart = 0;
    auto centre = [&](size_t end) {
        for (size_t k = nRowStart; k < end; ++k) {
            SECStdBtn* b = m_btns[k];
            if ((b->m_nStyle & SEC_TBBS_VCENTER) && b->m_cy < cyRow) {
                b->SetPos(b->m_x, y + (cyRow - b->m_cy) / 2);
            }
        }
    };
    for (size_t i = 0; i < m_btns.size(); ++i) {
        SECStdBtn* b = m_btns[i];
        b->SetPos(x, y);
        cyRow = std::max(cyRow, b->m_cy);
        x += b->m_cx;
        if (b->m_nStyle & SEC_TBBS_WRAPPED) {
            centre(i + 1);
            y += cyRow + (IsSeparator(b) ? nGap : 0);
            x = inside.left;
            cyRow = 0;
            nRowStart = i + 1;
        }
    }
    centre(m_btns.size());
}

CSize SECCustomToolBar::CalcLayout(int nLength, DWORD dwMode) {
    // Hidden buttons take no part; they come back at the end in their places.
    SECBtnArray all = m_btns;
    m_btns.erase(std::remove_if(m_btns.begin(), m_btns.end(),
                                [](const SECStdBtn* b) { return (b->m_nStyle & SEC_TBBS_HIDDEN) != 0; }),
                 m_btns.end());
    const BOOL bHorzDock = (dwMode & LM_HORZDOCK) != 0;
    const BOOL bVertDock = (dwMode & LM_VERTDOCK) != 0;
    const BOOL bHorz = (dwMode & LM_HORZ) != 0;
    const BOOL bFloating = !bHorzDock && !bVertDock;
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz, bVertDock);
    const int cxBorders = -inside.Width();
    const int cyBorders = -inside.Height();

    if (IsFullRow()) {
        CWnd* pOwner = GetParent();
        if (bHorzDock && pOwner) {
            CRect client;
            pOwner->GetClientRect(&client);
            nLength = client.Width();
        } else if (bVertDock && GetParentFrame()) {
            CWnd* pDock = GetParentFrame()->GetDlgItem(static_cast<int>((m_dwStyle & CBRS_ALIGN_RIGHT)
                                                                            ? DOCKBAR_RIGHT
                                                                            : DOCKBAR_LEFT));
            if (pDock) {
                CRect client;
                pDock->GetClientRect(&client);
                nLength = client.Height();
            }
        }
    }

    CSize result;
    if (m_btns.empty()) {
        result = CSize(GetButtonWidth() + cxBorders, GetButtonHeight() + cyBorders);
        if (IsFullRow() && nLength > 0) {
            (bHorz ? result.cx : result.cy) = nLength;
        }
    } else {
        if (dwMode & LM_COMMIT) {
            if (dwMode & LM_STRETCH) {
                nLength = static_cast<int>(static_cast<float>(nLength) * m_fProportion);
            }
            m_nOrientation = m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
            for (SECStdBtn* b : m_btns) {
                b->SetOrientation(m_nOrientation);
            }
            // A vertical bar without a length stands as a column: wrapping by a height of nothing would
            // leave it one row wide.
            CSize wrapped;
            auto column = [&]() { return CalcWrappedSize(0, FALSE); };
            if (m_dwStyle & CBRS_SIZE_FIXED) {
                wrapped = CalcWrappedSize(NO_WRAP, FALSE);
            } else if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
                if ((dwMode & LM_MRUWIDTH) || (bFloating && nLength == -1)) {
                    wrapped = CalcWrappedSize(static_cast<int>(m_nMRUWidth), FALSE);
                } else if (nLength == -1) {
                    wrapped = bHorz ? CalcWrappedSize(NO_WRAP, FALSE) : column();
                } else if (dwMode & LM_LENGTHY) {
                    wrapped = CalcWrappedSize(nLength - cyBorders, TRUE);
                } else {
                    wrapped = CalcWrappedSize(nLength - cxBorders, FALSE);
                }
            } else {
                wrapped = bHorz ? CalcWrappedSize(NO_WRAP, FALSE) : column();
            }
            PositionButtons(inside);
            CSize size(wrapped.cx + cxBorders, wrapped.cy + cyBorders);
            SECStdBtn* pLast = m_btns.back();
            if (bHorzDock) {
                if (IsFullRow() && nLength > 0) {
                    size.cx = nLength;
                    if (pLast->m_nType == SEC_BTN_FAREND) {
                        pLast->SetPos(nLength - 2 - pLast->m_cx, pLast->m_y);
                    }
                }
                m_sizeHorz = size;
                m_szHorzDock = size;
                m_bDirtyHorz = FALSE;
            } else if (bVertDock) {
                if (IsFullRow() && nLength > 0) {
                    size.cy = nLength;
                    if (pLast->m_nType == SEC_BTN_FAREND) {
                        pLast->SetPos(pLast->m_x, nLength - 2 - pLast->m_cy);
                    }
                }
                m_sizeVert = size;
                m_szVertDock = size;
                m_bDirtyVert = FALSE;
            } else {
                m_sizeFloat = size;
                m_szFloat = size;
                if (!(dwMode & LM_LENGTHY)) {
                    m_nMRUWidth = static_cast<UINT>(wrapped.cx);
                }
                m_bDirtyFloat = FALSE;
            }
        }
        result = bHorzDock ? m_sizeHorz : bVertDock ? m_sizeVert : m_sizeFloat;
    }
    if (bFloating) {
        result.cx -= 2;
        result.cy -= 2;
    }
    m_btns = std::move(all);
    return result;
}

CSize SECCustomToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    (void)bStretch;
    DWORD dwMode = bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    if (bHorz ? m_bDirtyHorz : m_bDirtyVert) {
        CalcLayout(-1, dwMode | LM_COMMIT);
    }
    return CalcLayout(-1, dwMode);
}

CSize SECCustomToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    const BOOL bHorzDock = (dwMode & LM_HORZDOCK) != 0;
    const BOOL bVertDock = (dwMode & LM_VERTDOCK) != 0;
    if (!(dwMode & LM_COMMIT)) {
        if (bHorzDock && m_bDirtyHorz) {
            CalcLayout(NO_WRAP, dwMode | LM_COMMIT);
        } else if (bVertDock && m_bDirtyVert) {
            CalcLayout(0, dwMode | LM_COMMIT);
        } else if (!bHorzDock && !bVertDock && m_bDirtyFloat) {
            CalcLayout(static_cast<int>(m_nMRUWidth), (dwMode & ~LM_LENGTHY) | LM_COMMIT | LM_MRUWIDTH);
        }
    }
    if (!(dwMode & LM_COMMIT) || (bHorzDock && (dwMode & LM_LENGTHY)) ||
        (bVertDock && !(dwMode & LM_LENGTHY))) {
        if (!bHorzDock && !bVertDock) {
            return CalcLayout(nLength, dwMode & ~LM_COMMIT);
        }
        return SECControlBar::CalcDynamicLayout(nLength, dwMode);
    }
    return CalcLayout(nLength, dwMode);
}
