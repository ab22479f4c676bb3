#include "afxwin.h"
#include "gxctllogic.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxprop.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include <cstring>

GX_IMPLEMENT_CONTROL(CGXCheckBox, CGXControl)

CGXCheckBox::CGXCheckBox(CGXGridEngine* pGrid, BOOL bDraw3d, UINT nStripId, UINT nPrintStripId)
    : CGXControl(pGrid), m_bDraw3d(bDraw3d)
{
    if (nStripId != 0)
        m_nStripId = nStripId;
    else if (!bDraw3d)
        m_nStripId = GX_IDB_CHECK_FLAT;
    else
        m_nStripId = GXGetAppState()->m_bNewShell ? GX_IDB_CHECK_95 : GX_IDB_CHECK_3D;
    m_nPrintStripId = nPrintStripId != 0 ? nPrintStripId : GX_IDB_CHECK_FLAT;
}

CGXCheckBox::~CGXCheckBox() { FreeStrips(); }

void CGXCheckBox::FreeStrips()
{
    if (m_hStrip != nullptr)
        ::GlobalFree(m_hStrip);
    if (m_hPrintStrip != nullptr)
        ::GlobalFree(m_hPrintStrip);
    m_hStrip = m_hPrintStrip = nullptr;
}

COLORREF CGXCheckBox::MapStripColor(COLORREF color, BOOL bPrint)
{
    switch (color) {
    case RGB(0, 0, 0): return bPrint ? RGB(0, 0, 0) : ::GetSysColor(COLOR_WINDOWTEXT);
    case RGB(255, 0, 0): return bPrint ? RGB(255, 255, 255) : ::GetSysColor(COLOR_WINDOW);
    case RGB(0, 255, 0): return bPrint ? RGB(0, 0, 0) : ::GetSysColor(COLOR_WINDOWFRAME);
    case RGB(192, 192, 192): return bPrint ? RGB(192, 192, 192) : ::GetSysColor(COLOR_BTNFACE);
    default: return color;
    }
}

HGLOBAL CGXCheckBox::LoadStrip(UINT nID, BOOL bPrint)
{
    HINSTANCE modules[2] = {AfxGetResourceHandle(), AfxGetInstanceHandle()};
    for (HINSTANCE h : modules) {
        HRSRC res = ::FindResourceA(h, MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        if (res == nullptr)
            continue;
        HGLOBAL loaded = ::LoadResource(h, res);
        const DWORD size = ::SizeofResource(h, res);
        const void* src = loaded != nullptr ? ::LockResource(loaded) : nullptr;
        if (src == nullptr || size < sizeof(BITMAPINFOHEADER))
            continue;
        HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
        if (copy == nullptr)
            return nullptr;
        auto* info = static_cast<BITMAPINFO*>(::GlobalLock(copy));
        std::memcpy(info, src, size);
        const BITMAPINFOHEADER& hdr = info->bmiHeader;
        DWORD colors = hdr.biClrUsed != 0 ? hdr.biClrUsed : (hdr.biBitCount <= 8 ? 1u << hdr.biBitCount : 0u);
        if (hdr.biSize + colors * sizeof(RGBQUAD) > size)
            colors = 0;
        auto* table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(info) + hdr.biSize);
        for (DWORD i = 0; i < colors; ++i) {
            const COLORREF c = MapStripColor(RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue), bPrint);
            table[i].rgbRed = GetRValue(c);
            table[i].rgbGreen = GetGValue(c);
            table[i].rgbBlue = GetBValue(c);
        }
        ::GlobalUnlock(copy);
        return copy;
    }
    return nullptr;
}

BOOL CGXCheckBox::LoadStrips()
{
    FreeStrips();
    m_hStrip = LoadStrip(m_nStripId, FALSE);
    if (m_hStrip == nullptr)
        return FALSE;
    m_hPrintStrip = LoadStrip(m_nPrintStripId, TRUE);
    return m_hPrintStrip != nullptr;
}

void CGXCheckBox::OnGridSysColorChange() { LoadStrips(); }

void CGXCheckBox::CheckedTexts(CString& sChecked, CString& sUnchecked)
{
    const CGXStyle& style = GetStyle();
    sChecked = style.HasUserAttribute(GX_IDS_UA_CHECKBOX_CHECKED) ? style.GetUserAttribute(GX_IDS_UA_CHECKBOX_CHECKED)
                                                                  : CString("1");
    sUnchecked = style.HasUserAttribute(GX_IDS_UA_CHECKBOX_UNCHECKED)
                     ? style.GetUserAttribute(GX_IDS_UA_CHECKBOX_UNCHECKED)
                     : CString("0");
}

UINT CGXCheckBox::GetState(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style)
{
    const CString checked = style.HasUserAttribute(GX_IDS_UA_CHECKBOX_CHECKED)
                                ? style.GetUserAttribute(GX_IDS_UA_CHECKBOX_CHECKED)
                                : CString("1");
    const CString unchecked = style.HasUserAttribute(GX_IDS_UA_CHECKBOX_UNCHECKED)
                                  ? style.GetUserAttribute(GX_IDS_UA_CHECKBOX_UNCHECKED)
                                  : CString("0");
    const BOOL enabled = !style.GetIncludeEnabled() || style.GetEnabled();
    const BOOL activeCurrent = IsActive() && IsActiveAt(nRow, nCol) && m_pGrid != nullptr &&
                               m_pGrid->IsCurrentCellAt(nRow, nCol);
    return GXCheckBoxState(enabled, activeCurrent, m_button.Pressed() && IsActiveAt(nRow, nCol), style.GetValue(), checked,
                           unchecked, style.GetIncludeTriState() && style.GetTriState());
}

CRect CGXCheckBox::GetCheckBoxRect(CDC* pDC, const CRect& rectCell, const CString& sLabel, const CGXStyle& style)
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    CSize needed(m_nBoxSize, m_nBoxSize);
    if (!sLabel.IsEmpty())
        needed.cx = m_nBoxSize * 3 / 2 + pDC->GetTextExtent(sLabel).cx;
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    if (lineHeight > needed.cy)
        needed.cy = lineHeight;
    const UINT align = static_cast<UINT>(style.GetHorizontalAlignment() | style.GetVerticalAlignment());
    CRect box = GXCheckBoxPlace(rectCell.Size(), needed, m_nBoxSize, align);
    box.OffsetRect(rectCell.TopLeft());
    return box;
}

void CGXCheckBox::DrawCheckBox(CDC* pDC, const CRect& rectCell, UINT nState, const CString& sLabel,
                               const CGXStyle& style)
{
    const CRect box = GetCheckBoxRect(pDC, rectCell, sLabel, style);
    if (m_hStrip == nullptr && !LoadStrips())
        return;   // no images: the cell keeps its background only
    const BOOL bPrinting = m_pGrid != nullptr && m_pGrid->IsPrinting();
    HGLOBAL strip = bPrinting ? m_hPrintStrip : m_hStrip;
    auto* info = static_cast<BITMAPINFO*>(::GlobalLock(strip));
    if (info == nullptr)
        return;
    const BITMAPINFOHEADER& hdr = info->bmiHeader;
    const DWORD colors = hdr.biClrUsed != 0 ? hdr.biClrUsed : (hdr.biBitCount <= 8 ? 1u << hdr.biBitCount : 0u);
    const BYTE* bits = reinterpret_cast<const BYTE*>(info) + hdr.biSize + colors * sizeof(RGBQUAD);
    const int w = box.Width(), h = box.Height();
    if (w > 0 && h > 0) {
        // Rows count from the bottom of the strip: a box cut at the cell's bottom keeps its top rows.
        ::StretchDIBits(pDC->GetSafeHdc(), box.left, box.top, w, h, GXCheckBoxImage(nState) * m_nBoxSize,
                        m_nBoxSize - h, w, h, bits, info, DIB_RGB_COLORS, SRCCOPY);
    }
    ::GlobalUnlock(strip);

    if (!sLabel.IsEmpty()) {
        CRect text(box.left + m_nBoxSize * 3 / 2, rectCell.top, rectCell.right, rectCell.bottom);
        if (text.Width() > 0) {
            // The label's first line sits level with the box; it wraps and aligns as the style says.
            TEXTMETRIC tm{};
            pDC->GetTextMetrics(&tm);
            text.top = box.top + (m_nBoxSize - tm.tmHeight) / 2;
            if (text.top < rectCell.top)
                text.top = rectCell.top;
            const UINT format = (GXCellTextFormat(style) & ~static_cast<UINT>(DT_VCENTER | DT_BOTTOM)) | DT_TOP;
            pDC->DrawText(sLabel, sLabel.GetLength(), &text, format);
        }
    }
}

void CGXCheckBox::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                       const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const UINT state = GetState(nRow, nCol, style);
    DrawBackground(pDC, rect, style, FALSE);
    const int saved = GXBeginCellText(m_pGrid, pDC, style, style.GetTextColor());
    const CRect cell = GetCellRect(nRow, nCol, rect, &style);
    const CString label = style.GetIncludeChoiceList() ? style.GetChoiceList() : CString();
    pDC->IntersectClipRect(&cell);
    // Clicks are answered in the control's own cell: other cells drawn meanwhile leave its box alone.
    if (IsActiveAt(nRow, nCol) || !m_bInit)
        m_rectBox = GetCheckBoxRect(pDC, cell, label, style);
    DrawCheckBox(pDC, cell, state, label, style);
    pDC->RestoreDC(saved);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

void CGXCheckBox::PlaceBox()
{
    // Without a grid window the box stays where it was drawn last in the control's cell.
    int saved = 0;
    CDC* pDC = GXBeginOwnCellMeasure(this, saved);
    if (pDC == nullptr)
        return;
    const CGXStyle& style = GetStyle();
    const CRect cell = GetCellRect(m_nRow, m_nCol, nullptr, &style);
    const CString label = style.GetIncludeChoiceList() ? style.GetChoiceList() : CString();
    m_rectBox = GetCheckBoxRect(pDC, cell, label, style);
    pDC->RestoreDC(saved);
}

BOOL CGXCheckBox::OnLButtonDown(UINT nFlags, CPoint pt)
{
    PlaceBox();
    if (m_rectBox.PtInRect(pt)) {
        m_button.MouseDown();
        Invalidate();
    }
    return CGXControl::OnLButtonDown(nFlags, pt);
}

BOOL CGXCheckBox::OnMouseMove(UINT nFlags, CPoint pt)
{
    const BOOL was = m_button.Pressed();
    m_button.MouseMove(m_rectBox.PtInRect(pt));
    if (was != m_button.Pressed())
        Invalidate();
    return CGXControl::OnMouseMove(nFlags, pt);
}

BOOL CGXCheckBox::OnLButtonUp(UINT nFlags, CPoint pt)
{
    // A release toggles only when its press began in the box and it ends there.
    const BOOL click = m_button.MouseUp(m_rectBox.PtInRect(pt));
    if (CGXControl::OnLButtonUp(nFlags, pt))
        return TRUE;
    if (click)
        OnClickedButton(nullptr);
    return TRUE;
}

BOOL CGXCheckBox::OnLButtonDblClk(UINT nFlags, CPoint pt)
{
    // The double click's own press toggles here; its release then finds nothing pressed.
    m_button.Cancel();
    if (CGXControl::OnLButtonDblClk(nFlags, pt))
        return TRUE;
    PlaceBox();
    if (m_rectBox.PtInRect(pt))
        OnClickedButton(nullptr);
    return TRUE;
}

BOOL CGXCheckBox::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL handled = CGXControl::HandleGridKey(nMessage, nChar, nRepCnt, nFlags);
    if (nMessage == WM_CHAR && nChar == ' ') {
        OnClickedButton(nullptr);
        return TRUE;
    }
    return handled;
}

void CGXCheckBox::OnClickedButton(GXCellChild* pChild)
{
    if (!m_bInit || m_pGrid == nullptr)
        return;
    const CGXStyle& style = GetStyle();
    if (style.GetIncludeEnabled() && !style.GetEnabled())
        return;
    if (!OnStartEditing() || IsReadOnly())
        return;
    CString checked, unchecked;
    CheckedTexts(checked, unchecked);
    const CString value = GXCheckBoxToggle(GetStyle().GetValue(), checked, unchecked,
                                           GetStyle().GetIncludeTriState() && GetStyle().GetTriState());
    m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol), value);
    // The held style shows the value before the toggle.
    FreeStyle();
    CGXControl::OnClickedButton(pChild);
}
