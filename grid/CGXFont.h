// The font of a cell style, packed into two 32-bit words: weight, size in quarter points, italic, underline
// and strike-out (each with a flag saying whether it is set), orientation in whole degrees and the face's
// index in the font-face table. Every attribute may be "not set", so that fonts can be merged like the
// styles they belong to.
//
// Equal fonts share one LOGFONT record of the font-face table, by reference count: the record is made (and
// the LOGFONT built) when a font's LOGFONT is first asked for, and goes when its last font lets it go.
#pragma once

#include "grid/CGXMapFontData.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CArchive;

class CGXFont : public CObject {
    DECLARE_SERIAL(CGXFont)
public:
    // The words of a font with nothing set.
    static constexpr DWORD kEmptyWordA = 0x3FE000F0;
    static constexpr DWORD kEmptyWordB = 0x3FF;
    static constexpr DWORD kWeightNotSet = 15;
    static constexpr DWORD kOrientationNotSet = 0x1FF;

    CGXFont();
    CGXFont(const CGXFont& other);
    CGXFont& operator=(const CGXFont& other) { return Assign(other); }
    ~CGXFont() override;

    // Through the application-wide style archive object.
    void Serialize(CArchive& ar) override;

    CGXFont& Assign(const CGXFont& other);
    // Every attribute not set.
    CGXFont& Clear();
    // The library's default font: Arial, 8.25 points, weight 400, not italic, not underlined.
    CGXFont& SetDefault();

    CGXFont& SetWeight(LONG weight);
    CGXFont& SetItalic(BOOL italic);
    CGXFont& SetUnderline(BOOL underline);
    CGXFont& SetStrikeOut(BOOL strikeOut);
    // The set flags alone.
    CGXFont& SetIncludeWeight(BOOL include);
    CGXFont& SetIncludeItalic(BOOL include);
    CGXFont& SetIncludeUnderline(BOOL include);
    CGXFont& SetIncludeStrikeOut(BOOL include);
    CGXFont& SetIncludeSize(BOOL include);
    CGXFont& SetIncludeOrientation(BOOL include);
    CGXFont& SetIncludeFaceName(BOOL include);
    // In tenths of a degree; negative angles are taken round to 0..3599.
    CGXFont& SetOrientation(LONG tenths);
    CGXFont& SetSize(double points);
    // The size directly in quarter points (0 not set).
    CGXFont& SetSizeCode(DWORD quarterPoints);
    CGXFont& SetFaceIndex(int index);
    // The face's index from the font-face table (an unknown name is entered there).
    CGXFont& SetFaceName(LPCTSTR name);
    CGXFont& SetLogFont(const LOGFONTW& logFont);
    CGXFont& AssignLogFont(const LOGFONTW& logFont) { return SetLogFont(logFont); }

    // Modes: 0 take what the other sets, 1 take only what this lacks, 2 copy, 3 unset what the other sets.
    CGXFont& MergeFont(const CGXFont& other, int mode);
    // Whether every attribute the other sets is set here with the same value.
    BOOL CompareSubset(const CGXFont& other) const;

    // The profile's text form: face, size in whole points, weight, italic, underline, strike-out and
    // orientation in tenths of a degree, comma-separated; a field that is not set is empty.
    CString GetDescription() const;
    // Clears the font, then takes each field of the text form that is present and not empty; null changes
    // nothing.
    CGXFont& SetDescription(LPCTSTR text);
    bool operator==(const CGXFont& other) const { return GetKey() == other.GetKey(); }

    BOOL GetIncludeWeight() const { return WeightCode() != kWeightNotSet; }
    BOOL GetIncludeItalic() const { return (m_wordA & kItalicSet) != 0; }
    BOOL GetIncludeUnderline() const { return (m_wordA & kUnderlineSet) != 0; }
    BOOL GetIncludeStrikeOut() const { return (m_wordA & kStrikeOutSet) != 0; }
    BOOL GetIncludeSize() const { return SizeCode() != 0; }
    BOOL GetIncludeOrientation() const { return OrientationCode() != kOrientationNotSet; }
    BOOL GetIncludeFaceName() const { return GetFaceIndex() != 1023; }
    LONG GetWeight() const { return static_cast<LONG>(FontWeightFromCode(WeightCode())); }
    BOOL GetBold() const { return GetWeight() >= 700; }
    BOOL GetItalic() const { return (m_wordA & kItalicValue) != 0; }
    BOOL GetUnderline() const { return (m_wordA & kUnderlineValue) != 0; }
    BOOL GetStrikeOut() const { return (m_wordA & kStrikeOutValue) != 0; }
    double GetSize() const { return FontSizeFromCode(SizeCode()); }
    DWORD GetSizeCode() const { return SizeCode(); }
    LONG GetOrientation() const { return static_cast<LONG>(FontOrientationFromCode(OrientationCode())); }
    int GetFaceIndex() const { return static_cast<int>(m_wordB & 0x3FF); }
    // The face's name from the font-face table, empty when not set.
    CString GetFaceName() const;

    // The LOGFONT of the font's shared record (made and built on first use).
    const LOGFONTW& GetLogFont() const;
    LOGFONTW GetLogFontZoomed(int percent) const;

    // The shared record of the font's key, made when missing; the font takes its reference once.
    GXFontData& AcquireFontData() const;
    // Lets go of the record of `key` when this font holds it; a record no font holds any more is freed.
    void ReleaseFontData(ULONGLONG key) const;
    void ReleaseDataIfHeld() const;
    // The description without the reference flag; equal descriptions have equal keys.
    ULONGLONG GetKey() const { return ((static_cast<ULONGLONG>(m_wordB) << 32) | m_wordA) >> 1; }

    DWORD GetWordA() const { return m_wordA; }
    DWORD GetWordB() const { return m_wordB; }
    // The description as given; the reference flag is not taken from it.
    void SetWords(DWORD wordA, DWORD wordB);

    static double FontSizeFromCode(DWORD code) { return code * 0.25; }
    static DWORD FontSizeToCode(double points);
    static DWORD FontWeightFromCode(DWORD code) { return code * 100; }
    static DWORD FontWeightToCode(LONG weight) { return static_cast<DWORD>(weight / 100) & 0xF; }
    static DWORD FontOrientationFromCode(DWORD code) { return code * 10; }
    static DWORD FontOrientationToCode(LONG tenths);

private:
    static constexpr DWORD kHeldFlag = 1u << 0;
    static constexpr DWORD kItalicSet = 1u << 1;
    static constexpr DWORD kUnderlineSet = 1u << 2;
    static constexpr DWORD kStrikeOutSet = 1u << 3;
    static constexpr DWORD kItalicValue = 1u << 18;
    static constexpr DWORD kUnderlineValue = 1u << 19;
    static constexpr DWORD kStrikeOutValue = 1u << 20;

    DWORD WeightCode() const { return (m_wordA >> 4) & 0xF; }
    DWORD SizeCode() const { return (m_wordA >> 8) & 0x3FF; }
    DWORD OrientationCode() const { return (m_wordA >> 21) & 0x1FF; }
    void SetField(DWORD mask, int shift, DWORD value);
    void SetFlag(DWORD setFlag, DWORD valueFlag, BOOL value);
    void BuildLogFont(LOGFONTW& logFont) const;

    // The reference flag changes when a const font takes or drops its shared record.
    mutable DWORD m_wordA = kEmptyWordA;
    DWORD m_wordB = kEmptyWordB;
};

// The eight bytes of a font's description, one at a time, for the persistence services.
void WriteFontWords(CArchive& ar, const CGXFont& font);
void ReadFontWords(CArchive& ar, CGXFont& font);
// Reads an object and checks that it is a CGXFont (the archive exception otherwise).
CGXFont* ReadFontFromArchive(CArchive& ar);
