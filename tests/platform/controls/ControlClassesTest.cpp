// Every standard control's class: a system class that a program class of the same name hides, and that is
// there again once the program's class goes.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"
#include "platform/controls/Toolbar.h"

#include <string>

using namespace controlstest;

namespace {

LRESULT CALLBACK ProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

using ControlClassesTest = ControlsTest;

TEST_F(ControlClassesTest, ProgramClassHidesTheStandardOneUntilItIsUnregistered) {
    struct Case {
        LPCWSTR name;
        void (*registrar)();
    } cases[] = {
        {u"Button", RegisterButtonClass},
        {u"Static", RegisterStaticClass},
        {u"Edit", RegisterEditClass},
        {u"ListBox", RegisterListBoxClass},
        {u"ComboLBox", RegisterListBoxClass},
        {u"ComboBox", RegisterComboBoxClass},
        {WC_SCROLLBARW, RegisterScrollBarClass},
        {UPDOWN_CLASSW, RegisterUpDownClass},
        {PROGRESS_CLASSW, RegisterProgressClass},
        {TOOLTIPS_CLASSW, RegisterTooltipClass},
        {STATUSCLASSNAMEW, RegisterStatusBarClass},
        {TOOLBARCLASSNAMEW, RegisterToolbarClass},
    };
    for (const Case& c : cases) {
        std::u16string name(c.name);
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        WNDCLASSW program{};
        program.lpfnWndProc = ProgramProc;
        program.lpszClassName = c.name;
        ASSERT_NE(RegisterClassW(&program), 0);
        c.registrar();
        c.registrar(); // a second registration changes nothing

        WNDCLASSW found{};
        ASSERT_TRUE(GetClassInfoW(nullptr, c.name, &found));
        EXPECT_EQ(found.lpfnWndProc, ProgramProc);

        ASSERT_TRUE(UnregisterClassW(c.name, nullptr));
        ASSERT_TRUE(GetClassInfoW(nullptr, c.name, &found));
        EXPECT_NE(found.lpfnWndProc, ProgramProc);
        EXPECT_EQ(found.cbWndExtra, static_cast<int>(sizeof(void*)));
        EXPECT_TRUE(found.style & CS_GLOBALCLASS);
    }
}

} // namespace
