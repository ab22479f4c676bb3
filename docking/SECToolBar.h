// The customisable toolbar: a docking bar holding an ordered array of button objects that lay
// themselves out in rows, paint from one image strip, send their commands, hot-track in the flat
// look and keep their place in the saved layout.
#pragma once
#include "SECBar.h"
#include "SECDockState.h"
#include <vector>

class SECCustomToolBar;
class SECToolBarManager;

// Button states beyond the platform's TBBS_ bits.
#define SEC_TBBS_SELECTED       0x01000000  // the selection of customise mode
#define SEC_TBBS_HOT            0x02000000  // the mouse is over the button (flat look)

// The timer of hot tracking.
#define SEC_IDT_HOTTRACK        0xE002

// The type number of a customisable toolbar in the saved layout.
#define SEC_TOOLBAR_TYPEID      14946

// The first id of the user's own toolbars; they run to 0xE8FF.
#define SEC_IDW_USERTOOLBAR_FIRST   0xE820
#define SEC_IDW_USERTOOLBAR_LAST    0xE8FF

class SECToolBarBtn;
typedef SECToolBarBtn* (*SECBtnCreator)();

// What toolbar buttons are drawn with: an off-screen colour bitmap as wide as the widest button
// and as high as a button, a monochrome mask of the same size, the image strip in a memory DC
// of its own, and the dither brush of checked buttons (an 8 x 8 checkerboard of single pixels
// in the button-face and highlight colours). One is shared by a manager's toolbars; a toolbar
// without a manager has its own.
class SECToolBarPaintCache
{
public:
    SECToolBarPaintCache() = default;
    ~SECToolBarPaintCache();
    SECToolBarPaintCache(const SECToolBarPaintCache&) = delete;
    SECToolBarPaintCache& operator=(const SECToolBarPaintCache&) = delete;

    // Selects a button bitmap of at least cx x cy, its mask and the strip (may be null) for one
    // paint; the memory DCs are made the first time. FALSE when GDI refused.
    BOOL Prepare(CDC* pDC, HBITMAP hbmImages, int cx, int cy);
    // Ends the paint: the strip and the off-screen bitmaps leave the DCs (the strip may be
    // deleted or drawn elsewhere afterwards).
    void Release();
    BOOL IsPrepared() const { return m_bPrepared; }
    // The memory DCs have been made (the cache was used).
    BOOL IsCreated() const { return m_hdcButton != nullptr; }
    CSize GetSize() const { return m_size; }
    // The dither brush, made when first asked for; after a system colour change it is made anew.
    HBRUSH GetDitherBrush();
    void OnSysColorChange();
    // The button drawn at (0, 0) of the button DC goes to rect of pDC; with bTransparent the
    // pixels of the button-face colour let the bar's background show.
    void CopyButton(CDC* pDC, const CRect& rect, BOOL bTransparent);

    HDC m_hdcButton = nullptr;  // the button being drawn
    HDC m_hdcMask = nullptr;    // its monochrome mask
    HDC m_hdcImages = nullptr;  // the image strip

private:
    HBITMAP m_hbmButton = nullptr, m_hbmMask = nullptr;
    HGDIOBJ m_hOldButton = nullptr, m_hOldMask = nullptr, m_hOldImages = nullptr;
    HBRUSH m_hDitherBrush = nullptr;
    CSize m_size{0, 0};
    BOOL m_bPrepared = FALSE;
};

// One entry of the application's button map; the map ends with an entry whose creator is null.
// The creator comes first and is pointer-sized.
struct SECBtnMapEntry
{
    SECBtnCreator pfnCreate;
    UINT nID;
    UINT nStyle;
    UINT_PTR params[5];
};

// One button of a toolbar (not a window).
class SECToolBarBtn
{
public:
    SECToolBarBtn();
    virtual ~SECToolBarBtn();

    UINT m_nID;             // 0 for a separator
    int m_nImage;           // index in the bar's image strip
    UINT m_nStyle;          // TBBS_ and SEC_TBBS_ bits
    int m_x, m_y;
    int m_cx, m_cy;
    SECCustomToolBar* m_pBar;

    virtual void SetMode(UINT nOrient);
    virtual void SetPos(int x, int y);
    virtual void Invalidate(BOOL bErase = TRUE);
    virtual void Init(SECCustomToolBar* pBar, const UINT_PTR* pParams);
    // Draws the button onto the bar's paint DC; with a prepared cache it is drawn off screen
    // first and copied.
    virtual void Draw(CDC* pDC, SECToolBarPaintCache* pCache);
    virtual BOOL OnLButtonDown(CPoint point);
    virtual void OnMouseMove(CPoint point);
    virtual void OnCancelMode();
    virtual UINT OnLButtonUp(CPoint point);
    virtual void OnBarStyleChange(DWORD dwStyle);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
    // Code 1: remove the data's second value from the style, add its first.
    virtual void OnNotify(UINT nCode, const void* pData);
    virtual void RecalcSize();
    // Persisted state of the button (nothing for a plain button).
    virtual void GetState(BYTE& nLength, BYTE* pBytes) const;
    virtual void SetState(BYTE nLength, const BYTE* pBytes);
    virtual void DrawFace(CDC* pDC, const CRect& rect, BOOL bPushed);
    virtual void DrawDisabled(CDC* pDC, const CRect& rect);
    virtual void DrawChecked(CDC* pDC, const CRect& rect);
    virtual void DrawIndeterminate(CDC* pDC, const CRect& rect);
    virtual void DrawSelection(CDC* pDC, const CRect& rect);

    CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
    BOOL IsSeparator() const { return (m_nStyle & TBBS_SEPARATOR) != 0; }

protected:
    // The cache of the paint in progress (null outside one, or when it could not be prepared).
    SECToolBarPaintCache* m_pDrawCache = nullptr;
};

// The command-update object of a toolbar (index = the button).
class SECToolBarCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
};

// The extras of a toolbar in the saved layout: its title and its buttons.
class SECCustomToolBarInfoEx : public SECControlBarInfoEx
{
    DECLARE_DYNCREATE(SECCustomToolBarInfoEx)
public:
    struct Record
    {
        UINT nID;                   // 0 for a separator
        std::vector<BYTE> state;    // the button's persisted state
    };
    CString m_strTitle;
    std::vector<Record> m_records;
    // The buttons were read whole. A "Buttons" value that is missing, not raw bytes, or not a
    // whole number of records leaves the bar's buttons as they are (a default toolbar keeps
    // its defined ones); a user toolbar, which has no defined buttons, takes the whole records
    // before the damage (m_records), and is not made again when there are none.
    BOOL m_bButtons = TRUE;

    void Serialize(CArchive& ar, SECDockState* pDockState) override;
    BOOL LoadState(LPCSTR lpszSection, SECDockState* pDockState) override;
    BOOL SaveState(LPCSTR lpszSection) override;

    // The "Buttons" value: per button DWORD id, BYTE n, n bytes of state.
    std::vector<BYTE> ButtonsToBytes() const;
    // FALSE when the bytes are not a whole number of records: records then holds the whole
    // records before the damage. No bytes are no buttons.
    static BOOL ButtonsFromBytes(const BYTE* pData, size_t nBytes, std::vector<Record>& records);
};

class SECCustomToolBar : public SECControlBar
{
    DECLARE_DYNCREATE(SECCustomToolBar)
public:
    SECCustomToolBar();
    ~SECCustomToolBar() override;

    // One row of a layout.
    struct Row
    {
        int nLast;          // index of the row's last element
        BOOL bSeparator;    // broken at a separator, which is its last element
        int nWidth;         // without that separator
    };

    // ---- Creation
    virtual BOOL Create(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle,
                          const RECT& rect);

    // ---- Buttons
    void SetButtons(const UINT* pIDs, int nCount);
    BOOL InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE, BOOL bNoRelayout = FALSE);
    // FALSE when a user toolbar lost its last button and was destroyed.
    BOOL RemoveButton(int nIndex, BOOL bNoRelayout = FALSE);
    // Destroys the bar, and the floating frame holding it when it held nothing else; the frame
    // the bar docks in is laid out again. The object is gone afterwards when it deletes itself.
    void DestroyBar();
    int GetButtonCount() const { return (int)m_btns.size(); }
    SECToolBarBtn* GetButton(int nIndex) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    UINT GetButtonID(int nIndex) const;
    void GetButtonRect(int nIndex, LPRECT lpRect) const;
    int GetSelectedIndex() const { return m_nSelected; }
    int GetHotIndex() const { return m_nHot; }
    // Position of the command in the image strip; the image count when absent.
    int GetImageIndex(UINT nID) const;
    // The manager's shared strip (not owned).
    void SetBitmap(HBITMAP hBitmap, const UINT* pImageIDs, UINT nImages, int cxImage, int cyImage);
    // Loads a strip of our own from a toolbar resource (type 241) and the bitmap of the same name;
    // FALSE keeps the previous one.
    BOOL LoadToolBar(LPCSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    void SetCustomizeMode(BOOL bOn);
    BOOL IsCustomizeMode() const { return m_bCustomize; }
    // The index of the non-separator button under a client point, or -1.
    int HitTest(CPoint point) const;
    void SetManager(SECToolBarManager* pManager);
    SECToolBarManager* GetToolBarManager() const;
    // Sets or clears TBBS_CHECKED on every button of this command.
    void CheckCommand(UINT nID, BOOL bCheck);

    // ---- Layout
    void WrapToolBar(int nWidth, std::vector<Row>& rows) const;
    CSize SizeOfRows(const std::vector<Row>& rows) const;
    CSize SizeToolBar(int nLength, BOOL bVert, std::vector<Row>* pRows = nullptr);
    virtual void AdjustRowWidths(std::vector<Row>& rows);
    CSize CalcLayout(int nLength, DWORD dwMode);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

    virtual BOOL IsCtrlKeyDown() const;
    virtual BOOL AcceptsDrop() const { return TRUE; }

    // ---- Customise mode: selecting, dragging and dropping buttons
    void SelectButton(int nIndex, BOOL bRepaint = TRUE);
    void DeselectButton(BOOL bRepaint = TRUE);
    // Selects the button and drags it from point (where it was pressed, client coordinates);
    // FALSE when this toolbar lost its last button and goes.
    BOOL TrackButtonDrag(int nIndex, CPoint point);
    // The drop of a drag ending at rectScreen (the button's rectangle moved with the mouse) with
    // the mouse at ptMouse: the window on top there decides where it goes. Without a mouse
    // point, the rectangle's centre.
    BOOL DropDragged(int nIndex, const CRect& rectScreen, BOOL bCopy, CPoint ptMouse);
    BOOL DropDragged(int nIndex, const CRect& rectScreen, BOOL bCopy)
    {
        return DropDragged(nIndex, rectScreen, bCopy, rectScreen.CenterPoint());
    }
    // Inserts a dropped button: rect in this bar's client coordinates; pSource/nSource the
    // dragged button (for a move it leaves its bar first).
    void DropButton(const CRect& rect, SECCustomToolBar* pSource, int nSource, BOOL bCopy);
    // The insert index for a rectangle dropped inside the rows (client coordinates).
    int DropIndex(const CRect& rect) const;

    // ---- Overrides of the bar
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    void DoPaint(CDC* pDC) override;
    // While the manager customises, a floating bar to be hidden goes at once (posted), not at the
    // next idle layout.
    void DelayShow(BOOL bShow) override;
    SECControlBarInfoEx* GetBarInfoEx() override;
    void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

    // ---- State
    BOOL m_bOwnsBitmap;
    UINT m_nImages;
    HBITMAP m_hbmImages;
    LPCSTR m_lpszResourceName;
    std::vector<UINT> m_imageIDs;
    int m_cyImage, m_cxImage;
    int m_nSepWidth;
    int m_nSelected;
    int m_nHot;
    BOOL m_bCustomize;
    BOOL m_bDragging;
    UINT m_nOrient;
    BOOL m_bDirtyFloat, m_bDirtyHorz, m_bDirtyVert;
    CSize m_sizeHorz, m_sizeVert, m_sizeFloat;
    int m_nMaxBtnWidth;
    std::vector<SECToolBarBtn*> m_btns;
    BOOL m_bNoDelayHidePending;     // "WM_NODELAYHIDE" is posted and not yet handled
    // The bar's own paint cache (owned); null while the manager's shared one serves it.
    SECToolBarPaintCache* m_pPaintCache;
    // The cache this bar paints with: its own, else the manager's, else one made for it.
    SECToolBarPaintCache* GetPaintCache();

    // The button object for a command (the manager's button map, else a plain button).
    virtual SECToolBarBtn* CreateButton(UINT nID, BOOL bSeparator);
    void MarkLayoutDirty() { m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE; }
    // The frame that gets the bar's commands and prompts.
    CWnd* GetCommandTarget() const;
    // The frames lay the bar out again; it repaints.
    void Relayout();

protected:
    void DeleteButtons();
    // Ends the selection (the customise selection, or a pressed button); the manager hears of it
    // when the customise selection was this bar's.
    void EndSelection();
    void UpdateButtonCmdUI(int nIndex);
    void SetPrompt(UINT nID);
    void TrackHot(CPoint point);
    void ClearHot();
    BOOL CanPassGroup(std::vector<Row>& rows, int nRow, int nWidest) const;
    void MoveGroup(std::vector<Row>& rows, int nRow, int nSepIndex, int nGroup) const;
    void Notify(int nCode);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Moves rectScreen with the mouse, pressed at ptStart (screen), until the button is released
    // (TRUE, ptMouse where it was released) or the drag is cancelled; a copy shows its own cursor.
    BOOL RunDragLoop(CRect& rectScreen, BOOL bCopy, CPoint ptStart, CPoint& ptMouse);
    void OnLButtonDownTB(UINT nFlags, CPoint point);
    void OnMouseMoveTB(UINT nFlags, CPoint point);
    void OnLButtonUpTB(UINT nFlags, CPoint point);
    void OnCancelModeTB();
};

// The palette of the customisation page: always in customise mode, dragged buttons are copies,
// nothing can be dropped onto it.
class SECCustomizeToolBar : public SECCustomToolBar
{
    DECLARE_DYNCREATE(SECCustomizeToolBar)
public:
    void AdjustRowWidths(std::vector<Row>&) override {}
    BOOL IsCtrlKeyDown() const override { return TRUE; }
    BOOL AcceptsDrop() const override { return FALSE; }
};

// A button that holds a child control (shown in a horizontal bar; an image button in a
// vertical one).
class SECStdToolBarBtn : public SECToolBarBtn
{
public:
    SECStdToolBarBtn();

    BOOL m_bShown;          // the control is shown (horizontal bar)
    int m_nWidth;           // the control's width
    int m_nValue2;          // the second value of the button map (the combo's dropped height)
    int m_nHeight;          // the control's height from the map
    int m_nCtrlHeight;      // the control's measured height

    void SetMode(UINT nOrient) override;
    void SetPos(int x, int y) override;
    void Invalidate(BOOL bErase = TRUE) override;
    void Init(SECCustomToolBar* pBar, const UINT_PTR* pParams) override;
    void Draw(CDC* pDC, SECToolBarPaintCache* pCache) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    // Code 257: the message in pData (a MSG) goes on to the control.
    void OnNotify(UINT nCode, const void* pData) override;
    void RecalcSize() override;
    void GetState(BYTE& nLength, BYTE* pBytes) const override;
    void SetState(BYTE nLength, const BYTE* pBytes) override;

    // A press on the control in customise mode (or with Alt), in the control's client
    // coordinates: on its right edge the control is resized, elsewhere the toolbar drags the
    // button.
    virtual void OnWndLButtonDown(UINT nFlags, CPoint point);
    // Whether a screen point lies on the control's resizing edge (its last 3 pixels).
    BOOL IsOnSizingEdge(CPoint ptScreen);
    // Tracks the right edge from ptScreen until the button is released; TRUE when the width
    // changed. The width stays within BoundWidth.
    BOOL TrackResize(CPoint ptScreen);
    // A control width as the control may have it: at least twice a scroll arrow's width, at most
    // the width of the work area of the screen the bar's frame is on.
    int BoundWidth(int nWidth) const;
    // The cursor over the control while the bar is customised: TRUE when set.
    BOOL SetCustomizeCursor();
    // Presses on the control become the toolbar's (customise mode, or Alt held).
    BOOL TakesPresses() const;
    virtual CWnd* GetWnd() = 0;
    virtual BOOL CreateWnd(CWnd* pParent, DWORD dwStyle, const RECT& rect, UINT nID) = 0;
    // Tells the toolbar (and through it the frame) through "WM_SECTOOLBARWNDNOTIFY".
    void NotifyToolBar(UINT nCode);

protected:
    void PlaceControl();
};

class SECToolBarComboBox;

// The edit part of a drop-down combo on a toolbar: Enter tells the toolbar.
class SECToolBarComboEdit : public CEdit
{
public:
    SECToolBarComboBox* m_pCombo = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class SECToolBarComboBox : public CComboBox, public SECStdToolBarBtn
{
public:
    SECToolBarComboBox();
    ~SECToolBarComboBox() override;

    // The creator for the button map.
    static SECToolBarBtn* CreateButton();

    CWnd* GetWnd() override { return this; }
    BOOL CreateWnd(CWnd* pParent, DWORD dwStyle, const RECT& rect, UINT nID) override;
    void SetMode(UINT nOrient) override;
    void RecalcSize() override;

    SECToolBarComboEdit m_edit;
    CFont m_font;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
