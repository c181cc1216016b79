// The program's single document: it holds the sky-plot dialog (with its horizon traces) and keeps it in the
// document file, read when the view starts and written when the program closes. The user never opens or
// saves documents.
#pragma once

#include "platform/framework/CDocument.h"

class CSatelliteViewChartDialog;

class CPex32Doc : public CDocument {
    DECLARE_DYNCREATE(CPex32Doc)

public:
    CPex32Doc();
    ~CPex32Doc() override;

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    // The path is ignored: the document file is always the program's own.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    void OnCloseDocument() override;

    // "Doliva.pex": in DOLIVA_CONFIG_DIR when that is set; otherwise beside the program, or in the user's
    // data directory when the program's folder cannot be written; an existing file is used where it lies.
    static CString DocumentFilePath();

    // The sky-plot dialog; null until read from the file or created by the view, which also destroys it and
    // clears this pointer. A file written before the program had the sky plot holds a null object.
    CSatelliteViewChartDialog* m_chartDialog = nullptr;
    CString m_documentPath;

protected:
    DECLARE_MESSAGE_MAP()
};
