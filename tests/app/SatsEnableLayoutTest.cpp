// The satellite-enable grid's layout as the program's resources hold it: written at build time by
// doliva-grid-layout, it loads through the grid's archive reader to its last byte and writes back the same.
#include "tools/gridlayout/SatsEnableLayout.h"
#include "grid/CGXData.h"
#include "grid/CGXGridDocSerializeImp.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "grid_features/CGXPrintDevice.h"
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/GlobalMemory.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes LayoutResource() {
    HRSRC found = FindResourceW(nullptr, u"SATSENABLEGRID", u"GXLAYOUT");
    if (!found) {
        return {};
    }
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    return Bytes(data, data + SizeofResource(nullptr, found));
}

// The layout loader's way: single owners, the parameter object's class required, every byte read.
std::unique_ptr<CGXGridParam> Load(const Bytes& bytes, bool& consumedAll) {
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    ar.SetSingleOwnerObjects(true);
    std::unique_ptr<CGXGridParam> param(
        static_cast<CGXGridParam*>(ar.ReadObject(RUNTIME_CLASS(CGXGridParam))));
    BYTE extra = 0;
    consumedAll = ar.Read(&extra, 1) == 0;
    return param;
}

int LoadCause(const Bytes& bytes) {
    try {
        bool consumedAll = false;
        Load(bytes, consumedAll);
    } catch (CArchiveException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

class SatsEnableLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        DolivaInstallResourceHooks();
        GridLibraryState::Instance().Reset();
        InstallGridDocSerialize();
        InstallPrintDevice();
    }
    void TearDown() override { GridLibraryState::Instance().Reset(); }
};

} // namespace

TEST_F(SatsEnableLayoutTest, EmbeddedLayoutLoadsToItsLastByteAndWritesBackTheSame) {
    const Bytes resource = LayoutResource();
    ASSERT_FALSE(resource.empty()) << "the program's resources hold SATSENABLEGRID";
    EXPECT_EQ(resource, gridlayout::WriteSatsEnableLayout()) << "the builder and the resource agree";

    bool consumedAll = false;
    std::unique_ptr<CGXGridParam> param = Load(resource, consumedAll);
    ASSERT_TRUE(param);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(gridlayout::WriteLayout(*param), resource);

    CGXData* data = param->GetData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->GetRowCount(), 4u);
    EXPECT_EQ(data->GetColCount(), 16u);
    struct Cell {
        ROWCOL row, col;
        WORD control;
        const char16_t* value;
    };
    const Cell cells[] = {
        {1, 1, gridlayout::kStaticControl, u"1"},     {1, 16, gridlayout::kStaticControl, u"16"},
        {3, 1, gridlayout::kStaticControl, u"17"},    {3, 16, gridlayout::kStaticControl, u"32"},
        {2, 5, gridlayout::kCheckBox3dControl, u"0"}, {4, 16, gridlayout::kCheckBox3dControl, u"0"},
    };
    for (const Cell& cell : cells) {
        CGXStyle style;
        ASSERT_TRUE(data->GetStyle(cell.row, cell.col, style, kMergeCopy, 0)) << cell.row << "," << cell.col;
        EXPECT_EQ(style.GetControlId(), cell.control);
        EXPECT_EQ(style.GetValue(), cell.value);
    }
    CGXStylesMap* map = param->GetStylesMap();
    ASSERT_TRUE(map);
    const CGXStyle* style = nullptr;
    EXPECT_TRUE(map->LookupBaseStyle(map->standardStyleId, style));
    EXPECT_TRUE(map->LookupBaseStyle(map->columnHeaderStyleId, style));
    EXPECT_TRUE(map->LookupBaseStyle(map->rowHeaderStyleId, style));
    EXPECT_EQ(map->controlNames.count(gridlayout::kCheckBox3dControl), 1u);
    EXPECT_TRUE(param->GetProperties());
    EXPECT_TRUE(param->m_bGridLinesAtRightBottom);
    EXPECT_EQ(param->m_nGridLineStyle, 2);

    // The stored printer blocks come back as they are and name no printer: no printer DC.
    auto* printer = dynamic_cast<CGXPrintDevice*>(param->GetPrintDevice());
    ASSERT_TRUE(printer);
    EXPECT_TRUE(param->m_bOwnPrintDevice);
    EXPECT_EQ(GlobalSize(printer->m_hDevMode), 156u);
    EXPECT_EQ(printer->GetPrinterDC(), nullptr);
    EXPECT_EQ(GlobalSize(printer->m_hDevMode), 156u);
}

TEST_F(SatsEnableLayoutTest, DamagedLayoutsRaiseTheArchiveException) {
    const Bytes resource = LayoutResource();
    ASSERT_FALSE(resource.empty());
    EXPECT_EQ(LoadCause(Bytes(resource.begin(), resource.end() - 1)), CArchiveException::endOfFile);
    Bytes otherRoot = resource;
    // "CGXGridParam" becomes "CGXStylesMap": a class the grid knows, but not the one a layout holds.
    const char stylesMap[] = "CGXStylesMap";
    std::copy(stylesMap, stylesMap + 12, otherRoot.begin() + 6);
    const int cause = LoadCause(otherRoot);
    EXPECT_TRUE(cause == CArchiveException::badClass || cause == CArchiveException::badSchema) << cause;
}
