// The engine's set-up: features, the parameter object, controls, the window and layout loading.
#include "grid/CGXData.h"
#include "grid/CGXGridDocSerializeImp.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyleSerializeImp.h"
#include "grid/CGXStylesMap.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/CCmdTarget.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

struct CoveredSpy : CGXAbstractGridCoveredCellsImp {
    BOOL SetCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, ROWCOL, UINT, int) override { return TRUE; }
    CGXRange* GetCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, CGXRange&) override { return nullptr; }
    BOOL StoreCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, ROWCOL, BOOL) override { return TRUE; }
    void UpdateCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, ROWCOL, UINT, BOOL) override {}
    BOOL ExpandRangeByCoveredCells(CGXGridCore*, CGXRange&) override { return FALSE; }
    void RemoveCoveredRows(CGXGridCore*, ROWCOL, ROWCOL, UINT&, int) override {}
    void RemoveCoveredCols(CGXGridCore*, ROWCOL, ROWCOL, UINT&, int) override {}
};

struct ClearSpy : CGXAbstractGridClearCellsImp {
    BOOL CanClear(CGXGridCore*) override { return TRUE; }
    BOOL Clear(CGXGridCore*, BOOL) override { return TRUE; }
    BOOL ClearCells(CGXGridCore*, const CGXRangeList&, BOOL) override { return TRUE; }
};

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEngineClasses(); }
    void TearDown() override { AfxDeleteTempMaps(); }

    TestFactory* SetFactory() {
        auto* factory = new TestFactory;
        GridLibraryState::Instance().factory.reset(factory);
        return factory;
    }
};

TEST_F(CoreTest, TheFactoryInstallsFeaturesAndAbsentOnesAnswerZero) {
    TestFactory* factory = SetFactory();
    factory->install = [](CGXGridCore* grid) {
        grid->InstallFeature<CoveredSpy>(kFeatureCoveredCells);
        grid->InstallFeature<ClearSpy>(kFeatureClearCells);
        grid->InstallFeature<ClearSpy>(kFeatureClearCells); // a second install keeps the first
    };
    CGXGridCore grid;
    std::vector<int> installed;
    for (int entry = 0; entry < kGridFeatureCount; ++entry) {
        if (grid.GetFeature(entry)) {
            installed.push_back(entry);
        }
    }
    EXPECT_EQ(installed, (std::vector<int>{kFeatureCoveredCells, kFeatureClearCells}));
    EXPECT_EQ(grid.GetAutoDeleteCount(), 2u);
    EXPECT_TRUE(grid.CanClear());

    EXPECT_FALSE(grid.Undo());
    EXPECT_FALSE(grid.Copy());
    EXPECT_FALSE(grid.CanPaste());
    EXPECT_FALSE(grid.HideRows(1, 2));
    EXPECT_TRUE(grid.GetCopyTextRowCol(1, 1).IsEmpty());
    CTestCmdUI undo;
    grid.OnUpdateEditUndo(&undo);
    EXPECT_FALSE(undo.m_bEnabled);
    CTestCmdUI redo;
    grid.OnUpdateEditRedo(&redo);
    EXPECT_FALSE(redo.m_bEnabled);
}

TEST_F(CoreTest, ControlRegistryCachesFallsBackAndReplaces) {
    TestFactory* factory = SetFactory();
    factory->makeControls = false;
    CGXGridCore grid;
    EXPECT_EQ(grid.GetRegisteredControl(0), nullptr); // no default control yet: null, not a crash

    std::vector<std::string> log;
    bool firstDeleted = false;
    auto* first = new SpyControl(&grid, &log, &firstDeleted);
    grid.RegisterControl(10, first, TRUE, FALSE);
    EXPECT_EQ(grid.GetRegisteredControl(0), first);

    // Unknown to the grid and the factory: the default control, asked of the factory once per miss.
    EXPECT_EQ(grid.GetRegisteredControl(77), first);
    EXPECT_EQ(factory->created, 1);

    factory->makeControls = true;
    CGXControl* made = grid.GetRegisteredControl(78);
    EXPECT_NE(made, first);
    EXPECT_EQ(grid.GetRegisteredControl(78), made);
    EXPECT_EQ(factory->created, 2); // the second lookup hit the cache

    auto* second = new SpyControl(&grid, &log);
    grid.RegisterControl(10, second, FALSE, FALSE);
    EXPECT_TRUE(firstDeleted);
    EXPECT_EQ(grid.GetDefaultControl(), second); // a replaced default is replaced as default
}

TEST_F(CoreTest, GridRectComesFromPrintingExplicitOrClientAndIsNeverInverted) {
    TestGrid grid;
    GridHost host(&grid, 200, 100);
    RECT rect{};
    grid.GetGridRect(rect);
    EXPECT_EQ(CRect(rect), CRect(0, 0, 200, 100));

    const RECT exp{10, 10, 110, 60};
    grid.SetGridRect(TRUE, &exp);
    grid.GetGridRect(rect);
    EXPECT_EQ(CRect(rect), CRect(exp));

    const RECT inverted{50, 10, 20, 60};
    grid.SetGridRect(TRUE, &inverted);
    grid.GetGridRect(rect);
    EXPECT_EQ(CRect(rect), CRect(0, 0, 0, 0));
}

TEST_F(CoreTest, InitializeNeedsTheLibraryClassAndCreatesTheModel) {
    TestGrid grid;
    GridHost host(&grid);
    ASSERT_TRUE(::UnregisterClassW(u"GXWND", AfxGetInstanceHandle()));
    EXPECT_THROW(
        try { grid.Initialize(); } catch (CNotSupportedException* e) {
            e->Delete();
            throw 1;
        },
        int);
    EXPECT_EQ(grid.GetParam(), nullptr);

    RegisterEngineClasses();
    auto* param = new CGXGridParam;
    param->m_nFrozenRows = 2;
    param->m_nSavedCurrentRow = 3; // beyond the counts: not restored
    grid.SetParam(param, TRUE);
    grid.m_nTopRow = 1;
    grid.Initialize();
    ASSERT_EQ(grid.GetParam(), param);
    EXPECT_NE(param->GetProperties(), nullptr);
    EXPECT_NE(param->GetStylesMap(), nullptr);
    EXPECT_NE(param->GetData(), nullptr);
    EXPECT_EQ(grid.GetTopRow(), 3u);
    ROWCOL row = 0;
    ROWCOL col = 0;
    EXPECT_FALSE(grid.GetCurrentCell(row, col));
}

TEST_F(CoreTest, InitializeRestoresASavedCurrentCellInsideTheCounts) {
    TestGrid grid;
    GridHost host(&grid);
    auto* param = new CGXGridParam;
    auto* data = new CGXData;
    data->SetRowCount(5);
    data->SetColCount(5);
    param->SetData(data, TRUE);
    param->m_nSavedCurrentRow = 4;
    param->m_nSavedCurrentCol = 2;
    grid.SetParam(param, TRUE);
    grid.Initialize();
    ROWCOL row = 0;
    ROWCOL col = 0;
    EXPECT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(row, 4u);
    EXPECT_EQ(col, 2u);
}

TEST_F(CoreTest, SetParamKeepsTheSameObjectAndDeletesAnOwnedOne) {
    CGXGridCore grid;
    auto* param = new CGXGridParam;
    grid.SetParam(param, TRUE);
    grid.SetParam(param, TRUE); // the same object stays
    EXPECT_EQ(grid.GetParam(), param);
    CGXGridParam borrowed;
    grid.SetParam(&borrowed, FALSE); // the owned one is deleted (the sanitizer sees a leak otherwise)
    EXPECT_EQ(grid.GetParam(), &borrowed);
}

TEST_F(CoreTest, PaintingBeforeInitialisationDrawsNothingAndValidates) {
    TestGrid grid;
    GridHost host(&grid);
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, TRUE);
    host.Paint();
    EXPECT_FALSE(host.HasUpdate());
}

// A grid whose validation request answer is chosen by the test.
class ValidatingGrid : public TestGrid {
public:
    BOOL OnValidateCurrentCellRequest(WPARAM) override { return answer; }
    BOOL answer = TRUE;
};

TEST_F(CoreTest, TheValidationRequestMessageAnswersTheInverse) {
    ValidatingGrid grid;
    GridHost host(&grid);
    EXPECT_EQ(grid.SendMessage(WM_GX_VALIDATEREQUEST, 0, 0), FALSE);
    grid.answer = FALSE;
    EXPECT_EQ(grid.SendMessage(WM_GX_VALIDATEREQUEST, 0, 0), TRUE);
}

TEST_F(CoreTest, ATemplateMadeGridDeletesItselfAnApplicationOneDoesNot) {
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), u"p", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
    // As a dialog template creates it: by class name, with no object behind it.
    HWND hwnd = ::CreateWindowExW(0, u"CGXGridWnd", u"", WS_CHILD, 0, 0, 50, 50, parent.m_hWnd, nullptr,
                                  AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(hwnd, nullptr);
    auto* made = dynamic_cast<CGXGridWnd*>(CWnd::FromHandlePermanent(hwnd));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(CGXGridWnd::IsLibraryCreated(made));
    ::DestroyWindow(hwnd);
    EXPECT_FALSE(CGXGridWnd::IsLibraryCreated(made));

    {
        TestGrid own;
        own.Create(u"CGXGridWnd", u"", WS_CHILD, CRect(0, 0, 50, 50), &parent, 1);
        EXPECT_FALSE(CGXGridWnd::IsLibraryCreated(&own));
        own.DestroyWindow();
        EXPECT_EQ(own.GetSafeHwnd(), nullptr); // still alive: the destructor runs at scope end
    }
    parent.DestroyWindow();
}

// ---- Layout loading

class LayoutTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        GridLibraryState& state = GridLibraryState::Instance();
        InstallAppFeature<CGXGridDocSerializeImp>(state.docSerializeImp);
        InstallAppFeature<CGXStyleSerializeImp>(state.styleSerializeImp);
    }

    static Bytes Layout(CObject& root) {
        return Store([&](CArchive& ar) { ar.WriteObject(&root); });
    }
    static CObject* Read(Bytes bytes) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CObject* object = ReadArchiveObject(&file, RUNTIME_CLASS(CGXGridParam));
        file.Detach();
        return object;
    }
};

TEST_F(LayoutTest, AParameterObjectRoundTrips) {
    CGXGridParam param;
    param.m_nFrozenRows = 2;
    param.m_strTabName = u"Sats";
    std::unique_ptr<CObject> read{Read(Layout(param))};
    auto* loaded = dynamic_cast<CGXGridParam*>(read.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_nFrozenRows, 2u);
    EXPECT_EQ(loaded->m_strTabName, CString(u"Sats"));
}

TEST_F(LayoutTest, AnotherRootClassOrATruncatedLayoutGivesNull) {
    CGXStyle style;
    EXPECT_EQ(Read(Layout(style)), nullptr); // read, found of another class, deleted

    CGXGridParam param;
    Bytes bytes = Layout(param);
    for (size_t cut : {bytes.size() / 2, size_t{3}, size_t{0}}) {
        EXPECT_EQ(Read(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut))), nullptr) << cut;
    }
}

TEST_F(LayoutTest, AMissingResourceGivesNull) {
    EXPECT_EQ(LoadGridLayoutResource(u"NOSUCHLAYOUT"), nullptr);
}

} // namespace
} // namespace gridtest
