// The static splitter window.
#include "afxwin.h"

namespace {

// The split cursors, loaded once with the module's resources when first needed.
HCURSOR SplitCursor(BOOL bVert)
{
    static HCURSOR s_hCursor[2] = {nullptr, nullptr};
    int i = bVert ? 0 : 1;
    if (s_hCursor[i] == nullptr) {
        s_hCursor[i] = ::LoadCursorA(AfxGetResourceHandle(),
                                     MAKEINTRESOURCEA(bVert ? AFX_IDC_HSPLITBAR : AFX_IDC_VSPLITBAR));
        if (s_hCursor[i] == nullptr)
            s_hCursor[i] = ::LoadCursorA(nullptr, bVert ? IDC_SIZEWE : IDC_SIZENS);
    }
    return s_hCursor[i];
}

} // namespace

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_CANCELMODE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd()
    : m_cxSplitterGap(7), m_cySplitterGap(7), m_cxBorder(2), m_cyBorder(2), m_nRows(0), m_nCols(0),
      m_pRowInfo(nullptr), m_pColInfo(nullptr), m_bTracking(FALSE), m_bTrackVert(FALSE), m_nTrackIndex(-1),
      m_nTrackOffset(0)
{
}

CSplitterWnd::~CSplitterWnd()
{
    delete[] m_pRowInfo;
    delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == nullptr || m_hWnd != nullptr || nRows < 1 || nRows > maxRowCol || nCols < 1 ||
        nCols > maxRowCol)
        return FALSE;
    delete[] m_pRowInfo;
    delete[] m_pColInfo;
    m_nRows = nRows;
    m_nCols = nCols;
    m_pRowInfo = new CRowColInfo[nRows]();
    m_pColInfo = new CRowColInfo[nCols]();
    AfxDeferRegisterClass(AFX_WND_REG);
    return CreateEx(0, AFX_WND, nullptr, dwStyle | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID);
}

int CSplitterWnd::IdFromRowCol(int row, int col) const
{
    return AFX_IDW_PANE_FIRST + row * 16 + col;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (m_hWnd == nullptr || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols)
        return nullptr;
    HWND hWnd = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
    return hWnd != nullptr ? CWnd::FromHandle(hWnd) : nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol)
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || m_hWnd == nullptr || ::GetParent(pWnd->m_hWnd) != m_hWnd)
        return FALSE;
    int nID = ::GetDlgCtrlID(pWnd->m_hWnd) - AFX_IDW_PANE_FIRST;
    int row = nID / 16;
    int col = nID % 16;
    if (nID < 0 || row >= m_nRows || col >= m_nCols)
        return FALSE;
    if (pRow != nullptr)
        *pRow = row;
    if (pCol != nullptr)
        *pCol = col;
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext)
{
    if (m_hWnd == nullptr || pViewClass == nullptr || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols ||
        GetPane(row, col) != nullptr)
        return FALSE;
    m_pColInfo[col].nIdealSize = sizeInit.cx;
    m_pRowInfo[row].nIdealSize = sizeInit.cy;

    CObject* pObject = nullptr;
    try {
        pObject = pViewClass->CreateObject();
    }
    catch (CException* e) {
        e->Delete();
    }
    CWnd* pWnd = dynamic_cast<CWnd*>(pObject);
    if (pWnd == nullptr) {
        delete pObject;
        return FALSE;
    }
    // The pane draws no border of its own: the splitter draws one round it. A window that fails
    // to be created has been cleaned up by its own PostNcDestroy.
    CRect rect(CPoint(0, 0), sizeInit);
    return pWnd->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW & ~WS_BORDER, rect, this, (UINT)IdFromRowCol(row, col),
                        pContext);
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = m_pRowInfo[row].nCurSize;
    cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    if (row < 0 || row >= m_nRows)
        return;
    m_pRowInfo[row].nIdealSize = cyIdeal < 0 ? 0 : cyIdeal;
    m_pRowInfo[row].nMinSize = cyMin < 0 ? 0 : cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = m_pColInfo[col].nCurSize;
    cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    if (col < 0 || col >= m_nCols)
        return;
    m_pColInfo[col].nIdealSize = cxIdeal < 0 ? 0 : cxIdeal;
    m_pColInfo[col].nMinSize = cxMin < 0 ? 0 : cxMin;
}

void CSplitterWnd::LayoutRowCol(CRowColInfo* pInfo, int nCount, int nSize, int nGap, int nBorder)
{
    int nLeft = nSize - 2 * nBorder;
    for (int i = 0; i < nCount; i++) {
        int nCur = nLeft;
        if (i < nCount - 1 && pInfo[i].nIdealSize < nLeft)
            nCur = pInfo[i].nIdealSize;
        if (nCur < 0)
            nCur = 0;
        pInfo[i].nCurSize = nCur;
        nLeft -= nCur + nGap;
    }
}

CRect CSplitterWnd::GetPaneRect(int row, int col) const
{
    int x = m_cxBorder;
    for (int i = 0; i < col; i++)
        x += m_pColInfo[i].nCurSize + m_cxSplitterGap;
    int y = m_cyBorder;
    for (int i = 0; i < row; i++)
        y += m_pRowInfo[i].nCurSize + m_cySplitterGap;
    return CRect(x, y, x + m_pColInfo[col].nCurSize, y + m_pRowInfo[row].nCurSize);
}

void CSplitterWnd::RecalcLayout()
{
    if (m_hWnd == nullptr || m_nRows == 0 || m_nCols == 0)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    LayoutRowCol(m_pColInfo, m_nCols, rectClient.Width(), m_cxSplitterGap, m_cxBorder);
    LayoutRowCol(m_pRowInfo, m_nRows, rectClient.Height(), m_cySplitterGap, m_cyBorder);

    // All panes move in one batch.
    HDWP hDWP = ::BeginDeferWindowPos(m_nRows * m_nCols);
    for (int row = 0; row < m_nRows; row++) {
        for (int col = 0; col < m_nCols; col++) {
            HWND hWndPane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
            if (hWndPane == nullptr)
                continue;
            CRect rect = GetPaneRect(row, col);
            if (hDWP != nullptr)
                hDWP = ::DeferWindowPos(hDWP, hWndPane, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                        SWP_NOZORDER | SWP_NOACTIVATE);
            else
                ::SetWindowPos(hWndPane, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                               SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (hDWP != nullptr)
        ::EndDeferWindowPos(hDWP);
    Invalidate(TRUE);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0)
        RecalcLayout();
}

BOOL CSplitterWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;    // painting covers every pixel that is not a pane
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    // The bars in the button face, each pane framed by a sunken edge.
    for (int row = 0; row < m_nRows; row++) {
        for (int col = 0; col < m_nCols; col++)
            dc.ExcludeClipRect(GetPaneRect(row, col));
    }
    dc.FillSolidRect(&rectClient, ::GetSysColor(COLOR_BTNFACE));
    for (int row = 0; row < m_nRows; row++) {
        for (int col = 0; col < m_nCols; col++) {
            CRect rect = GetPaneRect(row, col);
            rect.InflateRect(m_cxBorder, m_cyBorder);
            ::DrawEdge(dc.GetSafeHdc(), &rect, EDGE_SUNKEN, BF_RECT);
        }
    }
}

int CSplitterWnd::HitTestBar(CPoint point, BOOL* pbVert) const
{
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!rectClient.PtInRect(point))
        return -1;
    // A bar spans the gap between two panes, the borders drawn on both sides included.
    int x = m_cxBorder;
    for (int col = 0; col < m_nCols - 1; col++) {
        x += m_pColInfo[col].nCurSize;
        if (point.x >= x && point.x < x + m_cxSplitterGap) {
            *pbVert = TRUE;
            return col;
        }
        x += m_cxSplitterGap;
    }
    int y = m_cyBorder;
    for (int row = 0; row < m_nRows - 1; row++) {
        y += m_pRowInfo[row].nCurSize;
        if (point.y >= y && point.y < y + m_cySplitterGap) {
            *pbVert = FALSE;
            return row;
        }
        y += m_cySplitterGap;
    }
    return -1;
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && pWnd == this) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        BOOL bVert = FALSE;
        if (m_bTracking || HitTestBar(point, &bVert) >= 0) {
            ::SetCursor(SplitCursor(m_bTracking ? m_bTrackVert : bVert));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    if (m_bTracking)
        return;
    BOOL bVert = FALSE;
    int nIndex = HitTestBar(point, &bVert);
    if (nIndex < 0)
        return;
    CRect rect = GetPaneRect(bVert ? 0 : nIndex, bVert ? nIndex : 0);
    m_bTrackVert = bVert;
    m_nTrackIndex = nIndex;
    m_nTrackOffset = bVert ? point.x - rect.right : point.y - rect.bottom;
    m_bTracking = TRUE;
    SetCapture();
    ::SetCursor(SplitCursor(bVert));
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point)
{
    if (!m_bTracking)
        return;
    // The dragged boundary follows the mouse; the pane before it keeps at least its minimum.
    CRowColInfo& info = m_bTrackVert ? m_pColInfo[m_nTrackIndex] : m_pRowInfo[m_nTrackIndex];
    CRect rect = GetPaneRect(m_bTrackVert ? 0 : m_nTrackIndex, m_bTrackVert ? m_nTrackIndex : 0);
    int nSize = m_bTrackVert ? point.x - m_nTrackOffset - rect.left : point.y - m_nTrackOffset - rect.top;
    if (nSize < info.nMinSize)
        nSize = info.nMinSize;
    if (nSize < 0)
        nSize = 0;
    if (nSize != info.nIdealSize || nSize != info.nCurSize) {
        info.nIdealSize = nSize;
        RecalcLayout();
    }
}

void CSplitterWnd::StopTracking()
{
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint)
{
    StopTracking();
}

void CSplitterWnd::OnCancelMode()
{
    StopTracking();
    CWnd::OnCancelMode();
}

void CSplitterWnd::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != this)
        m_bTracking = FALSE;
    CWnd::OnCaptureChanged(pWnd);
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol)
{
    CWnd* pView = nullptr;
    if (CFrameWnd* pFrame = GetParentFrame())
        pView = pFrame->GetActiveView();
    if (pView == nullptr || !IsChildPane(pView, pRow, pCol)) {
        pView = CWnd::GetFocus();
        if (pView != nullptr && !IsChildPane(pView, pRow, pCol))
            pView = nullptr;
    }
    return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd)
{
    CWnd* pPane = pWnd != nullptr ? pWnd : GetPane(row, col);
    if (pPane == nullptr)
        return;
    CView* pView = dynamic_cast<CView*>(pPane);
    CFrameWnd* pFrame = GetParentFrame();
    if (pView != nullptr && pFrame != nullptr)
        pFrame->SetActiveView(pView);
    else
        pPane->SetFocus();
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame != nullptr && pFrame->SendMessage(WM_COMMAND, wParam, lParam) != 0;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        return FALSE;
    *pResult = pFrame->SendMessage(WM_NOTIFY, wParam, lParam);
    return TRUE;
}
