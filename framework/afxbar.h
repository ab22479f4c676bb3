// Control bars and docking: the bar base, the dock bars on a frame's sides, the drag context that
// docks and floats bars, the floating mini frames, and the saved docking layout.
//
// A frame that calls EnableDocking gets one CDockBar per side (ids AFX_IDW_DOCKBAR_TOP ..
// AFX_IDW_DOCKBAR_BOTTOM). A dock bar keeps its bars in rows: m_arrBars starts with a null entry,
// a null entry ends every row, and a bar that is not there now may leave a placeholder (its window
// id) that brings it back to the same place. The frame's RecalcLayout sends WM_SIZEPARENT to every
// bar in one deferred-position batch; each bar takes its thickness from one side of the remaining
// rectangle, and what is left goes to the pane (or the MDI client).
#pragma once
#include "afxframe.h"

class CDockBar;
class CDockContext;
class CControlBarInfo;
class CDockState;
class CMiniDockFrameWnd;

// Tool flags of the framework's own: no fly-by prompt on a button press; a tip also while the
// frame is inactive.
#ifndef TTF_NOTBUTTON
#define TTF_NOTBUTTON       0x80000000L
#endif
#ifndef TTF_ALWAYSTIP
#define TTF_ALWAYSTIP       0x40000000L
#endif

// What WM_SIZEPARENT carries: the rectangle the bars have not taken yet and the deferred batch
// (null while the layout is only asked for).
struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// Moves hWnd to lpRect (parent client coordinates) within the layout's batch, unless it is there.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

// Metrics and colours the bars draw with; read from the system on first use and again on a
// system colour change.
struct AFX_BARDATA
{
    int cxBorder2, cyBorder2;   // border lines of bars: 2 pixels from Windows 4 on, else 1
    BOOL bWin4;
    COLORREF clrBtnFace, clrBtnShadow, clrBtnHilite, clrWindowFrame;
    HCURSOR hcurArrow;
    void Update();
};
AFX_BARDATA& AfxGetBarData();

// Moves each side of rect with a CBRS_BORDER_ bit of dwBarStyle inside its border line.
void AfxDeflateBorderLines(CRect& rect, DWORD dwBarStyle);

// Activates the frame a window belongs to (a floating frame's owner) unless it is active.
void AfxActivateTopParent(CWnd* pWnd);

// A bar's window id as a placeholder entry of a dock bar's list, and back. Placeholders are small
// numbers; no bar object lives in the first 64K of the address space.
inline void* AfxDockPlaceholder(UINT nID) { return (void*)(UINT_PTR)(nID & 0xFFFF); }
inline BOOL AfxIsDockPlaceholder(void* p) { return p != nullptr && (UINT_PTR)p <= 0xFFFF; }
inline UINT AfxDockPlaceholderID(void* p) { return (UINT)(UINT_PTR)p; }

// ---- CControlBar ------------------------------------------------------------------------------

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // The bar style (CBRS_ bits), kept apart from the window style.
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);

    // Allows docking to the sides in dwDockStyle (CBRS_ALIGN_ bits, CBRS_FLOAT_MULTI) and makes
    // the drag context the first time; a bar without an owner is owned by its parent.
    virtual void EnableDocking(DWORD dwDockStyle);
    BOOL IsFloating() const;
    virtual BOOL IsDockBar() const { return FALSE; }
    // The frame the bar lays out in: its parent frame (a floating frame), else the dock site.
    CFrameWnd* GetDockingFrame() const;

    // Showing and hiding that waits for the frame's next layout.
    virtual void DelayShow(BOOL bShow);
    virtual BOOL IsVisible() const;
    // Carries out a delayed show or hide within the layout's batch; answers the style the bar has
    // for the layout (WS_VISIBLE and its alignment).
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);

    // Sizes. The fixed size of a bar along its orientation (stretched to the frame with bStretch);
    // the dynamic size for a length and LM_ mode (the base gives the fixed size).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // The area inside the border lines and the bar's own borders.
    void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // Painting: DoPaint paints the client area; the border lines are drawn in the non-client area.
    virtual void DoPaint(CDC* pDC);
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    void EraseNonClient();

    // Command-UI updates of the bar's items at idle time, routed through pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    // Saved layout.
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

    // Fly-by help: the prompt of command nHit (or the idle prompt for -1) in the status bar.
    BOOL SetStatusText(INT_PTR nHit);
    void ResetTimer(UINT_PTR nEvent, UINT nTime);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Notifications of child controls go on to the owner when the bar does not handle them.
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    int m_cxLeftBorder, m_cxRightBorder;
    int m_cyTopBorder, m_cyBottomBorder;
    int m_cxDefaultGap;
    UINT m_nMRUWidth;           // the most recent width while floating
    BOOL m_bAutoDelete;         // deleted with its window
    DWORD m_dwStyle;            // bar style
    DWORD m_dwDockStyle;        // sides the bar may dock to
    CFrameWnd* m_pDockSite;     // the frame the bar was created in
    CDockBar* m_pDockBar;       // the dock bar it sits in, or null
    CDockContext* m_pDockContext;   // made by EnableDocking
    UINT m_nStateFlags;
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

    // ---- Message handlers
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    void OnNcPaint();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    // Moves the bar to rect in a size-parent pass (only when the pass lays out).
    virtual void MoveInLayout(AFX_SIZEPARENTPARAMS* lpLayout, const CRect& rect);

    DECLARE_MESSAGE_MAP()
};

// ---- CDockBar ---------------------------------------------------------------------------------

class CDockBar : public CControlBar
{
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    // Creates the dock bar as a child of pParentWnd; dwStyle carries window and CBRS_ bits.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    BOOL IsDockBar() const override { return TRUE; }
    // Bars in the list (placeholders not counted), and those of them that are visible.
    int GetDockedCount() const;
    virtual int GetDockedVisibleCount() const;
    // The bar at nPos, or null for a row end or a placeholder.
    CControlBar* GetDockedControlBar(int nPos) const;
    // The index of pBar (or of a placeholder void* id) other than nPosExclude, or -1.
    int FindBar(CControlBar* pBar, int nPosExclude = -1);
    int FindBar(void* pEntry, int nPosExclude = -1);

    // Docks pBar, at a screen rectangle (its row by the rectangle's centre) or at the end.
    virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Docks pBar at its placeholder when there is one, else as DockControlBar.
    virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes pBar out of the list. nAddPlaceHolder 1 leaves its id behind, 0 removes its
    // placeholders too, -1 leaves other placeholders alone. TRUE when a floating frame destroyed
    // itself because it held no bar any more.
    virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    void RemovePlaceHolder(CControlBar* pBar);
    // The dock operation: at the bar's placeholder (bAtPlaceholder), at a screen rectangle (its row
    // by the centre) or as a new row at the end.
    void PlaceBar(CControlBar* pBar, LPCRECT lpRect, BOOL bAtPlaceholder);
    // Gives pBar the styles of a bar docked here; with bTakeTitle a floating dock bar takes the
    // bar's size styles and title.
    void TakeBar(CControlBar* pBar, BOOL bTakeTitle);
    // Takes pBar's entry out of the list and nothing else (no placeholder, no layout).
    void DetachBar(CControlBar* pBar);
    // Takes out the entry at nPos; a row left empty loses its row end.
    void EraseEntry(int nPos);
    // The bar's dock context remembers rect (client coordinates) of this dock bar as its place.
    void RememberDockPlace(CControlBar* pBar, const CRect& rect);
    // Shows or hides every bar of the list through its frame; FALSE when there was none.
    BOOL ShowAll(BOOL bShow);
    // Inserts pBarIns into the row that the point ptMid (client coordinates) falls into.
    int Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

    CPtrArray m_arrBars;        // bars, placeholders and row ends
    BOOL m_bFloating;           // the dock bar of a floating frame
    BOOL m_bLayoutQuery;        // the current size-parent pass only asks for sizes
    CRect m_rectLayout;         // the rectangle of the current size-parent pass

    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

protected:
    // Where a toolbar-like bar goes in a row packed the way toolbars pack: at pt, moved on to
    // where its window already is, pulled back inside the extent; at the row's start after a wrap.
    // FALSE: it does not fit and must open a new row. pt moves on by the bar's length less
    // nOverlap (neighbours overlap); nThickness grows to the bar's thickness.
    BOOL PackBar(CControlBar* pBar, BOOL bFirstInRow, BOOL bWrapped, CPoint& pt, CSize sizeMax, BOOL bHorz,
                 int nOverlap, int nRowStart, int& nThickness, CRect& rectResult);

    DECLARE_MESSAGE_MAP()
};

// ---- CDockContext -----------------------------------------------------------------------------

// The modal loops of a dockable bar: dragging it (dock or float), resizing its floating frame, and
// the double-click toggle between its docked and floating places.
class CDockContext
{
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();

    virtual void StartDrag(CPoint pt);
    virtual void Move(CPoint pt);
    virtual void EndDrag();
    virtual void OnKey(int nChar, BOOL bDown);

    virtual void StartResize(int nHitTest, CPoint pt);
    virtual void Stretch(CPoint pt);
    virtual void EndResize();

    virtual void ToggleDocking();

    // The loop: capture, desktop DC for the feedback, locked window updates.
    void InitLoop();
    virtual void CancelLoop();
    // Runs the modal loop; TRUE when it ended with the button released.
    BOOL Track();
    virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The alignment of the dock bar under the drag rectangles, 0 for none (floating).
    virtual DWORD CanDock();
    CDockBar* GetDockBar(DWORD dwOverDockStyle);

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle;        // the bar's dock style when the loop began
    DWORD m_dwOverDockStyle;    // alignment of the dock bar under the cursor, 0 for floating
    DWORD m_dwStyle;            // the bar's alignment when the loop began
    BOOL m_bFlip;               // Shift: the other orientation
    BOOL m_bForceFrame;         // Ctrl: never dock
    CDC* m_pDC;                 // the desktop's DC while a loop runs
    BOOL m_bDragging;           // dragging, not resizing
    int m_nHitTest;             // the sizing border while resizing

    CPoint m_ptLast;
    CRect m_rectLast;           // feedback drawn last
    CSize m_sizeLast;
    BOOL m_bDitherLast;

    CRect m_rectDragHorz, m_rectDragVert;           // the bar docked horizontally, vertically
    CRect m_rectFrameDragHorz, m_rectFrameDragVert; // the floating frame in each orientation
    // While resizing the same rectangles hold the requested and actual sizes.
    CRect& m_rectRequestedSize;
    CRect& m_rectActualSize;
    CRect& m_rectActualFrameSize;
    CRect& m_rectFrameBorders;

protected:
    // Moves a drag rectangle so that the cursor pt lies inside it.
    virtual void AdjustDragRect(CRect& rect, CPoint pt);
    // The drag and frame rectangles for a drag that starts at pt.
    void CalcDragRects(CPoint pt);
    // Floats the bar where the drag's frame feedback was (and remembers it as its floating place).
    void FloatAtDrop();

public:

    UINT m_uMRUDockID;          // the side it was docked to last, 0 for none
    CRect m_rectMRUDockPos;     // where, in that dock bar's client coordinates
    DWORD m_dwMRUFloatStyle;    // how it floated last
    CPoint m_ptMRUFloatPos;     // where its floating frame was (-1, -1: never floated)

private:
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;
};

// ---- Mini frames --------------------------------------------------------------------------------

// A frame with a tool-window caption. MFS_ styles: MFS_SYNCACTIVE shows it active while its owner
// is, MFS_4THICKFRAME sizes without corners, MFS_THICKFRAME with them, MFS_MOVEFRAME turns every
// border into the caption, MFS_BLOCKSYSMENU treats the system menu as caption.
class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd = nullptr, UINT nID = 0);

    // Grows a client rectangle by the borders of a tool window with dwStyle.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION, DWORD dwExStyle = 0);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    LRESULT OnNcHitTest(CPoint point);
    BOOL OnNcActivate(BOOL bActive);
    void OnGetMinMaxInfo(MINMAXINFO* pMMI);
    LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The floating frame of docked-out bars: one dock bar (AFX_IDW_DOCKBAR_FLOAT) that the frame snaps to.
class CMiniDockFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // Creates the frame for bars of dwBarStyle, owned by pParent (the docking frame).
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // The embedded dock bar (a derived frame may hold its own kind).
    virtual CDockBar* GetDockBar() { return &m_wndDockBar; }
    // The first bar of the dock bar, or null.
    CControlBar* GetFirstBar();

    void RecalcLayout(BOOL bNotify = TRUE) override;

    void OnClose();
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    CDockBar m_wndDockBar;

protected:
    // Creation with an explicit window style and the dock bar the frame holds.
    BOOL CreateFrame(CWnd* pParent, DWORD dwStyle, DWORD dwBarStyle, CDockBar* pDockBar);

    DECLARE_MESSAGE_MAP()
};

// ---- Saved layout -------------------------------------------------------------------------------

// Stores or loads nCount 32-bit values (a point's x and y, a size, a rectangle's four sides).
void AfxSerializeLongs(CArchive& ar, LONG* pValues, int nCount);

// One bar's saved layout (also a dock bar's, with its list of bar ids).
class CControlBarInfo
{
public:
    CControlBarInfo();
    virtual ~CControlBarInfo() = default;

    // Profile form: section "%s-Bar%d". SaveState answers FALSE (and leaves no section) for a
    // docked, visible dock bar at its default place holding no bar.
    virtual BOOL SaveState(LPCSTR lpszProfileName, int nIndex);
    virtual BOOL LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState);
    // Archive form: the record's fields, SerializeEx's, then the list of bar ids.
    void Serialize(CArchive& ar, CDockState* pDockState);
    virtual void SerializeEx(CArchive& ar, CDockState* pDockState);

    UINT m_nBarID;
    BOOL m_bVisible;
    BOOL m_bFloating;
    BOOL m_bHorz;
    BOOL m_bDockBar;
    CPoint m_pointPos;          // (-1, -1): the default place
    UINT m_nMRUWidth;
    BOOL m_bDocking;            // the MRU fields below are valid
    UINT m_uMRUDockID;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;
    CPtrArray m_arrBarID;       // a dock bar's list: ids, placeholder ids | 0x10000, 0 for row ends
    CControlBar* m_pBar;        // the bar while the state is collected or applied

    // The largest list ("Bars") read from the settings.
    enum { nMaxBarIDs = 1024 };
};

// Applying a state: the bars that its dock-bar records name leave their dock bars first, and bars
// whose new dock bar did not take them go back to the old one afterwards.
void AfxDetachDockStateBars(CFrameWnd* pFrame, const CDockState& state);
void AfxReattachDockStateBars(CFrameWnd* pFrame);

class CDockState : public CObject
{
    DECLARE_SERIAL(CDockState)
public:
    CDockState();
    ~CDockState() override;

    virtual void LoadState(LPCSTR lpszProfileName);
    virtual void SaveState(LPCSTR lpszProfileName);
    void Serialize(CArchive& ar) override;
    void Clear();

    DWORD GetVersion() const { return m_dwVersion; }
    // The records; owned by the state.
    CPtrArray m_arrBarInfo;

    // Screen size of the saved layout; positions scale when it differs from the current one.
    void SetScreenSize(CSize size);
    CSize GetScreenSize() const;
    void ScalePoint(CPoint& pt) const;
    void ScaleRectPos(CRect& rect) const;

    // The largest number of records ("Bars") read from the settings.
    enum { nMaxBars = 1024 };

protected:
    // A new, empty record for Load/Serialize (derived states make their own kind).
    virtual CControlBarInfo* NewBarInfo();

    DWORD m_dwVersion;
    BOOL m_bScaling;
    CSize m_sizeLogical;        // the screen size the state was saved with
};
