// Cell values as numbers: display texts by the style's Format and Places (scientific, fixed, general,
// grouped, hexadecimal, logic, percent, fraction and date and time layouts of a serial date), and the test
// whether a text is a number, with the format and decimal places the text itself shows.
//
// Numbers are always read and written with '.' as the decimal point and ',' between groups, whatever the
// user's locale: only the date and time layouts that say so take the locale's forms.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXNumberFormattingImp : public CGXAbstractNumberFormattingImp {
public:
    // The format ids of the style's Format attribute.
    enum FormatId : int {
        kDefault = 0,
        kScientific = 1,
        kFixed = 2,
        kGeneral = 3,
        kDollars = 4,
        kComma = 5,
        kHex = 6,
        kLogic = 7,
        kDayMonthYear = 8,
        kDayMonth = 9,
        kMonthYear = 10,
        kLocaleDate = 11,
        kHidden = 12,
        kLocaleTime = 13,
        kPercent = 14,
        kText = 15,
        kDottedDate = 16,
        kIsoDate = 17,
        kLocaleDateTime = 18,
        kUser1 = 19,
        kUser4 = 22,
        kBlankComma = 23,
        kFraction = 24,
        kHourMinuteAmPm = 25,
        kTimeAmPm = 26,
        kHourMinute = 27,
    };

    CString FormatNumber(const CGXStyle& style, LPCTSTR value, int valueType, int reserved1,
                         int reserved2) override;
    BOOL ParseNumber(LPCTSTR text, double* value, int* format, int* places) override;
};

// Installs the number-formatting object when the library state has none.
void InstallNumberFormatting();
// 1234567.89 becomes 1,234,567.89 (with those separators); 123 stays 123.
CString GroupThousands(const CString& digits, WCHAR decimal, WCHAR group);
