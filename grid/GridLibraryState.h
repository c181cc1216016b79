// The grid library's one process-wide state: the control factory, the application-wide feature objects,
// the library's texts and options, the platform flags and which grids use which shared objects.
//
// The application starts the library with InitGridLibraryDefault (the library's complete factory) and then
// InitGridLibrary with its own factory, which replaces only the factory: the application-wide features the
// first one installed stay.
#pragma once

#include "grid/CGXAbstractControlFactory.h"
#include "grid/GridFeatureInterfaces.h"
#include "platform/base/CString.h"

#include <list>
#include <map>
#include <memory>
#include <vector>

class CGXDrawingAndFormatting;
class CGXGridCore;
class CGXProperties;
class CWnd;
class CView;
struct CRuntimeClass;

// The library's loaded texts, by their use.
enum GridText : int {
    kTextRedoing,
    kTextUndoing,
    kTextUndoInfo,
    kTextStoringCells,
    kTextRestoringCells,
    kTextCells,
    kTextRemovingRows,
    kTextRemovingColumns,
    kTextMoveRows,
    kTextMoveColumns,
    kTextInsertRows,
    kTextInsertColumns,
    kTextCopyingText,
    kTextCopyingInternal,
    kTextCutData,
    kTextClearCells,
    kTextCutting,
    kTextPasting,
    kTextPaste,
    kTextReplacing,
    kTextReplaceAll,
    kTextSearching,
    kTextResizingRows,
    kTextResizingColumns,
    kTextFreezeRows,
    kTextFreezeColumns,
    kTextCurrentCell,
    kTextUndoTooLarge,
    kTextClipboardSize,
    kTextCopy,
    kTextMove,
    kTextPopupClass, // the pop-up window class registered at start-up
    kGridTextCount
};

// The long-operation indicator's texts, loaded with the library's.
struct GridLongOperationTexts {
    CString processing;
    CString done;
    CString pressEscape;
    CString askAbort;
};
GridLongOperationTexts& GetLongOperationTexts();

class GridLibraryState {
public:
    static GridLibraryState& Instance();

    // Registers the clipboard format, replaces the factory (deleting the previous one), drops the tab-window
    // interface and the observers, refreshes the platform flags and lets the new factory install its
    // application-wide features.
    void SetFactory(CGXAbstractControlFactory* newFactory);
    // The state owns the object from now on; the newest comes first.
    void AddOwnedObject(CGXFeatureObject* object);
    void LoadTexts();
    void AddRuntimeClassOnce(CRuntimeClass* runtimeClass);
    // `object` is a parameter object, properties or styles map the grid uses.
    void RegisterGridUser(const void* object, CGXGridCore* grid);
    CGXGridCore* GetFirstGridOfProperties(const CGXProperties* properties) const;
    void UnregisterGrid(CGXGridCore* grid);
    // Deletes the factory, the tab-window interface, the observers, the drawing services and the owned
    // feature objects. The slots keep their pointers, as the state is going away.
    void FreeFeatures();
    // Back to the state before start-up: everything freed and every slot and setting cleared.
    void Reset();

    const CString& GetText(GridText text) const { return texts[text]; }

    BOOL initialised = FALSE;
    UINT clipboardFormat = 0;
    CString texts[kGridTextCount];
    DWORD windowsVersion = 0;
    BOOL isNotNT = FALSE;
    BOOL isWindows4OrLater = FALSE;
    BOOL isBeforeWindows4 = FALSE;
    BOOL isWin32s = FALSE;
    BOOL ignoreFocusChange = FALSE;
    // New grids read their properties and styles from the application profile.
    BOOL readProfile = FALSE;
    // The grid that became active last (the find and replace searches work on it); null once it is gone.
    CGXGridCore* lastActivatedGrid = nullptr;
    // Set while an input-method composition runs in an edit cell: the cell is not drawn over it.
    BOOL imeComposing = FALSE;
    int optionLineMode = 0;
    int optionGridLinePenStyle = 0;
    int optionHeaderLook = 0;
    BOOL newGridDefault = TRUE;

    std::unique_ptr<CGXAbstractControlFactory> factory;
    std::unique_ptr<CGXAbstractTabWndInterface> tabWndInterface;
    std::unique_ptr<CGXFeatureObject> stateObserver1;
    std::unique_ptr<CGXFeatureObject> stateObserver2;
    std::vector<CRuntimeClass*> runtimeClasses;
    std::map<const void*, std::vector<CGXGridCore*>> usersOfObject;
    std::unique_ptr<CGXDrawingAndFormatting> drawingAndFormatting;

    // The application-wide feature slots.
    CGXAbstractCoveredCellPoolImp* coveredCellPoolImp = nullptr;
    CGXAbstractSpanCellPoolImp* spanCellPoolImp = nullptr;
    CGXAbstractDelayedRangePoolImp* delayedRangePoolImp = nullptr;
    CGXAbstractPrintDeviceImp* printDeviceImp = nullptr;
    CGXAbstractStyleCompareSubsetImp* styleCompareSubsetImp = nullptr;
    CGXAbstractStyleSerializeImp* styleSerializeImp = nullptr;
    CGXAbstractGridDocSerializeImp* docSerializeImp = nullptr;
    CGXAbstractGridProfileImp* profileImp = nullptr;
    CGXAbstractGridParamCopyOperatorImp* paramCopyOperatorImp = nullptr;
    CGXAbstractGridSortMoveDataImp* sortMoveDataImp = nullptr;
    CGXAbstractDrawRotatedTextImp* drawRotatedTextImp = nullptr;
    CGXAbstractDateTimeImp* dateTimeImp = nullptr;
    CGXAbstractDataCopyMoveCellsImp* dataCopyMoveCellsImp = nullptr;
    CGXAbstractLongOperationImp* longOperationImp = nullptr;
    CGXAbstractSerializeV5CompatibleImp* serializeV5CompatibleImp = nullptr;
    CGXAbstractNumberFormattingImp* numberFormattingImp = nullptr;

    std::list<std::unique_ptr<CGXFeatureObject>> ownedObjects;

    GridLibraryState(const GridLibraryState&) = delete;
    GridLibraryState& operator=(const GridLibraryState&) = delete;

private:
    GridLibraryState() = default;
    ~GridLibraryState();
};

// Start-up: makes the factory the library's (the state owns it), loads the texts, registers the pop-up
// window class and the library's window classes, fills the colour cache, sets up the date and time object.
// The version and the two reserved values are not used.
void InitGridLibrary(WORD version, CGXAbstractControlFactory* factory, int reserved1 = 0, int reserved2 = 0);
// Options read when grids and parameter objects are made: the line mode and the grid-line pen style are
// copied into every new parameter object; the line mode and the header look together give the header base
// styles null-pen borders.
void SetGridLibraryOptions(int lineMode, int gridLinePenStyle, int headerLook);
// The library's edit, list-box, combo-box and plain window classes, after the factory's own.
void RegisterGridWindowClasses(HINSTANCE instance);

BOOL GetIgnoreFocusChange();
void SetIgnoreFocusChange(BOOL ignore);
// The installed date and time object re-reads the locale's settings.
void InitDateTimeFeature();
// The active view of the main frame, else of its active child frame; null when there is none.
CView* GetActiveFrameView();
// The window's parent when it is of the class; unless acceptIconic, null when an ancestor is minimised.
CWnd* FindParentOfClass(CWnd* window, CRuntimeClass* runtimeClass, BOOL acceptIconic);

// An application-wide installer's common step: when the slot is empty, make the object, put it there and
// let the state own it.
template <class Concrete, class Interface>
void InstallAppFeature(Interface*& slot) {
    if (!slot) {
        auto* object = new Concrete;
        slot = object;
        GridLibraryState::Instance().AddOwnedObject(object);
    }
}
