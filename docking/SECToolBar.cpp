// The customisable toolbar and its buttons.
#include "SECToolBar.h"
#include "SECBitmap.h"
#include "SECToolBarMgr.h"
#include <algorithm>
#include <cstring>

namespace {

// Posted to a user toolbar whose last button was dragged away: it goes once the drag is over.
UINT DestroyLaterMessage()
{
    static UINT s_nMsg = ::RegisterWindowMessageA("SECToolBarDestroyLater");
    return s_nMsg;
}

// The raster operation that paints the brush where the source is black and leaves the
// destination where it is white (PSDPxax).
const DWORD ROP_PSDPxax = 0x00B8074A;

// The row gap after a row broken at a separator.
int RowGap(int nSepWidth) { return nSepWidth * 2 / 3; }

// An embossed (disabled) or masked copy of one image: a monochrome mask, white where the image
// shows the button face or highlight colour.
void MakeMask(CDC* pDC, HDC hImageDC, int x, int y, int cx, int cy, HBITMAP& hMask, HDC& hMaskDC)
{
    hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    hMaskDC = ::CreateCompatibleDC(pDC->m_hDC);
    ::SelectObject(hMaskDC, hMask);
    ::SetBkColor(hImageDC, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(hMaskDC, 0, 0, cx, cy, hImageDC, x, y, SRCCOPY);
    ::SetBkColor(hImageDC, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::BitBlt(hMaskDC, 0, 0, cx, cy, hImageDC, x, y, SRCPAINT);
}

} // namespace

// ---- SECToolBarBtn --------------------------------------------------------------------------

SECToolBarBtn::SECToolBarBtn()
    : m_nID(0), m_nImage(0), m_nStyle(0), m_x(-1), m_y(-1), m_cx(23), m_cy(22), m_pBar(nullptr)
{
}

SECToolBarBtn::~SECToolBarBtn() = default;

void SECToolBarBtn::SetMode(UINT) {}

void SECToolBarBtn::SetPos(int x, int y)
{
    m_x = x;
    m_y = y;
}

void SECToolBarBtn::Invalidate(BOOL bErase)
{
    if (m_pBar != nullptr && m_pBar->m_hWnd != nullptr) {
        CRect rect = GetRect();
        m_pBar->InvalidateRect(&rect, bErase);
    }
}

void SECToolBarBtn::Init(SECCustomToolBar* pBar, const UINT_PTR*)
{
    m_pBar = pBar;
    RecalcSize();
}

void SECToolBarBtn::RecalcSize()
{
    if (m_pBar == nullptr)
        return;
    if (IsSeparator())
        m_cx = (m_pBar->m_cxImage + 8) / 3;
    else
        m_cx = m_pBar->m_cxImage + 7;
    m_cy = m_pBar->m_cyImage + 7;
    m_pBar->m_nMaxBtnWidth = std::max(m_pBar->m_nMaxBtnWidth, m_cx);
}

BOOL SECToolBarBtn::OnLButtonDown(CPoint)
{
    if (m_nStyle & TBBS_DISABLED)
        return FALSE;
    m_nStyle |= TBBS_PRESSED;
    return TRUE;
}

void SECToolBarBtn::OnMouseMove(CPoint point)
{
    if (GetRect().PtInRect(point))
        m_nStyle |= TBBS_PRESSED;
    else
        m_nStyle &= ~TBBS_PRESSED;
}

void SECToolBarBtn::OnCancelMode() { m_nStyle &= ~TBBS_PRESSED; }

UINT SECToolBarBtn::OnLButtonUp(CPoint point)
{
    m_nStyle &= ~TBBS_PRESSED;
    if (!GetRect().PtInRect(point))
        return 0;
    if ((m_nStyle & TBBS_CHECKBOX) && !(m_nStyle & TBBS_DISABLED) && m_pBar != nullptr) {
        BOOL bCheck = !(m_nStyle & TBBS_CHECKED);
        SECToolBarManager* pManager = m_pBar->GetToolBarManager();
        if (pManager != nullptr)
            pManager->CheckCommand(m_nID, bCheck);
        else
            m_pBar->CheckCommand(m_nID, bCheck);
    }
    return m_nID;
}

void SECToolBarBtn::OnBarStyleChange(DWORD) {}

INT_PTR SECToolBarBtn::OnToolHitTest(CPoint, TOOLINFOA* pTI) const
{
    if (pTI != nullptr && m_pBar != nullptr) {
        pTI->hwnd = m_pBar->m_hWnd;
        pTI->rect = GetRect();
        pTI->uId = m_nID;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return (INT_PTR)m_nID;
}

void SECToolBarBtn::OnNotify(UINT nCode, const void* pData)
{
    if (nCode == 1 && pData != nullptr) {
        const UINT* pValues = (const UINT*)pData;
        m_nStyle = (m_nStyle & ~pValues[1]) | pValues[0];
        Invalidate();
    }
}

void SECToolBarBtn::GetState(BYTE& nLength, BYTE*) const { nLength = 0; }
void SECToolBarBtn::SetState(BYTE, const BYTE*) {}

void SECToolBarBtn::Draw(CDC* pDC, SECToolBarPaintCache* pCache)
{
    if (m_pBar == nullptr)
        return;
    CRect rect = GetRect();
    if (!pDC->RectVisible(&rect))
        return;
    BOOL bFlat = (m_pBar->m_dwExStyle & CBRS_EX_FLATLOOK) != 0;
    BOOL bTransparent = bFlat && (m_pBar->m_dwExStyle & CBRS_EX_TRANSPARENT) != 0;
    if (IsSeparator()) {
        if (!bFlat || (m_nStyle & TBBS_WRAPPED))
            return;
        if (!bTransparent)
            pDC->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
        int x = rect.left + ((m_pBar->m_cxImage + 8) / 3) / 2;
        pDC->FillSolidRect(x, rect.top, 1, rect.Height(), ::GetSysColor(COLOR_BTNSHADOW));
        pDC->FillSolidRect(x + 1, rect.top, 1, rect.Height(), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    // Off screen when the cache holds the button, then copied (or combined) in one go.
    BOOL bOffScreen = pCache != nullptr && pCache->IsPrepared() && rect.Width() <= pCache->GetSize().cx &&
                      rect.Height() <= pCache->GetSize().cy;
    CDC dcButton;
    CDC* pTarget = pDC;
    CRect rectDraw = rect;
    if (bOffScreen) {
        dcButton.Attach(pCache->m_hdcButton);
        pTarget = &dcButton;
        rectDraw.OffsetRect(-rect.left, -rect.top);
    }
    m_pDrawCache = pCache != nullptr && pCache->IsPrepared() ? pCache : nullptr;
    BOOL bCustomize = m_pBar->m_bCustomize;
    BOOL bPushed = !bCustomize && (m_nStyle & (TBBS_PRESSED | TBBS_CHECKED)) != 0;
    DrawFace(pTarget, rectDraw, bPushed);
    if (!bCustomize && !(m_nStyle & TBBS_PRESSED)) {
        if (m_nStyle & TBBS_DISABLED)
            DrawDisabled(pTarget, rectDraw);
        else if (m_nStyle & TBBS_CHECKED)
            DrawChecked(pTarget, rectDraw);
        else if (m_nStyle & TBBS_INDETERMINATE)
            DrawIndeterminate(pTarget, rectDraw);
    }
    if (bOffScreen) {
        if (!bTransparent && (m_nStyle & SEC_TBBS_SELECTED))
            DrawSelection(pTarget, rectDraw);
        dcButton.Detach();
        pCache->CopyButton(pDC, rect, bTransparent);
        if (bTransparent && (m_nStyle & SEC_TBBS_SELECTED))
            DrawSelection(pDC, rect);
    }
    else if (m_nStyle & SEC_TBBS_SELECTED) {
        DrawSelection(pDC, rect);
    }
    m_pDrawCache = nullptr;
}

namespace {

// The image strip in a memory DC: the paint cache's, else one made for the call.
class ImageDC
{
public:
    ImageDC(CDC* pDC, SECToolBarPaintCache* pCache, HBITMAP hbmImages)
    {
        if (pCache != nullptr && pCache->m_hdcImages != nullptr) {
            m_hDC = pCache->m_hdcImages;
            return;
        }
        m_hDC = ::CreateCompatibleDC(pDC->m_hDC);
        m_bOwn = TRUE;
        if (m_hDC != nullptr)
            m_hOld = ::SelectObject(m_hDC, hbmImages);
    }
    ~ImageDC()
    {
        if (m_bOwn && m_hDC != nullptr) {
            ::SelectObject(m_hDC, m_hOld);
            ::DeleteDC(m_hDC);
        }
    }
    HDC m_hDC = nullptr;

private:
    BOOL m_bOwn = FALSE;
    HGDIOBJ m_hOld = nullptr;
};

HBRUSH MakeDitherBrush()
{
    // A checkerboard of single pixels in the face and highlight colours.
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 8;
    bmi.bmiHeader.biHeight = 8;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hbm = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hbm == nullptr || pBits == nullptr)
        return nullptr;
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE), clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    auto quad = [](COLORREF clr) { return (DWORD)GetBValue(clr) | ((DWORD)GetGValue(clr) << 8) | ((DWORD)GetRValue(clr) << 16); };
    DWORD* pPixels = (DWORD*)pBits;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            pPixels[y * 8 + x] = quad(((x + y) & 1) ? clrHilite : clrFace);
    HBRUSH hBrush = ::CreatePatternBrush(hbm);
    ::DeleteObject(hbm);
    return hBrush;
}

} // namespace

void SECToolBarBtn::DrawFace(CDC* pDC, const CRect& rect, BOOL bPushed)
{
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE), clrShadow = ::GetSysColor(COLOR_BTNSHADOW),
             clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT), clrFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    BOOL bFlat = (m_pBar->m_dwExStyle & CBRS_EX_FLATLOOK) != 0;
    pDC->FillSolidRect(rect, clrFace);
    int cxImage = m_pBar->m_cxImage, cyImage = m_pBar->m_cyImage;
    int x = rect.left + (rect.Width() - cxImage - 1) / 2;
    int y = rect.top + (rect.Height() - cyImage) / 2;
    CRect rectFrame = rect;
    if (bPushed) {
        pDC->Draw3dRect(rectFrame, bFlat ? clrShadow : clrFrame, clrHilite);
        if (!bFlat) {
            rectFrame.DeflateRect(1, 1);
            pDC->Draw3dRect(rectFrame, clrShadow, clrFace);
        }
        x++;
        y++;
    }
    else if (bFlat) {
        if ((m_nStyle & SEC_TBBS_HOT) && !m_pBar->m_bCustomize)
            pDC->Draw3dRect(rectFrame, clrHilite, clrShadow);
    }
    else {
        pDC->Draw3dRect(rectFrame, clrHilite, clrFrame);
        rectFrame.DeflateRect(1, 1);
        pDC->Draw3dRect(rectFrame, clrFace, clrShadow);
    }
    // An image index beyond the strip draws nothing. A disabled button's image is drawn grey by
    // DrawDisabled, except while customising: then every button shows its own picture.
    if (m_pBar->m_hbmImages == nullptr || m_nImage < 0 || (UINT)m_nImage >= m_pBar->m_nImages ||
        ((m_nStyle & TBBS_DISABLED) && !m_pBar->m_bCustomize))
        return;
    ImageDC images(pDC, m_pDrawCache, m_pBar->m_hbmImages);
    if (images.m_hDC != nullptr)
        ::BitBlt(pDC->m_hDC, x, y, cxImage, cyImage, images.m_hDC, m_nImage * cxImage, 0, SRCCOPY);
}

void SECToolBarBtn::DrawDisabled(CDC* pDC, const CRect& rect)
{
    if (m_pBar->m_hbmImages == nullptr || m_nImage < 0 || (UINT)m_nImage >= m_pBar->m_nImages)
        return;
    int cxImage = m_pBar->m_cxImage, cyImage = m_pBar->m_cyImage;
    int x = rect.left + (rect.Width() - cxImage - 1) / 2;
    int y = rect.top + (rect.Height() - cyImage) / 2;
    ImageDC images(pDC, m_pDrawCache, m_pBar->m_hbmImages);
    if (images.m_hDC == nullptr)
        return;
    HBITMAP hMask;
    HDC hMaskDC;
    COLORREF clrImageBk = ::GetBkColor(images.m_hDC);
    MakeMask(pDC, images.m_hDC, m_nImage * cxImage, 0, cxImage, cyImage, hMask, hMaskDC);
    ::SetBkColor(images.m_hDC, clrImageBk);
    // Embossed: the image's shape in the highlight colour one pixel down and right, then in shadow.
    COLORREF clrOldBk = pDC->SetBkColor(RGB(255, 255, 255));
    COLORREF clrOldText = pDC->SetTextColor(RGB(0, 0, 0));
    HBRUSH hHilite = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    HBRUSH hShadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, hHilite);
    ::BitBlt(pDC->m_hDC, x + 1, y + 1, cxImage, cyImage, hMaskDC, 0, 0, ROP_PSDPxax);
    ::SelectObject(pDC->m_hDC, hShadow);
    ::BitBlt(pDC->m_hDC, x, y, cxImage, cyImage, hMaskDC, 0, 0, ROP_PSDPxax);
    ::SelectObject(pDC->m_hDC, hOldBrush);
    ::DeleteObject(hHilite);
    ::DeleteObject(hShadow);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
    ::DeleteDC(hMaskDC);
    ::DeleteObject(hMask);
}

void SECToolBarBtn::DrawChecked(CDC* pDC, const CRect& rect)
{
    // The dither over the face around the image (the image keeps its pixels).
    HBRUSH hOwnBrush = m_pDrawCache == nullptr ? MakeDitherBrush() : nullptr;
    HBRUSH hBrush = m_pDrawCache != nullptr ? m_pDrawCache->GetDitherBrush() : hOwnBrush;
    if (hBrush == nullptr)
        return;
    CRect rectInside = rect;
    rectInside.DeflateRect(2, 2);
    int cxImage = m_pBar->m_cxImage, cyImage = m_pBar->m_cyImage;
    int x = rect.left + (rect.Width() - cxImage - 1) / 2 + 1;
    int y = rect.top + (rect.Height() - cyImage) / 2 + 1;
    CRect parts[4] = {CRect(rectInside.left, rectInside.top, rectInside.right, y),
                      CRect(rectInside.left, y + cyImage, rectInside.right, rectInside.bottom),
                      CRect(rectInside.left, y, x, y + cyImage),
                      CRect(x + cxImage, y, rectInside.right, y + cyImage)};
    for (const CRect& part : parts)
        if (!part.IsRectEmpty())
            ::FillRect(pDC->m_hDC, &part, hBrush);
    if (hOwnBrush != nullptr)
        ::DeleteObject(hOwnBrush);
}

void SECToolBarBtn::DrawIndeterminate(CDC* pDC, const CRect& rect) { DrawChecked(pDC, rect); }

void SECToolBarBtn::DrawSelection(CDC* pDC, const CRect& rect)
{
    static const WORD s_pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP hPattern = ::CreateBitmap(8, 8, 1, 1, s_pattern);
    HBRUSH hBrush = ::CreatePatternBrush(hPattern);
    COLORREF clrOldText = pDC->SetTextColor(RGB(0, 0, 0));
    COLORREF clrOldBk = pDC->SetBkColor(RGB(255, 255, 255));
    CRect parts[4] = {CRect(rect.left, rect.top, rect.right, rect.top + 3),
                      CRect(rect.left, rect.bottom - 3, rect.right, rect.bottom),
                      CRect(rect.left, rect.top, rect.left + 3, rect.bottom),
                      CRect(rect.right - 3, rect.top, rect.right, rect.bottom)};
    for (const CRect& part : parts)
        ::FillRect(pDC->m_hDC, &part, hBrush);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBk);
    ::DeleteObject(hBrush);
    ::DeleteObject(hPattern);
}

// ---- SECToolBarPaintCache -------------------------------------------------------------------

SECToolBarPaintCache::~SECToolBarPaintCache()
{
    Release();
    for (HDC hDC : {m_hdcButton, m_hdcMask, m_hdcImages})
        if (hDC != nullptr)
            ::DeleteDC(hDC);
    if (m_hDitherBrush != nullptr)
        ::DeleteObject(m_hDitherBrush);
}

BOOL SECToolBarPaintCache::Prepare(CDC* pDC, HBITMAP hbmImages, int cx, int cy)
{
    Release();
    if (pDC == nullptr || cx <= 0 || cy <= 0)
        return FALSE;
    if (m_hdcButton == nullptr) {
        m_hdcButton = ::CreateCompatibleDC(pDC->m_hDC);
        m_hdcMask = ::CreateCompatibleDC(pDC->m_hDC);
        m_hdcImages = ::CreateCompatibleDC(pDC->m_hDC);
    }
    if (m_hdcButton == nullptr || m_hdcMask == nullptr || m_hdcImages == nullptr)
        return FALSE;
    m_hbmButton = ::CreateCompatibleBitmap(pDC->m_hDC, cx, cy);
    m_hbmMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    if (m_hbmButton == nullptr || m_hbmMask == nullptr) {
        Release();
        return FALSE;
    }
    m_hOldButton = ::SelectObject(m_hdcButton, m_hbmButton);
    m_hOldMask = ::SelectObject(m_hdcMask, m_hbmMask);
    if (hbmImages != nullptr)
        m_hOldImages = ::SelectObject(m_hdcImages, hbmImages);
    m_size = CSize(cx, cy);
    m_bPrepared = TRUE;
    return TRUE;
}

void SECToolBarPaintCache::Release()
{
    if (m_hOldButton != nullptr)
        ::SelectObject(m_hdcButton, m_hOldButton);
    if (m_hOldMask != nullptr)
        ::SelectObject(m_hdcMask, m_hOldMask);
    if (m_hOldImages != nullptr)
        ::SelectObject(m_hdcImages, m_hOldImages);
    m_hOldButton = m_hOldMask = m_hOldImages = nullptr;
    if (m_hbmButton != nullptr)
        ::DeleteObject(m_hbmButton);
    if (m_hbmMask != nullptr)
        ::DeleteObject(m_hbmMask);
    m_hbmButton = m_hbmMask = nullptr;
    m_size = CSize(0, 0);
    m_bPrepared = FALSE;
}

HBRUSH SECToolBarPaintCache::GetDitherBrush()
{
    if (m_hDitherBrush == nullptr)
        m_hDitherBrush = MakeDitherBrush();
    return m_hDitherBrush;
}

void SECToolBarPaintCache::OnSysColorChange()
{
    if (m_hDitherBrush != nullptr)
        ::DeleteObject(m_hDitherBrush);
    m_hDitherBrush = nullptr;
}

void SECToolBarPaintCache::CopyButton(CDC* pDC, const CRect& rect, BOOL bTransparent)
{
    if (!m_bPrepared)
        return;
    int cx = rect.Width(), cy = rect.Height();
    if (!bTransparent) {
        ::BitBlt(pDC->m_hDC, rect.left, rect.top, cx, cy, m_hdcButton, 0, 0, SRCCOPY);
        return;
    }
    // The mask is white where the button shows the face colour.
    COLORREF clrOldBk = ::SetBkColor(m_hdcButton, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(m_hdcMask, 0, 0, cx, cy, m_hdcButton, 0, 0, SRCCOPY);
    // Those pixels turn black in the button, the others black on the bar; then the two meet.
    ::SetBkColor(m_hdcButton, RGB(0, 0, 0));
    COLORREF clrOldText = ::SetTextColor(m_hdcButton, RGB(255, 255, 255));
    ::BitBlt(m_hdcButton, 0, 0, cx, cy, m_hdcMask, 0, 0, SRCAND);
    ::SetBkColor(m_hdcButton, clrOldBk);
    ::SetTextColor(m_hdcButton, clrOldText);
    COLORREF clrBarBk = ::SetBkColor(pDC->m_hDC, RGB(255, 255, 255));
    COLORREF clrBarText = ::SetTextColor(pDC->m_hDC, RGB(0, 0, 0));
    ::BitBlt(pDC->m_hDC, rect.left, rect.top, cx, cy, m_hdcMask, 0, 0, SRCAND);
    ::SetBkColor(pDC->m_hDC, clrBarBk);
    ::SetTextColor(pDC->m_hDC, clrBarText);
    ::BitBlt(pDC->m_hDC, rect.left, rect.top, cx, cy, m_hdcButton, 0, 0, SRCPAINT);
}

// ---- SECToolBarCmdUI ------------------------------------------------------------------------

void SECToolBarCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<SECCustomToolBar*>(m_pOther);
    if (pBar == nullptr)
        return;
    UINT nStyle = pBar->GetButtonStyle((int)m_nIndex);
    nStyle = bOn ? (nStyle & ~TBBS_DISABLED) : (nStyle | TBBS_DISABLED);
    pBar->SetButtonStyle((int)m_nIndex, nStyle);
}

void SECToolBarCmdUI::SetCheck(int nCheck)
{
    auto* pBar = static_cast<SECCustomToolBar*>(m_pOther);
    if (pBar == nullptr)
        return;
    UINT nStyle = pBar->GetButtonStyle((int)m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    nStyle |= TBBS_CHECKBOX;
    if (nCheck == 1)
        nStyle |= TBBS_CHECKED;
    else if (nCheck == 2)
        nStyle |= TBBS_INDETERMINATE;
    pBar->SetButtonStyle((int)m_nIndex, nStyle);
}

// ---- SECCustomToolBarInfoEx -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECCustomToolBarInfoEx, SECControlBarInfoEx)

std::vector<BYTE> SECCustomToolBarInfoEx::ButtonsToBytes() const
{
    std::vector<BYTE> bytes;
    for (const Record& record : m_records) {
        DWORD dwID = record.nID;
        for (int i = 0; i < 4; i++)
            bytes.push_back((BYTE)(dwID >> (8 * i)));
        size_t n = std::min<size_t>(record.state.size(), 255);
        bytes.push_back((BYTE)n);
        bytes.insert(bytes.end(), record.state.begin(), record.state.begin() + (ptrdiff_t)n);
    }
    return bytes;
}

BOOL SECCustomToolBarInfoEx::ButtonsFromBytes(const BYTE* pData, size_t nBytes, std::vector<Record>& records)
{
    records.clear();
    if (pData == nullptr)
        return nBytes == 0;
    size_t nPos = 0;
    while (nPos < nBytes) {
        // A record cut short, or bytes after the last one: the value is damaged from here on.
        if (nBytes - nPos < 5 || nBytes - nPos - 5 < pData[nPos + 4])
            return FALSE;
        Record record;
        record.nID = (UINT)pData[nPos] | ((UINT)pData[nPos + 1] << 8) | ((UINT)pData[nPos + 2] << 16) |
                     ((UINT)pData[nPos + 3] << 24);
        size_t n = pData[nPos + 4];
        record.state.assign(pData + nPos + 5, pData + nPos + 5 + n);
        records.push_back(std::move(record));
        nPos += 5 + n;
    }
    return TRUE;
}

BOOL SECCustomToolBarInfoEx::SaveState(LPCSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return FALSE;
    if (!m_strTitle.IsEmpty())
        pApp->WriteProfileString(lpszSection, "Title", m_strTitle);
    std::vector<BYTE> bytes = ButtonsToBytes();
    BYTE byEmpty = 0;
    return pApp->WriteProfileBinary(lpszSection, "Buttons", bytes.empty() ? &byEmpty : bytes.data(),
                                    (UINT)bytes.size());
}

BOOL SECCustomToolBarInfoEx::LoadState(LPCSTR lpszSection, SECDockState*)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return FALSE;
    m_strTitle = pApp->GetProfileString(lpszSection, "Title", "");
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    m_records.clear();
    m_bButtons = FALSE;
    if (pApp->GetProfileBinary(lpszSection, "Buttons", &pData, &nBytes)) {
        m_bButtons = ButtonsFromBytes(pData, nBytes, m_records);
        delete[] pData;
    }
    else if (pApp->m_pszRegistryKey == nullptr) {
        // A settings file keeps an empty toolbar's value as an empty line (missing reads "-").
        m_bButtons = pApp->GetProfileString(lpszSection, "Buttons", "-").IsEmpty();
    }
    return TRUE;
}

void SECCustomToolBarInfoEx::Serialize(CArchive& ar, SECDockState*)
{
    if (ar.IsStoring()) {
        ar << m_strTitle;
        ar << (DWORD)m_records.size();
        for (const Record& record : m_records) {
            ar << (DWORD)record.nID;
            BYTE n = (BYTE)std::min<size_t>(record.state.size(), 255);
            ar << n;
            for (BYTE i = 0; i < n; i++)
                ar << record.state[i];
        }
        return;
    }
    CString strTitle;
    ar >> strTitle;
    DWORD dwCount = 0;
    ar >> dwCount;
    // Read record by record: a count the data cannot hold ends in an archive error before
    // anything is applied (and nothing is allocated up front for it).
    std::vector<Record> records;
    for (DWORD i = 0; i < dwCount; i++) {
        Record record;
        DWORD dwID = 0;
        BYTE n = 0;
        ar >> dwID >> n;
        record.nID = dwID;
        record.state.resize(n);
        if (n != 0)
            ar.EnsureRead(record.state.data(), n);
        records.push_back(std::move(record));
    }
    m_strTitle = strTitle;
    m_records = std::move(records);
    m_bButtons = TRUE;
}

// ---- SECCustomToolBar -----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECCustomToolBar, SECControlBar)
IMPLEMENT_DYNCREATE(SECCustomizeToolBar, SECCustomToolBar)

SECCustomToolBar::SECCustomToolBar()
    : m_bOwnsBitmap(TRUE), m_nImages(0), m_hbmImages(nullptr), m_lpszResourceName(nullptr), m_cyImage(0),
      m_cxImage(16), m_nSepWidth(8), m_nSelected(-1), m_nHot(-1), m_bCustomize(FALSE), m_bDragging(FALSE),
      m_nOrient(0), m_bDirtyFloat(TRUE), m_bDirtyHorz(TRUE), m_bDirtyVert(TRUE), m_sizeHorz(0, 0),
      m_sizeVert(0, 0), m_sizeFloat(0, 0), m_nMaxBtnWidth(0), m_bNoDelayHidePending(FALSE), m_pPaintCache(nullptr)
{
}

SECCustomToolBar::~SECCustomToolBar()
{
    delete m_pPaintCache;
    DeleteButtons();
    if (m_bOwnsBitmap && m_hbmImages != nullptr)
        ::DeleteObject(m_hbmImages);
}

void SECCustomToolBar::DeleteButtons()
{
    for (SECToolBarBtn* pBtn : m_btns)
        delete pBtn;
    m_btns.clear();
    m_nSelected = m_nHot = -1;
}

BOOL SECCustomToolBar::Create(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle)
{
    return CreateEx(dwExStyle, pParentWnd, dwStyle, nID, lpszTitle, CRect(0, 0, 0, 0));
}

BOOL SECCustomToolBar::CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle,
                                const RECT& rect)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_BTNFACE + 1));
    if (!SECControlBar::CreateEx(lpszClass, lpszTitle != nullptr ? lpszTitle : "", nID, dwStyle, dwExStyle, rect,
                                 pParentWnd))
        return FALSE;
    Notify(2);
    m_dwExStyle |= CBRS_EX_TOOLBARSIZE;
    MarkLayoutDirty();
    return TRUE;
}

SECToolBarManager* SECCustomToolBar::GetToolBarManager() const
{
    return dynamic_cast<SECToolBarManager*>(m_pManager);
}

void SECCustomToolBar::SetManager(SECToolBarManager* pManager)
{
    m_pManager = pManager;
}

void SECCustomToolBar::Notify(int nCode)
{
    if (SECToolBarManager* pManager = GetToolBarManager())
        pManager->NotifyBarWindow(m_hWnd != nullptr ? (UINT)::GetDlgCtrlID(m_hWnd) : 0, nCode);
}

CWnd* SECCustomToolBar::GetCommandTarget() const
{
    if (m_pDockSite != nullptr)
        return m_pDockSite;
    return GetOwner();
}

SECToolBarBtn* SECCustomToolBar::CreateButton(UINT nID, BOOL bSeparator)
{
    SECToolBarBtn* pBtn = nullptr;
    const SECBtnMapEntry* pEntry = nullptr;
    if (!bSeparator) {
        SECToolBarManager* pManager = GetToolBarManager();
        const SECBtnMapEntry* pMap = pManager != nullptr ? pManager->GetButtonMap() : nullptr;
        // The last entry for the id wins.
        for (; pMap != nullptr && pMap->pfnCreate != nullptr; pMap++)
            if (pMap->nID == nID)
                pEntry = pMap;
    }
    if (pEntry != nullptr)
        pBtn = pEntry->pfnCreate();
    if (pBtn == nullptr)
        pBtn = new SECToolBarBtn;
    pBtn->m_nID = bSeparator ? 0 : nID;
    pBtn->m_nStyle = bSeparator ? TBBS_SEPARATOR : (pEntry != nullptr ? pEntry->nStyle : 0);
    pBtn->m_nImage = bSeparator ? 0 : GetImageIndex(nID);
    static const UINT_PTR s_none[5] = {0, 0, 0, 0, 0};
    pBtn->Init(this, pEntry != nullptr ? pEntry->params : s_none);
    pBtn->SetMode(m_nOrient);
    return pBtn;
}

void SECCustomToolBar::EndSelection()
{
    if (SECToolBarBtn* pBtn = GetButton(m_nSelected)) {
        pBtn->m_nStyle &= ~(SEC_TBBS_SELECTED | TBBS_PRESSED);
        pBtn->Invalidate();
    }
    m_nSelected = -1;
    SECToolBarManager* pManager = GetToolBarManager();
    if (pManager != nullptr && pManager->m_pSelectedToolBar == this) {
        pManager->m_pSelectedToolBar = nullptr;
        Notify(4);
    }
}

void SECCustomToolBar::SetButtons(const UINT* pIDs, int nCount)
{
    // The selection goes with the buttons (a description shown for it goes too).
    EndSelection();
    DeleteButtons();
    for (int i = 0; i < nCount && pIDs != nullptr; i++)
        m_btns.push_back(CreateButton(pIDs[i], pIDs[i] == 0));
    MarkLayoutDirty();
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL SECCustomToolBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoRelayout)
{
    nIndex = std::max(0, std::min(nIndex, GetButtonCount()));
    SECToolBarBtn* pBtn = CreateButton(nID, bSeparator || nID == 0);
    m_btns.insert(m_btns.begin() + nIndex, pBtn);
    m_nMRUWidth += (UINT)pBtn->m_cx;
    if (m_nSelected >= nIndex)
        m_nSelected++;
    if (m_nHot >= nIndex)
        m_nHot++;
    MarkLayoutDirty();
    if (m_hWnd != nullptr) {
        UpdateButtonCmdUI(nIndex);
        if (!bNoRelayout)
            Relayout();
    }
    return TRUE;
}

BOOL SECCustomToolBar::RemoveButton(int nIndex, BOOL bNoRelayout)
{
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return TRUE;
    auto removeAt = [this](int i) {
        delete m_btns[(size_t)i];
        m_btns.erase(m_btns.begin() + i);
        if (m_nSelected == i)
            m_nSelected = -1;
        else if (m_nSelected > i)
            m_nSelected--;
        if (m_nHot == i) {
            m_nHot = -1;
            if (m_hWnd != nullptr)
                KillTimer(SEC_IDT_HOTTRACK);
        }
        else if (m_nHot > i) {
            m_nHot--;
        }
    };
    removeAt(nIndex);
    // A separator never stays first, last, or next to another.
    if (nIndex < GetButtonCount() && m_btns[(size_t)nIndex]->IsSeparator() &&
        (nIndex == 0 || m_btns[(size_t)nIndex - 1]->IsSeparator()))
        removeAt(nIndex);
    if (GetButtonCount() > 0 && m_btns.back()->IsSeparator())
        removeAt(GetButtonCount() - 1);
    if (GetButtonCount() > 0 && m_btns.front()->IsSeparator())
        removeAt(0);
    MarkLayoutDirty();
    if (bNoRelayout || m_hWnd == nullptr)
        return TRUE;
    if ((UINT)::GetDlgCtrlID(m_hWnd) >= SEC_IDW_USERTOOLBAR_FIRST && GetButtonCount() == 0) {
        DestroyBar();
        return FALSE;
    }
    Relayout();
    return TRUE;
}

void SECCustomToolBar::DestroyBar()
{
    if (m_hWnd == nullptr)
        return;
    // Locals only from here: the bar may delete itself with its window.
    CFrameWnd* pDockSite = m_pDockSite;
    HWND hDockSite = pDockSite != nullptr ? pDockSite->m_hWnd : nullptr;
    CFrameWnd* pFloatFrame = IsFloating() ? GetParentFrame() : nullptr;
    if (pFloatFrame != nullptr && m_pDockBar != nullptr && m_pDockBar->GetDockedCount() <= 1) {
        // The floating frame holds only this bar: it goes, and the bar with it.
        pFloatFrame->DestroyWindow();
    }
    else {
        DestroyWindow();
        if (pFloatFrame != nullptr && pFloatFrame->m_hWnd != nullptr)
            pFloatFrame->DelayRecalcLayout();
    }
    if (hDockSite != nullptr && ::IsWindow(hDockSite))
        pDockSite->DelayRecalcLayout();
}

void SECCustomToolBar::Relayout()
{
    // The floating frame, if any, and the docking frame lay the bar out again.
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout();
    if (CFrameWnd* pDockFrame = GetDockingFrame())
        pDockFrame->RecalcLayout();
    Invalidate();
}

SECToolBarBtn* SECCustomToolBar::GetButton(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetButtonCount() ? m_btns[(size_t)nIndex] : nullptr;
}

UINT SECCustomToolBar::GetButtonStyle(int nIndex) const
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    return pBtn != nullptr ? pBtn->m_nStyle : 0;
}

void SECCustomToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    if (pBtn == nullptr || pBtn->m_nStyle == nStyle)
        return;
    pBtn->m_nStyle = nStyle;
    pBtn->Invalidate();
}

UINT SECCustomToolBar::GetButtonID(int nIndex) const
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    return pBtn != nullptr ? pBtn->m_nID : 0;
}

void SECCustomToolBar::GetButtonRect(int nIndex, LPRECT lpRect) const
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    *lpRect = pBtn != nullptr ? (RECT)pBtn->GetRect() : CRect(0, 0, 0, 0);
}

int SECCustomToolBar::GetImageIndex(UINT nID) const
{
    for (UINT i = 0; i < m_nImages && i < m_imageIDs.size(); i++)
        if (m_imageIDs[i] == nID)
            return (int)i;
    return (int)m_nImages;
}

void SECCustomToolBar::SetBitmap(HBITMAP hBitmap, const UINT* pImageIDs, UINT nImages, int cxImage, int cyImage)
{
    if (m_bOwnsBitmap && m_hbmImages != nullptr && m_hbmImages != hBitmap)
        ::DeleteObject(m_hbmImages);
    m_bOwnsBitmap = FALSE;
    m_hbmImages = hBitmap;
    m_imageIDs.assign(pImageIDs, pImageIDs + (pImageIDs != nullptr ? nImages : 0));
    m_nImages = (UINT)m_imageIDs.size();
    m_cxImage = cxImage;
    m_cyImage = cyImage;
    m_nMaxBtnWidth = 0;
    for (SECToolBarBtn* pBtn : m_btns) {
        if (!pBtn->IsSeparator())
            pBtn->m_nImage = GetImageIndex(pBtn->m_nID);
        pBtn->RecalcSize();
    }
    MarkLayoutDirty();
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL SECCustomToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    SECToolBarResource res;
    if (!res.Load(lpszResourceName))
        return FALSE;
    if (m_bOwnsBitmap && m_hbmImages != nullptr)
        ::DeleteObject(m_hbmImages);
    m_hbmImages = nullptr;
    SetBitmap((HBITMAP)res.m_bitmap.Detach(), res.m_imageIDs.data(), (UINT)res.m_imageIDs.size(), res.m_cxImage,
              res.m_cyImage);
    m_bOwnsBitmap = TRUE;
    m_lpszResourceName = lpszResourceName;
    return TRUE;
}

void SECCustomToolBar::CheckCommand(UINT nID, BOOL bCheck)
{
    for (int i = 0; i < GetButtonCount(); i++) {
        if (m_btns[(size_t)i]->m_nID != nID || m_btns[(size_t)i]->IsSeparator())
            continue;
        UINT nStyle = GetButtonStyle(i) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        SetButtonStyle(i, bCheck ? (nStyle | TBBS_CHECKED) : nStyle);
    }
}

void SECCustomToolBar::SetCustomizeMode(BOOL bOn)
{
    EndSelection();
    m_bCustomize = bOn;
    if (bOn)
        ClearHot();
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL SECCustomToolBar::IsCtrlKeyDown() const
{
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

int SECCustomToolBar::HitTest(CPoint point) const
{
    for (int i = 0; i < GetButtonCount(); i++) {
        const SECToolBarBtn* pBtn = m_btns[(size_t)i];
        if (!pBtn->IsSeparator() && pBtn->GetRect().PtInRect(point))
            return i;
    }
    return -1;
}

// ---- Layout ---------------------------------------------------------------------------------

void SECCustomToolBar::WrapToolBar(int nWidth, std::vector<Row>& rows) const
{
    rows.clear();
    int nCount = GetButtonCount();
    int nRun = 0;
    int nStart = 0;     // the first element after the previous break
    for (int i = 0; i < nCount;) {
        int cx = m_btns[(size_t)i]->m_cx;
        if (nRun + cx <= nWidth + 2) {
            nRun += cx;
            i++;
            continue;
        }
        int nSep = -1;
        for (int j = i; j >= nStart; j--) {
            if (m_btns[(size_t)j]->IsSeparator()) {
                nSep = j;
                break;
            }
        }
        if (nSep >= 0) {
            rows.push_back({nSep, TRUE, 0});
            nStart = i = nSep + 1;
            nRun = 0;
        }
        else if (i - 1 >= nStart) {
            rows.push_back({i - 1, FALSE, 0});
            nStart = i;
            nRun = 0;
        }
        else {
            i++;    // too wide for any row: it stays where it is, taking no width
        }
    }
    if (nStart < nCount)
        rows.push_back({nCount - 1, FALSE, 0});
    int nFirst = 0;
    for (Row& row : rows) {
        row.nWidth = 0;
        int nEnd = row.bSeparator ? row.nLast - 1 : row.nLast;
        for (int i = nFirst; i <= nEnd; i++)
            row.nWidth += m_btns[(size_t)i]->m_cx;
        nFirst = row.nLast + 1;
    }
}

CSize SECCustomToolBar::SizeOfRows(const std::vector<Row>& rows) const
{
    CSize size(0, 0);
    for (const Row& row : rows) {
        size.cx = std::max(size.cx, (LONG)row.nWidth);
        size.cy += m_cyImage + 7;
        if (row.bSeparator)
            size.cy += RowGap(m_nSepWidth);
    }
    return size;
}

CSize SECCustomToolBar::SizeToolBar(int nLength, BOOL bVert, std::vector<Row>* pRows)
{
    std::vector<Row> rows;
    int nWidest = 0;
    for (SECToolBarBtn* pBtn : m_btns)
        nWidest = std::max(nWidest, pBtn->m_cx);
    int nStep = m_cxImage + 7;
    if (bVert) {
        int nRowHeight = m_cyImage + 7;
        int nRows = nRowHeight > 0 ? nLength / nRowHeight : 0;
        int nWidth = nRows == 0 ? 32767 : std::max(nWidest, nStep * GetButtonCount() / nRows);
        WrapToolBar(nWidth, rows);
        CSize size = SizeOfRows(rows);
        if (size.cy > nLength) {
            while (size.cy > nLength && rows.size() > 1 && nWidth < 32767) {
                nWidth += nStep;
                WrapToolBar(nWidth, rows);
                size = SizeOfRows(rows);
            }
        }
        else if (size.cy < nLength) {
            int nBest = nWidth;
            for (int nTry = nWidth - nStep; nTry >= nWidest && nStep > 0; nTry -= nStep) {
                WrapToolBar(nTry, rows);
                CSize sizeTry = SizeOfRows(rows);
                if (sizeTry.cy > nLength)
                    break;
                nBest = nTry;
                if (sizeTry.cy == nLength)
                    break;
            }
            WrapToolBar(nBest, rows);
        }
    }
    else {
        WrapToolBar(std::max(nLength, nWidest), rows);
    }
    AdjustRowWidths(rows);
    for (SECToolBarBtn* pBtn : m_btns)
        pBtn->m_nStyle &= ~TBBS_WRAPPED;
    for (size_t i = 0; i + 1 < rows.size(); i++)
        m_btns[(size_t)rows[i].nLast]->m_nStyle |= TBBS_WRAPPED;
    if (pRows != nullptr)
        *pRows = rows;
    return SizeOfRows(rows);
}

void SECCustomToolBar::MoveGroup(std::vector<Row>& rows, int nRow, int nSepIndex, int nGroup) const
{
    // The row now ends at the separator before the group; the group and the separator that ended
    // the row open the next row.
    Row& row = rows[(size_t)nRow];
    Row& next = rows[(size_t)nRow + 1];
    int nOldSep = row.nLast;
    row.nWidth -= nGroup + m_btns[(size_t)nSepIndex]->m_cx;
    row.nLast = nSepIndex;
    next.nWidth += nGroup + m_btns[(size_t)nOldSep]->m_cx;
}

BOOL SECCustomToolBar::CanPassGroup(std::vector<Row>& rows, int nRow, int nWidest) const
{
    if (nRow + 2 >= (int)rows.size())
        return FALSE;   // the last or the second-last row
    const Row& row = rows[(size_t)nRow];
    if (!row.bSeparator)
        return FALSE;
    int nFirst = nRow == 0 ? 0 : rows[(size_t)nRow - 1].nLast + 1;
    int nGroup = 0, nSep = -1;
    for (int j = row.nLast - 1; j >= nFirst; j--) {
        if (m_btns[(size_t)j]->IsSeparator()) {
            nSep = j;
            break;
        }
        nGroup += m_btns[(size_t)j]->m_cx;
    }
    if (nSep < 0)
        return FALSE;
    if (nGroup + rows[(size_t)nRow + 1].nWidth < nWidest)
        return TRUE;
    std::vector<Row> trial = rows;
    MoveGroup(trial, nRow, nSep, nGroup);
    return CanPassGroup(trial, nRow + 1, nWidest);
}

void SECCustomToolBar::AdjustRowWidths(std::vector<Row>& rows)
{
    // Each pass moves something from the widest row into the next; a bound keeps a pathological
    // set of widths from cycling.
    for (int nPass = 0; nPass < 4096 && rows.size() > 1; nPass++) {
        int nWide = 0;
        for (int i = 0; i < (int)rows.size(); i++)
            if (rows[(size_t)i].nWidth >= rows[(size_t)nWide].nWidth)
                nWide = i;
        if (nWide == (int)rows.size() - 1)
            return;
        Row& row = rows[(size_t)nWide];
        Row& next = rows[(size_t)nWide + 1];
        int nFirst = nWide == 0 ? 0 : rows[(size_t)nWide - 1].nLast + 1;
        if (!row.bSeparator) {
            if (row.nLast - nFirst + 1 < 2)
                return;
            int b = m_btns[(size_t)row.nLast]->m_cx;
            if (row.nWidth <= b + next.nWidth) {
                int k = nWide + 1;
                while (k < (int)rows.size() - 1 && !rows[(size_t)k].bSeparator)
                    k++;
                if (k == nWide + 1)
                    return;
                if (row.nWidth < rows[(size_t)k].nWidth + b)
                    return;
            }
            row.nLast--;
            row.nWidth -= b;
            next.nWidth += b;
            continue;
        }
        int nGroup = 0, nSep = -1;
        for (int j = row.nLast - 1; j >= nFirst; j--) {
            if (m_btns[(size_t)j]->IsSeparator()) {
                nSep = j;
                break;
            }
            nGroup += m_btns[(size_t)j]->m_cx;
        }
        if (nSep < 0)
            return;
        if (row.nWidth > next.nWidth + nGroup || CanPassGroup(rows, nWide, row.nWidth)) {
            MoveGroup(rows, nWide, nSep, nGroup);
            continue;
        }
        return;
    }
}

CSize SECCustomToolBar::CalcLayout(int nLength, DWORD dwMode)
{
    BOOL bHorz = (dwMode & LM_HORZ) != 0;
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz, TRUE);
    CSize sizeBorders(-rectInside.Width(), -rectInside.Height());
    CSize* pCache = (dwMode & LM_HORZDOCK) ? &m_sizeHorz : (dwMode & LM_VERTDOCK) ? &m_sizeVert : &m_sizeFloat;
    BOOL* pDirty = (dwMode & LM_HORZDOCK) ? &m_bDirtyHorz : (dwMode & LM_VERTDOCK) ? &m_bDirtyVert : &m_bDirtyFloat;
    BOOL bFloating = !(dwMode & (LM_HORZDOCK | LM_VERTDOCK));

    if (m_btns.empty()) {
        *pCache = CSize(m_cxImage + 7, m_cyImage + 7);
        *pDirty = FALSE;
        return *pCache;
    }
    if ((dwMode & LM_STRETCH) && nLength > 0)
        nLength = (int)(nLength * m_fPctWidth);

    if (dwMode & LM_COMMIT) {
        BOOL bVert = !bHorz;
        UINT nOrient = m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        if (nOrient != m_nOrient) {
            m_nOrient = nOrient;
            for (SECToolBarBtn* pBtn : m_btns)
                pBtn->SetMode(nOrient);
            MarkLayoutDirty();
        }
        int nLen;
        if (m_dwStyle & CBRS_SIZE_FIXED) {
            nLen = 32767;
        }
        else if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
            if (dwMode & LM_MRUWIDTH) {
                nLen = (int)m_nMRUWidth;
                bVert = FALSE;
            }
            else if (nLength >= 0) {
                nLen = nLength - ((dwMode & LM_LENGTHY) ? sizeBorders.cy : sizeBorders.cx);
                bVert = (dwMode & LM_LENGTHY) != 0;
            }
            else if (bFloating) {
                nLen = (int)m_nMRUWidth;
            }
            else {
                nLen = bVert ? 0 : 32767;
            }
        }
        else {
            nLen = bVert ? 0 : 32767;
        }
        CSize size = SizeToolBar(nLen, bVert);
        // Placing, row by row.
        int x = rectInside.left, y = rectInside.top, nRowHeight = 0;
        for (SECToolBarBtn* pBtn : m_btns) {
            pBtn->SetPos(x, y);
            x += pBtn->m_cx;
            int cy = pBtn->m_cy + (pBtn->IsSeparator() ? RowGap(m_nSepWidth) : 0);
            nRowHeight = std::max(nRowHeight, cy);
            if (pBtn->m_nStyle & TBBS_WRAPPED) {
                y += nRowHeight;
                x = rectInside.left;
                nRowHeight = 0;
            }
        }
        *pCache = size + sizeBorders;
        *pDirty = FALSE;
        if (bFloating && !(dwMode & LM_LENGTHY))
            m_nMRUWidth = (UINT)pCache->cx;
        if (m_hWnd != nullptr)
            Invalidate();
    }
    CSize result = *pCache;
    if (bFloating)
        result -= CSize(2, 2);
    return result;
}

CSize SECCustomToolBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    return CalcDynamicLayout(-1, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
}

CSize SECCustomToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (!(dwMode & LM_COMMIT)) {
        BOOL bDirty = (dwMode & LM_HORZDOCK) ? m_bDirtyHorz : (dwMode & LM_VERTDOCK) ? m_bDirtyVert : m_bDirtyFloat;
        if (bDirty || nLength >= 0 || m_btns.empty()) {
            int nLen = (dwMode & LM_VERTDOCK) ? 0 : 32767;
            if (nLength >= 0 && !(dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
                nLen = nLength;
            return CalcLayout(nLen, dwMode | LM_COMMIT);
        }
        return CalcLayout(-1, dwMode);
    }
    if ((dwMode & LM_HORZDOCK) && (dwMode & LM_LENGTHY))
        return SECControlBar::CalcDynamicLayout(nLength, dwMode);
    if (!(dwMode & LM_VERTDOCK) || (dwMode & LM_LENGTHY))
        return CalcLayout(nLength, dwMode);
    return SECControlBar::CalcDynamicLayout(nLength, dwMode);
}

// ---- Command state, tips, painting ----------------------------------------------------------

void SECCustomToolBar::UpdateButtonCmdUI(int nIndex)
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    CFrameWnd* pTarget = static_cast<CFrameWnd*>(GetCommandTarget());
    if (pBtn == nullptr || pBtn->IsSeparator() || pTarget == nullptr)
        return;
    SECToolBarCmdUI state;
    state.m_pOther = this;
    state.m_nIndex = (UINT)nIndex;
    state.m_nIndexMax = (UINT)GetButtonCount();
    state.m_nID = pBtn->m_nID;
    state.DoUpdate(pTarget, TRUE);
}

void SECCustomToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    if (!m_bCustomize) {
        SECToolBarCmdUI state;
        state.m_pOther = this;
        state.m_nIndexMax = (UINT)GetButtonCount();
        for (int i = 0; i < GetButtonCount(); i++) {
            SECToolBarBtn* pBtn = m_btns[(size_t)i];
            if (pBtn->IsSeparator())
                continue;
            state.m_nIndex = (UINT)i;
            state.m_nID = pBtn->m_nID;
            state.DoUpdate(pTarget, bDisableIfNoHndler);
        }
    }
}

void SECCustomToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
    for (SECToolBarBtn* pBtn : m_btns)
        pBtn->OnBarStyleChange(dwNewStyle);
    // The buttons' places depend on the side and on the border lines (docking changes both).
    if ((dwOldStyle ^ dwNewStyle) & (CBRS_ORIENT_ANY | CBRS_BORDER_ANY))
        MarkLayoutDirty();
}

INT_PTR SECCustomToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    INT_PTR nHit = SECControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    int nIndex = HitTest(point);
    if (nIndex < 0)
        return -1;
    return m_btns[(size_t)nIndex]->OnToolHitTest(point, pTI);
}

SECToolBarPaintCache* SECCustomToolBar::GetPaintCache()
{
    if (m_pPaintCache != nullptr)
        return m_pPaintCache;
    if (SECToolBarManager* pManager = GetToolBarManager())
        return &pManager->m_paintCache;
    m_pPaintCache = new SECToolBarPaintCache;
    return m_pPaintCache;
}

void SECCustomToolBar::DoPaint(CDC* pDC)
{
    SECControlBar::DoPaint(pDC);
    int cxWidest = m_nMaxBtnWidth;
    for (SECToolBarBtn* pBtn : m_btns)
        cxWidest = std::max(cxWidest, pBtn->m_cx);
    SECToolBarPaintCache* pCache = GetPaintCache();
    pCache->Prepare(pDC, m_hbmImages, cxWidest, m_cyImage + 7);
    for (SECToolBarBtn* pBtn : m_btns)
        pBtn->Draw(pDC, pCache);
    pCache->Release();
}

void SECCustomToolBar::DelayShow(BOOL bShow)
{
    SECControlBar::DelayShow(bShow);
    if (bShow || !(m_nStateFlags & delayHide) || m_bNoDelayHidePending || m_hWnd == nullptr || !IsFloating())
        return;
    SECToolBarManager* pManager = GetToolBarManager();
    if (pManager == nullptr || !pManager->IsCustomizing())
        return;
    SECRegisterMessages();
    m_bNoDelayHidePending = TRUE;
    PostMessage(wmSECNoDelayHide);
}

SECControlBarInfoEx* SECCustomToolBar::GetBarInfoEx()
{
    auto* pInfo = new SECCustomToolBarInfoEx;
    if (m_hWnd != nullptr)
        GetWindowText(pInfo->m_strTitle);
    for (SECToolBarBtn* pBtn : m_btns) {
        SECCustomToolBarInfoEx::Record record;
        record.nID = pBtn->IsSeparator() ? 0 : pBtn->m_nID;
        BYTE state[256];
        BYTE n = 0;
        pBtn->GetState(n, state);
        record.state.assign(state, state + n);
        pInfo->m_records.push_back(std::move(record));
    }
    return pInfo;
}

void SECCustomToolBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd*)
{
    auto* pInfoEx = pInfo != nullptr ? dynamic_cast<SECCustomToolBarInfoEx*>(pInfo->m_pInfoEx) : nullptr;
    if (pInfoEx == nullptr)
        return;
    if (!pInfoEx->m_strTitle.IsEmpty() && m_hWnd != nullptr)
        SetWindowText(pInfoEx->m_strTitle);
    const BOOL bUserBar = m_hWnd != nullptr && (UINT)::GetDlgCtrlID(m_hWnd) >= SEC_IDW_USERTOOLBAR_FIRST;
    if (!pInfoEx->m_bButtons && (!bUserBar || pInfoEx->m_records.empty())) {
        // Damaged or missing: the buttons stay; a default toolbar made without them gets its own.
        UINT nCount = 0;
        const UINT* pIDs = nullptr;
        SECToolBarManager* pManager = GetToolBarManager();
        if (GetButtonCount() == 0 && m_hWnd != nullptr && pManager != nullptr &&
            pManager->GetDefaultButtons((UINT)::GetDlgCtrlID(m_hWnd), nCount, pIDs))
            SetButtons(pIDs, (int)nCount);
        return;
    }
    // A user toolbar has nothing else to go by: it keeps the whole records before any damage.
    DeleteButtons();
    for (const auto& record : pInfoEx->m_records) {
        SECToolBarBtn* pBtn = CreateButton(record.nID, record.nID == 0);
        if (!record.state.empty())
            pBtn->SetState((BYTE)record.state.size(), record.state.data());
        m_btns.push_back(pBtn);
    }
    MarkLayoutDirty();
}

// ---- Mouse ------------------------------------------------------------------------------------

void SECCustomToolBar::SetPrompt(UINT nID)
{
    CWnd* pTarget = GetCommandTarget();
    if (pTarget != nullptr && pTarget->m_hWnd != nullptr)
        pTarget->SendMessage(WM_SETMESSAGESTRING, nID);
}

void SECCustomToolBar::ClearHot()
{
    if (m_nHot >= 0) {
        if (SECToolBarBtn* pBtn = GetButton(m_nHot)) {
            pBtn->m_nStyle &= ~SEC_TBBS_HOT;
            pBtn->Invalidate();
        }
        m_nHot = -1;
    }
    if (m_hWnd != nullptr)
        KillTimer(SEC_IDT_HOTTRACK);
}

void SECCustomToolBar::TrackHot(CPoint point)
{
    if (!(m_dwExStyle & CBRS_EX_FLATLOOK) || m_bCustomize || m_bDragging || ::GetActiveWindow() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    int nHit = rectClient.PtInRect(point) ? HitTest(point) : -1;
    if (nHit >= 0 && (m_btns[(size_t)nHit]->m_nStyle & TBBS_DISABLED))
        nHit = -1;
    if (nHit == m_nHot)
        return;
    if (nHit < 0) {
        ClearHot();
        UpdateWindow();
        return;
    }
    BOOL bWasHot = m_nHot >= 0;
    if (SECToolBarBtn* pOld = GetButton(m_nHot)) {
        pOld->m_nStyle &= ~SEC_TBBS_HOT;
        pOld->Invalidate();
    }
    m_nHot = nHit;
    m_btns[(size_t)nHit]->m_nStyle |= SEC_TBBS_HOT;
    m_btns[(size_t)nHit]->Invalidate();
    if (!bWasHot)
        SetTimer(SEC_IDT_HOTTRACK, 100, nullptr);
}

void SECCustomToolBar::OnLButtonDownTB(UINT nFlags, CPoint point)
{
    // Customise mode, or Alt outside it: the button is dragged instead of clicked.
    SECToolBarManager* pManager = GetToolBarManager();
    BOOL bAltDrag = !m_bCustomize && pManager != nullptr && (::GetKeyState(VK_MENU) & 0x8000);
    if (m_bCustomize || bAltDrag) {
        int nButton = HitTest(point);
        if (nButton < 0) {
            if (m_bCustomize)
                DeselectButton();
            SECControlBar::OnLButtonDown(nFlags, point);
            return;
        }
        m_bDragging = bAltDrag;
        BOOL bAlive = TrackButtonDrag(nButton, point);
        if (bAlive) {
            m_bDragging = FALSE;
            if (bAltDrag && pManager->m_pSelectedToolBar != nullptr)
                pManager->m_pSelectedToolBar->DeselectButton();
        }
        return;
    }
    int nHit = HitTest(point);
    if (nHit < 0 || (m_btns[(size_t)nHit]->m_nStyle & TBBS_DISABLED)) {
        SECControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    UpdateButtonCmdUI(nHit);
    SECToolBarBtn* pBtn = m_btns[(size_t)nHit];
    if (!pBtn->OnLButtonDown(point)) {
        SECControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    m_nSelected = nHit;
    pBtn->Invalidate();
    UpdateWindow();
    SetCapture();
    SetPrompt(pBtn->m_nID);
}

void SECCustomToolBar::OnMouseMoveTB(UINT, CPoint point)
{
    // In customise mode the selection is the customise selection, not a pressed button.
    if (m_bCustomize)
        return;
    SECToolBarBtn* pBtn = GetButton(m_nSelected);
    if (pBtn == nullptr) {
        TrackHot(point);
        return;
    }
    UINT nOld = pBtn->m_nStyle;
    if (::GetCapture() == m_hWnd) {
        pBtn->OnMouseMove(point);
    }
    else {
        pBtn->OnCancelMode();
        m_nSelected = -1;
        SetPrompt(AFX_IDS_IDLEMESSAGE);
    }
    if (pBtn->m_nStyle != nOld)
        pBtn->Invalidate();
}

void SECCustomToolBar::OnLButtonUpTB(UINT nFlags, CPoint point)
{
    SECToolBarBtn* pBtn = m_bCustomize ? nullptr : GetButton(m_nSelected);
    if (pBtn == nullptr) {
        SECControlBar::OnLButtonUp(nFlags, point);
        return;
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    UpdateButtonCmdUI(m_nSelected);
    UINT nID = pBtn->OnLButtonUp(point);
    SetPrompt(AFX_IDS_IDLEMESSAGE);
    pBtn->Invalidate();
    CRect rectButton = pBtn->GetRect();
    m_nSelected = -1;
    if (nID == 0)
        return;
    CWnd* pTarget = GetCommandTarget();
    if (pTarget == nullptr || pTarget->m_hWnd == nullptr)
        return;
    SECToolBarManager* pManager = GetToolBarManager();
    ClientToScreen(&rectButton);
    if (pManager != nullptr)
        pManager->SetButtonRect(TRUE, rectButton);
    pTarget->SendMessage(WM_COMMAND, nID);
    if (pManager != nullptr)
        pManager->SetButtonRect(FALSE, CRect(0, 0, 0, 0));
}

void SECCustomToolBar::OnCancelModeTB()
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bCustomize)
        return;
    if (SECToolBarBtn* pBtn = GetButton(m_nSelected)) {
        pBtn->OnCancelMode();
        pBtn->Invalidate();
    }
    m_nSelected = -1;
}

LRESULT SECCustomToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDownTB((UINT)wParam, point);
        return 0;
    case WM_LBUTTONDBLCLK:
        // On a button a second click is a click (or a press to drag); elsewhere the bar's.
        if (HitTest(point) >= 0) {
            OnLButtonDownTB((UINT)wParam, point);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        OnMouseMoveTB((UINT)wParam, point);
        break;      // the bar's own handling (tips) goes on
    case WM_LBUTTONUP:
        OnLButtonUpTB((UINT)wParam, point);
        return 0;
    case WM_CANCELMODE:
        OnCancelModeTB();
        break;
    case WM_TIMER:
        if (wParam == SEC_IDT_HOTTRACK) {
            CPoint ptCursor;
            ::GetCursorPos(&ptCursor);
            ScreenToClient(&ptCursor);
            TrackHot(ptCursor);
            return 0;
        }
        break;
    case WM_DESTROY:
        OnCancelModeTB();
        ClearHot();
        if (SECToolBarManager* pManager = GetToolBarManager()) {
            if (pManager->m_pSelectedToolBar == this)
                pManager->m_pSelectedToolBar = nullptr;
        }
        Notify(3);
        break;
    case WM_SHOWWINDOW:
        Notify(wParam ? 0 : 1);
        break;
    case WM_WINDOWPOSCHANGING: {
        const WINDOWPOS* pPos = (const WINDOWPOS*)lParam;
        if (pPos->flags & SWP_SHOWWINDOW)
            Notify(0);
        else if (pPos->flags & SWP_HIDEWINDOW)
            Notify(1);
        break;
    }
    case WM_SYSCOLORCHANGE:
        if (m_pPaintCache != nullptr)
            m_pPaintCache->OnSysColorChange();
        else if (SECToolBarManager* pManager = GetToolBarManager())
            pManager->m_paintCache.OnSysColorChange();
        if (m_bOwnsBitmap && m_lpszResourceName != nullptr)
            LoadToolBar(m_lpszResourceName);
        else if (SECToolBarManager* pManager = GetToolBarManager())
            pManager->ReloadBitmap();
        break;
    case WM_MOUSEACTIVATE:
        if (m_bCustomize && !IsFloating())
            return MA_NOACTIVATE;
        break;
    case WM_SYSCOMMAND:
        // Alt with a press starts a button drag, not the window menu.
        break;
    default:
        if (message == DestroyLaterMessage()) {
            if (GetButtonCount() == 0)
                DestroyBar();
            return 0;
        }
        if (wmSECNoDelayHide != 0 && message == wmSECNoDelayHide) {
            m_bNoDelayHidePending = FALSE;
            CFrameWnd* pFrame = GetDockingFrame();
            if ((m_nStateFlags & delayHide) && pFrame != nullptr)
                pFrame->ShowControlBar(this, FALSE, FALSE);
            return 0;
        }
        // Control buttons' notifications go on, unchanged, to the frame (floating or not).
        if (wmSECToolBarWndNotify != 0 && message == wmSECToolBarWndNotify) {
            CWnd* pTarget = GetCommandTarget();
            if (pTarget != nullptr && pTarget->m_hWnd != nullptr)
                return pTarget->SendMessage(message, wParam, lParam);
            return 0;
        }
        break;
    }
    return SECControlBar::WindowProc(message, wParam, lParam);
}

// ---- Customise mode ---------------------------------------------------------------------------

void SECCustomToolBar::SelectButton(int nIndex, BOOL bRepaint)
{
    SECToolBarManager* pManager = GetToolBarManager();
    if (pManager != nullptr && pManager->m_pSelectedToolBar != nullptr && pManager->m_pSelectedToolBar != this)
        pManager->m_pSelectedToolBar->DeselectButton(bRepaint);
    if (SECToolBarBtn* pOld = GetButton(m_nSelected)) {
        pOld->m_nStyle &= ~SEC_TBBS_SELECTED;
        if (bRepaint)
            pOld->Invalidate();
    }
    m_nSelected = nIndex;
    if (SECToolBarBtn* pBtn = GetButton(nIndex)) {
        pBtn->m_nStyle |= SEC_TBBS_SELECTED;
        if (bRepaint)
            pBtn->Invalidate();
    }
    if (pManager != nullptr)
        pManager->m_pSelectedToolBar = this;
    Notify(4);
}

void SECCustomToolBar::DeselectButton(BOOL bRepaint)
{
    if (SECToolBarBtn* pBtn = GetButton(m_nSelected)) {
        pBtn->m_nStyle &= ~SEC_TBBS_SELECTED;
        if (bRepaint)
            pBtn->Invalidate();
    }
    m_nSelected = -1;
    SECToolBarManager* pManager = GetToolBarManager();
    if (pManager != nullptr && pManager->m_pSelectedToolBar == this)
        pManager->m_pSelectedToolBar = nullptr;
    Notify(4);
}

int SECCustomToolBar::DropIndex(const CRect& rect) const
{
    CRect rectInside;
    GetClientRect(&rectInside);
    CalcInsideRect(rectInside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0, TRUE);
    int nCount = GetButtonCount();
    // The rows as laid out: each ends at a wrapped button (a trailing separator ends none).
    int nRowStart = 0, nRowEnd = -1;
    int nBottom = rectInside.top;
    int yCentre = rect.CenterPoint().y;
    for (int i = 0; i < nCount; i++) {
        const SECToolBarBtn* pBtn = m_btns[(size_t)i];
        BOOL bEnd = (pBtn->m_nStyle & TBBS_WRAPPED) || i == nCount - 1;
        if (!bEnd)
            continue;
        int nHeight = 0;
        for (int j = nRowStart; j <= i; j++)
            nHeight = std::max(nHeight, m_btns[(size_t)j]->m_cy);
        if (pBtn->IsSeparator() && i != nCount - 1)
            nHeight += RowGap(m_nSepWidth);
        nBottom += nHeight;
        nRowEnd = i;
        if (nBottom >= yCentre)
            break;
        if (i != nCount - 1)
            nRowStart = i + 1;
    }
    if (nRowEnd < 0)
        return 0;
    if (rect.left < rectInside.left)
        return nRowStart;
    for (int i = nRowStart; i <= nRowEnd; i++)
        if (m_btns[(size_t)i]->GetRect().right > rect.left)
            return i + 1;
    return nRowEnd + 1;
}

void SECCustomToolBar::DropButton(const CRect& rect, SECCustomToolBar* pSource, int nSource, BOOL bCopy)
{
    SECToolBarBtn* pSrcBtn = pSource != nullptr ? pSource->GetButton(nSource) : nullptr;
    if (pSrcBtn == nullptr)
        return;
    UINT nID = pSrcBtn->m_nID;
    BOOL bSame = pSource == this && !bCopy;
    if (bSame && GetButtonCount() == 1)
        return;     // the only button onto its own bar

    // The selected button onto its own rectangle: separators before or after it.
    if (bSame) {
        CRect rectOwn = pSrcBtn->GetRect();
        CRect rectMeet;
        if (rectMeet.IntersectRect(&rectOwn, &rect)) {
            int dx = rect.left - rectOwn.left;
            if (dx > -2 && dx < 2)
                return;
            BOOL bSepBefore = nSource > 0 && m_btns[(size_t)nSource - 1]->IsSeparator();
            BOOL bSepAfter = nSource + 1 < GetButtonCount() && m_btns[(size_t)nSource + 1]->IsSeparator();
            if (dx > 0) {
                if (nSource > 0 && !bSepBefore)
                    InsertButton(nSource, 0, TRUE);
                else if (bSepAfter)
                    RemoveButton(nSource + 1);
            }
            else {
                if (bSepBefore)
                    RemoveButton(nSource - 1);
                else if (!bSepAfter)
                    InsertButton(nSource + 1, 0, TRUE);
            }
            return;
        }
    }

    CRect rectInside;
    GetClientRect(&rectInside);
    CalcInsideRect(rectInside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0, TRUE);
    enum { atIndex, above, below } where = atIndex;
    int nIndex = 0;
    if (GetButtonCount() > 0) {
        if (rect.bottom <= rectInside.top)
            where = above;
        else if (rect.top >= rectInside.bottom)
            where = below;
        else
            nIndex = DropIndex(rect);
    }
    if (bSame && where == atIndex && (nIndex == nSource || nIndex == nSource + 1))
        return;     // back where it was

    // A move takes the button off its bar first; the insert place is kept by its neighbour.
    if (!bCopy) {
        SECToolBarBtn* pAnchor = (where == atIndex && nIndex < GetButtonCount()) ? m_btns[(size_t)nIndex] : nullptr;
        if (bSame) {
            RemoveButton(nSource, TRUE);
            if (pAnchor != nullptr) {
                auto it = std::find(m_btns.begin(), m_btns.end(), pAnchor);
                nIndex = it != m_btns.end() ? (int)(it - m_btns.begin()) : std::min(nIndex, GetButtonCount());
            }
            else {
                nIndex = std::min(nIndex, GetButtonCount());
            }
        }
        else if (pSource != nullptr) {
            pSource->RemoveButton(nSource, TRUE);
        }
    }
    if (where == above) {
        InsertButton(0, 0, TRUE, TRUE);
        nIndex = 0;
    }
    else if (where == below) {
        InsertButton(GetButtonCount(), 0, TRUE, TRUE);
        nIndex = GetButtonCount();
    }
    else if (nIndex < GetButtonCount() && m_btns[(size_t)nIndex]->IsSeparator() &&
             !(m_btns[(size_t)nIndex]->m_nStyle & TBBS_WRAPPED)) {
        // A separator the dropped button covers (more than a pixel on both sides) goes.
        CRect rectSep = m_btns[(size_t)nIndex]->GetRect();
        if (rect.left < rectSep.left - 1 && rect.right > rectSep.right + 1)
            RemoveButton(nIndex, TRUE);
    }
    nIndex = std::max(0, std::min(nIndex, GetButtonCount()));
    InsertButton(nIndex, nID, FALSE);
    if (!m_bDragging && !(pSource != nullptr && pSource->m_bDragging))
        SelectButton(nIndex);
}

BOOL SECCustomToolBar::RunDragLoop(CRect& rectScreen, BOOL bCopy, CPoint ptStart, CPoint& ptMouse)
{
    CRect rectStart = rectScreen;
    SetCapture();
    HCURSOR hcurOld = bCopy ? ::SetCursor(SECGetSysData().DragCopyCursor()) : nullptr;
    BOOL bDrop = FALSE;
    // The dragged button's outline follows the mouse (drawn and wiped by inversion).
    CRect rectShown(0, 0, 0, 0);
    auto show = [&rectShown](const CRect* pRect) {
        HDC hDC = ::GetDC(nullptr);
        if (hDC == nullptr)
            return;
        if (!rectShown.IsRectEmpty())
            ::DrawFocusRect(hDC, &rectShown);
        rectShown = pRect != nullptr ? *pRect : CRect(0, 0, 0, 0);
        if (!rectShown.IsRectEmpty())
            ::DrawFocusRect(hDC, &rectShown);
        ::ReleaseDC(nullptr, hDC);
    };
    for (;;) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != m_hWnd) {
            ::DispatchMessageA(&msg);
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            rectScreen = rectStart + (pt - ptStart);
            if (msg.message == WM_LBUTTONUP) {
                ptMouse = pt;
                bDrop = TRUE;
                break;
            }
            if (bCopy)
                ::SetCursor(SECGetSysData().DragCopyCursor());
            show(&rectScreen);
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message == WM_RBUTTONDOWN)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    show(nullptr);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (hcurOld != nullptr)
        ::SetCursor(hcurOld);
    return bDrop;
}

BOOL SECCustomToolBar::TrackButtonDrag(int nIndex, CPoint point)
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    if (pBtn == nullptr)
        return TRUE;
    SelectButton(nIndex);
    BOOL bCopy = IsCtrlKeyDown();
    CRect rect = pBtn->GetRect();
    ClientToScreen(&rect);
    // The rectangle follows the mouse from where the button was pressed (the cursor may have
    // moved on by the time the drag starts).
    CPoint ptStart = point;
    ClientToScreen(&ptStart);
    CPoint ptMouse;
    if (!RunDragLoop(rect, bCopy, ptStart, ptMouse))
        return TRUE;
    return DropDragged(nIndex, rect, bCopy, ptMouse);
}

namespace {

// The toolbar a window belongs to (the toolbar itself, or a control on it), or null.
SECCustomToolBar* ToolBarOfWindow(HWND hWnd)
{
    for (; hWnd != nullptr; hWnd = ::GetParent(hWnd))
        if (auto* pBar = dynamic_cast<SECCustomToolBar*>(CWnd::FromHandlePermanent(hWnd)))
            return pBar;
    return nullptr;
}

} // namespace

BOOL SECCustomToolBar::DropDragged(int nIndex, const CRect& rectScreen, BOOL bCopy, CPoint ptMouse)
{
    SECToolBarBtn* pBtn = GetButton(nIndex);
    if (pBtn == nullptr)
        return TRUE;
    SECToolBarManager* pManager = GetToolBarManager();
    // The window on top at the mouse decides. Over the customisation window nothing changes
    // (a click on a palette button only shows its description); a toolbar there (or a palette
    // outside a customisation window) is the target; elsewhere the toolbars the dropped
    // rectangle meets where they show, then one under a corner.
    if (pManager != nullptr && pManager->IsOverCustomizeWindow(ptMouse))
        return TRUE;
    SECCustomToolBar* pTarget = ToolBarOfWindow(::WindowFromPoint(ptMouse));
    if (pTarget == nullptr && pManager != nullptr)
        pTarget = pManager->FindToolBarAt(rectScreen);
    if (pTarget == nullptr) {
        // Palettes and toolbars outside the frame's list: the one under a corner.
        CPoint corners[4] = {rectScreen.TopLeft(), CPoint(rectScreen.right - 1, rectScreen.top),
                             CPoint(rectScreen.left, rectScreen.bottom - 1), rectScreen.BottomRight() - CPoint(1, 1)};
        for (const CPoint& pt : corners) {
            pTarget = ToolBarOfWindow(::WindowFromPoint(pt));
            if (pTarget != nullptr)
                break;
        }
    }
    UINT nThisID = (UINT)::GetDlgCtrlID(m_hWnd);
    // This bar lost the button: a user toolbar left empty goes once its drag is over (FALSE),
    // any other is laid out again.
    auto afterLoss = [&]() {
        if (nThisID >= SEC_IDW_USERTOOLBAR_FIRST && GetButtonCount() == 0) {
            PostMessage(DestroyLaterMessage());
            return FALSE;
        }
        Relayout();
        return TRUE;
    };
    auto removeHere = [&]() {
        RemoveButton(nIndex, TRUE);
        DeselectButton();
        return afterLoss();
    };
    if (pTarget == nullptr) {
        if (!bCopy)
            return removeHere();
        if (pManager == nullptr)
            return TRUE;
        SECCustomToolBar* pNew = pManager->CreateUserToolBar(nullptr);
        if (pNew == nullptr)
            return TRUE;
        pNew->InsertButton(0, pBtn->m_nID, FALSE, TRUE);
        // Its client area starts at the drop point: the floating frame's borders lie outside.
        CRect rectFrame(0, 0, 0, 0);
        ::AdjustWindowRectEx(&rectFrame, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE,
                             WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
        if (pManager->m_pFrameWnd != nullptr)
            pManager->m_pFrameWnd->FloatControlBar(pNew, rectScreen.TopLeft() + rectFrame.TopLeft(), CBRS_ALIGN_TOP);
        return TRUE;
    }
    if (!pTarget->AcceptsDrop()) {
        if (!bCopy)
            return removeHere();
        return TRUE;
    }
    CRect rect = rectScreen;
    pTarget->ScreenToClient(&rect);
    BOOL bOtherBar = pTarget != this;
    if (bOtherBar && !bCopy) {
        pTarget->DropButton(rect, this, nIndex, FALSE);
        return afterLoss();
    }
    pTarget->DropButton(rect, this, nIndex, bCopy);
    return TRUE;
}

// ---- Control buttons ----------------------------------------------------------------------------

SECStdToolBarBtn::SECStdToolBarBtn() : m_bShown(FALSE), m_nWidth(0), m_nValue2(0), m_nHeight(0), m_nCtrlHeight(0) {}

void SECStdToolBarBtn::Init(SECCustomToolBar* pBar, const UINT_PTR* pParams)
{
    SECToolBarBtn::Init(pBar, pParams);
    m_nWidth = LOWORD(pParams[2]);
    m_nValue2 = HIWORD(pParams[2]);
    m_nHeight = (int)pParams[3];
    if (pBar != nullptr && pBar->m_hWnd != nullptr &&
        CreateWnd(pBar, (DWORD)pParams[1] | WS_CHILD, CRect(0, 0, 0, 0), (UINT)pParams[0])) {
        CRect rect;
        GetWnd()->GetWindowRect(&rect);
        m_nCtrlHeight = rect.Height();
    }
    m_bShown = FALSE;
    RecalcSize();
    NotifyToolBar(257);
}

void SECStdToolBarBtn::NotifyToolBar(UINT nCode)
{
    CWnd* pWnd = GetWnd();
    if (m_pBar == nullptr || m_pBar->m_hWnd == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return;
    SECRegisterMessages();
    m_pBar->SendMessage(wmSECToolBarWndNotify, (WPARAM)((nCode << 16) | (UINT)::GetDlgCtrlID(pWnd->m_hWnd)),
                        (LPARAM)pWnd->m_hWnd);
}

void SECStdToolBarBtn::SetMode(UINT nOrient)
{
    CWnd* pWnd = GetWnd();
    BOOL bVertical = (nOrient & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0;
    m_bShown = !bVertical;
    RecalcSize();
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr) {
        if (m_bShown)
            PlaceControl();
        pWnd->ShowWindow(m_bShown ? SW_SHOWNA : SW_HIDE);
    }
}

void SECStdToolBarBtn::PlaceControl()
{
    CWnd* pWnd = GetWnd();
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || m_x < 0)
        return;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    int cy = rect.Height();
    pWnd->SetWindowPos(nullptr, m_x, m_y + (m_cy - cy) / 2, m_nWidth, m_nValue2 > 0 ? m_nValue2 : cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECStdToolBarBtn::SetPos(int x, int y)
{
    SECToolBarBtn::SetPos(x, y);
    if (m_bShown)
        PlaceControl();
}

void SECStdToolBarBtn::Invalidate(BOOL bErase)
{
    SECToolBarBtn::Invalidate(bErase);
    CWnd* pWnd = GetWnd();
    if (m_bShown && pWnd != nullptr && pWnd->m_hWnd != nullptr)
        pWnd->Invalidate(bErase);
}

void SECStdToolBarBtn::RecalcSize()
{
    SECToolBarBtn::RecalcSize();
    if (m_bShown && m_pBar != nullptr) {
        m_cx = m_nWidth;
        m_pBar->m_nMaxBtnWidth = std::max(m_pBar->m_nMaxBtnWidth, m_cx);
    }
}

void SECStdToolBarBtn::Draw(CDC* pDC, SECToolBarPaintCache* pCache)
{
    CWnd* pWnd = GetWnd();
    if (!m_bShown) {
        SECToolBarBtn::Draw(pDC, pCache);
        return;
    }
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr)
        pWnd->UpdateWindow();
    if ((m_nStyle & SEC_TBBS_SELECTED) && m_pBar != nullptr && m_pBar->m_bCustomize)
        DrawSelection(pDC, GetRect());
}

INT_PTR SECStdToolBarBtn::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (m_bShown)
        return -1;
    return SECToolBarBtn::OnToolHitTest(point, pTI);
}

void SECStdToolBarBtn::OnNotify(UINT nCode, const void* pData)
{
    CWnd* pWnd = const_cast<SECStdToolBarBtn*>(this)->GetWnd();
    if (nCode == 257 && pData != nullptr && pWnd != nullptr && pWnd->m_hWnd != nullptr) {
        const MSG* pMsg = (const MSG*)pData;
        pWnd->SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return;
    }
    SECToolBarBtn::OnNotify(nCode, pData);
}

void SECStdToolBarBtn::GetState(BYTE& nLength, BYTE* pBytes) const
{
    nLength = 2;
    pBytes[0] = LOBYTE((WORD)m_nWidth);
    pBytes[1] = HIBYTE((WORD)m_nWidth);
}

void SECStdToolBarBtn::SetState(BYTE nLength, const BYTE* pBytes)
{
    // Only a width (two bytes) is taken back.
    if (nLength != 2 || pBytes == nullptr)
        return;
    m_nWidth = BoundWidth(pBytes[0] | (pBytes[1] << 8));
    RecalcSize();
    if (m_bShown)
        PlaceControl();
    if (m_pBar != nullptr)
        m_pBar->MarkLayoutDirty();
}

int SECStdToolBarBtn::BoundWidth(int nWidth) const
{
    const int nMin = 2 * ::GetSystemMetrics(SM_CXVSCROLL);
    CWnd* pFrame = m_pBar != nullptr && m_pBar->m_hWnd != nullptr ? m_pBar->GetDockingFrame() : nullptr;
    HMONITOR hMonitor = ::MonitorFromWindow(pFrame != nullptr ? pFrame->m_hWnd : nullptr, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    int nMax = ::GetMonitorInfoA(hMonitor, &info) ? (int)(info.rcWork.right - info.rcWork.left)
                                                   : ::GetSystemMetrics(SM_CXSCREEN);
    return std::max(nMin, std::min(nWidth, nMax));
}

BOOL SECStdToolBarBtn::TakesPresses() const
{
    return m_pBar != nullptr && (m_pBar->m_bCustomize || (::GetKeyState(VK_MENU) & 0x8000));
}

BOOL SECStdToolBarBtn::IsOnSizingEdge(CPoint ptScreen)
{
    CWnd* pWnd = GetWnd();
    if (!m_bShown || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect.PtInRect(ptScreen) && ptScreen.x >= rect.right - 3;
}

BOOL SECStdToolBarBtn::SetCustomizeCursor()
{
    if (m_pBar == nullptr || !m_pBar->m_bCustomize)
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ::SetCursor(IsOnSizingEdge(pt) ? SECGetSysData().SizeControlCursor() : ::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL SECStdToolBarBtn::TrackResize(CPoint ptScreen)
{
    CWnd* pWnd = GetWnd();
    if (m_pBar == nullptr || m_pBar->m_hWnd == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    CRect rectCtrl;
    pWnd->GetWindowRect(&rectCtrl);
    int nWidth = m_nWidth;
    // The new right edge shows as an inverted line over the bar's height.
    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    int xShown = -1;
    auto show = [&](int x) {
        HDC hDC = ::GetDC(nullptr);
        if (hDC == nullptr)
            return;
        if (xShown >= 0)
            ::PatBlt(hDC, xShown - 1, rectBar.top, 2, rectBar.Height(), DSTINVERT);
        xShown = x;
        if (xShown >= 0)
            ::PatBlt(hDC, xShown - 1, rectBar.top, 2, rectBar.Height(), DSTINVERT);
        ::ReleaseDC(nullptr, hDC);
    };
    m_pBar->SetCapture();
    ::SetCursor(SECGetSysData().SizeControlCursor());
    BOOL bDone = FALSE;
    for (;;) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != m_pBar->m_hWnd) {
            ::DispatchMessageA(&msg);
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            nWidth = BoundWidth(m_nWidth + (int)(pt.x - ptScreen.x));
            if (msg.message == WM_LBUTTONUP) {
                bDone = TRUE;
                break;
            }
            ::SetCursor(SECGetSysData().SizeControlCursor());
            show(rectCtrl.left + nWidth);
            continue;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    show(-1);
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    if (!bDone || nWidth == m_nWidth)
        return FALSE;
    m_nWidth = nWidth;
    RecalcSize();
    PlaceControl();
    m_pBar->MarkLayoutDirty();
    m_pBar->Relayout();
    return TRUE;
}

void SECStdToolBarBtn::OnWndLButtonDown(UINT nFlags, CPoint point)
{
    CWnd* pWnd = GetWnd();
    if (m_pBar == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return;
    pWnd->ClientToScreen(&point);
    if (IsOnSizingEdge(point)) {
        TrackResize(point);
        return;
    }
    m_pBar->ScreenToClient(&point);
    m_pBar->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

LRESULT SECToolBarComboEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pCombo != nullptr) {
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            m_pCombo->NotifyToolBar(513);
            return 0;
        }
        if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && m_pCombo->TakesPresses()) {
            CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
            ClientToScreen(&point);
            m_pCombo->ScreenToClient(&point);
            m_pCombo->OnWndLButtonDown((UINT)wParam, point);
            return 0;
        }
        if (message == WM_SETCURSOR && m_pCombo->SetCustomizeCursor())
            return TRUE;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

SECToolBarComboBox::SECToolBarComboBox()
{
    m_edit.m_pCombo = this;
}

SECToolBarComboBox::~SECToolBarComboBox()
{
    if (m_edit.m_hWnd != nullptr)
        m_edit.UnsubclassWindow();
    if (CComboBox::m_hWnd != nullptr)
        CComboBox::DestroyWindow();
}

SECToolBarBtn* SECToolBarComboBox::CreateButton()
{
    return new SECToolBarComboBox;
}

BOOL SECToolBarComboBox::CreateWnd(CWnd* pParent, DWORD dwStyle, const RECT& rect, UINT nID)
{
    if ((dwStyle & 0x3) == 0)
        dwStyle |= CBS_DROPDOWNLIST;
    CRect rectCombo = rect;
    rectCombo.bottom = rectCombo.top + (m_nValue2 > 0 ? m_nValue2 : 150);
    if (!CComboBox::Create(dwStyle | WS_VSCROLL, rectCombo, pParent, nID))
        return FALSE;
    LOGFONTA lf = {};
    lf.lfHeight = 8;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_STRING_PRECIS;
    lf.lfClipPrecision = CLIP_CHARACTER_PRECIS;
    lstrcpyA(lf.lfFaceName, "MS Sans Serif");
    if (m_font.CreateFontIndirect(&lf))
        SetFont(&m_font);
    if ((dwStyle & 0x3) == CBS_DROPDOWN) {
        HWND hEdit = ::GetWindow(CComboBox::m_hWnd, GW_CHILD);
        if (hEdit != nullptr)
            m_edit.SubclassWindow(hEdit);
    }
    return TRUE;
}

void SECToolBarComboBox::SetMode(UINT nOrient)
{
    SECStdToolBarBtn::SetMode(nOrient);
}

void SECToolBarComboBox::RecalcSize()
{
    SECStdToolBarBtn::RecalcSize();
    if (m_bShown && CComboBox::m_hWnd != nullptr && m_pBar != nullptr) {
        CRect rect;
        CComboBox::GetWindowRect(&rect);
        m_cy = std::max(m_pBar->m_cyImage + 7, (int)rect.Height());
    }
}

LRESULT SECToolBarComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // In customise mode (or with Alt) a press selects and drags the button, or resizes the
    // control on its right edge, instead of opening the list.
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && TakesPresses()) {
        OnWndLButtonDown((UINT)wParam, CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        return 0;
    }
    if (message == WM_SETCURSOR && SetCustomizeCursor())
        return TRUE;
    return CComboBox::WindowProc(message, wParam, lParam);
}
