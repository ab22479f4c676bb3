// The workbook MDI frame, its sheets and its subclassed MDI client.
#include "SECWorkbook.h"
#include "afxdc.h"
#include "afxdoc.h"
#include <algorithm>
#include <cstring>

using std::max;
using std::min;

IMPLEMENT_DYNCREATE(SECWorksheet, SECMDIChildWnd)
IMPLEMENT_DYNCREATE(SECControlBarWorksheet, SECControlBarMDIChildWnd)
IMPLEMENT_DYNCREATE(SECWorkbookClient, CWnd)
IMPLEMENT_DYNCREATE(SECWorkbook, SECMDIFrameWnd)

namespace {
const int nIconWidth = 16;
}

// ---- Sheets ---------------------------------------------------------------------------------

SECWorkbook* SECSheetInfo::GetWorkbook() const
{
    return m_pSheetFrame == nullptr || m_pSheetFrame->m_hWnd == nullptr
               ? nullptr
               : dynamic_cast<SECWorkbook*>(m_pSheetFrame->GetMDIFrame());
}

void SECSheetInfo::OnSheetLoaded(UINT nIDResource)
{
    if (SECWorkbook* pBook = GetWorkbook())
        pBook->AddSheet(this);
    m_hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource), IMAGE_ICON, 16, 16, 0);
}

void SECSheetInfo::OnSheetDestroy()
{
    if (SECWorkbook* pBook = GetWorkbook())
        pBook->RemoveSheet(this);
}

void SECSheetInfo::OnSheetActivate(HWND hWndActivate, HWND hWndDeactivate)
{
    SECWorkbook* pBook = GetWorkbook();
    if (pBook == nullptr || !pBook->IsWorkbookMode())
        return;
    for (HWND hWnd : {hWndActivate, hWndDeactivate}) {
        for (SECSheetInfo* pSheet : pBook->m_sheets) {
            if (hWnd != nullptr && pSheet->m_pSheetFrame->m_hWnd == hWnd) {
                POINT pts[7];
                if (pBook->GetTabPolygon(pSheet, pts, 7)) {
                    CRect rect(pts[0].x - 4, pts[0].y - 1, pts[4].x + 5, pts[3].y + 3);
                    pBook->InvalidateRect(&rect, TRUE);
                }
            }
        }
    }
    BOOL bMaximized = FALSE;
    pBook->MDIGetActive(&bMaximized);
    if (!bMaximized)
        pBook->UpdateWindow();
}

void SECSheetInfo::OnSheetShow()
{
    SECWorkbook* pBook = GetWorkbook();
    if (pBook != nullptr && pBook->IsWorkbookMode()) {
        // This sheet's tab and every one after it move.
        CRect rectClient = pBook->MDIClientRect(), rect;
        pBook->GetClientRect(&rect);
        rect.top = rectClient.bottom;
        pBook->InvalidateRect(&rect, TRUE);
    }
}

BOOL SECControlBarWorksheet::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!SECSheetT<SECControlBarMDIChildWnd>::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

// ---- SECWorkbookClient ----------------------------------------------------------------------

void SECWorkbookClient::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
    lpClientRect->left += m_rectInsets.left;
    lpClientRect->top += m_rectInsets.top;
    lpClientRect->right -= m_rectInsets.right;
    lpClientRect->bottom -= m_rectInsets.bottom;
}

// ---- SECWorkbook ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECWorkbook, SECMDIFrameWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

SECWorkbook::SECWorkbook()
    : m_bWorkbookMode(FALSE), m_bShowIcons(TRUE), m_pClient(nullptr), m_nTabWidth(100), m_nTabHeight(23),
      m_nCorner(2), m_nActiveWiden(4), m_nActiveDeepen(2), m_nMaxTabWidth(90), m_rectLastFree(0, 0, 0, 0),
      m_bTipsOn(FALSE)
{
    m_pMDIFloatClass = RUNTIME_CLASS(SECControlBarWorksheet);
    m_fontTab.CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "Arial");
    m_penWhite.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_penShadow.CreatePen(PS_SOLID, 1, SECGetSysData().clrBtnShadow);
    m_penFace.CreatePen(PS_SOLID, 1, SECGetSysData().clrBtnFace);
}

SECWorkbook::~SECWorkbook()
{
    delete m_pClient;
}

BOOL SECWorkbook::CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu)
{
    if (!SECMDIFrameWnd::CreateClient(lpcs, pWindowMenu))
        return FALSE;
    m_pClient = new SECWorkbookClient;
    if (!m_pClient->SubclassWindow(m_hWndMDIClient)) {
        delete m_pClient;
        m_pClient = nullptr;
    }
    return TRUE;
}

void SECWorkbook::OnDestroy()
{
    if (m_pClient != nullptr && m_pClient->m_hWnd != nullptr)
        m_pClient->UnsubclassWindow();
    SECMDIFrameWnd::OnDestroy();
    delete m_pClient;
    m_pClient = nullptr;
}

void SECWorkbook::SetWorkbookMode(BOOL bOn)
{
    m_bWorkbookMode = bOn != FALSE;
    if (m_pClient != nullptr)
        m_pClient->SetInsets(0, 0, 0, m_bWorkbookMode ? m_nTabHeight + m_nActiveDeepen + 3 : 0);
    m_rectLastFree.SetRectEmpty();
    if (m_hWnd != nullptr) {
        RecalcLayout();
        RecalcTabWidth();
        Invalidate(TRUE);
    }
}

CRect SECWorkbook::MDIClientRect() const
{
    CRect rect(0, 0, 0, 0);
    if (m_hWndMDIClient != nullptr) {
        ::GetWindowRect(m_hWndMDIClient, &rect);
        ScreenToClient(&rect);
    }
    return rect;
}

CRect SECWorkbook::FreeRect()
{
    CRect rect(0, 0, 0, 0);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect);
    return rect;
}

void SECWorkbook::RecalcTabWidth()
{
    if (m_sheets.empty())
        return;
    m_nTabWidth = min((MDIClientRect().Width() + 5) / (int)m_sheets.size(), m_nMaxTabWidth);
}

void SECWorkbook::RecalcLayout(BOOL bNotify)
{
    SECMDIFrameWnd::RecalcLayout(bNotify);
    if (m_bWorkbookMode && m_hWnd != nullptr) {
        CRect rectFree = FreeRect();
        if (rectFree != m_rectLastFree) {
            RecalcTabWidth();
            Invalidate(TRUE);
            m_rectLastFree = rectFree;
        }
    }
}

void SECWorkbook::InvalidateTabsFrom(int nIndex)
{
    if (!m_bWorkbookMode || m_hWnd == nullptr)
        return;
    CRect rectClient = MDIClientRect(), rect;
    GetClientRect(&rect);
    rect.top = rectClient.bottom;
    rect.left = max(rect.left, rectClient.left + nIndex * m_nTabWidth - m_nActiveWiden);
    InvalidateRect(&rect, TRUE);
}

void SECWorkbook::AddSheet(SECSheetInfo* pSheet)
{
    if (pSheet == nullptr || std::find(m_sheets.begin(), m_sheets.end(), pSheet) != m_sheets.end())
        return;
    pSheet->m_nIndex = (int)m_sheets.size();
    m_sheets.push_back(pSheet);
    int nOld = m_nTabWidth;
    RecalcTabWidth();
    if (m_bWorkbookMode && m_hWnd != nullptr) {
        if (nOld != m_nTabWidth || m_sheets.size() < 2)
            InvalidateTabsFrom(0);
        else
            InvalidateTabsFrom(pSheet->m_nIndex);
    }
    if (!m_bTipsOn && m_hWnd != nullptr) {
        EnableToolTips(TRUE);
        m_bTipsOn = TRUE;
    }
}

void SECWorkbook::RemoveSheet(SECSheetInfo* pSheet)
{
    auto it = std::find(m_sheets.begin(), m_sheets.end(), pSheet);
    if (it == m_sheets.end())
        return;
    int nIndex = (int)(it - m_sheets.begin());
    m_sheets.erase(it);
    for (int i = nIndex; i < (int)m_sheets.size(); i++)
        m_sheets[i]->m_nIndex = i;
    pSheet->m_nIndex = -1;
    int nOld = m_nTabWidth;
    RecalcTabWidth();
    InvalidateTabsFrom(nOld != m_nTabWidth ? 0 : nIndex);
}

BOOL SECWorkbook::IsSheetActive(const SECSheetInfo* pSheet) const
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive != nullptr && pSheet->m_pSheetFrame == pActive;
}

BOOL SECWorkbook::GetTabPolygon(SECSheetInfo* pSheet, POINT* pts, int nCount) const
{
    if (pSheet == nullptr || nCount < 7 || pSheet->m_pSheetFrame == nullptr ||
        pSheet->m_pSheetFrame->m_hWnd == nullptr || !pSheet->m_pSheetFrame->IsWindowVisible())
        return FALSE;
    // Hidden sheets before this one take no place.
    int v = 0;
    for (SECSheetInfo* p : m_sheets) {
        if (p == pSheet)
            break;
        if (p->m_pSheetFrame != nullptr && p->m_pSheetFrame->m_hWnd != nullptr && p->m_pSheetFrame->IsWindowVisible())
            v++;
    }
    int a = (IsSheetActive(pSheet) || pSheet->m_bPressed) ? 1 : 0;
    CRect rectClient = MDIClientRect();
    int L = rectClient.left, T = rectClient.bottom + 1, w = m_nTabWidth, h = m_nTabHeight, c = m_nCorner;
    int x0 = v * w - (m_nActiveWiden / 2) * a + L;
    int xr = x0 + w + m_nActiveWiden * a;
    pts[0] = {x0, T};
    pts[1] = {x0, T + h - c};
    pts[2] = {x0 + c, T + h + m_nActiveDeepen * a};
    pts[3] = {xr - c, T + h + m_nActiveDeepen * a};
    pts[4] = {xr, T + h - c};
    pts[5] = {xr, T};
    pts[6] = {x0, T};
    return TRUE;
}

void SECWorkbook::GetTabTextRect(const POINT* pts, int nIconWidth, CRect& rect) const
{
    rect.SetRect(pts[2].x + nIconWidth + 3, pts[0].y, pts[4].x - 2, pts[2].y);
}

CString SECWorkbook::GetSheetTitle(SECSheetInfo* pSheet) const
{
    CString strTitle;
    if (pSheet == nullptr || pSheet->m_pSheetFrame == nullptr)
        return strTitle;
    CDocument* pDoc = pSheet->m_pSheetFrame->m_hWnd != nullptr ? pSheet->m_pSheetFrame->GetActiveDocument() : nullptr;
    if (pDoc != nullptr)
        strTitle = pDoc->GetTitle();
    else if (pSheet->m_pSheetFrame->m_hWnd != nullptr)
        pSheet->m_pSheetFrame->GetWindowText(strTitle);
    return strTitle;
}

CString SECWorkbook::ShortenTitle(CDC* pDC, const CString& strTitle, int nWidth)
{
    if (pDC->GetTextExtent(strTitle).cx <= nWidth)
        return strTitle;
    CString strBase = strTitle, strShort = strTitle;
    while (strBase.GetLength() > 0) {
        strBase = strBase.Left(strBase.GetLength() - 1);
        strShort = strBase + "...";
        if (pDC->GetTextExtent(strShort).cx <= nWidth || strShort.GetLength() < 4)
            break;
    }
    return strShort;
}

BOOL SECWorkbook::IsLabelShown(SECSheetInfo* pSheet)
{
    POINT pts[7];
    if (!GetTabPolygon(pSheet, pts, 7))
        return FALSE;
    CRect rect;
    GetTabTextRect(pts, m_bShowIcons ? nIconWidth : 0, rect);
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_fontTab);
    BOOL bShown = dc.GetTextExtent(GetSheetTitle(pSheet)).cx <= rect.Width();
    dc.SelectObject(pOld);
    return bShown;
}

HICON SECWorkbook::GetSheetIcon(SECSheetInfo* pSheet) const
{
    return pSheet == nullptr ? nullptr : pSheet->m_hIcon;
}

void SECWorkbook::SetSheetIcon(SECSheetInfo* pSheet, HICON hIcon, BOOL bRedraw)
{
    if (pSheet == nullptr)
        return;
    pSheet->m_hIcon = hIcon;
    if (bRedraw)
        InvalidateTabsFrom(pSheet->m_nIndex);
}

void SECWorkbook::DrawTab(CDC* pDC, SECSheetInfo* pSheet)
{
    POINT pts[7];
    if (!GetTabPolygon(pSheet, pts, 7))
        return;
    CBrush brFace(SECGetSysData().clrBtnFace);
    CBrush* pOldBrush = pDC->SelectObject(&brFace);
    CPen* pOldPen = pDC->SelectObject(&m_penFace);
    pDC->Polygon(pts, 6);
    // Left side white; bottom and right in black outside, shadow inside.
    pDC->SelectObject(&m_penWhite);
    pDC->MoveTo(pts[0]);
    pDC->LineTo(pts[1]);
    pDC->LineTo(pts[2]);
    pDC->SelectObject(&m_penBlack);
    pDC->LineTo(pts[3]);
    pDC->LineTo(pts[4]);
    pDC->LineTo(pts[5].x, pts[5].y - 1);
    pDC->SelectObject(&m_penShadow);
    pDC->MoveTo(pts[2].x, pts[2].y - 1);
    pDC->LineTo(pts[3].x, pts[3].y - 1);
    pDC->LineTo(pts[4].x - 1, pts[4].y);
    pDC->LineTo(pts[5].x - 1, pts[5].y - 1);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void SECWorkbook::DrawTabLine(CDC* pDC)
{
    CRect rectClient = MDIClientRect(), rectFree;
    GetClientRect(&rectFree);
    CPen* pOld = pDC->SelectObject(&m_penBlack);
    pDC->MoveTo(rectClient.left, rectClient.bottom);
    pDC->LineTo(rectClient.right, rectClient.bottom);
    pDC->SelectObject(pOld);
}

void SECWorkbook::DrawTabContent(CDC* pDC, SECSheetInfo* pSheet)
{
    POINT pts[7];
    if (!GetTabPolygon(pSheet, pts, 7))
        return;
    if (m_bShowIcons && pSheet->m_hIcon != nullptr)
        ::DrawIconEx(pDC->m_hDC, pts[2].x + 1, pts[0].y + 4, pSheet->m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    CRect rect;
    GetTabTextRect(pts, m_bShowIcons ? nIconWidth : 0, rect);
    CFont* pOld = pDC->SelectObject(&m_fontTab);
    CString strTitle = ShortenTitle(pDC, GetSheetTitle(pSheet), rect.Width());
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->DrawText(strTitle, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(pOld);
}

void SECWorkbook::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bWorkbookMode || MDIClientRect().IsRectEmpty())
        return;
    // In the library's current colours.
    m_penShadow.DeleteObject();
    m_penFace.DeleteObject();
    m_penShadow.CreatePen(PS_SOLID, 1, SECGetSysData().clrBtnShadow);
    m_penFace.CreatePen(PS_SOLID, 1, SECGetSysData().clrBtnFace);
    dc.SetBkMode(TRANSPARENT);
    SECSheetInfo* pActive = nullptr;
    for (SECSheetInfo* pSheet : m_sheets) {
        if (IsSheetActive(pSheet))
            pActive = pSheet;
        DrawTab(&dc, pSheet);
        DrawTabContent(&dc, pSheet);
    }
    DrawTabLine(&dc);
    if (pActive != nullptr) {
        DrawTab(&dc, pActive);
        DrawTabContent(&dc, pActive);
    }
}

BOOL SECWorkbook::OnEraseBkgnd(CDC* pDC)
{
    if (!m_bWorkbookMode)
        return SECMDIFrameWnd::OnEraseBkgnd(pDC);
    const SECSysData& sys = SECGetSysData();
    CRect rectClient = MDIClientRect();
    pDC->ExcludeClipRect(&rectClient);
    CRect rectFree = FreeRect();
    pDC->FillSolidRect(&rectFree, sys.clrBtnFace);
    pDC->Draw3dRect(&rectFree, sys.clrBtnShadow, sys.clrBtnHilite);
    return TRUE;
}

SECSheetInfo* SECWorkbook::SheetFromPoint(CPoint point, BOOL bSkipActive) const
{
    for (SECSheetInfo* pSheet : m_sheets) {
        if (bSkipActive && IsSheetActive(pSheet))
            continue;
        POINT pts[7];
        if (!GetTabPolygon(pSheet, pts, 7))
            continue;
        CRgn rgn;
        if (rgn.CreatePolygonRgn(pts, 6, ALTERNATE) && rgn.PtInRegion(point))
            return pSheet;
    }
    return nullptr;
}

void SECWorkbook::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bWorkbookMode) {
        if (SECSheetInfo* pSheet = SheetFromPoint(point, TRUE)) {
            pSheet->m_bPressed = TRUE;
            UpdateWindow();
            pSheet->m_pSheetFrame->ActivateFrame(-1);
        }
    }
    SECMDIFrameWnd::OnLButtonDown(nFlags, point);
}

void SECWorkbook::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bWorkbookMode)
        for (SECSheetInfo* pSheet : m_sheets)
            pSheet->m_bPressed = FALSE;
    SECMDIFrameWnd::OnLButtonUp(nFlags, point);
}

INT_PTR SECWorkbook::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (!m_bWorkbookMode)
        return SECMDIFrameWnd::OnToolHitTest(point, pTI);
    SECSheetInfo* pSheet = SheetFromPoint(point, FALSE);
    SECWorkbook* pThis = const_cast<SECWorkbook*>(this);
    if (pSheet == nullptr || pThis->IsLabelShown(pSheet))
        return SECMDIFrameWnd::OnToolHitTest(point, pTI);
    POINT pts[7];
    GetTabPolygon(pSheet, pts, 7);
    if (pTI != nullptr && pTI->cbSize >= offsetof(TOOLINFOA, lParam) + sizeof(pTI->lParam)) {
        CString strTitle = GetSheetTitle(pSheet);
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)(pSheet->m_nIndex + 1);
        pTI->rect = CRect(pts[0].x, pts[0].y, pts[4].x, pts[2].y);
        pTI->lpszText = static_cast<LPSTR>(malloc(strTitle.GetLength() + 1));
        if (pTI->lpszText != nullptr)
            strcpy(pTI->lpszText, strTitle);
    }
    return pSheet->m_nIndex + 1;
}
