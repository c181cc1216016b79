#include "grid/GridLibraryState.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXLongOperation.h"
#include "grid/GridResourceIds.h"
#include "grid/GridSysColorCache.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/kernel/Version.h"

#include <algorithm>
#include <cstdint>

namespace {

// The string of each text slot, in slot order.
constexpr UINT kTextIds[kTextPopupClass] = {
    IDS_GRID_REDOING,
    IDS_GRID_UNDOING,
    IDS_GRID_UNDO_INFO,
    IDS_GRID_STORING_CELLS,
    IDS_GRID_RESTORING_CELLS,
    IDS_GRID_CELLS,
    IDS_GRID_REMOVING_ROWS,
    IDS_GRID_REMOVING_COLUMNS,
    IDS_GRID_MOVE_ROWS,
    IDS_GRID_MOVE_COLUMNS,
    IDS_GRID_INSERT_ROWS,
    IDS_GRID_INSERT_COLUMNS,
    IDS_GRID_COPYING_TEXT,
    IDS_GRID_COPYING_INTERNAL,
    IDS_GRID_CUT_DATA,
    IDS_GRID_CLEAR_CELLS,
    IDS_GRID_CUTTING,
    IDS_GRID_PASTING,
    IDS_GRID_PASTE,
    IDS_GRID_REPLACING,
    IDS_GRID_REPLACE_ALL,
    IDS_GRID_SEARCHING,
    IDS_GRID_RESIZING_ROWS,
    IDS_GRID_RESIZING_COLUMNS,
    IDS_GRID_FREEZE_ROWS,
    IDS_GRID_FREEZE_COLUMNS,
    IDS_GRID_CURRENT_CELL,
    IDS_GRID_UNDO_TOO_LARGE,
    IDS_GRID_CLIPBOARD_SIZE,
    IDS_GRID_COPY,
    IDS_GRID_MOVE,
};

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

void RegisterSuperclass(HINSTANCE instance, LPCWSTR name, LPCWSTR systemClass) {
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, name, &existing)) {
        return;
    }
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, systemClass, &wc)) {
        return;
    }
    wc.style |= CS_GLOBALCLASS;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

void RegisterPlainClass(HINSTANCE instance, LPCWSTR name, UINT style) {
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, name, &existing)) {
        return;
    }
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

} // namespace

GridLongOperationTexts& GetLongOperationTexts() {
    static GridLongOperationTexts texts;
    return texts;
}

GridLibraryState& GridLibraryState::Instance() {
    static GridLibraryState state;
    return state;
}

GridLibraryState::~GridLibraryState() {
    FreeFeatures();
}

void GridLibraryState::SetFactory(CGXAbstractControlFactory* newFactory) {
    CString formatName;
    formatName.Format(u"Grid Styles %08x",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(AfxGetInstanceHandle())));
    clipboardFormat = RegisterClipboardFormatW(formatName);

    if (newFactory != factory.get()) {
        factory.reset(newFactory);
    }
    tabWndInterface.reset();
    stateObserver1.reset();
    stateObserver2.reset();

    const DWORD version = GetVersion();
    const DWORD major = version & 0xFF;
    const DWORD minor = (version >> 8) & 0xFF;
    windowsVersion = major * 256 + minor;
    isNotNT = (version & 0x80000000) ? TRUE : FALSE;
    isWindows4OrLater = major >= 4;
    isBeforeWindows4 = major < 4;
    isWin32s = isNotNT && major < 4;

    if (factory) {
        factory->InstallAppFeatures();
    }
}

void GridLibraryState::AddOwnedObject(CGXFeatureObject* object) {
    if (object) {
        ownedObjects.emplace_front(object);
    }
}

void GridLibraryState::LoadTexts() {
    for (int i = 0; i < kTextPopupClass; ++i) {
        texts[i] = LoadText(kTextIds[i]);
    }
    GridLongOperationTexts& longOperation = GetLongOperationTexts();
    longOperation.askAbort = LoadText(IDS_GRID_LONGOP_ASK_ABORT);
    longOperation.processing = LoadText(IDS_GRID_LONGOP_PROCESSING);
    longOperation.done = LoadText(IDS_GRID_LONGOP_DONE);
    longOperation.pressEscape = LoadText(IDS_GRID_LONGOP_PRESS_ESC);
}

void GridLibraryState::AddRuntimeClassOnce(CRuntimeClass* runtimeClass) {
    if (std::find(runtimeClasses.begin(), runtimeClasses.end(), runtimeClass) == runtimeClasses.end()) {
        runtimeClasses.push_back(runtimeClass);
    }
}

void GridLibraryState::RegisterGridUser(const void* object, CGXGridCore* grid) {
    usersOfObject[object].push_back(grid);
}

CGXGridCore* GridLibraryState::GetFirstGridOfProperties(const CGXProperties* properties) const {
    const auto found = usersOfObject.find(properties);
    if (found == usersOfObject.end() || found->second.empty()) {
        return nullptr;
    }
    return found->second.front();
}

void GridLibraryState::UnregisterGrid(CGXGridCore* grid) {
    if (lastActivatedGrid == grid) {
        lastActivatedGrid = nullptr;
    }
    for (auto it = usersOfObject.begin(); it != usersOfObject.end();) {
        auto& grids = it->second;
        grids.erase(std::remove(grids.begin(), grids.end(), grid), grids.end());
        it = grids.empty() ? usersOfObject.erase(it) : std::next(it);
    }
}

void GridLibraryState::FreeFeatures() {
    factory.reset();
    tabWndInterface.reset();
    stateObserver1.reset();
    stateObserver2.reset();
    drawingAndFormatting.reset();
    ownedObjects.clear();
}

void GridLibraryState::Reset() {
    FreeFeatures();
    initialised = FALSE;
    clipboardFormat = 0;
    for (CString& text : texts) {
        text.Empty();
    }
    GetLongOperationTexts() = GridLongOperationTexts();
    GetLongOperationState() = GridLongOperationState();
    windowsVersion = 0;
    isNotNT = isWindows4OrLater = isBeforeWindows4 = isWin32s = FALSE;
    ignoreFocusChange = FALSE;
    readProfile = FALSE;
    lastActivatedGrid = nullptr;
    optionLineMode = optionGridLinePenStyle = optionHeaderLook = 0;
    newGridDefault = TRUE;
    runtimeClasses.clear();
    usersOfObject.clear();
    coveredCellPoolImp = nullptr;
    spanCellPoolImp = nullptr;
    delayedRangePoolImp = nullptr;
    printDeviceImp = nullptr;
    styleCompareSubsetImp = nullptr;
    styleSerializeImp = nullptr;
    docSerializeImp = nullptr;
    profileImp = nullptr;
    paramCopyOperatorImp = nullptr;
    sortMoveDataImp = nullptr;
    drawRotatedTextImp = nullptr;
    dateTimeImp = nullptr;
    dataCopyMoveCellsImp = nullptr;
    longOperationImp = nullptr;
    serializeV5CompatibleImp = nullptr;
    numberFormattingImp = nullptr;
}

void InitGridLibrary(WORD, CGXAbstractControlFactory* factory, int, int) {
    GridLibraryState& state = GridLibraryState::Instance();
    state.SetFactory(factory);
    state.LoadTexts();
    state.texts[kTextPopupClass] = AfxRegisterWndClass(CS_SAVEBITS);
    RegisterGridWindowClasses(AfxGetInstanceHandle());
    GridSysColorCache::Refresh();
    InitDateTimeFeature();
    state.initialised = TRUE;
}

void SetGridLibraryOptions(int lineMode, int gridLinePenStyle, int headerLook) {
    GridLibraryState& state = GridLibraryState::Instance();
    state.optionLineMode = lineMode;
    state.optionGridLinePenStyle = gridLinePenStyle;
    state.optionHeaderLook = headerLook;
}

void RegisterGridWindowClasses(HINSTANCE instance) {
    GridLibraryState& state = GridLibraryState::Instance();
    if (state.factory) {
        state.factory->RegisterWindowClasses(instance);
    }
    RegisterStandardControls();
    RegisterSuperclass(instance, u"GXEDIT", u"edit");
    RegisterSuperclass(instance, u"GXLISTBOX", u"listbox");
    RegisterSuperclass(instance, u"GXCOMBOBOX", u"combobox");
    RegisterPlainClass(instance, u"GXWND", CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    RegisterPlainClass(instance, u"GXNDBLCLKSWND", CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW);
    RegisterPlainClass(instance, u"GxMdiFrame", CS_GLOBALCLASS | CS_DBLCLKS);
}

BOOL GetIgnoreFocusChange() {
    return GridLibraryState::Instance().ignoreFocusChange;
}

void SetIgnoreFocusChange(BOOL ignore) {
    GridLibraryState::Instance().ignoreFocusChange = ignore;
}

void InitDateTimeFeature() {
    if (CGXAbstractDateTimeImp* dateTime = GridLibraryState::Instance().dateTimeImp) {
        dateTime->ReloadLocaleSettings();
    }
}

CView* GetActiveFrameView() {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame) {
        return nullptr;
    }
    if (CView* view = frame->GetActiveView()) {
        return view;
    }
    CFrameWnd* child = frame->GetActiveFrame();
    return child ? child->GetActiveView() : nullptr;
}

CWnd* FindParentOfClass(CWnd* window, CRuntimeClass* runtimeClass, BOOL acceptIconic) {
    CWnd* parent = window ? window->GetParent() : nullptr;
    if (!parent || !parent->IsKindOf(runtimeClass)) {
        return nullptr;
    }
    if (!acceptIconic) {
        for (CWnd* ancestor = parent; ancestor; ancestor = ancestor->GetParent()) {
            if (ancestor->IsIconic()) {
                return nullptr;
            }
        }
    }
    return parent;
}
