// Push buttons that draw themselves without flicker: the owner-draw base (3D frame, focus and
// disabled look drawn off-screen), bitmap buttons whose greys follow the system colours, menu
// buttons that drop a menu, and colour-well buttons that open a popup grid of colours.
#pragma once
#include "SECData.h"
#include "afxctrl.h"
#include "afxmenu.h"

class SECPopupColorWell;

// Messages of the colour wells: a colour was chosen (wParam the reporting control's id, 0 from a
// popup well; lParam the COLORREF), and "&Other..." was chosen in a popup well.
#define SEC_WM_COLORCHOSEN  (WM_USER + 101)
#define SEC_WM_MORECOLORS   (WM_USER + 102)

class SECOwnerDrawButton : public CButton
{
    DECLARE_DYNAMIC(SECOwnerDrawButton)
public:
    SECOwnerDrawButton();
    ~SECOwnerDrawButton() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    // Subclasses the dialog's control nID (made owner-drawn).
    virtual BOOL AttachButton(UINT nID, CWnd* pParentWnd);
    using CButton::Create;
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
    virtual void OnClicked();
    virtual void PrepareDC(CDC* pDC, CDC* pMemDC);
    virtual void RestoreDC(CDC* pDC, CDC* pMemDC);
    virtual void DrawDisabled(CDC* pDC, int nWidth, int nHeight);
    virtual void DrawFocusRect(CDC* pDC, CRect& rect);
    virtual void DrawFocus(CDC* pDC, LPDRAWITEMSTRUCT lpDIS);
    // Fills and frames the item; rect gets what is left inside the frame.
    virtual void DrawFrame(CRect& rect, CDC* pDC, LPDRAWITEMSTRUCT lpDIS);
    virtual void DrawContent(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, CRect& rect);

    BOOL m_bNewLook;

    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysColorChange();

protected:
    DECLARE_MESSAGE_MAP()
};

// Alignments of a bitmap button's image against its caption.
enum SECBitmapAlign
{
    SEC_BMP_LEFT = 0,
    SEC_BMP_RIGHT = 1,
    SEC_BMP_TOP = 2,
    SEC_BMP_BOTTOM = 3,
    SEC_BMP_CENTER = 4,     // no caption
};

class SECBitmapButton : public SECOwnerDrawButton
{
    DECLARE_DYNAMIC(SECBitmapButton)
public:
    SECBitmapButton();

    using SECOwnerDrawButton::AttachButton;
    using SECOwnerDrawButton::Create;
    virtual BOOL AttachButton(UINT nID, int nAlign, LPCSTR lpszBitmap, CWnd* pParentWnd);
    virtual BOOL AttachButton(UINT nID, int nAlign, UINT nIDBitmap, CWnd* pParentWnd);
    virtual BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, int nAlign, UINT nIDBitmap, const RECT& rect,
                        CWnd* pParentWnd, UINT nID);
    virtual BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, int nAlign, LPCSTR lpszBitmap, const RECT& rect,
                        CWnd* pParentWnd, UINT nID);
    virtual void RecalcLayout();

    void DrawContent(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, CRect& rect) override;
    void DrawFocusRect(CDC* pDC, CRect& rect) override;

    // Library-wide margins between the bitmap and the button's edge.
    static int s_nMarginX, s_nMarginY;

    LPCSTR m_lpszBitmap;        // a name or MAKEINTRESOURCE of an id
    CBitmap m_bitmap;
    int m_nMarginX, m_nMarginY;
    CRect m_rectBitmap;
    CRect m_rectText;
    int m_nAlign;

    void OnSysColorChange();
    void OnSize(UINT nType, int cx, int cy);

protected:
    BOOL LoadBitmap();
    // Keeps the resource (a name is copied) and the alignment, and loads the bitmap.
    BOOL SetBitmapResource(LPCSTR lpszBitmap, int nAlign);
    CString m_strBitmapName;    // keeps a name given as text

    DECLARE_MESSAGE_MAP()
};

class SECMenuButton : public SECBitmapButton
{
    DECLARE_DYNAMIC(SECMenuButton)
public:
    SECMenuButton();

    using SECBitmapButton::AttachButton;
    // nDirection 0: the menu opens below the button; 1: to its right.
    virtual BOOL AttachButton(UINT nID, CWnd* pParentWnd, UINT nIDMenu, int nDirection = 0);
    virtual BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, UINT nIDMenu, int nDirection, const RECT& rect,
                        CWnd* pParentWnd, UINT nID);
    // Loads the menu; answers the alignment (arrow right of a caption, centred without one).
    virtual int PrepareMenu(LPCSTR lpszCaption, UINT nIDMenu, int nDirection, UINT& nIDBitmap);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void OnClicked() override;

    CMenu m_menu;
    int m_nDirection;
    BOOL m_bDrawEnabled;
};

class SECWellButton : public SECOwnerDrawButton
{
    DECLARE_DYNAMIC(SECWellButton)
public:
    SECWellButton();
    ~SECWellButton() override;

    virtual void DropDown();
    virtual void CreatePalette();
    virtual DWORD GetColorDialogFlags() const;

    void SetColor(COLORREF clr);
    COLORREF GetColor() const;
    void SetUsePalette(BOOL bUse) { m_bUsePalette = bUse; }
    void SetShowOtherButton(BOOL bShow) { m_bShowOther = bShow; }
    BOOL IsPopupUp() const;

    void OnClicked() override;
    void PrepareDC(CDC* pDC, CDC* pMemDC) override;
    void RestoreDC(CDC* pDC, CDC* pMemDC) override;
    void DrawFocusRect(CDC* pDC, CRect& rect) override;
    void DrawContent(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, CRect& rect) override;

    LRESULT OnColorSelected(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoreColors(WPARAM wParam, LPARAM lParam);

    SECPopupColorWell* m_pPopup;
    CPalette m_palette;
    HPALETTE m_hOldPalette, m_hOldMemPalette;
    BOOL m_bUsePalette;
    BOOL m_bShowOther;

protected:
    DECLARE_MESSAGE_MAP()
};
