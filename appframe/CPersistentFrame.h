// A frame window that keeps its placement in the profile section "Window size": the normal rectangle,
// whether it was minimised or maximised, optionally the maximised position, and the control-bar state.
// The placement is applied at the first activation and stored when the window is destroyed.
#pragma once

#include "platform/framework/CFrameWnd.h"

#include <vector>

class CPersistentFrame : public CFrameWnd {
    DECLARE_DYNAMIC(CPersistentFrame)

public:
    CPersistentFrame();
    ~CPersistentFrame() override = default;

    // 1: restore only the stored position and keep the current size.
    void SetKeepCurrentSize(BOOL flag) { m_keepCurrentSize = flag; }
    // 1: store and restore the maximised position too.
    void SetSaveMaxPosition(BOOL flag) { m_saveMaxPosition = flag; }

    void ActivateFrame(int nCmdShow = -1) override;

    static const TCHAR s_profileSection[];

protected:
    void OnDestroy();
    // The docking state of the control bars, under the application's profile name.
    void LoadControlBarState();
    void SaveControlBarState();

    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_firstActivation = 1;
    int m_keepCurrentSize = 0;
    int m_saveMaxPosition = 0;

    DECLARE_MESSAGE_MAP()
};

// The numbers of a stored "Rect" value, read at the four-character fields the writer's "%04d" gives; a
// wider number (a position left of the primary screen) still reads whole.
std::vector<int> ParsePlacementNumbers(const CString& text);
