#include "grid/CGXFindReplaceInfo.h"

#include "platform/base/CodePage.h"

void CGXFindReplaceInfo::PrepareSearchText() {
    m_strCompare = m_strFind;
    if (!m_bCase) {
        m_strCompare.MakeUpper();
    }
    m_pAnsiFind.reset();
    // A character may need more than one byte: the size is asked for first.
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, m_strFind, -1, nullptr, 0, nullptr, nullptr);
    m_pAnsiFind = std::make_unique<char[]>(static_cast<size_t>(bytes > 0 ? bytes : 1));
    if (bytes > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, m_strFind, -1, m_pAnsiFind.get(), bytes, nullptr, nullptr);
    }
}
