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

#include <algorithm>
#include <string>

namespace gridlayout {

namespace {

// The controls and user attributes the program's grids register: edit, header, static, push button, check
// boxes and progress bar, with the check boxes' and progress bar's attributes.
constexpr WORD kRegisteredControls[] = {52512, 52520, 52513, 52514, 52516, 52523, 52536};
constexpr WORD kRegisteredAttributes[] = {51019, 51020, 51026, 51025, 51027};

// Row heights (rows 0-3) and column widths (columns 0-2) the layout was drawn with; the program sets row
// 0's height and column 0's width to 0 after loading.
constexpr LONG kRowHeights[] = {1400, 1200, 1200, 1200};
constexpr LONG kColWidths[] = {6000, 2500, 2500};

// The printer the layout was drawn for, as that platform kept it: single-byte DEVNAMES (driver "winspool",
// device "Printer", port "LPT1:") and a single-byte DEVMODE (portrait A4, one copy). They name no printer
// here, so a grid showing the layout asks for no printer DC and draws with the screen's metrics.
std::vector<BYTE> StoredDevNames() {
    std::vector<BYTE> block = {8, 0, 17, 0, 25, 0, 0, 0};
    for (const char* text : {"winspool", "Printer", "LPT1:"}) {
        block.insert(block.end(), text, text + std::char_traits<char>::length(text) + 1);
    }
    return block;
}

std::vector<BYTE> StoredDevMode() {
    constexpr unsigned kSize = 156;
    std::vector<BYTE> block(kSize, 0);
    const char name[] = "Printer";
    std::copy(name, name + sizeof name, block.begin());
    const auto put16 = [&block](size_t at, unsigned value) {
        block[at] = static_cast<BYTE>(value & 0xFF);
        block[at + 1] = static_cast<BYTE>(value >> 8);
    };
    put16(32, 0x0400); // the mode block's format version
    put16(36, kSize);
    put16(40, 0x0001 | 0x0002 | 0x0100); // fields: orientation, paper size, copies
    put16(44, 1);                        // portrait
    put16(46, 9);                        // A4
    put16(54, 1);                        // one copy
    return block;
}

} // namespace

std::unique_ptr<CGXGridParam> BuildSatsEnableLayout() {
    InstallPrintDevice();
    auto param = std::make_unique<CGXGridParam>();

    auto* stylesMap = new CGXStylesMap;
    stylesMap->CreateStandardStyles();
    for (WORD control : kRegisteredControls) {
        stylesMap->RegisterControl(control);
    }
    for (WORD attribute : kRegisteredAttributes) {
        stylesMap->RegisterUserAttribute(attribute);
    }
    param->SetStylesMap(stylesMap);
    param->SetProperties(new CGXProperties);

    auto* data = new CGXData;
    data->SetRowCount(kLayoutRows);
    data->SetColCount(kLayoutCols);
    CGXStyle number;
    number.SetControlId(kStaticControl).SetHorizontalAlignment(1).SetVerticalAlignment(4).SetReadOnly(TRUE);
    CGXStyle checkBox;
    checkBox.SetControlId(kCheckBox3dControl).SetHorizontalAlignment(1).SetValue(u"0");
    for (ROWCOL col = 1; col <= kLayoutCols; ++col) {
        number.SetValueUnsigned(col);
        data->StoreStyle(1, col, &number, kMergeOverride, 0);
        number.SetValueUnsigned(col + kLayoutCols);
        data->StoreStyle(3, col, &number, kMergeOverride, 0);
        data->StoreStyle(2, col, &checkBox, kMergeOverride, 0);
        data->StoreStyle(4, col, &checkBox, kMergeOverride, 0);
    }
    param->SetData(data);

    for (DWORD row = 0; row < std::size(kRowHeights); ++row) {
        param->m_rowHeights.SetAt(row) = kRowHeights[row];
    }
    for (DWORD col = 0; col < std::size(kColWidths); ++col) {
        param->m_colWidths.SetAt(col) = kColWidths[col];
    }
    param->m_abHiddenRows.SetSize(1);
    param->m_abHiddenCols.SetSize(1);
    param->m_bGridLinesAtRightBottom = TRUE; // line mode 1
    param->m_nGridLineStyle = 2;

    auto* printer = new CGXPrintDevice;
    const std::vector<BYTE> names = StoredDevNames();
    const std::vector<BYTE> mode = StoredDevMode();
    printer->SetDeviceData(names.data(), static_cast<DWORD>(names.size()), mode.data(),
                           static_cast<DWORD>(mode.size()));
    param->SetPrintDevice(printer, TRUE);
    return param;
}

std::vector<BYTE> WriteLayout(CGXGridParam& param) {
    InstallGridDocSerialize();
    InstallPrintDevice();
    auto* writer = static_cast<CGXGridDocSerializeImp*>(GridLibraryState::Instance().docSerializeImp);
    CMemFile file;
    writer->SetPropertiesStoreVersion(2);
    try {
        CArchive ar(&file, CArchive::store);
        ar.SetStringForm(true);
        ar << &param;
        ar.Close();
    } catch (...) {
        writer->SetPropertiesStoreVersion(CGXGridDocSerializeImp::kPropertiesVersion);
        throw;
    }
    writer->SetPropertiesStoreVersion(CGXGridDocSerializeImp::kPropertiesVersion);
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

std::vector<BYTE> WriteSatsEnableLayout() {
    std::unique_ptr<CGXGridParam> param = BuildSatsEnableLayout();
    return WriteLayout(*param);
}

} // namespace gridlayout
