#include "grid/CGXLongOperation.h"

#include "grid/GridLibraryState.h"

#include <algorithm>

namespace {

CGXAbstractLongOperationImp* Imp() {
    return GridLibraryState::Instance().longOperationImp;
}

} // namespace

GridLongOperationState& GetLongOperationState() {
    static GridLongOperationState state;
    return state;
}

CGXLongOperation::CGXLongOperation() {
    if (CGXAbstractLongOperationImp* imp = Imp()) {
        imp->Begin(*this);
    } else {
        ++GetLongOperationState().level;
    }
}

CGXLongOperation::~CGXLongOperation() {
    if (CGXAbstractLongOperationImp* imp = Imp()) {
        imp->End(*this);
    } else {
        --GetLongOperationState().level;
    }
}

void CGXLongOperation::SetStatusText(LPCTSTR newText, BOOL copy) {
    if (CGXAbstractLongOperationImp* imp = Imp()) {
        imp->SetStatusText(*this, newText, copy);
    }
}

void CGXLongOperation::FreeStatusText() {
    if (CGXAbstractLongOperationImp* imp = Imp()) {
        imp->FreeStatusText(*this);
    }
}

BOOL CGXLongOperation::ShowProgress() {
    CGXAbstractLongOperationImp* imp = Imp();
    return imp ? imp->UpdateProgress(*this) : FALSE;
}

BOOL CGXLongOperation::CheckAbort(BOOL& aborted) {
    aborted = FALSE;
    CGXAbstractLongOperationImp* imp = Imp();
    return imp ? imp->DoMessages(*this, aborted) : FALSE;
}

void CGXLongOperation::ProcessMessages() {
    if (CGXAbstractLongOperationImp* imp = Imp()) {
        imp->ProcessMessages(*this);
    }
}

void CGXLongOperation::SetPercentDone(int percent) {
    GridLongOperationState& state = GetLongOperationState();
    if (state.displayLevelLimit == -1 || state.displayLevelLimit >= state.level - 1) {
        state.percent = std::min(percent, 100);
    }
}
