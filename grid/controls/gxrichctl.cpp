// The rich edit cell control.
#include "gxrich.h"
#include "afxwin.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxparam.h"
#include "gxstyle.h"
#include "gxfont.h"
#include "gxutil.h"
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CGXRichEditCtrl, CRichEditCtrl)
GX_IMPLEMENT_CONTROL(CGXRichEditCtrl, CGXControl)

BOOL g_bRichNoResize = FALSE;

namespace {
const DWORD kEventMask = ENM_CHANGE | ENM_UPDATE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;
const DWORD kEditOptions = ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_AUTOHSCROLL | ECO_NOHIDESEL | ECO_SAVESEL;

BOOL KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

UINT RichTextFormat()
{
    static const UINT cf = ::RegisterClipboardFormatA("Rich Text Format");
    return cf;
}

struct StreamCookie
{
    LPCSTR text;
    LONG length;
    LONG offset;
};

DWORD CALLBACK ReadCookie(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    auto* c = reinterpret_cast<StreamCookie*>(dwCookie);
    const LONG n = std::min(cb, c->length - c->offset);
    if (n > 0)
        std::memcpy(pbBuff, c->text + c->offset, static_cast<size_t>(n));
    c->offset += n > 0 ? n : 0;
    *pcb = n > 0 ? n : 0;
    return 0;
}

DWORD CALLBACK WriteString(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    auto* s = reinterpret_cast<CString*>(dwCookie);
    *s += CString(reinterpret_cast<LPCSTR>(pbBuff), cb);
    *pcb = cb;
    return 0;
}

int ScreenLogPixels(BOOL bX)
{
    HDC hdc = ::GetDC(nullptr);
    const int n = ::GetDeviceCaps(hdc, bX ? LOGPIXELSX : LOGPIXELSY);
    ::ReleaseDC(nullptr, hdc);
    return n > 0 ? n : 96;
}

int Margin()
{
    const int m = ::GetSystemMetrics(SM_CXFRAME) / 2;
    return m >= 2 ? m : 2;
}

// Counts pixels of a memory bitmap that are not white.
int MarkedPixels(CDC& dc, int cx, int cy)
{
    int n = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            n += (dc.GetPixel(x, y) & 0xFFFFFF) != RGB(255, 255, 255) ? 1 : 0;
    return n;
}
} // namespace

CGXRichEditCtrl::CGXRichEditCtrl(CGXGridEngine* pGrid, UINT nID) : CGXControl(pGrid), m_nID(nID)
{
    RichTextFormat();
}

CGXRichEditCtrl::~CGXRichEditCtrl()
{
    for (auto& h : m_hidden)
        if (h.GetSafeHwnd() != nullptr)
            h.DestroyWindow();
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

// ---------------------------------------------------------------------------
// Streaming

void CGXRichEditCtrl::SetRTFText(CWnd* pWnd, LPCSTR lpszRTF)
{
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return;
    StreamCookie cookie{lpszRTF != nullptr ? lpszRTF : "", 0, 0};
    cookie.length = static_cast<LONG>(std::strlen(cookie.text));
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = ReadCookie;
    pWnd->SendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
}

CString CGXRichEditCtrl::GetRTFText(CWnd* pWnd)
{
    CString s;
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return s;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&s);
    es.pfnCallback = WriteString;
    pWnd->SendMessage(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
    return s;
}

CString CGXRichEditCtrl::WrapPlainText(LPCSTR lpszText)
{
    const CString text = lpszText != nullptr ? lpszText : "";
    if (text.Left(5) == "{\\rtf")
        return text;
    CString out = "{";
    for (int i = 0; i < text.GetLength(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    out += "}";
    return out;
}

void CGXRichEditCtrl::StreamCached(int nWindow, LPCSTR lpszRTF)
{
    const CString text = lpszRTF != nullptr ? lpszRTF : "";
    if (m_bCached[nWindow] && m_cache[nWindow] == text)
        return;
    SetRTFText(&m_hidden[nWindow], text);
    m_cache[nWindow] = text;
    m_bCached[nWindow] = TRUE;
}

// ---------------------------------------------------------------------------
// Formats and styles

void CGXRichEditCtrl::StyleToFormats(PARAFORMAT& pf, CHARFORMAT& cf, const CGXStyle& style)
{
    std::memset(&pf, 0, sizeof(pf));
    std::memset(&cf, 0, sizeof(cf));
    pf.cbSize = sizeof(pf);
    cf.cbSize = sizeof(cf);
    if (style.GetIncludeHorizontalAlignment()) {
        pf.dwMask |= PFM_ALIGNMENT;
        const DWORD a = style.GetHorizontalAlignment();
        pf.wAlignment = static_cast<WORD>(a == DT_RIGHT ? PFA_RIGHT : a == DT_CENTER ? PFA_CENTER : PFA_LEFT);
    }
    if (style.GetIncludeFont()) {
        const CGXFont& font = style.GetFont();
        const LOGFONT& lf = font.GetLogFont();
        if (font.GetIncludeWeight()) {
            cf.dwMask |= CFM_BOLD;
            if (lf.lfWeight >= FW_BOLD)
                cf.dwEffects |= CFE_BOLD;
        }
        if (font.GetIncludeItalic()) {
            cf.dwMask |= CFM_ITALIC;
            if (lf.lfItalic)
                cf.dwEffects |= CFE_ITALIC;
        }
        if (font.GetIncludeUnderline()) {
            cf.dwMask |= CFM_UNDERLINE;
            if (lf.lfUnderline)
                cf.dwEffects |= CFE_UNDERLINE;
        }
        if (font.GetIncludeStrikeOut()) {
            cf.dwMask |= CFM_STRIKEOUT;
            if (lf.lfStrikeOut)
                cf.dwEffects |= CFE_STRIKEOUT;
        }
        if (font.GetIncludeFaceName()) {
            cf.dwMask |= CFM_FACE | CFM_CHARSET;
            lstrcpynA(cf.szFaceName, lf.lfFaceName, LF_FACESIZE);
            cf.bCharSet = lf.lfCharSet;
            cf.bPitchAndFamily = lf.lfPitchAndFamily;
        }
        if (font.GetIncludeSize()) {
            cf.dwMask |= CFM_SIZE;
            cf.yHeight = font.GetSize() * 20;
        }
    }
    if (style.GetIncludeTextColor()) {
        cf.dwMask |= CFM_COLOR;
        cf.crTextColor = ResolveSysColor(style.GetTextColor());
    }
}

void CGXRichEditCtrl::FormatsToStyle(const PARAFORMAT& pf, const CHARFORMAT& cf, CGXStyle& style)
{
    if (pf.dwMask & PFM_ALIGNMENT)
        style.SetHorizontalAlignment(pf.wAlignment == PFA_RIGHT ? DT_RIGHT : pf.wAlignment == PFA_CENTER ? DT_CENTER
                                                                                                        : DT_LEFT);
    CGXFont font;
    BOOL any = FALSE;
    if (cf.dwMask & CFM_BOLD) {
        font.SetBold((cf.dwEffects & CFE_BOLD) != 0);
        any = TRUE;
    }
    if (cf.dwMask & CFM_ITALIC) {
        font.SetItalic((cf.dwEffects & CFE_ITALIC) != 0);
        any = TRUE;
    }
    if (cf.dwMask & CFM_UNDERLINE) {
        font.SetUnderline((cf.dwEffects & CFE_UNDERLINE) != 0);
        any = TRUE;
    }
    if (cf.dwMask & CFM_STRIKEOUT) {
        font.SetStrikeOut((cf.dwEffects & CFE_STRIKEOUT) != 0);
        any = TRUE;
    }
    if ((cf.dwMask & CFM_FACE) && cf.szFaceName[0] != '\0') {
        font.SetFaceName(cf.szFaceName);
        any = TRUE;
    }
    if ((cf.dwMask & CFM_SIZE) && cf.yHeight > 0) {
        font.SetSize(static_cast<int>(cf.yHeight / 20));
        any = TRUE;
    }
    if (any)
        style.SetFont(font, gxApplyNew);
    if ((cf.dwMask & CFM_COLOR) && !(cf.dwEffects & CFE_AUTOCOLOR))
        style.SetTextColor(cf.crTextColor);
}

BOOL CGXRichEditCtrl::GetCellFormats(ROWCOL nRow, ROWCOL nCol, CGXStyle& style)
{
    PARAFORMAT pf{};
    CHARFORMAT cf{};
    pf.cbSize = sizeof(pf);
    cf.cbSize = sizeof(cf);
    if (m_bActive && IsActiveAt(nRow, nCol) && GetSafeHwnd() != nullptr) {
        GetParaFormat(pf);
        GetSelectionCharFormat(cf);
    } else {
        if (!EnsureWindows() || m_hidden[hFormat].GetSafeHwnd() == nullptr)
            return FALSE;
        CGXStyle* pCell = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pCell);
        StreamCached(hFormat, pCell->GetValue());
        m_pGrid->RecycleStyle(pCell);
        // The whole text without its closing paragraph mark, whose format is never the text's.
        CString text;
        m_hidden[hFormat].GetWindowText(text);
        text.TrimRight("\r\n");
        m_hidden[hFormat].SetSel(0, text.IsEmpty() ? -1 : text.GetLength());
        m_hidden[hFormat].GetParaFormat(pf);
        m_hidden[hFormat].GetSelectionCharFormat(cf);
    }
    if (pf.dwMask == 0 && cf.dwMask == 0)
        return FALSE;
    FormatsToStyle(pf, cf, style);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Windows

BOOL CGXRichEditCtrl::CreateControl(DWORD dwStyle, UINT nID)
{
    CWnd* pGrid = GetGridWindow();
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr)
        return FALSE;
    const DWORD visible = (dwStyle | WS_CHILD) & ~static_cast<DWORD>(WS_VISIBLE | WS_BORDER);
    if (!Create(visible, CRect(0, 0, 10, 10), pGrid, nID))
        return FALSE;
    BOOL ok = TRUE;
    for (int i = 0; i < 4; ++i) {
        DWORD s = WS_CHILD | (dwStyle & ~static_cast<DWORD>(WS_VISIBLE));
        if (i > 0)
            s |= WS_BORDER | ES_MULTILINE;
        ok = m_hidden[i].Create(s, CRect(30000, 30000, 30100, 30100), this, 0) && ok;
    }
    return ok;
}

BOOL CGXRichEditCtrl::EnsureWindows()
{
    if (GetSafeHwnd() == nullptr)
        CreateControl(ES_MULTILINE, 0);
    return GetSafeHwnd() != nullptr;
}

void CGXRichEditCtrl::SetActive(BOOL bActive) { GXSetWindowControlActive(this, GetSafeHwnd(), m_bActive, bActive); }

void CGXRichEditCtrl::SetModify(BOOL bModified)
{
    if (GetSafeHwnd() != nullptr)
        CRichEditCtrl::SetModify(bModified);
}

BOOL CGXRichEditCtrl::GetModify() { return GetSafeHwnd() != nullptr && CRichEditCtrl::GetModify(); }

void CGXRichEditCtrl::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXControl::Init(nRow, nCol);
    if (!EnsureWindows())
        return;
    const CGXStyle& style = GetStyle();
    CGXGridParam* param = m_pGrid->GetParam();
    if (param != nullptr && (param->m_dwActivateOptions & 0x04) && m_pGrid->IsCurrentCellAt(nRow, nCol) &&
        OnStartEditing())
        SetActive(TRUE);
    else
        SetActive(FALSE);
    PARAFORMAT pf;
    CHARFORMAT cf;
    StyleToFormats(pf, cf, style);
    SetParaFormat(pf);
    SetDefaultCharFormat(cf);
    SetRTFText(this, style.GetIncludeValue() ? static_cast<LPCSTR>(style.GetValue()) : "");
    SetSel(0, -1);
    SetModify(FALSE);
    m_nStartRowHeight = m_pGrid->GetRowHeight(nRow);
}

int CGXRichEditCtrl::Store()
{
    CString text;
    if (!m_bInit || !GetModify() || !GetCurrentText(text))
        return 0;
    SetActive(FALSE);
    // The RTF as it is: the control's own text store would wrap it again.
    const BOOL ok = CGXControl::SetCellText(m_nRow, m_nCol, text, GX_INVALIDATE, nullptr);
    SetModify(FALSE);
    return ok ? 1 : 2;
}

BOOL CGXRichEditCtrl::GetCurrentText(CString& strResult)
{
    if (!m_bInit)
        return FALSE;
    if (!m_bActive || GetSafeHwnd() == nullptr)
        strResult = GetStyle().GetValue();
    else
        strResult = GetRTFText(this);
    return TRUE;
}

void CGXRichEditCtrl::SetCurrentText(const CString& str)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return;
    if (!m_bActive)
        SetActive(TRUE);
    if (!ValidateString(str))
        return;
    SetRTFText(this, WrapPlainText(str));
    SetModify(TRUE);
    OnModifyCell();
}

void CGXRichEditCtrl::SetValue(LPCSTR lpszValue) { SetRTFText(this, lpszValue); }

BOOL CGXRichEditCtrl::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue, const CGXStyle* pStyle)
{
    strResult.Empty();
    CString value;
    if (lpszValue != nullptr)
        value = lpszValue;
    else if (pStyle != nullptr && pStyle->GetIncludeValue())
        value = pStyle->GetValue();
    else
        return FALSE;
    if (!EnsureWindows() || m_hidden[hConvert].GetSafeHwnd() == nullptr)
        return FALSE;
    StreamCached(hConvert, value);
    m_hidden[hConvert].GetWindowText(strResult);
    return TRUE;
}

BOOL CGXRichEditCtrl::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
        pOldStyle = pComposed;
    }
    CGXGridParam* param = m_pGrid->GetParam();
    BOOL ok = FALSE;
    if (!(param != nullptr && param->m_bLockStructureReadOnly &&
          (m_pGrid->IsReadOnly() || (pOldStyle->GetIncludeReadOnly() && pOldStyle->GetReadOnly())))) {
        CString text = str;
        // The limit counts the plain text, before it is wrapped.
        if (text.Left(5) != "{\\rtf" && pOldStyle->GetIncludeMaxLength() && pOldStyle->GetMaxLength() > 0 &&
            text.GetLength() > static_cast<int>(pOldStyle->GetMaxLength()))
            text = text.Left(static_cast<int>(pOldStyle->GetMaxLength()));
        ok = m_pGrid->SetValueRange(CGXRange(nRow, nCol), WrapPlainText(text), gxOverride, 0, nFlags);
    }
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

void CGXRichEditCtrl::Hide()
{
    if (GetSafeHwnd() == nullptr || !IsWindowVisible())
        return;
    m_pGrid->m_bHidingControl = TRUE;
    ShowWindow(SW_HIDE);
    m_pGrid->m_bHidingControl = FALSE;
}

// ---------------------------------------------------------------------------
// Sizes

CRect CGXRichEditCtrl::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    const int m = Margin();
    r.left += m;
    r.right -= m / 2;
    return r;
}

CSize CGXRichEditCtrl::AddBorders(CSize size, const CGXStyle& style)
{
    const int m = Margin();
    size.cx += m + m / 2;
    return CGXControl::AddBorders(size, style);
}

CSize CGXRichEditCtrl::CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle*, BOOL)
{
    CRichEditCtrl& measurer = m_hidden[hMeasure];
    if (pDC == nullptr || !EnsureWindows() || measurer.GetSafeHwnd() == nullptr)
        return CSize(0, 0);
    CGXRange range(nRow, nCol);
    m_pGrid->GetCoveredCellsRowCol(nRow, nCol, range);
    CRect whole = m_pGrid->CalcRectFromRowCol(range.top, range.left, range.bottom, range.right);
    CRect inner = GetCellRect(nRow, nCol, &whole, &style);
    inner.OffsetRect(30000, 30000);
    measurer.MoveWindow(&inner, FALSE);
    measurer.SetTargetDevice(nullptr, 0);
    measurer.SetEventMask(ENM_REQUESTRESIZE);
    StreamCached(hMeasure, style.GetValue());
    // Without a notification the text's own height stands.
    m_rectRequested.SetRectEmpty();
    g_bRichNoResize = FALSE;
    m_bMeasuring = TRUE;
    measurer.ShowWindow(SW_SHOWNA);
    measurer.SendMessage(EM_REQUESTRESIZE);
    measurer.ShowWindow(SW_HIDE);
    m_bMeasuring = FALSE;
    CSize size(m_rectRequested.Width(), m_rectRequested.Height() + 1);
    if (m_rectRequested.IsRectEmpty()) {
        CString text;
        measurer.GetWindowText(text);
        const int saved = pDC->SaveDC();
        m_pGrid->SelectStyleFont(pDC, style);
        CRect calc(0, 0, std::max<int>(inner.Width(), 1), 0);
        pDC->DrawText(text.IsEmpty() ? CString(" ") : text, &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        pDC->RestoreDC(saved);
        size = CSize(calc.Width(), calc.Height() + 1);
    }
    return AddBorders(size, style);
}

void CGXRichEditCtrl::GrowRow(const CRect& rectRequested)
{
    if (g_bRichNoResize || m_bGrowing || !m_bInit || !m_bAutoSize || !m_bActive ||
        !m_pGrid->IsCurrentCellAt(m_nRow, m_nCol))
        return;
    m_bGrowing = TRUE;
    CGXRange range(m_nRow, m_nCol);
    m_pGrid->GetCoveredCellsRowCol(m_nRow, m_nCol, range);
    int need = AddBorders(CSize(rectRequested.Width(), rectRequested.Height()), GetStyle()).cy + 1;
    for (ROWCOL r = range.top; r <= range.bottom; ++r)
        if (r != m_nRow)
            need -= m_pGrid->GetRowHeight(r);
    const int current = m_pGrid->GetRowHeight(m_nRow);
    if (need <= current) {
        const int floor = std::max(need, m_nStartRowHeight);
        if (current > floor)
            m_pGrid->SetRowHeight(m_nRow, m_nRow, floor);
    } else {
        if (CWnd* pGrid = GetGridWindow())
            pGrid->UpdateWindow();
        CRect grid;
        m_pGrid->GetGridRect(&grid);
        const CRect cell = m_pGrid->CalcRectFromRowCol(m_nRow, m_nCol, m_nRow, m_nCol);
        const int available = grid.bottom - cell.top - 1;
        if (current < available) {
            m_pGrid->SetRowHeight(m_nRow, m_nRow, std::min(need, available));
            m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
        }
    }
    m_bGrowing = FALSE;
}

BOOL CGXRichEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr != nullptr && hdr->code == EN_REQUESTRESIZE && hdr->hwndFrom == m_hWnd) {
            GrowRow(reinterpret_cast<const REQRESIZE*>(lParam)->rc);
            if (pResult != nullptr)
                *pResult = 0;
            return TRUE;
        }
    }
    return CRichEditCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------
// Drawing

int CGXRichEditCtrl::GetInactiveDrawing()
{
    static int s_nMethod = -1;
    if (s_nMethod >= 0)
        return s_nMethod;
    CRichEditCtrl& probe = m_hidden[hRender];
    if (probe.GetSafeHwnd() == nullptr)
        return drawPlainText;
    const int cx = 64, cy = 32;
    CClientDC screen(nullptr);
    CDC mem;
    mem.CreateCompatibleDC(&screen);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&screen, cx, cy);
    CBitmap* pOld = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
    SetRTFText(&probe, "{\\rtf1 {\\b WWWW}}");
    ForgetCache(hRender);
    const int ppi = ScreenLogPixels(TRUE);
    FORMATRANGE fr{};
    fr.hdc = fr.hdcTarget = mem.GetSafeHdc();
    fr.rcPage = CRect(0, 0, cx * 1440 / ppi, cy * 1440 / ppi);
    fr.rc = fr.rcPage;
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    probe.SendMessage(EM_FORMATRANGE, FALSE, 0);
    const LRESULT r = probe.SendMessage(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr));
    probe.SendMessage(EM_FORMATRANGE, FALSE, 0);
    if (r != 0 && MarkedPixels(mem, cx, cy) > 0) {
        s_nMethod = drawFormatRange;
    } else {
        mem.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
        probe.MoveWindow(30000, 30000, cx, cy, FALSE);
        probe.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), PRF_CLIENT | PRF_ERASEBKGND);
        s_nMethod = MarkedPixels(mem, cx, cy) > 0 ? drawPrintClient : drawPlainText;
    }
    mem.SelectObject(pOld);
    return s_nMethod;
}

void CGXRichEditCtrl::DrawInactive(CDC* pDC, const CRect& inner, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style)
{
    const COLORREF text = GXIsBlackWhite(m_pGrid) ? RGB(0, 0, 0) : GetStyleTextColor(style);
    const GXBrushRecord& br = style.GetInterior();
    const COLORREF back = GXIsBlackWhite(m_pGrid) ? RGB(255, 255, 255)
                          : br.lbStyle == BS_SOLID ? ResolveSysColor(br.lbColor)
                                                   : RGB(255, 255, 255);
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&inner);
    pDC->SetBkColor(back);
    pDC->SetTextColor(text);
    pDC->SetBkMode(TRANSPARENT);
    const int method = GetInactiveDrawing();
    StreamCached(hRender, style.GetValue());
    CRichEditCtrl& renderer = m_hidden[hRender];
    if (method == drawFormatRange && renderer.GetTextLength() > 0) {
        const BOOL bOther = m_pGrid->IsPrinting() || (pDC->m_hAttribDC != nullptr && pDC->m_hAttribDC != pDC->m_hDC);
        HDC hAttrib = pDC->m_hAttribDC != nullptr ? pDC->m_hAttribDC : pDC->m_hDC;
        const int px = bOther ? ::GetDeviceCaps(hAttrib, LOGPIXELSX) : ScreenLogPixels(TRUE);
        const int py = bOther ? ::GetDeviceCaps(hAttrib, LOGPIXELSY) : ScreenLogPixels(FALSE);
        CRect client;
        GetGridWindow()->GetClientRect(&client);
        FORMATRANGE fr{};
        fr.hdc = pDC->m_hDC;
        fr.hdcTarget = hAttrib;
        fr.rcPage = CRect(0, 0, client.Width() * (1440 / px), client.Height() * (1440 / py));
        fr.rc = CRect(inner.left * 1440 / px, inner.top * 1440 / py, inner.right * 1440 / px, fr.rcPage.bottom);
        fr.chrg.cpMin = 0;
        fr.chrg.cpMax = -1;
        renderer.SendMessage(EM_FORMATRANGE, FALSE, 0);
        renderer.SendMessage(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr));
        renderer.SendMessage(EM_FORMATRANGE, FALSE, 0);
    } else if (method == drawPrintClient && renderer.GetTextLength() > 0 && !m_pGrid->IsPrinting()) {
        renderer.MoveWindow(30000, 30000, inner.Width(), inner.Height(), FALSE);
        renderer.SetBackgroundColor(FALSE, back);
        CDC mem;
        mem.CreateCompatibleDC(pDC);
        CBitmap bmp;
        bmp.CreateCompatibleBitmap(pDC, inner.Width(), inner.Height());
        CBitmap* pOld = mem.SelectObject(&bmp);
        mem.FillSolidRect(0, 0, inner.Width(), inner.Height(), back);
        renderer.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), PRF_CLIENT);
        pDC->BitBlt(inner.left, inner.top, inner.Width(), inner.Height(), &mem, 0, 0, SRCCOPY);
        mem.SelectObject(pOld);
    } else {
        // The plain text, as a static cell shows it.
        CString plain;
        renderer.GetWindowText(plain);
        plain.Replace("\r\n", "\n");
        plain.Replace("\r", "\n");
        if (!plain.IsEmpty()) {
            const int t = GXBeginCellText(m_pGrid, pDC, style, text);
            CRect r = inner;
            pDC->DrawText(plain, plain.GetLength(), &r, GXCellTextFormat(style));
            pDC->RestoreDC(t);
        }
    }
    pDC->RestoreDC(saved);
    (void)nRow;
    (void)nCol;
}

void CGXRichEditCtrl::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                           const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const BOOL onScreen = !m_pGrid->IsPrinting();
    if (onScreen && IsActiveAt(nRow, nCol) && m_bActive && GetSafeHwnd() != nullptr) {
        // The cell moved under the shown window (a row above grew or was hidden), or a scroll
        // carried the window off a cell that has come back: shown again over the cell.
        if (IsWindowVisible() && !m_shownOver.Holds(this, rect))
            Hide();
        if (IsWindowVisible()) {
            AddInvalidRect(rect);
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
            CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
            return;
        }
        g_bRichNoResize = TRUE;
        const CGXStyle& cell = GetStyle();
        DrawBackground(pDC, rect, cell, FALSE);
        CRect inner = GetCellRect(nRow, nCol, rect, &cell);
        CRect visible;
        m_pGrid->GetGridRect(&visible);
        CRect shown;
        shown.IntersectRect(&inner, &visible);
        MoveWindow(&shown, FALSE);
        m_shownOver.Remember(this, rect);
        const GXBrushRecord& br = cell.GetInterior();
        SetBackgroundColor(FALSE, br.lbStyle == BS_SOLID ? ResolveSysColor(br.lbColor) : RGB(255, 255, 255));
        SetTargetDevice(nullptr, 0);
        m_bAutoSize = cell.GetIncludeAutoSize() && cell.GetAutoSize();
        SetEventMask(kEventMask);
        DWORD options = kEditOptions;
        if (cell.GetIncludeAllowEnter() && cell.GetAllowEnter())
            options |= ECO_WANTRETURN;
        SetOptions(ECOOP_SET, options);
        SetReadOnly(IsReadOnly());
        SetActive(TRUE);
        const HWND hFocus = ::GetFocus();
        if (hFocus == m_pGrid->GetGridHwnd()) {
            const BOOL was = m_pGrid->m_bSettingFocus;
            m_pGrid->m_bSettingFocus = TRUE;
            SetFocus();
            m_pGrid->m_bSettingFocus = was;
        }
        SendMessage(EM_SCROLL, SB_PAGEUP);
        SendMessage(EM_SCROLLCARET);
        LimitText(cell.GetIncludeMaxLength() ? static_cast<long>(cell.GetMaxLength()) : 0);
        ShowWindow(SW_SHOWNA);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
        g_bRichNoResize = FALSE;
        return;
    }
    DrawBackground(pDC, rect, style, FALSE);
    CRect inner = GetCellRect(nRow, nCol, rect, &style);
    if (inner.Width() >= 2 && inner.Height() >= 2 && style.GetIncludeValue() && !style.GetValue().IsEmpty() &&
        EnsureWindows())
        DrawInactive(pDC, inner, nRow, nCol, style);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

// ---------------------------------------------------------------------------
// Keys

BOOL CGXRichEditCtrl::ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    return m_pGrid->DispatchKeyMessage(m_pGrid->GridWnd(), nMessage, nChar, nRepCnt, nFlags);
}

void CGXRichEditCtrl::OnRichKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    g_bRichNoResize = FALSE;
    if (!m_bActive || !m_bInit) {
        if (!ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags))
            Default();
        return;
    }
    m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
    const BOOL ctrl = KeyHeld(VK_CONTROL), shift = KeyHeld(VK_SHIFT);
    long s = 0, e = 0;
    GetSel(s, e);
    const long len = GetTextLength();
    BOOL grid = FALSE;
    switch (nChar) {
    case VK_RETURN: grid = !ctrl && !(CWnd::GetStyle() & ES_WANTRETURN) && !(GetOptions() & ECO_WANTRETURN); break;
    case VK_TAB:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT: grid = TRUE; break;
    case 'C':
    case 'V':
    case 'X':
        // The character message that follows does the clipboard work, once.
        if (ctrl)
            return;
        break;
    case VK_LEFT: grid = !ctrl && e == 0; break;
    case VK_RIGHT: grid = !ctrl && s >= len; break;
    case VK_UP: grid = !ctrl && LineFromChar(s) == 0; break;
    case VK_DOWN: grid = !ctrl && LineFromChar(e) >= GetLineCount() - 1; break;
    case VK_INSERT:
        if (shift) {
            Paste();
            return;
        }
        if (ctrl && s != e) {
            Copy();
            return;
        }
        break;
    case VK_DELETE:
        if (shift && s != e) {
            Cut();
            return;
        }
        break;
    default: grid = nChar >= VK_F1 && nChar <= VK_F24; break;
    }
    if (grid)
        ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags);
    else
        Default();
}

void CGXRichEditCtrl::OnRichChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    g_bRichNoResize = FALSE;
    if (!m_bActive || !m_bInit || (CWnd::GetStyle() & ES_READONLY) != 0 || IsReadOnly()) {
        if (KeyHeld(VK_CONTROL) && nChar == 3)
            Copy();
        return;
    }
    if (nChar == VK_BACK && nRepCnt == 0)
        return;
    if (KeyHeld(VK_CONTROL)) {
        switch (nChar) {
        case 3: Copy(); return;
        case 22: Paste(); return;
        case 24: Cut(); return;
        default: break;
        }
    }
    if (nChar == '\t' || nChar == 27 || (nChar == '\r' && !(GetOptions() & ECO_WANTRETURN)))
        return;
    if (!KeyHeld(VK_CONTROL) && nChar >= 32) {
        CString ch;
        const BOOL wasPending = m_bDBCSPending;
        if (GXCombineDBCSChar(nChar, ch, m_bDBCSPending, m_chDBCSLead) && !wasPending) {
            Default();
            return;
        }
        CString text;
        GetWindowText(text);
        long s = 0, e = 0;
        GetSel(s, e);
        const CString result = text.Left(s) + ch + text.Mid(e);
        if (!ValidateString(result)) {
            // A refused character never reaches the text.
            OnInvalidKeyPressed(ch);
            return;
        }
    }
    Default();
}

LRESULT CGXRichEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT nRep = LOWORD(lParam), nFlags = HIWORD(lParam);
    switch (message) {
    case WM_GETDLGCODE: return Default() | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
    case WM_KEYDOWN: OnRichKeyDown(static_cast<UINT>(wParam), nRep, nFlags); return 0;
    case WM_CHAR: OnRichChar(static_cast<UINT>(wParam), nRep, nFlags); return 0;
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        if (!ToGrid(message, static_cast<UINT>(wParam), nRep, nFlags))
            return Default();
        return 0;
    case WM_KILLFOCUS: {
        const LRESULT r = Default();
        NotifyKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        return r;
    }
    case WM_LBUTTONDOWN: g_bRichNoResize = TRUE; return Default();
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr != nullptr && hdr->code == EN_REQUESTRESIZE && hdr->hwndFrom == m_hidden[hMeasure].GetSafeHwnd()) {
            if (m_bMeasuring)
                m_rectRequested = reinterpret_cast<const REQRESIZE*>(lParam)->rc;
            return 0;
        }
        return CRichEditCtrl::WindowProc(message, wParam, lParam);
    }
    case WM_CONTEXTMENU: return 0;
    default: return CRichEditCtrl::WindowProc(message, wParam, lParam);
    }
}

BOOL CGXRichEditCtrl::StartWithCaret(BOOL bEnd)
{
    if (!OnStartEditing())
        return FALSE;
    if (!m_bInit)
        Init(m_nRow, m_nCol);
    SetActive(TRUE);
    const long len = bEnd ? GetTextLength() : 0;
    SetSel(len, len);
    return TRUE;
}

BOOL CGXRichEditCtrl::OnGridKeyDown(UINT nChar, UINT, UINT)
{
    if (m_bActive || GetSafeHwnd() == nullptr || KeyHeld(VK_CONTROL))
        return FALSE;
    BOOL handled = FALSE;
    switch (nChar) {
    case VK_END:
    case VK_HOME: handled = StartWithCaret(nChar == VK_END); break;
    case VK_DELETE: {
        CGXGridParam* param = m_pGrid->GetParam();
        if (KeyHeld(VK_SHIFT) || (param != nullptr && param->m_bPasteStyles))
            return FALSE;
        if (IsReadOnly())
            return TRUE;
        if (!OnDeleteCell() || !OnStartEditing())
            return FALSE;
        SetActive(TRUE);
        SetCurrentText("");
        SetModify(TRUE);
        OnModifyCell();
        handled = TRUE;
        break;
    }
    default: return FALSE;
    }
    if (handled) {
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
        Invalidate();
    }
    return handled;
}

BOOL CGXRichEditCtrl::OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar < 32 || nChar == 127)
        return FALSE;
    return OnGridDoubleByteChar(CString(static_cast<char>(nChar)), nRepCnt, nFlags);
}

BOOL CGXRichEditCtrl::OnGridDoubleByteChar(const CString& sChar, UINT, UINT)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return FALSE;
    if (m_bActive) {
        const long len = GetTextLength();
        SetSel(len, len);
        const CGXStyle& style = GetStyle();
        if (style.GetIncludeMaxLength() && style.GetMaxLength() > 0 &&
            len + sChar.GetLength() > static_cast<long>(style.GetMaxLength()))
            return TRUE;
        CString text;
        GetWindowText(text);
        if (ValidateString(text + sChar))
            ReplaceSel(sChar);
        else
            OnInvalidKeyPressed(sChar);
        return TRUE;
    }
    if (!ValidateString(sChar)) {
        OnInvalidKeyPressed(sChar);
        return TRUE;
    }
    if (!OnStartEditing())
        return FALSE;
    SetActive(TRUE);
    SetCurrentText(sChar);
    const long len = GetTextLength();
    SetSel(len, len);
    Invalidate();
    return TRUE;
}

BOOL CGXRichEditCtrl::OnLButtonUp(UINT nFlags, CPoint pt)
{
    CGXGridParam* param = m_pGrid->GetParam();
    const DWORD opt = param != nullptr ? param->m_dwActivateOptions : 0;
    if (m_bInit && GetSafeHwnd() != nullptr && !m_bActive && (opt & (1 | 2 | 4)) && !IsReadOnly() &&
        OnStartEditing()) {
        SetActive(TRUE);
        Invalidate();
        if (CWnd* pGrid = GetGridWindow())
            pGrid->UpdateWindow();
        // The click lands in the text where the user pointed.
        CRect r;
        GetWindowRect(&r);
        CPoint screen = pt;
        if (CWnd* pGrid = GetGridWindow())
            pGrid->ClientToScreen(&screen);
        const CPoint local(screen.x - r.left, screen.y - r.top);
        SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
        SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
        ::ReleaseCapture();
    }
    return CGXControl::OnLButtonUp(nFlags, pt);
}

// ---------------------------------------------------------------------------
// Clipboard, find and replace

BOOL CGXRichEditCtrl::Copy()
{
    if (!m_bInit || !m_pGrid->IsCurrentCellAt(m_nRow, m_nCol))
        return FALSE;
    if (!m_bActive || GetSafeHwnd() == nullptr)
        return CGXControl::Copy();
    long s = 0, e = 0;
    GetSel(s, e);
    if (s == e)
        return FALSE;
    // The window puts RTF and text on the clipboard itself.
    SendMessage(WM_COPY);
    return TRUE;
}

BOOL CGXRichEditCtrl::Cut()
{
    if (!m_bActive || IsReadOnly())
        return CGXControl::Cut();
    return CGXControl::Cut();
}

BOOL CGXRichEditCtrl::CanCut() { return m_bInit && !(GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly()); }

BOOL CGXRichEditCtrl::CanPaste()
{
    if (m_bInit && GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly())
        return FALSE;
    if (::IsClipboardFormatAvailable(RichTextFormat()))
        return TRUE;
    return CGXControl::CanPaste();
}

BOOL CGXRichEditCtrl::Paste()
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return FALSE;
    const HWND hOwner = ::GetOpenClipboardWindow();
    DWORD pid = 0;
    if (hOwner != nullptr)
        ::GetWindowThreadProcessId(hOwner, &pid);
    if (hOwner != nullptr && pid == ::GetCurrentProcessId())
        return CGXControl::Paste();
    if (!::IsClipboardFormatAvailable(RichTextFormat()))
        return CGXControl::Paste();
    if (!m_bActive) {
        if (!OnStartEditing())
            return FALSE;
        SetActive(TRUE);
        SetSel(0, -1);
    }
    g_bRichNoResize = TRUE;
    SendMessage(WM_PASTE);
    g_bRichNoResize = FALSE;
    SetModify(TRUE);
    OnModifyCell();
    Invalidate();
    if (CWnd* pGrid = GetGridWindow())
        pGrid->UpdateWindow();
    SendMessage(EM_REQUESTRESIZE);
    return TRUE;
}

BOOL CGXRichEditCtrl::GetSelectedText(CString& sWindowText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr)
        return CGXControl::GetSelectedText(sWindowText);
    long s = 0, e = 0;
    GetSel(s, e);
    if (s != e) {
        sWindowText = GetSelText();
        return TRUE;
    }
    GetWindowText(sWindowText);
    return FALSE;
}

void CGXRichEditCtrl::ReplaceSel(LPCSTR lpszNewText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr) {
        CGXControl::ReplaceSel(lpszNewText);
        return;
    }
    if (IsReadOnly())
        return;
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(lpszNewText));
    SetModify(TRUE);
    OnModifyCell();
}

BOOL CGXRichEditCtrl::FindText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol, BOOL bCurrentPos, BOOL bSetCell)
{
    if (find.strFind.IsEmpty())
        return FALSE;
    const BOOL live = m_bActive && IsActiveAt(nRow, nCol) && GetSafeHwnd() != nullptr;
    EnsureWindows();
    CRichEditCtrl* pWnd = live ? static_cast<CRichEditCtrl*>(this) : &m_hidden[hConvert];
    if (pWnd->GetSafeHwnd() == nullptr)
        return FALSE;
    long s = 0, e = 0;
    if (live) {
        GetSel(s, e);
        if (bCurrentPos && s != e)
            ++s;
    } else {
        CGXStyle* pCell = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pCell);
        StreamCached(hConvert, pCell->GetValue());
        m_pGrid->RecycleStyle(pCell);
    }
    FINDTEXTEXA ft{};
    ft.chrg.cpMin = s;
    ft.chrg.cpMax = -1;
    ft.lpstrText = find.strFind;
    const long at = pWnd->FindText(find.bMatchCase ? FR_MATCHCASE : 0, &ft);
    if (at < 0)
        return FALSE;
    if (bSetCell) {
        m_pGrid->BringCellIntoView(nRow, nCol, GX_UPDATENOW);
        if (!live) {
            if (!m_pGrid->IsCurrentCellAt(nRow, nCol))
                m_pGrid->PlaceCurrentCell(nRow, nCol, GX_UPDATENOW);
            SetActive(TRUE);
        }
        CHARRANGE cr = ft.chrgText;
        SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    }
    return TRUE;
}

BOOL CGXRichEditCtrl::ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol)
{
    if (find.strFind.IsEmpty())
        return FALSE;
    const BOOL live = m_bActive && IsActiveAt(nRow, nCol) && GetSafeHwnd() != nullptr;
    if (live && IsReadOnly())
        return FALSE;
    CRichEditCtrl* pWnd = live ? static_cast<CRichEditCtrl*>(this) : &m_hidden[hConvert];
    if (pWnd->GetSafeHwnd() == nullptr)
        return FALSE;
    if (!live) {
        CGXStyle* pCell = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pCell);
        StreamCached(hConvert, pCell->GetValue());
        m_pGrid->RecycleStyle(pCell);
    }
    long from = 0;
    if (live) {
        long e = 0;
        GetSel(from, e);
    }
    int count = 0;
    for (;;) {
        FINDTEXTEXA ft{};
        ft.chrg.cpMin = from;
        ft.chrg.cpMax = -1;
        ft.lpstrText = find.strFind;
        if (pWnd->FindText(find.bMatchCase ? FR_MATCHCASE : 0, &ft) < 0)
            break;
        pWnd->SetSel(ft.chrgText.cpMin, ft.chrgText.cpMax);
        pWnd->SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(find.strReplace)));
        from = ft.chrgText.cpMin + find.strReplace.GetLength();
        ++count;
    }
    if (count == 0)
        return FALSE;
    if (live) {
        SetModify(TRUE);
        OnModifyCell();
        Store();
        return TRUE;
    }
    // The converter's text changed other than by streaming: its cache is stale.
    const CString rtf = GetRTFText(&m_hidden[hConvert]);
    ForgetCache(hConvert);
    return CGXControl::SetCellText(nRow, nCol, rtf, GX_UPDATENOW, nullptr);
}

BOOL CGXRichEditCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (GetSafeHwnd() == nullptr || reinterpret_cast<HWND>(lParam) != m_hWnd)
        return FALSE;
    if (HIWORD(wParam) == EN_CHANGE && m_bActive && m_bInit)
        OnModifyCell();
    return TRUE;
}
