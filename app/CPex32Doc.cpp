#include "app/CPex32Doc.h"

#include "dialogs/CSatelliteViewChartDialog.h"

#include "platform/base/CFile.h"
#include "platform/base/CodePage.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/CWinApp.h"
#include "resources/Resource.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

IMPLEMENT_DYNCREATE(CPex32Doc, CDocument)

BEGIN_MESSAGE_MAP(CPex32Doc, CDocument)
END_MESSAGE_MAP()

namespace {

namespace fs = std::filesystem;

CString FromPath(const fs::path& path) {
    return CString(Utf8ToUtf16(path.string()).c_str());
}

fs::path UserDataDirectory() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
        return fs::path(data) / "doliva";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return fs::path(home) / ".local" / "share" / "doliva";
    }
    return fs::path("/tmp") / "doliva";
}

} // namespace

CPex32Doc::CPex32Doc() = default;

CPex32Doc::~CPex32Doc() = default;

CString CPex32Doc::DocumentFilePath() {
    CString extension;
    if (!extension.LoadString(IDS_DOC_EXTENSION)) {
        extension = u"pex";
    }
    std::string name = "Doliva." + Utf16ToUtf8(extension.str());
    std::error_code ec;
    if (const char* config = std::getenv("DOLIVA_CONFIG_DIR"); config && *config) {
        return FromPath(fs::path(config) / name);
    }
    fs::path programDir;
    TCHAR module[4096];
    if (::GetModuleFileNameW(nullptr, module, 4096)) {
        programDir = fs::path(Utf16ToUtf8(module)).parent_path();
    }
    fs::path beside = programDir / name;
    fs::path dataFile = UserDataDirectory() / name;
    if (!programDir.empty() && fs::exists(beside, ec)) {
        return FromPath(beside);
    }
    if (fs::exists(dataFile, ec)) {
        return FromPath(dataFile);
    }
    if (!programDir.empty() && ::access(programDir.c_str(), W_OK) == 0) {
        return FromPath(beside);
    }
    fs::create_directories(dataFile.parent_path(), ec);
    return FromPath(dataFile);
}

BOOL CPex32Doc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) {
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CPex32Doc::OnOpenDocument(LPCTSTR) {
    m_documentPath = DocumentFilePath();
    CFile file;
    CFileException error;
    std::error_code ec;
    if (fs::exists(fs::path(Utf16ToUtf8(m_documentPath.str())), ec) &&
        file.Open(m_documentPath, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        {
            CArchive ar(&file, CArchive::load, 4096);
            Serialize(ar);
        }
        file.Close();
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CPex32Doc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteObject(m_chartDialog);
        return;
    }
    // A damaged file leaves the pointer as it was; the view then makes a new dialog.
    try {
        m_chartDialog = CSatelliteViewChartDialog::ReadChartDialogFromArchive(ar);
    } catch (CException* e) {
        e->Delete();
    }
}

void CPex32Doc::OnCloseDocument() {
    if (m_documentPath.IsEmpty()) {
        m_documentPath = DocumentFilePath();
    }
    CFile file;
    CFileException error;
    if (file.Open(m_documentPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, &error)) {
        try {
            {
                CArchive ar(&file, CArchive::store, 4096);
                Serialize(ar);
                ar.Close();
            }
            file.Close();
        } catch (CException* e) {
            e->Delete();
            file.Abort();
        }
    }
    SetModifiedFlag(FALSE);
    CDocument::OnCloseDocument();
}
