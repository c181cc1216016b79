#include "ChartTestSupport.h"

#include "chart/SRGraphException.h"

#include "platform/base/MessageBoxConstants.h"

#include <gtest/gtest.h>

using charttest::RecordedBoxes;

TEST(SRGraphException, CodesNameTheirTextsAndOthersTheDefault) {
    const struct {
        int code;
        UINT id;
        const char16_t* text;
    } cases[] = {{6, 53513, u"An attempt was made to use a dynamic graph without initialising the data buffer."},
                 {2, 53561, u"Out of range accessing GROUP"},
                 {8, 53565, u"Template syntax error\nThere is an error in the component declaration."},
                 {23, 53523, u"An even number of data items is required for this operation."},
                 {99, 53517, u"An un-defined exception has been invoked."},
                 {-1, 53517, u"An un-defined exception has been invoked."}};
    for (const auto& c : cases) {
        SRGraphException e(c.code);
        EXPECT_EQ(e.GetMessageId(), c.id) << c.code;
        TCHAR text[256] = {};
        UINT help = 7;
        EXPECT_TRUE(e.GetErrorMessage(text, 256, &help)) << c.code;
        EXPECT_EQ(std::u16string(text), c.text);
        EXPECT_EQ(help, c.id);
    }
}

TEST(SRGraphException, TextIsCutToTheBufferAndCodeZeroHasNone) {
    SRGraphException e(2);
    TCHAR text[10];
    EXPECT_TRUE(e.GetErrorMessage(text, 10));
    EXPECT_EQ(std::u16string(text), u"Out of ra");

    SRGraphException none(0);
    UINT help = 7;
    text[0] = u'x';
    EXPECT_FALSE(none.GetErrorMessage(text, 10, &help));
    EXPECT_EQ(text[0], u'\0');
    EXPECT_EQ(help, 0u);

    RecordedBoxes boxes;
    ReportSRGraphException(&none);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], u"");
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST(SRGraphException, ThrowsAPointerThatCarriesTheCode) {
    try {
        ThrowSRGraphException(SRGE_NO_POLYGON);
        FAIL();
    } catch (SRGraphException* e) {
        EXPECT_EQ(e->m_nCode, 19);
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
        e->Delete();
    }
}
