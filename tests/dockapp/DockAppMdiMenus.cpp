#include "DockAppMdiMenus.h"

#include "DockAppIds.h"

#include "platform/framework/AfxRes.h"

namespace dockapp {
namespace {

HMENU Popup(std::initializer_list<std::pair<UINT, const char16_t*>> items) {
    HMENU popup = ::CreatePopupMenu();
    for (const auto& [id, text] : items) {
        ::AppendMenuW(popup, text ? MF_STRING : MF_SEPARATOR, id, text);
    }
    return popup;
}

void Append(HMENU menu, HMENU popup, const char16_t* title) {
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
}

HMENU WindowPopup() {
    return Popup({{ID_WINDOW_CASCADE, u"&Cascade"},
                  {ID_WINDOW_TILE_HORZ, u"&Tile"},
                  {ID_WINDOW_ARRANGE, u"&Arrange Icons"}});
}

HMENU HelpPopup() {
    return Popup({{ID_HELP_INDEX, u"&Contents"}, {0, nullptr}, {ID_APP_ABOUT, u"&About Docking"}});
}

} // namespace

HMENU MakeMdiFrameMenu() {
    HMENU menu = ::CreateMenu();
    Append(menu, Popup({{ID_DOCK_CONNECT, u"&Connect"}, {0, nullptr}, {ID_APP_EXIT, u"E&xit"}}), u"&File");
    Append(menu, Popup({{ID_DOCK_CUSTOMIZE_SHEET, u"&Customize..."}}), u"&View");
    Append(menu, WindowPopup(), u"&Window");
    Append(menu, HelpPopup(), u"&Help");
    return menu;
}

HMENU MakeMdiDocumentMenu() {
    HMENU menu = ::CreateMenu();
    Append(menu,
           Popup({{ID_DOCK_OPEN, u"&Open"}, {ID_DOCK_SAVE, u"&Save"}, {0, nullptr}, {ID_APP_EXIT, u"E&xit"}}),
           u"&File");
    Append(menu, Popup({{ID_DOCK_SURVEY, u"S&urvey"}}), u"&Edit");
    Append(menu,
           Popup({{ID_DOCK_SKY, u"&Sky"},
                  {ID_DOCK_LOG, u"&Log"},
                  {0, nullptr},
                  {ID_DOCK_CUSTOMIZE_SHEET, u"&Customize..."}}),
           u"&View");
    Append(menu, WindowPopup(), u"&Window");
    Append(menu, HelpPopup(), u"&Help");
    return menu;
}

} // namespace dockapp
