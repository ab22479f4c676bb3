#include "MapZView.h"
#include "Brush.h"
#include "MapEditing.h"
#include "Entity.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "Reporter.h"
#include "Thing.h"
#include "ViewServices.h"
#include "ViewsRes.h"

IMPLEMENT_DYNCREATE(CMapZView, CMapView)

BEGIN_MESSAGE_MAP(CMapZView, CMapView)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_TIMER()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETCURSOR()
    ON_COMMAND(ID_CLIP_TO_BRUSH_DEPTH, OnClipToBrushDepth)
    ON_COMMAND(ID_DISABLE_DEPTH_CLIPPING, OnDisableDepthClipping)
    ON_COMMAND(ID_GRID_NUMBERS, OnGridNumbers)
    ON_UPDATE_COMMAND_UI(ID_GRID_NUMBERS, OnUpdateGridNumbers)
    ON_UPDATE_COMMAND_UI(ID_PANE_POSITION, OnUpdatePanePosition)
END_MESSAGE_MAP()

CMapZView::CMapZView()
    : m_nTopClip(0), m_nBottomClip(0), m_nGrabOffset(0), m_bAutoScroll(0), m_bFirstSizing(1),
      m_rcTopHandle(0, 0, 0, 0), m_rcBottomHandle(0, 0, 0, 0), m_rcBand(5, 0, 45 - BarWidth(), 0),
      m_bHandlesShown(0), m_bGridNumbers(1), m_nDragFrom(0), m_nDepthMoved(0), m_nEdgeAtPress(0)
{
    memset(&m_infoTop, 0, sizeof m_infoTop);
    memset(&m_infoBottom, 0, sizeof m_infoBottom);
    // "Scroll Bars" off: the view still scrolls by code, without bars.
    SetShowScrollBars(GetEditorServices()->GetProfileInt("Map Window", "Scroll Bars", 1) != 0);
}

CMapZView::~CMapZView() = default;

int CMapZView::BarWidth()
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

int CMapZView::ClientHeight() const
{
    if (!m_hWnd)
        return 0;
    CRect client;
    GetClientRect(&client);
    return client.Height();
}

int CMapZView::DepthToDevice(int depth) const
{
    int v = -depth;
    WorldToDevice(v);
    return v;
}

void CMapZView::OnInitialUpdate()
{
    CMapView::OnInitialUpdate();
    UpdateScrollSizes(m_scale);
    if (!m_bmpTop.m_hObject)
        m_bmpTop.LoadBitmap(IDB_TOP_PLANE);
    if (!m_bmpBottom.m_hObject)
        m_bmpBottom.LoadBitmap(IDB_BOTTOM_PLANE);
    if (m_bmpTop.m_hObject)
        m_bmpTop.GetBitmap(&m_infoTop);
    if (m_bmpBottom.m_hObject)
        m_bmpBottom.GetBitmap(&m_infoBottom);
    SetFullRange();
    FindPlayerStart();
}

void CMapZView::SetFullRange()
{
    double s = m_scale;
    m_nTopClip = static_cast<int>(GridCeil(m_infoTop.bmHeight) / s);
    m_nBottomClip = static_cast<int>(GridFloor(GetTotalSize().cy - m_infoBottom.bmHeight) / s);
}

BOOL CMapZView::ComputeBand(int& top, int& bottom, BOOL* pHandles,
                            const std::function<void(int top, int bottom)>& eachBar) const
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelection().IsEmpty())
        return FALSE;
    top = 0x7FFFFFFF;
    bottom = -0x7FFFFFFF;
    BOOL handles = TRUE;
    int type = GetPlaneType();
    CPtrList& sel = pMap->GetSelection();
    for (POSITION pos = sel.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(sel.GetNext(pos));
        short mn, mx;
        t->GetDepthExtents(mn, mx, type);
        int yt = DepthToDevice(mx), yb = DepthToDevice(mn);
        if (eachBar)
            eachBar(yt, yb);
        if (top != 0x7FFFFFFF && (yt != top || yb != bottom))
            handles = FALSE;
        if (yt < top)
            top = yt;
        if (yb > bottom)
            bottom = yb;
        if (t->GetKind() != 0)
            handles = FALSE;
    }
    if (pHandles)
        *pHandles = handles;
    return TRUE;
}

void CMapZView::SetPlanesToBand()
{
    int top, bottom;
    if (!ComputeBand(top, bottom))
        return;
    if (IsSnapToGrid()) {
        top = GridFloor(top);
        bottom = GridCeil(bottom);
    }
    m_nTopClip = static_cast<int>(top / static_cast<double>(m_scale));
    m_nBottomClip = static_cast<int>(bottom / static_cast<double>(m_scale));
}

void CMapZView::GetClipRange(int& upper, int& lower) const
{
    upper = static_cast<int>(m_nTopClip * static_cast<double>(m_scale));
    lower = static_cast<int>(m_nBottomClip * static_cast<double>(m_scale));
    DeviceToWorldY(upper);
    DeviceToWorldY(lower);
}

void CMapZView::UpdateScrollSizes(float scale)
{
    int oldHeight = GetTotalSize().cy;
    int clientH = ClientHeight();
    SetScale(scale);
    double f = 0.5;
    if (!m_bFirstSizing && oldHeight > 0)
        f = (clientH / 2 + GetDeviceScrollPosition().y) / static_cast<double>(oldHeight);
    int height = static_cast<int>(static_cast<double>(scale) * 8192.0);
    SetScrollSizes(MM_TEXT, CSize(StripWidth(), height));
    if (!m_bFirstSizing) {
        int y = static_cast<int>(height * f) - clientH / 2;
        ScrollToDevicePosition(CPoint(0, y < 0 ? 0 : y));
    }
    m_nGridPixels = ComputeGridPixels(m_nGrid, m_scale, height);
    double s = m_scale;
    if (static_cast<int>(m_nTopClip * s) - m_infoTop.bmHeight < 0)
        m_nTopClip = static_cast<int>((IsSnapToGrid() ? GridCeil(m_infoTop.bmHeight) : m_infoTop.bmHeight) / s);
    if (static_cast<int>(m_nBottomClip * s) + m_infoBottom.bmHeight > height) {
        int b = height - m_infoBottom.bmHeight;
        m_nBottomClip = static_cast<int>((IsSnapToGrid() ? GridFloor(b) : b) / s);
    }
    m_bFirstSizing = 0;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CMapZView::ApplyGridSize(int grid)
{
    SetGrid(grid);
    m_nGridPixels = ComputeGridPixels(m_nGrid, m_scale, GetTotalSize().cy);
    if (m_hWnd)
        Invalidate(TRUE);
}

void CMapZView::FindPlayerStart()
{
    Map* pMap = GetMap();
    int clientH = ClientHeight();
    int y = GetTotalSize().cy / 2 - clientH / 2;
    if (pMap) {
        for (POSITION pos = pMap->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(pMap->GetEntities().GetNext(pos));
            const CString* cls = e->FindValue("classname");
            if (cls && *cls == "info_player_start") {
                short mn, mx;
                e->GetDepthExtents(mn, mx, GetPlaneType());
                y = (DepthToDevice(mn) + DepthToDevice(mx)) / 2 - clientH / 2;
                break;
            }
        }
    }
    ScrollToDevicePosition(CPoint(0, y));
}

// ---------------------------------------------------------------------------
// Drawing

void CMapZView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

BOOL CMapZView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMapZView::OnDraw(CDC* pDC)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->IsIconic())
        return;
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CDC mem;
    if (!mem.CreateCompatibleDC(pDC))
        return;
    CBitmap bmp;
    if (!bmp.CreateCompatibleBitmap(pDC, client.Width(), client.Height()))
        return;
    CBitmap* pOld = mem.SelectObject(&bmp);
    DrawBackground(&mem);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
}

void CMapZView::DrawBackground(CDC* pDC)
{
    CViewServices* services = GetViewServices();
    CRect client;
    GetClientRect(&client);
    int width = client.Width(), height = client.Height();
    int sy = GetDeviceScrollPosition().y;
    COLORREF bg = services->GetSettingColor("Map Background", 0xFFFFFF);
    pDC->FillSolidRect(0, 0, width, height, bg);

    if (IsGridShown()) {
        int major = static_cast<int>(static_cast<double>(m_scale) * 64.0);
        int minor = m_nGridPixels;
        auto down = [](int v, int step) { return v - ((v % step) + step) % step; };
        CPen* pOld = pDC->SelectObject(services->GetPen(CViewServices::PEN_GRID));
        if (minor > 0) {
            for (int y = down(sy, minor); y <= sy + height + minor; y += minor) {
                if (major > minor && y % major == 0)
                    continue;
                pDC->MoveTo(0, y - sy);
                pDC->LineTo(width, y - sy);
            }
        }
        if (major > 0) {
            pDC->SelectObject(services->GetPen(CViewServices::PEN_TILE));
            CFont* pOldFont = pDC->SelectObject(&m_font);
            pDC->SetBkColor(bg);
            pDC->SetBkMode(OPAQUE);
            pDC->SetTextColor(0xFFFFFF - bg);
            for (int y = down(sy, major); y <= sy + height + (minor > 0 ? minor : major); y += major) {
                if (major > minor) {
                    pDC->MoveTo(width / 2, y - sy);
                    pDC->LineTo(width, y - sy);
                }
                if (m_bGridNumbers) {
                    int depth = y;
                    DeviceToWorldY(depth);
                    CString text;
                    text.Format("%d", depth);
                    CRect r(0, y - sy - 10, 50, y - sy + 10);
                    pDC->DrawText(text, &r, DT_SINGLELINE | DT_VCENTER);
                }
            }
            pDC->SelectObject(pOldFont);
        }
        pDC->SelectObject(pOld);
    }

    Map* pMap = GetMap();
    m_bHandlesShown = 0;
    if (pMap && !pMap->GetSelection().IsEmpty()) {
        CPen* pOldPen = pDC->SelectObject(services->GetPen(CViewServices::PEN_TEX_BACKGROUND));
        CBrush* pOldBrush = pDC->SelectObject(services->GetBrush(CViewServices::BRUSH_SELECTED));
        BOOL handles = TRUE;
        int top = 0, bottom = 0;
        ComputeBand(top, bottom, &handles, [&](int yt, int yb) {
            pDC->Rectangle(5, yt - sy, 45 - BarWidth(), yb - sy);
        });
        m_rcBand.top = top;
        m_rcBand.bottom = bottom;
        m_bHandlesShown = handles;
        if (m_bHandlesShown) {
            int cx = (50 - BarWidth()) / 2;
            m_rcTopHandle.SetRect(cx - 8, top - 6, cx + 8, top);
            m_rcBottomHandle.SetRect(cx - 8, bottom, cx + 8, bottom + 6);
            CBrush* scale = services->GetBrush(CViewServices::BRUSH_SCALE);
            CRect r = m_rcTopHandle;
            r.OffsetRect(0, -sy);
            pDC->FillRect(&r, scale);
            r = m_rcBottomHandle;
            r.OffsetRect(0, -sy);
            pDC->FillRect(&r, scale);
        }
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }

    // The planes: white in the bitmaps is see-through.
    CDC bmpDC;
    if (bmpDC.CreateCompatibleDC(pDC)) {
        double s = m_scale;
        int topY = static_cast<int>(m_nTopClip * s) - sy;
        int bottomY = static_cast<int>(m_nBottomClip * s) - sy;
        if (m_bmpTop.m_hObject && topY >= 0 && topY - m_infoTop.bmHeight <= height) {
            CBitmap* pOld = bmpDC.SelectObject(&m_bmpTop);
            pDC->BitBlt(width - m_infoTop.bmWidth, topY - m_infoTop.bmHeight, m_infoTop.bmWidth, m_infoTop.bmHeight,
                        &bmpDC, 0, 0, SRCAND);
            bmpDC.SelectObject(pOld);
        }
        if (m_bmpBottom.m_hObject && bottomY + m_infoBottom.bmHeight >= 0 && bottomY <= height) {
            CBitmap* pOld = bmpDC.SelectObject(&m_bmpBottom);
            pDC->BitBlt(width - m_infoBottom.bmWidth, bottomY, m_infoBottom.bmWidth, m_infoBottom.bmHeight, &bmpDC, 0,
                        0, SRCAND);
            bmpDC.SelectObject(pOld);
        }
    }
}

// ---------------------------------------------------------------------------
// Updates and clip propagation

void CMapZView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CMapView::OnUpdate(pSender, lHint, pHint);
    if (!m_hWnd)
        return;
    switch (lHint) {
    case HINT_OPENED:
        FindPlayerStart();
        Invalidate(TRUE);
        break;
    case HINT_SELECTION:
    case HINT_DEPTH_CLIP:
    case HINT_LINKED_SELECTION:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
        break;
    case HINT_CLIP_TO_OBJECT:
        SetPlanesToBand();
        Invalidate(TRUE);
        break;
    case HINT_UNCLIP_TO_OBJECT:
        SetFullRange();
        Invalidate(TRUE);
        break;
    default:
        Invalidate(TRUE);
        break;
    }
}

void CMapZView::PropagateClip()
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    if (GetViewServices()->IsLinkClipping()) {
        pMap->ResetDepthClip();
        pMap->UpdateAllViews(nullptr, HINT_LINKED_SELECTION);
        pMap->RebuildVisibleList();
        Invalidate(TRUE);
        UpdateWindow();
        pMap->UpdateAllViews(this, HINT_REDRAW);
    } else {
        Invalidate(TRUE);
        UpdateWindow();
        pMap->UpdateAllViews(this, HINT_DEPTH_CLIP);
    }
}

void CMapZView::OnClipToBrushDepth()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelection().IsEmpty())
        return;
    SetPlanesToBand();
    PropagateClip();
}

void CMapZView::OnDisableDepthClipping()
{
    SetFullRange();
    PropagateClip();
}

void CMapZView::OnGridNumbers()
{
    m_bGridNumbers = !m_bGridNumbers;
    Invalidate(TRUE);
    UpdateWindow();
}

void CMapZView::OnUpdateGridNumbers(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bGridNumbers ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Mouse

void CMapZView::OnLButtonDown(UINT, CPoint point)
{
    Map* pMap = GetMap();
    if (pMap && g_faceMode)
        pMap->UpdateAllViews(nullptr, HINT_VIEW_CLICKED);
    CPoint p = point + GetDeviceScrollPosition();
    double s = m_scale;
    int top = static_cast<int>(m_nTopClip * s), bottom = static_cast<int>(m_nBottomClip * s);
    HCURSOR cursor = nullptr;
    if (p.y >= top - m_infoTop.bmHeight && p.y <= top) {
        m_nState = STATE_TOP_PLANE;
        m_nGrabOffset = top - p.y;
        cursor = LoadViewCursor(IDC_VIEW_MOVE_VERTICAL);
    } else if (p.y >= bottom && p.y <= bottom + m_infoBottom.bmHeight) {
        m_nState = STATE_BOTTOM_PLANE;
        m_nGrabOffset = bottom - p.y;
        cursor = LoadViewCursor(IDC_VIEW_MOVE_VERTICAL);
    } else if (m_bHandlesShown && m_rcTopHandle.PtInRect(p)) {
        m_nState = STATE_TOP_HANDLE;
        m_nGrabOffset = m_rcBand.top - p.y;
        cursor = LoadViewCursor(IDC_VIEW_TOP_HANDLE);
    } else if (m_bHandlesShown && m_rcBottomHandle.PtInRect(p)) {
        m_nState = STATE_BOTTOM_HANDLE;
        m_nGrabOffset = m_rcBand.bottom - p.y;
        cursor = LoadViewCursor(IDC_VIEW_BOTTOM_HANDLE);
    } else {
        int bandTop, bandBottom;
        if (ComputeBand(bandTop, bandBottom) && p.x >= m_rcBand.left && p.x < m_rcBand.right && p.y >= bandTop &&
            p.y <= bandBottom) {
            m_nState = STATE_MOVE;
            m_rcBand.top = bandTop;
            m_rcBand.bottom = bandBottom;
            m_nGrabOffset = bandTop - p.y;
            cursor = LoadViewCursor(IDC_VIEW_MOVE_VERTICAL);
        }
    }
    if (m_nState == STATE_MOVE || m_nState == STATE_TOP_HANDLE || m_nState == STATE_BOTTOM_HANDLE) {
        m_ptAnchor = p;
        m_nDragFrom = p.y + m_nGrabOffset;
        m_nDepthMoved = 0;
        m_nEdgeAtPress = 0;
        if (pMap && !pMap->GetSelection().IsEmpty()) {
            short mn = 0, mx = 0;
            static_cast<SThing*>(pMap->GetSelection().GetHead())->GetDepthExtents(mn, mx, GetPlaneType());
            m_nEdgeAtPress = m_nState == STATE_BOTTOM_HANDLE ? mn : mx;
        }
    }
    if (cursor)
        ::SetCursor(cursor);
    SetCapture();
}

void CMapZView::StopAutoScroll()
{
    if (m_bAutoScroll && m_hWnd)
        KillTimer(TIMER_AUTOSCROLL);
    m_bAutoScroll = 0;
}

void CMapZView::UpdateAutoScroll(int itemY)
{
    int sy = GetDeviceScrollPosition().y;
    BOOL outside = itemY < sy || itemY > sy + ClientHeight();
    if (outside && !m_bAutoScroll) {
        SetTimer(TIMER_AUTOSCROLL, 100);
        m_bAutoScroll = 1;
    } else if (!outside && m_bAutoScroll) {
        StopAutoScroll();
    }
}

void CMapZView::DragTo(int y)
{
    Map* pMap = GetMap();
    int height = GetTotalSize().cy;
    double s = m_scale;
    int item = y + m_nGrabOffset;
    if (IsSnapToGrid()) {
        CPoint p(0, item);
        SnapToGrid(p);
        item = p.y;
    }
    switch (m_nState) {
    case STATE_TOP_PLANE: {
        int bottom = static_cast<int>(m_nBottomClip * s);
        if (item > bottom - 1)
            item = bottom - 1;
        if (item < m_infoTop.bmHeight)
            item = m_infoTop.bmHeight;
        m_nTopClip = static_cast<int>(item / s);
        PropagateClip();
        break;
    }
    case STATE_BOTTOM_PLANE: {
        int top = static_cast<int>(m_nTopClip * s);
        if (item < top + 1)
            item = top + 1;
        if (item > height - m_infoBottom.bmHeight)
            item = height - m_infoBottom.bmHeight;
        m_nBottomClip = static_cast<int>(item / s);
        PropagateClip();
        break;
    }
    case STATE_MOVE:
    case STATE_TOP_HANDLE:
    case STATE_BOTTOM_HANDLE: {
        if (!pMap)
            break;
        int bandTop, bandBottom;
        BOOL handles = TRUE;
        if (!ComputeBand(bandTop, bandBottom, &handles))
            break;
        if (m_nState != STATE_MOVE && !handles)
            break;
        if (m_nState == STATE_MOVE) {
            int bandHeight = bandBottom - bandTop;
            if (item < 0)
                item = 0;
            if (item + bandHeight > height)
                item = height - bandHeight;
        } else if (m_nState == STATE_TOP_HANDLE) {
            if (item > bandBottom)
                item = bandBottom;
        } else {
            if (item < bandTop)
                item = bandTop;
        }
        // The distance from the press, in world units: rounding each step on its own would
        // let the selection creep away from the pointer.
        int w0 = m_nDragFrom, w1 = item;
        DeviceToWorldY(w0);
        DeviceToWorldY(w1);
        int distance;
        const int type = GetPlaneType();
        if (m_nState == STATE_MOVE) {
            distance = (w1 - w0) - m_nDepthMoved;
        } else {
            // A stretch goes by the edge itself: a refused scale leaves the brushes as they were.
            short mn = 0, mx = 0;
            static_cast<SThing*>(pMap->GetSelection().GetHead())->GetDepthExtents(mn, mx, type);
            distance = m_nEdgeAtPress + (w1 - w0) - (m_nState == STATE_TOP_HANDLE ? mx : mn);
        }
        if (distance == 0)
            break;
        short before[6], after[6], both[6];
        pMap->GetSelectionBounds(before);
        BOOL changed;
        {
            // Entities of classes the project does not define: one box for the whole step. A step
            // that would take one object past the coordinate range changes none, with one box.
            CUnknownClassReport unknown;
            CObjectEdit edit;
            if (m_nState == STATE_MOVE) {
                edit.AddSelectionMove(pMap, SThing::MOVE_DEPTH, distance, 0, 0, type);
            } else {
                const int atMax = m_nState == STATE_TOP_HANDLE ? 1 : 0;
                for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
                    SThing* t = static_cast<SThing*>(pMap->GetSelection().GetNext(pos));
                    edit.Add(
                        t,
                        [=] { return t->GetKind() != 0 || static_cast<Brush*>(t)->ScaleFits(atMax, distance, type); },
                        [=] { t->Scale(atMax, distance, type); });
                }
            }
            changed = edit.Apply();
        }
        if (!changed)
            break;
        if (m_nState == STATE_MOVE)
            m_nDepthMoved += distance;
        pMap->SetModifiedFlag(TRUE);
        pMap->GetSelectionBounds(after);
        Map::UnionBounds(both, before, after);
        CUpdateHint hint(both);
        Invalidate(TRUE);
        pMap->UpdateAllViews(this, HINT_MOVED, &hint);
        break;
    }
    default:
        break;
    }
    if (m_nState == STATE_MOVE || (m_nState >= STATE_TOP_PLANE && m_nState <= STATE_BOTTOM_HANDLE))
        UpdateAutoScroll(item);
}

void CMapZView::OnMouseMove(UINT, CPoint point)
{
    CPoint p = point + GetDeviceScrollPosition();
    m_ptLastMouse = p;
    if (CMapFrame* pFrame = GetMapFrame())
        pFrame->ActivateZView();
    if (GetCapture() != this)
        return;
    if (m_nState == 0) {
        int sy = GetDeviceScrollPosition().y + (m_ptAnchor.y - point.y);
        m_ptAnchor = point;
        ScrollToDevicePosition(CPoint(0, sy));
        Invalidate(FALSE);
        UpdateWindow();
        return;
    }
    if (m_nState == STATE_MOVE || (m_nState >= STATE_TOP_PLANE && m_nState <= STATE_BOTTOM_HANDLE))
        DragStep([&] { DragTo(p.y); });
}

void CMapZView::OnLButtonUp(UINT, CPoint)
{
    if (GetCapture() != this)
        return;
    EndDrag();
}

void CMapZView::FinishDrag(int)
{
    StopAutoScroll();
    Map* pMap = GetMap();
    if (m_bHandlesShown && pMap && !pMap->GetSelection().IsEmpty()) {
        const short* b = static_cast<SThing*>(pMap->GetSelection().GetHead())->GetBounds();
        for (int i = 0; i < 6; ++i)
            pMap->m_newBrushRange[i] = b[i];
    }
    ::SetCursor(LoadViewCursor(IDC_VIEW_NORMAL));
}

void CMapZView::OnTimer(UINT_PTR nIDEvent)
{
    // Only a drag that still holds the mouse scrolls; anything else ends it.
    if (nIDEvent == TIMER_AUTOSCROLL && GetCapture() == this &&
        (m_nState == STATE_MOVE || (m_nState >= STATE_TOP_PLANE && m_nState <= STATE_BOTTOM_HANDLE))) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        int sy = GetDeviceScrollPosition().y;
        int item = pt.y + sy + m_nGrabOffset;
        int clientH = ClientHeight();
        int overshoot = 0;
        if (item < sy)
            overshoot = item - sy;
        else if (item > sy + clientH)
            overshoot = item - (sy + clientH);
        if (overshoot != 0) {
            int maxY = GetTotalSize().cy - clientH;
            int ny = sy + overshoot;
            if (ny > maxY)
                ny = maxY;
            if (ny < 0)
                ny = 0;
            DragStep([&] {
                ScrollToDevicePosition(CPoint(0, ny));
                DragTo(pt.y + GetDeviceScrollPosition().y);
                Invalidate(FALSE);
                UpdateWindow();
            });
        }
    }
    CMapView::Default();
}

void CMapZView::OnCaptureChanged(CWnd*)
{
    // Alt+Tab, a box or another window took the mouse: the drag ends there.
    if (m_bReleasing)
        return;
    StopAutoScroll();
    if (m_nState != 0)
        m_nState = -1;
}

void CMapZView::OnRButtonDown(UINT, CPoint point)
{
    m_nState = 0;
    m_ptAnchor = point;
    m_ptScrollAtPress = GetDeviceScrollPosition();
    SetCapture();
    ::SetCursor(LoadViewCursor(IDC_VIEW_PAN));
}

void CMapZView::OnRButtonUp(UINT, CPoint point)
{
    if (GetCapture() != this)
        return;
    m_nState = -1;
    ::SetCursor(LoadViewCursor(IDC_VIEW_NORMAL));
    ::ReleaseCapture();
    int margin = GetEditorServices()->GetProfileIntInRange("Map Window", "Move Margin", 2, 0, 15);
    CPoint moved = GetDeviceScrollPosition() - m_ptScrollAtPress;
    if (abs(moved.x) > margin || abs(moved.y) > margin)
        return;
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ActivateFrame();
    CMenu menu;
    if (!menu.LoadMenu(IDR_AXIS_VIEW_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    pPopup->CheckMenuItem(ID_GRID_NUMBERS, MF_BYCOMMAND | (m_bGridNumbers ? MF_CHECKED : MF_UNCHECKED));
    CPoint screen = point;
    ClientToScreen(&screen);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

BOOL CMapZView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT)
        return CMapView::OnSetCursor(pWnd, nHitTest, message);
    CPoint p = m_ptLastMouse;
    double s = m_scale;
    int top = static_cast<int>(m_nTopClip * s), bottom = static_cast<int>(m_nBottomClip * s);
    UINT id = IDC_VIEW_NORMAL;
    if (m_bHandlesShown && m_rcTopHandle.PtInRect(p))
        id = IDC_VIEW_TOP_HANDLE;
    else if (m_bHandlesShown && m_rcBottomHandle.PtInRect(p))
        id = IDC_VIEW_BOTTOM_HANDLE;
    else if (p.x >= m_rcBand.left && p.x < m_rcBand.right && p.y >= m_rcBand.top && p.y <= m_rcBand.bottom &&
             GetMap() && !GetMap()->GetSelection().IsEmpty())
        id = IDC_VIEW_MOVE_VERTICAL;
    else if ((p.y >= top - m_infoTop.bmHeight && p.y <= top) ||
             (p.y >= bottom && p.y <= bottom + m_infoBottom.bmHeight))
        id = IDC_VIEW_MOVE_VERTICAL;
    ::SetCursor(LoadViewCursor(id));
    return TRUE;
}

// ---------------------------------------------------------------------------
// Status panes

void CMapZView::OnUpdatePanePosition(CCmdUI* pCmdUI)
{
    CPoint p = m_ptLastMouse;
    if (IsSnapToGrid())
        SnapToGrid(p);
    int depth = p.y;
    DeviceToWorldY(depth);
    CString text;
    text.Format("@: %d", depth);
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(text);
}
