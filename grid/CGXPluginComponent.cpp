#include "grid/CGXPluginComponent.h"

IMPLEMENT_DYNAMIC(CGXPluginComponent, CWnd)

BEGIN_MESSAGE_MAP(CGXPluginComponent, CWnd)
END_MESSAGE_MAP()

CGXPluginComponent::~CGXPluginComponent() {
    m_hWnd = nullptr;
}

BOOL CGXPluginComponent::PlugIn(CWnd* window) {
    m_hWnd = window ? window->m_hWnd : nullptr;
    return TRUE;
}

BOOL CGXPluginComponent::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    exitMessage = FALSE;
    skipDefault = FALSE;
    return OnWndMsg(message, wParam, lParam, result);
}

BOOL RoutePluginMessage(const std::vector<CGXPluginComponent*>& plugins, UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT* result) {
    for (CGXPluginComponent* plugin : plugins) {
        plugin->HandleMessage(message, wParam, lParam, result);
        if (plugin->skipDefault) {
            return TRUE;
        }
        if (plugin->exitMessage) {
            break;
        }
    }
    return FALSE;
}
