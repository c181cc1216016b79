// The base of the toolkit's image classes: one picture held as a DIB in memory (a 40-byte info header with
// its colour table in one block, the pixel rows in another, bottom row first and padded to 4 bytes), its
// palette, and loading and saving by file name or through an open file object. A derived class supplies the
// file format (EncodeImage, DecodeImage); the archive form of every image is a BMP file.
//
// A failed load keeps the picture the image held before it. Files that cannot be opened, read or written
// raise the file object's exception.
#pragma once

#include "platform/base/CFile.h"
#include "platform/base/CObject.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"
#include "platform/gdi/GdiTypes.h"

#include <functional>
#include <memory>
#include <vector>

struct GdiPlainDib;

class SECRasterImage : public CObject {
public:
    SECRasterImage();
    ~SECRasterImage() override;
    SECRasterImage(const SECRasterImage&) = delete;
    SECRasterImage& operator=(const SECRasterImage&) = delete;

    // The BMP form: a file header, the info header and colour table, the padded rows.
    void Serialize(CArchive& ar) override;

    virtual BOOL CreateImagePalette();
    virtual BOOL LoadImageFile(LPCTSTR lpszFileName);
    virtual BOOL ReadImage(CFile* pFile);
    virtual BOOL SaveImageFile(LPCTSTR lpszFileName);
    virtual BOOL WriteImage(CFile* pFile);
    virtual BOOL FreeImage();
    virtual BOOL CompleteImage();
    virtual BOOL BeginSave() { return TRUE; }
    virtual BOOL EndSave() { return TRUE; }
    virtual BOOL EncodeImage(CFile* pFile) = 0;
    virtual BOOL DecodeImage(CFile* pFile) = 0;
    virtual void DeleteOwnedFiles();

    // A device-dependent copy of the picture, compatible with pDC; the caller owns it. Null without a
    // picture or when the bitmap cannot be made.
    CBitmap* CreateBitmap(CDC* pDC);

    // Row layout, in place.
    BOOL PadRows();
    BOOL UnpadRows();
    BOOL FlipRows();
    static DWORD GetRowBytes(int nBitsPerPixel, int nWidth);
    static DWORD GetPaddedRowBytes(int nBitsPerPixel, int nWidth);
    // Colour table entries a BMP file gets: 2, 16 or 256 for 1, 4 and 8 bits, else 0.
    int GetPaletteEntryCount() const;

    // The screen the image prepares pictures for (read from the display at construction): a palette screen
    // has 1, 2, 4 or 8 bits per pixel.
    void SetDisplayFormat(int nPlanes, int nBitsPerPixel);
    // 1-bit pixels packed most significant bit first (the default) or least significant first.
    void SetMsbFirst(BOOL bMsbFirst) { m_bMsbFirst = bMsbFirst; }

    BOOL HasImage() const { return m_lpBits && m_lpInfo && m_nWidth > 0 && m_nHeight > 0; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetBitsPerPixel() const { return m_nBitsPerPixel; }
    WORD GetColorCount() const { return m_wColors; }
    BOOL AreRowsPadded() const { return m_bRowsPadded; }
    const BITMAPINFOHEADER* GetInfoHeader() const {
        return reinterpret_cast<const BITMAPINFOHEADER*>(m_lpInfo);
    }
    const RGBQUAD* GetColorTable() const { return m_lpColorTable; }
    const BYTE* GetBits() const { return m_lpBits; }
    CPalette* GetPalette() const { return m_pPalette; }

protected:
    // Takes over another image's whole picture state, leaving it without blocks or palette.
    void MoveImageFrom(SECRasterImage& other);
    // Holds a plain DIB as the picture (rows padded); FALSE when the memory cannot be had.
    BOOL AdoptPlainDib(const GdiPlainDib& dib);
    // Allocates the info block (header and colour table) and the pixel block, both zero-filled.
    BOOL AllocateInfo(size_t nColors);
    BOOL AllocateBits(size_t nBytes);
    void FreeInfo();
    void FreeBits();
    size_t GetBitsSize() const;
    // A picture whose header describes the bits and table held (what drawing and writing trust).
    bool IsPictureConsistent() const;
    BITMAPINFOHEADER* InfoHeader() { return reinterpret_cast<BITMAPINFOHEADER*>(m_lpInfo); }
    // The BMP file bytes of a consistent picture, in pieces, to `write`; the header's image size as held
    // or 0.
    void WriteBmp(const std::function<void(const void*, UINT)>& write, bool bClearImageSize);

    int m_nBitsPerPixel = 0;
    int m_nDisplayBitsPerPixel = 0;
    int m_nDisplayPlanes = 0;
    BOOL m_bRowsPadded = FALSE;
    int m_nWidth = 0;
    int m_nHeight = 0;
    WORD m_wColors = 0;
    WORD m_wDisplayColors = 0;
    CPalette* m_pPalette = nullptr;
    CFile* m_pCurrentFile = nullptr; // borrowed
    HGLOBAL m_hBits = nullptr;
    BYTE* m_lpBits = nullptr;
    HGLOBAL m_hInfo = nullptr;
    BYTE* m_lpInfo = nullptr;
    RGBQUAD* m_lpColorTable = nullptr; // 40 bytes into the info block
    int m_nUnpackBit = 0;
    int m_nUnpackCount = 0;
    BOOL m_bMsbFirst = TRUE;
    std::vector<std::unique_ptr<CFile>> m_ownedFiles;

private:
    // The file object for loading or saving by name: the current one when the image made it, reopened,
    // else a new one the image keeps. Null when reopening for a save fails; other open failures raise the
    // file exception.
    CFile* OpenOwnedFile(LPCTSTR lpszFileName, UINT nOpenFlags, bool bForSave);
    // After a failed load: drops what the decode left and takes the earlier picture back.
    void RestorePicture(SECRasterImage* backup);
};
