#include "toolkit/SECBinaryText.h"

CString SECBinaryToText(const BYTE* pData, UINT nBytes) {
    std::u16string text;
    text.reserve(std::size_t(nBytes) * 2);
    for (UINT i = 0; i < nBytes; ++i) {
        text += static_cast<char16_t>(u'A' + (pData[i] & 0x0F));
        text += static_cast<char16_t>(u'A' + (pData[i] >> 4));
    }
    return CString(text.c_str());
}

std::vector<BYTE> SECTextToBinary(const CString& text) {
    std::vector<BYTE> data(static_cast<std::size_t>(text.GetLength() / 2));
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int low = (text[static_cast<int>(2 * i)] - u'A') & 0x0F;
        const int high = (text[static_cast<int>(2 * i + 1)] - u'A') & 0x0F;
        data[i] = static_cast<BYTE>(low | (high << 4));
    }
    return data;
}

CString SECBinaryCountKey(LPCTSTR lpszKey) {
    CString key(lpszKey);
    key += u"_BinCount";
    return key;
}

CString SECBinaryChunkKey(LPCTSTR lpszKey, int nChunk) {
    CString key;
    key.Format(u"%s%s%d", lpszKey, u"_BinVal", nChunk);
    return key;
}

std::vector<CString> SECSplitBinaryText(const CString& text) {
    std::vector<CString> chunks;
    for (int at = 0; at == 0 || at < text.GetLength(); at += kSECBinaryChunk) {
        chunks.push_back(text.Mid(at, kSECBinaryChunk));
    }
    return chunks;
}
