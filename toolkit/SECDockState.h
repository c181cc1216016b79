// The saved arrangement of a toolkit frame's bars: the framework's (dock bars, rows, floating frames,
// shown or hidden) and, per toolkit bar, its share of its row and its sizes docked and floating, in the
// same profile sections. Also the profile's binary-as-text form, in chunks of 250 characters.
#pragma once

#include "platform/framework/CDockState.h"

#include <map>
#include <vector>

class CFrameWnd;
class CWinApp;

// What a toolkit bar adds to the framework's bar information.
struct SECControlBarInfo {
    UINT m_nBarID = 0;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    float m_fProportion = 1.0f;
    CSize m_szFloat;
    CSize m_szHorzDock;
    CSize m_szVertDock;
    DWORD m_dwDockStyle = 0;
};

class SECDockState : public CDockState {
    DECLARE_DYNAMIC(SECDockState)

public:
    static constexpr int kChunk = 250;

    // The frame's arrangement, toolkit bars' shares and sizes with it.
    void Collect(CFrameWnd* pFrame);
    // Writes it under the profile name.
    void SaveState(LPCTSTR lpszProfileName) const;
    // Reads it; FALSE (and nothing kept) when there is none or it is damaged: a count that disagrees with
    // the sections, a bar without id, a dock bar naming an unknown bar, a size or share out of range.
    BOOL LoadState(LPCTSTR lpszProfileName);
    // Gives the bars their shares and sizes, then the frame its arrangement.
    void Apply(CFrameWnd* pFrame) const;

    // Binary values as text: 'A' + low nibble, 'A' + high nibble per byte; long texts in chunks.
    static BOOL WriteBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, const BYTE* pData,
                            UINT nBytes);
    static BOOL GetBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, std::vector<BYTE>& data);

    std::map<UINT, SECControlBarInfo> m_barInfo;
};
