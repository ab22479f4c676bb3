// Cell bitmaps: a cell value "#BMP(123)" or "#BMP("NAME")" names a bitmap
// resource; the pool loads each once and keeps it for the program's life,
// and CGXDIB draws one into a rectangle.
#pragma once
#include "afx.h"

class CDC;

class CGXDIB : public CObject
{
    DECLARE_DYNCREATE(CGXDIB)
public:
    CGXDIB() = default;
    ~CGXDIB() override;
    CGXDIB(const CGXDIB&) = delete;
    CGXDIB& operator=(const CGXDIB&) = delete;

    // Frees the held bitmap; keeps hDIB and reads its size (FALSE for none).
    BOOL Attach(HGLOBAL hDIB);
    HGLOBAL Detach();
    HGLOBAL GetHandle() const { return m_hDIB; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

    // Modes: 0 natural size, 1 stretched, 2 scaled keeping its proportions.
    // Flags: 1 centre, 2 right (else left); 4 middle, 8 bottom (else top).
    static void Draw(CDC* pDC, HGLOBAL hDIB, const CRect& rectTarget, int nMode, UINT nFlags,
                     const CRect* pSource = nullptr);
    // Where the source (top-down pixels of the bitmap) lands; FALSE when
    // nothing is to be drawn.
    static BOOL CalcDrawRects(CRect& rectTarget, CRect& rectSource, int nMode, UINT nFlags);

protected:
    HGLOBAL m_hDIB = nullptr;
    int m_nColors = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
};

class CGXDIBPool : public CObject
{
    DECLARE_DYNAMIC(CGXDIBPool)
public:
    CGXDIBPool() = default;
    ~CGXDIBPool() override;
    CGXDIBPool(const CGXDIBPool&) = delete;
    CGXDIBPool& operator=(const CGXDIBPool&) = delete;

    // The bitmap a cell text names, loaded on first use; null for a text
    // that names none.
    virtual HGLOBAL GetDIB(LPCSTR lpszText);
    // FALSE when the text is no bitmap text; else the pool key and either
    // the resource number (nonzero) or, for a quoted name, 0 (the key is the name).
    virtual BOOL ParseName(LPCSTR lpszText, CString& sKey, UINT& nID);
    virtual HGLOBAL LoadResourceDIB(LPCSTR lpszKey, UINT nID);
    virtual void FormatQuotedName(LPCSTR lpszName, CString& sText);
    virtual void FormatName(UINT nID, CString& sText);
    void Empty();
    int GetCount() const { return static_cast<int>(m_map.GetCount()); }

protected:
    CMapStringToPtr m_map{10};
};

// The library's one pool, made on first use and freed at exit.
CGXDIBPool* GXGetDIBPool();
