#include "grid_features/CGXPrintDevice.h"
#include "platform/base/CodePage.h"
#include "platform/base/GlobalMemory.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Printers.h"
#include "support/TestSupport.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

using gridtest::Bytes;

namespace {

Bytes BlockBytes(HGLOBAL block) {
    Bytes out;
    if (block) {
        const auto* data = static_cast<const BYTE*>(GlobalLock(block));
        out.assign(data, data + GlobalSize(block));
        GlobalUnlock(block);
    }
    return out;
}

class PrintDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        GdiSetPrinters({}, -1);
        InstallPrintDevice();
    }
    void TearDown() override { GdiSetPrinters({}, -1); }
    void ConfigurePrinter() {
        const std::u16string output = Utf8ToUtf16((testsupport::ScratchDir() / "grid.pdf").string());
        GdiSetPrinters({{u"Office", output, DMPAPER_A4, DMORIENT_PORTRAIT}}, 0);
    }
};

// Single-byte blocks as another platform stored them: names "winspool", "Printer", "LPT1:" and a short mode.
const Bytes kForeignNames = {8, 0, 17, 0, 25, 0, 0, 0, 'w', 'i', 'n', 's', 'p', 'o', 'o', 'l', 0,
                             'P', 'r', 'i', 'n', 't', 'e', 'r', 0, 'L', 'P', 'T', '1', ':', 0};
const Bytes kForeignMode = {'P', 'r', 'i', 'n', 't', 'e', 'r', 0, 0x01, 0x04, 0x00, 0x00};

} // namespace

TEST_F(PrintDeviceTest, ArchiveFormKeepsTheBlocksByteForByte) {
    CGXPrintDevice device;
    device.SetDeviceData(kForeignNames.data(), static_cast<DWORD>(kForeignNames.size()), kForeignMode.data(),
                         static_cast<DWORD>(kForeignMode.size()));
    const Bytes bytes = gridtest::Store([&](CArchive& ar) { device.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 2 + 4 + kForeignNames.size() + 4 + kForeignMode.size());
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[2], kForeignNames.size());

    CGXPrintDevice read;
    EXPECT_TRUE(gridtest::Load(bytes, [&](CArchive& ar) { read.Serialize(ar); }));
    EXPECT_EQ(BlockBytes(read.m_hDevNames), kForeignNames);
    EXPECT_EQ(BlockBytes(read.m_hDevMode), kForeignMode);
    // They name no printer here: no DC, quietly, and the next call tries again.
    EXPECT_EQ(read.GetPrinterDC(), nullptr);
    EXPECT_EQ(read.GetPrinterDC(), nullptr);
    EXPECT_EQ(BlockBytes(read.m_hDevNames), kForeignNames);

    CGXPrintDevice namesOnly;
    namesOnly.SetDeviceData(kForeignNames.data(), static_cast<DWORD>(kForeignNames.size()), nullptr, 0);
    const Bytes noMode = gridtest::Store([&](CArchive& ar) { namesOnly.Serialize(ar); });
    EXPECT_EQ(Bytes(noMode.end() - 4, noMode.end()), (Bytes{0, 0, 0, 0}));
}

TEST_F(PrintDeviceTest, DamagedArchivesAreRefused) {
    struct Case {
        const char* what;
        Bytes bytes;
        int cause;
    };
    const Case cases[] = {
        {"version 2", {2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, CArchiveException::badSchema},
        {"names longer than the archive", {1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}, CArchiveException::endOfFile},
        {"no mode size", {1, 0, 1, 0, 0, 0, 9}, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        CGXPrintDevice device;
        EXPECT_EQ(gridtest::LoadCause(c.bytes, [&](CArchive& ar) { device.Serialize(ar); }), c.cause) << c.what;
    }
    // Without the library's print-device object nothing could be read back: refused when writing.
    GridLibraryState::Instance().printDeviceImp = nullptr;
    CGXPrintDevice orphan;
    EXPECT_EQ(orphan.GetPrinterDC(), nullptr);
    bool refused = false;
    try {
        gridtest::Store([&](CArchive& ar) { orphan.Serialize(ar); });
    } catch (CArchiveException* e) {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
}

TEST_F(PrintDeviceTest, DefaultPrinterFillsAnEmptyDeviceAndGivesItsDc) {
    CGXPrintDevice device;
    EXPECT_EQ(device.GetPrinterDC(), nullptr); // no printer at all: stays empty
    EXPECT_EQ(device.m_hDevNames, nullptr);

    ConfigurePrinter();
    CDC* dc = device.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(device.GetPrinterDC(), dc);
    EXPECT_EQ(GetDeviceCaps(dc->GetSafeHdc(), LOGPIXELSX), kGdiPrinterDpi);
    auto* mode = static_cast<const DEVMODEW*>(GlobalLock(device.m_hDevMode));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->dmTTOption, 1);
    GlobalUnlock(device.m_hDevMode);
    device.ReleasePrinterDC();
    EXPECT_EQ(device.m_pPrinterDC, nullptr);
}

TEST_F(PrintDeviceTest, AssignCopiesTheBlocksAndDropsTheOwnDc) {
    ConfigurePrinter();
    CGXPrintDevice device;
    ASSERT_NE(device.GetPrinterDC(), nullptr);
    const Bytes names = BlockBytes(device.m_hDevNames);
    device.Assign(device);
    EXPECT_NE(device.m_pPrinterDC, nullptr);
    EXPECT_EQ(BlockBytes(device.m_hDevNames), names);

    CGXPrintDevice other;
    other.SetDeviceData(kForeignNames.data(), static_cast<DWORD>(kForeignNames.size()), kForeignMode.data(),
                        static_cast<DWORD>(kForeignMode.size()));
    device.Assign(other);
    EXPECT_EQ(device.m_pPrinterDC, nullptr);
    EXPECT_EQ(BlockBytes(device.m_hDevNames), kForeignNames);
    EXPECT_EQ(BlockBytes(device.m_hDevMode), kForeignMode);
    EXPECT_NE(device.m_hDevNames, other.m_hDevNames);
    EXPECT_TRUE(device.IsSameDevice(other.m_hDevNames, other.m_hDevMode));
    EXPECT_FALSE(device.IsSameDevice(other.m_hDevNames, nullptr));

    HGLOBAL names2 = nullptr;
    HGLOBAL mode2 = nullptr;
    device.GetDeviceHandles(names2, mode2);
    EXPECT_EQ(BlockBytes(names2), kForeignNames);
    EXPECT_EQ(BlockBytes(mode2), kForeignMode);
    GlobalFree(names2);
    GlobalFree(mode2);
}
