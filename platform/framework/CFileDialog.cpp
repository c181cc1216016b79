#include "platform/framework/CFileDialog.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = static_cast<DWORD>(std::size(m_szFileName));
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = static_cast<DWORD>(std::size(m_szFileTitle));
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName) {
        std::u16string name(lpszFileName);
        std::size_t n = std::min(name.size(), std::size(m_szFileName) - 1);
        std::copy_n(name.begin(), n, m_szFileName);
        m_szFileName[n] = 0;
    }
    if (lpszFilter) {
        // "|" separates the labels and patterns; the structure wants NULs.
        std::u16string filter(lpszFilter);
        std::replace(filter.begin(), filter.end(), u'|', u'\0');
        m_strFilter = CString(filter.data(), static_cast<int>(filter.size()));
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = OwnerWindow();
    // The buffer may have been replaced by the caller (several files need a bigger one).
    if (m_ofn.lpstrFile == m_szFileName) {
        m_szFileName[std::size(m_szFileName) - 1] = 0;
    }
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 &&
        m_ofn.lpstrFile[m_ofn.nFileOffset - 1] == 0) {
        // Several files: the directory comes first.
        POSITION pos = GetStartPosition();
        return GetNextPathName(pos);
    }
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const {
    CString path = GetPathName();
    int slash = path.ReverseFind(u'/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind(u'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind(u'.');
    return dot < 0 ? name : name.Left(dot);
}

POSITION CFileDialog::GetStartPosition() const {
    return m_ofn.lpstrFile && m_ofn.lpstrFile[0] ? reinterpret_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    const TCHAR* p = reinterpret_cast<const TCHAR*>(pos);
    const TCHAR* start = m_ofn.lpstrFile;
    if (!p) {
        return CString();
    }
    bool multi =
        (m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 && start[m_ofn.nFileOffset - 1] == 0;
    if (!multi) {
        pos = nullptr;
        return CString(start);
    }
    // The directory, then the names after it: a position is the name to answer next.
    if (p == start) {
        p = start + m_ofn.nFileOffset;
    }
    std::u16string dir(start);
    std::u16string name(p);
    const TCHAR* next = p + name.size() + 1;
    pos = *next ? reinterpret_cast<POSITION>(const_cast<TCHAR*>(next)) : nullptr;
    std::u16string path = dir == u"/" ? dir + name : dir + u"/" + name;
    return CString(path.c_str());
}
