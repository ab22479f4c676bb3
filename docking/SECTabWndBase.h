// Tab windows: a window that shows one of several client windows (views or plain child windows)
// at a time, chosen through a strip of tabs. The strip (a tab control) owns the tab records and
// tells its parent, the tab window, by the messages below when the user picks a tab. The 2D and 3D
// flavours (SECTabWnd.h, SEC3DTabWnd.h) add the geometry and the drawing.
#pragma once
#include "SECData.h"
#include <vector>

// Messages of a tab control to its parent (the 2D and 3D tab windows pass SEC_TCM_TABSEL on to
// their own parent unchanged).
#define SEC_TCM_TABSEL      0x07E8  // wParam: index of the now active tab
#define SEC_TCM_TABDBLCLK   0x07E9  // wParam: index of the double-clicked tab
#define SEC_TCM_TABSELCLR   0x07EA  // the selection was cleared

// Child ids inside a tab window.
#define SEC_IDW_TABCTRL     0xEA30  // the tab control
#define SEC_IDW_TABVIEW     0xEB00  // views made without an id: this plus the tab count
#define SEC_IDW_TABHSCROLL  0xEC00  // the 2D window's shared scroll bars
#define SEC_IDW_TABVSCROLL  0xECFF

// One tab. The client is owned by whoever made it, not by the record.
class SECTab : public CObject
{
    DECLARE_DYNCREATE(SECTab)
public:
    SECTab() = default;

    CString m_csLabel;
    int m_nWidth = 0;
    int m_nHeight = 0;
    BOOL m_bSelected = FALSE;
    CObject* m_pClient = nullptr;
    DWORD_PTR m_nData1 = 0;
    DWORD_PTR m_nData2 = 0;
};

// The strip of tabs without drawing. Every operation given an index outside [0, count) does
// nothing and answers FALSE or null.
class SECTabControlBase : public CWnd
{
    DECLARE_DYNCREATE(SECTabControlBase)
public:
    SECTabControlBase();
    ~SECTabControlBase() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual void Initialize(DWORD dwStyle);
    virtual SECTab* CreateNewTab() const;
    virtual void RecalcLayout();
    virtual void OnActivateTab(int nTab);
    virtual void DestroyGdiObjects();
    // nIndex is clamped to [0, count].
    virtual SECTab* InsertTab(int nIndex, LPCSTR lpszLabel, CObject* pClient = nullptr, DWORD_PTR nData1 = 0,
                              DWORD_PTR nData2 = 0);
    virtual SECTab* AddTab(LPCSTR lpszLabel, CObject* pClient = nullptr, DWORD_PTR nData1 = 0,
                           DWORD_PTR nData2 = 0);
    virtual BOOL SetTabIconName(int nIndex, LPCSTR lpszResourceName);
    virtual BOOL SetTabIconId(int nIndex, UINT nIDResource);
    virtual BOOL SetTabIcon(int nIndex, HICON hIcon);
    virtual BOOL DeleteTab(int nIndex);
    virtual BOOL RenameTab(int nIndex, LPCSTR lpszLabel);
    virtual BOOL ActivateTab(int nIndex);
    virtual BOOL SelectTab(int nIndex);
    virtual void ClearSelection();
    virtual BOOL ScrollToTab(int nIndex);
    virtual BOOL InvalidateTab(int nIndex);

    int GetTabCount() const;
    BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetTabCount(); }
    // The record, or null for a bad index.
    SECTab* GetTab(int nIndex) const;
    BOOL GetTabInfo(int nIndex, CString& strLabel, BOOL& bSelected, CObject*& pClient, DWORD_PTR& nData1,
                    DWORD_PTR& nData2) const;
    // The last tab holding pClient.
    BOOL FindTab(const CObject* pClient, int& nIndex) const;
    BOOL GetActiveTab(int& nIndex) const;

    void OnDestroy();
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // The library's colours are read again and the strip's brushes and pens follow.
    void OnSysColorChange();

    std::vector<SECTab*>* m_pTabArray;
    int m_nActiveTab;
    BOOL m_bActiveTab;
    HCURSOR m_hcurArrow;

protected:
    void InvalidateFrom(int nIndex);
    void DeleteAllTabs();
    // Makes the brushes and pens that hold system colours (nothing here).
    virtual void CreateColorObjects();

    DECLARE_MESSAGE_MAP()
};

// The window that pairs a tab control with the client windows.
class SECTabWndBase : public CWnd
{
    DECLARE_DYNCREATE(SECTabWndBase)
public:
    SECTabWndBase();
    ~SECTabWndBase() override;

    using CWnd::Create;
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // CWnd::Create passes its parent, style and id on.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    virtual BOOL CreateScrollBar(DWORD dwStyle, UINT nID);
    virtual BOOL CreateTabControl(DWORD dwStyle, UINT nID);
    virtual CWnd* InsertTabView(CRuntimeClass* pViewClass, int nIndex, LPCSTR lpszLabel,
                                CCreateContext* pContext = nullptr, UINT nID = (UINT)-1);
    virtual SECTab* InsertTab(CWnd* pWnd, int nIndex, LPCSTR lpszLabel);
    virtual CWnd* AddTabView(CRuntimeClass* pViewClass, LPCSTR lpszLabel, CCreateContext* pContext = nullptr,
                             UINT nID = (UINT)-1);
    virtual SECTab* AddTab(CWnd* pWnd, LPCSTR lpszLabel);
    virtual BOOL SetTabIconName(int nIndex, LPCSTR lpszResourceName);
    virtual BOOL SetTabIconId(int nIndex, UINT nIDResource);
    virtual BOOL SetTabIcon(int nIndex, HICON hIcon);
    virtual void OnTabInserted(int nIndex, DWORD dwScrollStyle);
    virtual BOOL RemoveTab(int nIndex);
    virtual BOOL RemoveTabWnd(CWnd* pWnd);
    virtual BOOL RenameTab(int nIndex, LPCSTR lpszLabel);
    virtual BOOL RenameTabWnd(CWnd* pWnd, LPCSTR lpszLabel);
    virtual BOOL ActivateTab(int nIndex);
    virtual BOOL ActivateTabWnd(CWnd* pWnd);
    virtual void ActivateTabImpl(CWnd* pWnd, int nIndex);
    virtual void ClearSelection();
    virtual BOOL ScrollToTab(int nIndex);
    virtual BOOL ScrollToTabWnd(CWnd* pWnd);
    virtual void GetInsideRect(CRect& rect) const;
    virtual void RecalcLayout();

    int GetTabCount() const;
    BOOL GetTabInfo(int nIndex, CString& strLabel, BOOL& bSelected, CWnd*& pWnd, DWORD_PTR& nData2) const;
    // The client of the active tab, null when none.
    CWnd* GetActiveTab() const;
    SECTabControlBase* GetTabControl() const { return m_pTabCtrl; }
    CWnd* GetActiveWnd() const { return m_pActiveWnd; }

    void OnDestroy();
    LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);

    SECTabControlBase* m_pTabCtrl;
    CWnd* m_pActiveWnd;

protected:
    // The client window of a tab, null for a bad index or a client that is no window.
    CWnd* ClientOf(int nIndex) const;
    // The tab window's frame is its own: the parent's client edge goes (at WM_NCCREATE).
    void TakeParentClientEdge();
    // The part of the area being painted that lies over the strip is painted by the strip.
    void InvalidateStripPart(const RECT& rectPaint);
    // The strip's SEC_TCM_TABSEL: the tab's window is shown and the parent told.
    void ForwardTabSelect(int nIndex, BOOL bInvalidate);

    DECLARE_MESSAGE_MAP()
};
