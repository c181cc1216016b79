// A scale: a label block that labels one axis line between two device points. The decimal scale labels
// numbers at a step it finds readable for the line's length and the text height; the log, date, index and
// group scales derive from it.
#pragma once

#include "chart/SRGraphLabelBlock.h"

class SRGDecimalScale : public SRGraphLabelBlock {
    DECLARE_SERIAL(SRGDecimalScale)

public:
    SRGDecimalScale();
    ~SRGDecimalScale() override;

    void Serialize(CArchive& ar) override;
    void BuildLabels() override;

    virtual POINT GetLabelShift() { return POINT{0, 0}; }
    // From the line to the label anchors: the label offset length (the third depth value) across the line,
    // to the side the side flag picks.
    virtual POINT GetLabelOffset();
    virtual void SetStartPoint(int x, int y) { m_start = POINT{x, y}; }
    virtual void SetEndPoint(int x, int y) { m_end = POINT{x, y}; }
    virtual void SetStep(double step) { m_dStep = step; }
    virtual void SetMaximum(double value) { m_dMax = value; }
    virtual void SetMinimum(double value) { m_dMin = value; }
    // A printf format for one number; one that is not is replaced by "%g" when used.
    virtual void SetFormat(const CString& format) { m_strFormat = format; }
    virtual void SetLabelSide(int side) { m_nLabelSide = side; }
    virtual void SetAscending() { m_bAscending = TRUE; }
    virtual void SetDescending() { m_bAscending = FALSE; }
    virtual POINT GetStartPoint() const { return m_start; }
    virtual POINT GetEndPoint() const { return m_end; }
    virtual double GetStep() const { return m_dStep; }
    virtual double GetMaximum() const { return m_dMax; }
    virtual double GetMinimum() const { return m_dMin; }
    virtual const CString& GetFormat() const { return m_strFormat; }
    virtual int GetLabelSide() const { return m_nLabelSide; }
    // Turns the labels across the line.
    virtual void OrientLabels();
    // "1.5e+003" to "1.5e3", "2E-005" to "2E-5".
    virtual CString TidyExponent(const CString& text);

    BOOL IsAscending() const { return m_bAscending; }

protected:
    // The label for tick i: reused while the block holds one, else a new one attached to the block.
    SRGraphLabel* LabelAt(int index);
    // Selects the block's font (rebuilt) into its context for a build; EndBuild removes the labels beyond
    // the count used, turns them, records the tick points and puts the font back.
    void BeginBuild();
    void EndBuild(int used);
    // The anchor of a tick at distance t along the line, whose length in values is the span.
    void PlaceAt(SRGraphLabel* label, double t, double span, POINT offset);
    // A number as the format (validated) and TidyExponent give it.
    CString FormatNumber(double value);
    // The height of a text in the block's font.
    int TextHeight(const CString& text);
    double LineLength() const;

    BOOL m_bAscending = TRUE;
    POINT m_start{0, 0};
    POINT m_end{0, 0};
    double m_dMin = 0.0;
    double m_dMax = 0.0;
    double m_dStep = 0.0;
    CString m_strFormat;
    int m_nLabelSide = 0;

private:
    HGDIOBJ m_oldFont = nullptr;
};

// Whether a format prints exactly one floating-point number (and literal text, "%%" included).
bool SRGIsNumberFormat(const CString& format);
// No scale draws more labels than this in one build, whatever step it is given.
constexpr int kSRGMaxScaleLabels = 10000;
