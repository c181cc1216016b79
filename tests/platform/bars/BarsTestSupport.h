// The bars tests' world: a small resource file (a toolbar, its bitmap, strings), and a frame with a view,
// a dockable toolbar and a status bar, created the way a program's main frame creates them.
#pragma once

#include "platform/framework/FrameworkTestSupport.h"

#include "platform/controls/Toolbar.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "platform/resources/Resources.h"

#include <map>
#include <string>
#include <vector>

namespace barstest {

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT ID_INDICATOR_MODE = 0xE710;
constexpr UINT ID_TOOL_MODE = 0x8001; // a button nobody handles

// Palette entries of the test bitmap: light grey is the toolbar face, index 4 is pure red.
constexpr BYTE kFace = 2;
constexpr BYTE kRed = 4;

class ResBytes {
public:
    ResBytes() {
        Dword(0);
        Dword(32);
        Word(0xFFFF);
        Word(0);
        Word(0xFFFF);
        Word(0);
        m_bytes.resize(32, 0);
    }
    void Add(WORD type, WORD name, const std::vector<BYTE>& data) {
        size_t start = m_bytes.size();
        Dword(static_cast<DWORD>(data.size()));
        Dword(32);
        Word(0xFFFF);
        Word(type);
        Word(0xFFFF);
        Word(name);
        Dword(0);
        Word(0x1030);
        Word(0x409);
        Dword(0);
        Dword(0);
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        while ((m_bytes.size() - start) % 4) {
            m_bytes.push_back(0);
        }
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    void Word(WORD v) {
        m_bytes.push_back(static_cast<BYTE>(v));
        m_bytes.push_back(static_cast<BYTE>(v >> 8));
    }
    void Dword(DWORD v) {
        Word(static_cast<WORD>(v));
        Word(static_cast<WORD>(v >> 16));
    }
    std::vector<BYTE> m_bytes;
};

inline void PutWord(std::vector<BYTE>& v, WORD w) {
    v.push_back(static_cast<BYTE>(w));
    v.push_back(static_cast<BYTE>(w >> 8));
}
inline void PutDword(std::vector<BYTE>& v, DWORD d) {
    PutWord(v, static_cast<WORD>(d));
    PutWord(v, static_cast<WORD>(d >> 16));
}

// A 4-bit bitmap of three 16 by 15 images: a black square, a red square, a red square in a black frame.
inline std::vector<BYTE> ToolbarBitmap() {
    std::vector<BYTE> dib;
    const int width = 48;
    const int height = 15;
    PutDword(dib, 40);
    PutDword(dib, width);
    PutDword(dib, height);
    PutWord(dib, 1);
    PutWord(dib, 4);
    PutDword(dib, 0);
    PutDword(dib, 0);
    PutDword(dib, 0);
    PutDword(dib, 0);
    PutDword(dib, 16);
    PutDword(dib, 0);
    const BYTE palette[16][3] = {{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}, {255, 0, 0}};
    for (const auto& rgb : palette) {
        dib.push_back(rgb[2]);
        dib.push_back(rgb[1]);
        dib.push_back(rgb[0]);
        dib.push_back(0);
    }
    for (int row = height - 1; row >= 0; --row) {
        std::vector<BYTE> pixels(width, kFace);
        for (int x = 0; x < width; ++x) {
            int image = x / 16;
            int ix = x % 16;
            bool inSquare = ix >= 3 && ix <= 12 && row >= 3 && row <= 11;
            bool inCore = ix >= 5 && ix <= 10 && row >= 5 && row <= 9;
            if (image == 0 && inSquare)
                pixels[x] = 0;
            if (image == 1 && inSquare)
                pixels[x] = kRed;
            if (image == 2 && inSquare)
                pixels[x] = inCore ? kRed : 0;
        }
        for (int x = 0; x < width; x += 2) {
            dib.push_back(static_cast<BYTE>((pixels[x] << 4) | pixels[x + 1]));
        }
    }
    return dib;
}

inline std::vector<BYTE> StringBlock(const std::map<int, std::u16string>& strings) {
    std::vector<BYTE> block;
    for (int i = 0; i < 16; ++i) {
        auto it = strings.find(i);
        std::u16string text = it == strings.end() ? std::u16string() : it->second;
        PutWord(block, static_cast<WORD>(text.size()));
        for (char16_t c : text) {
            PutWord(block, c);
        }
    }
    return block;
}

// Registers the test resources with the program's module, once.
inline void InstallTestResources() {
    static bool done = [] {
        ResBytes res;
        std::vector<BYTE> toolbar;
        const WORD ids[] = {ID_FILE_NEW, ID_FILE_SAVE, ID_SEPARATOR, ID_TOOL_MODE};
        PutWord(toolbar, 1);
        PutWord(toolbar, 16);
        PutWord(toolbar, 15);
        PutWord(toolbar, 4);
        for (WORD id : ids) {
            PutWord(toolbar, id);
        }
        res.Add(241, IDR_MAINFRAME, toolbar);
        res.Add(2, IDR_MAINFRAME, ToolbarBitmap());
        res.Add(6, ID_FILE_NEW / 16 + 1,
                StringBlock({{ID_FILE_NEW % 16, u"Create a new document\nNew"},
                             {ID_FILE_SAVE % 16, u"Save the document\nSave"}}));
        res.Add(6, ID_INDICATOR_CAPS / 16 + 1,
                StringBlock({{ID_INDICATOR_CAPS % 16, u"CAP"}, {ID_INDICATOR_NUM % 16, u"NUM"}}));
        res.Add(6, AFX_IDS_IDLEMESSAGE / 16 + 1, StringBlock({{AFX_IDS_IDLEMESSAGE % 16, u"Ready"}}));
        res.Add(6, ID_INDICATOR_MODE / 16 + 1,
                StringBlock({{ID_INDICATOR_MODE % 16, u"Mode: position hold"}}));
        DolivaInstallResourceHooks();
        return DolivaRegisterResources(res.Bytes().data(), res.Bytes().size(), nullptr, true) != nullptr;
    }();
    EXPECT_TRUE(done);
}

class OwnerDrawStatusBar : public CStatusBar {
public:
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        drawn.push_back(*dis);
        ::FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    std::vector<DRAWITEMSTRUCT> drawn;
};

class BarFrame : public CFrameWnd {
public:
    CToolBar m_wndToolBar;
    OwnerDrawStatusBar m_wndStatusBar;
    CWnd m_wndView;
    std::vector<UINT> commands;

    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
        LPCTSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return m_wndView.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
    }
    int OnCreate(LPCREATESTRUCT cs) {
        if (CFrameWnd::OnCreate(cs) == -1) {
            return -1;
        }
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_MODE, ID_INDICATOR_CAPS,
                                          ID_INDICATOR_NUM};
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                       CBRS_FLYBY | CBRS_SIZE_DYNAMIC) ||
            !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
            return -1;
        }
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) {
            return -1;
        }
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        return 0;
    }
    void OnFileNew() { commands.push_back(ID_FILE_NEW); }
    void OnFileSave() { commands.push_back(ID_FILE_SAVE); }
    void OnUpdateFileSave(CCmdUI* ui) { ui->Enable(saveEnabled); }
    void OnUpdateMode(CCmdUI* ui) { ui->SetText(modeText); }
    BOOL saveEnabled = FALSE;
    CString modeText = u"Mode: 3D fix";

    DECLARE_MESSAGE_MAP()
};

class BarsTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        InstallTestResources();
        m_app.SetRegistryKey(u"Halvorn");
        m_frame = new BarFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Bars", WS_OVERLAPPEDWINDOW, CRect(100, 100, 700, 500)));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        fwtest::FrameworkTest::TearDown();
    }
    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(const CWnd& wnd) const {
        CRect rect;
        wnd.GetWindowRect(&rect);
        m_frame->ScreenToClient(&rect);
        return rect;
    }
    CToolBar& ToolBar() { return m_frame->m_wndToolBar; }

    CWinApp m_app{u"BarsTest"};
    BarFrame* m_frame = nullptr;
};

} // namespace barstest
