// The coax calculator's factors, its rounding, and the stored inputs per caller section.
#include "DialogTestSupport.h"
#include "dialogs/CCoaxDelayCalculator.h"

#include <gtest/gtest.h>

namespace {

TEST(CoaxVelocityFactor, NumbersNamesAndRefusals) {
    struct Case {
        const char16_t* text;
        double factor;
    };
    const Case cases[] = {
        {u".659  Poly", 0.659},
        {u".66", 0.66},
        {u"0.5", 0.5},
        {u"1", 1.0},
        {u"0", 0.0},
        {u"0.0", 0.0},
        {u" .5", 0.0},
        {u"RG-58A/U", 0.659},
        {u"lmr-400", 0.85},
        {u"Rg-8x/marine", 0.7},
        {u"", 0.66},
        {u"9086", 0.84},
        {u"microcell foam", 0.87},
        {u"1.5", -1},
        {u"-0.5", -1},
        {u"coax", -1},
        {u".890  micro-cell foam ", 0.89},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text));
        EXPECT_DOUBLE_EQ(CCoaxDelayCalculator::VelocityFactorFromText(c.text), c.factor);
    }
    EXPECT_DOUBLE_EQ(CCoaxDelayCalculator::UnitFactorFromText(u"feet"), 0.3048);
    EXPECT_DOUBLE_EQ(CCoaxDelayCalculator::UnitFactorFromText(u"Meters"), 1.0);
    int count = 0;
    CCoaxDelayCalculator::CableList(&count);
    EXPECT_EQ(count, 35);
}

TEST(CoaxCompute, RoundsEachRowAndTheTotalToATenth) {
    CCoaxDelayCalculator calc;
    calc.m_length1 = 100;
    calc.m_unitFactor1 = 0.3048;
    calc.m_velocityFactor1 = 0.659;
    calc.m_length2 = 10;
    calc.m_unitFactor2 = 1.0;
    calc.m_velocityFactor2 = 0.66;
    calc.Compute();
    EXPECT_NEAR(calc.m_delay1, 154.2, 1e-9);
    EXPECT_NEAR(calc.m_delay2, 50.5, 1e-9);
    EXPECT_NEAR(calc.m_totalDelay, 204.7, 1e-9);
    calc.m_velocityFactor2 = 0;
    calc.Compute();
    EXPECT_EQ(calc.m_delay2, 0);
}

TEST(CoaxCompute, DeferredEditTakesTheChangedRowAndSkipsOnceAfterCancel) {
    CCoaxDelayCalculator calc;
    calc.m_length1 = 10;
    calc.m_velocityText1 = u"lmr-400";
    calc.OnDeferredEdit(CCoaxDelayCalculator::kVelocity1Id);
    EXPECT_DOUBLE_EQ(calc.m_velocityFactor1, 0.85);
    EXPECT_NEAR(calc.m_delay1, 39.2, 1e-9);
    calc.m_dimension1 = u"Feet";
    calc.OnCancelClickStarted();
    calc.OnDeferredEdit(CCoaxDelayCalculator::kDimension1Id);
    EXPECT_DOUBLE_EQ(calc.m_unitFactor1, 1.0);
    EXPECT_TRUE(calc.m_recalcArmed);
}

class CoaxProfileTest : public dialogtest::ProfileTest {};

TEST_F(CoaxProfileTest, OldIntegerLengthIsConvertedOnceAndSectionsStayApart) {
    AppWriteProfileInt(u"Antenna Coax Calculator", u"Length_1", 25);
    AppWriteProfileString(u"Antenna Coax Calculator", u"Dimension_1", u"Meters");
    CCoaxDelayCalculator antenna;
    antenna.m_section = u"Antenna Coax Calculator";
    antenna.PrepareOpening();
    EXPECT_EQ(antenna.m_length1, 25);
    EXPECT_EQ(AppGetProfileInt(u"Antenna Coax Calculator", u"Length_1", 0), -1);
    EXPECT_NEAR(antenna.m_delay1, 126.3, 1e-9); // 25 / (0.66 * 0.3)
    antenna.m_length2 = 3.25;
    antenna.SaveSettings();
    EXPECT_EQ(AppGetProfileString(u"Antenna Coax Calculator", u"dLength_1", u""), CString(u"25.0"));
    EXPECT_EQ(AppGetProfileString(u"Antenna Coax Calculator", u"dLength_2", u""),
              CString(u"03.3")); // the runtime rounds halves up

    CCoaxDelayCalculator measurement;
    measurement.m_section = u"Measurement Coax Calculator";
    measurement.PrepareOpening();
    EXPECT_EQ(measurement.m_length1, 0);
    EXPECT_EQ(measurement.m_dimension1, CString(u"Feet"));
}

TEST_F(CoaxProfileTest, BadStoredLengthIsResetAndRewritten) {
    for (const char16_t* stored : {u"abc", u"-3", u"100001"}) {
        AppWriteProfileString(u"Coax Calculator", u"dLength_2", stored);
        CCoaxDelayCalculator calc;
        calc.PrepareOpening();
        EXPECT_EQ(calc.m_section, CString(u"Coax Calculator"));
        EXPECT_EQ(calc.m_length2, 0);
        EXPECT_EQ(AppGetProfileString(u"Coax Calculator", u"dLength_2", u""), CString(u"00.0"));
    }
}

TEST(CoaxValidation, VelocityTextsFirstThenLengths) {
    CCoaxDelayCalculator calc;
    EXPECT_EQ(calc.FindInvalidControl(), 0u);
    calc.m_length1 = 100001;
    calc.m_velocityText2 = u"1.5";
    EXPECT_EQ(calc.FindInvalidControl(), CCoaxDelayCalculator::kVelocity2Id);
    calc.m_velocityText2 = u"Foam";
    EXPECT_EQ(calc.FindInvalidControl(), CCoaxDelayCalculator::kLength1Id);
}

} // namespace
