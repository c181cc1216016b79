// A visible top-level window for the app's grid tests, with the program's grid set-up done; it records the
// sort notices a satellites grid sends it.
#pragma once

#include "app/CGridControlFactory.h"
#include "platform/display/DisplayBackend.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

namespace apptest {

class GridTestHost : public CWnd {
public:
    GridTestHost() {
        DolivaInstallResourceHooks();
        SetUpProgramGrids();
        CreateEx(0, AfxRegisterWndClass(0), u"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 600), nullptr, 0);
    }
    ~GridTestHost() override { DestroyWindow(); }

    // The sort mode each notice found.
    std::vector<int> notices;
    int* sortMode = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == 0x8000 + 0x0D) {
            notices.push_back(sortMode ? *sortMode : -1);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace apptest
