// Binary values kept as text in settings: each byte becomes two letters, 'A' + its low four bits then
// 'A' + its high four bits. A text longer than kSECBinaryChunk characters is kept in chunks under
// key + "_BinVal" + i, with the number of chunks under key + "_BinCount".
#pragma once

#include "platform/base/CString.h"

#include <vector>

inline constexpr int kSECBinaryChunk = 250;

CString SECBinaryToText(const BYTE* pData, UINT nBytes);
// One byte per two characters; an odd last character is left out.
std::vector<BYTE> SECTextToBinary(const CString& text);
CString SECBinaryCountKey(LPCTSTR lpszKey);
CString SECBinaryChunkKey(LPCTSTR lpszKey, int nChunk);
// The chunks of a text: one piece when it fits in one.
std::vector<CString> SECSplitBinaryText(const CString& text);
