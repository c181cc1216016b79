// The feature objects inside the grid parameter's archive: written with the parameter, read back as their
// own classes.
#include "grid/CGXGridDocSerializeImp.h"
#include "grid/CGXGridParamCopyOperatorImp.h"
#include "grid/CGXGridParam.h"
#include "grid_features/CGXDelayedRangePool.h"
#include "grid_features/CGXPrintDevice.h"
#include "grid_features/CGXSpanCellPool.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using gridtest::Bytes;

namespace {

std::unique_ptr<CGXGridParam> RoundTrip(CGXGridParam& param) {
    const Bytes bytes = gridtest::Store([&](CArchive& ar) { ar << &param; });
    std::unique_ptr<CGXGridParam> read;
    EXPECT_TRUE(gridtest::Load(bytes, [&](CArchive& ar) {
        ar.SetSingleOwnerObjects(true);
        read.reset(static_cast<CGXGridParam*>(ar.ReadObject(RUNTIME_CLASS(CGXGridParam))));
    }));
    return read;
}

void InstallParamFeatures() {
    InstallGridDocSerialize();
    InstallSpanCellPool();
    InstallDelayedRangePool();
    InstallPrintDevice();
    InstallGridParamCopyOperator();
}

// The parameter owns the device from now on.
CGXPrintDevice* GiveDevice(CGXGridParam& param, const BYTE* names, DWORD size) {
    auto* device = new CGXPrintDevice;
    device->SetDeviceData(names, size, nullptr, 0);
    param.SetPrintDevice(device, TRUE);
    return device;
}

} // namespace

TEST(ParamArchive, CarriesThePoolsAndThePrintDevice) {
    InstallParamFeatures();
    CGXGridParam param;
    const BYTE names[] = {8, 0, 9, 0, 10, 0, 0, 0, 'a', 0, 0};
    GiveDevice(param, names, sizeof names);
    auto* spans = new CGXSpanCellPool;
    spans->SetSpanCellsRowCol(2, 1, 2, 4, TRUE);
    param.m_pFloatCellsSpanPool = spans;
    auto* delayed = new CGXDelayedRangePool;
    delayed->AddRange(CGXRange(1, 1, 8, 8));
    param.m_pMergeCellsDelayedRanges = delayed;

    std::unique_ptr<CGXGridParam> read = RoundTrip(param);
    ASSERT_NE(read, nullptr);
    auto* readSpans = dynamic_cast<CGXSpanCellPool*>(read->m_pFloatCellsSpanPool);
    ASSERT_NE(readSpans, nullptr);
    CGXRange cell(2, 3, 2, 3);
    EXPECT_TRUE(readSpans->GetSpanCellsRowCol(2, 3, cell));
    EXPECT_EQ(cell, CGXRange(2, 1, 2, 4));
    auto* readDelayed = dynamic_cast<CGXDelayedRangePool*>(read->m_pMergeCellsDelayedRanges);
    ASSERT_NE(readDelayed, nullptr);
    ASSERT_EQ(readDelayed->GetCount(), 1);
    EXPECT_EQ(readDelayed->GetAt(0)->m_Range, CGXRange(1, 1, 8, 8));
    EXPECT_EQ(read->m_pMergeRowsSpanPool, nullptr);
    auto* readDevice = dynamic_cast<CGXPrintDevice*>(read->GetPrintDevice());
    ASSERT_NE(readDevice, nullptr);
    EXPECT_TRUE(readDevice->CompareDeviceData(names, sizeof names, nullptr, 0));
}

TEST(ParamArchive, ACopyHasPoolsAndAPrintDeviceOfItsOwn) {
    InstallParamFeatures();
    CGXGridParam param;
    const BYTE names[] = {8, 0, 9, 0, 10, 0, 0, 0, 'b', 0, 0};
    const CGXPrintDevice* device = GiveDevice(param, names, sizeof names);
    auto* spans = new CGXSpanCellPool;
    spans->SetSpanCellsRowCol(2, 1, 2, 4, TRUE);
    param.m_pMergeRowsSpanPool = spans;

    CGXGridParam copy;
    copy.Assign(param);
    auto* copiedDevice = dynamic_cast<CGXPrintDevice*>(copy.GetPrintDevice());
    ASSERT_NE(copiedDevice, nullptr);
    EXPECT_NE(copiedDevice, device);
    EXPECT_TRUE(copiedDevice->CompareDeviceData(names, sizeof names, nullptr, 0));
    auto* copiedSpans = dynamic_cast<CGXSpanCellPool*>(copy.m_pMergeRowsSpanPool);
    ASSERT_NE(copiedSpans, nullptr);
    EXPECT_NE(copiedSpans, spans);
    CGXRange cell(2, 2, 2, 2);
    EXPECT_TRUE(copiedSpans->GetSpanCellsRowCol(2, 2, cell));
    EXPECT_EQ(cell, CGXRange(2, 1, 2, 4));
}
