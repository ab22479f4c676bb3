// Tab records, the tab strip without drawing and the tab window base.
#include "SECTabWndBase.h"
#include "afxview.h"
#include "afxframe.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(SECTab, CObject)
IMPLEMENT_DYNCREATE(SECTabControlBase, CWnd)
IMPLEMENT_DYNCREATE(SECTabWndBase, CWnd)

// ---- SECTabControlBase ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECTabControlBase, CWnd)
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

SECTabControlBase::SECTabControlBase()
    : m_pTabArray(nullptr), m_nActiveTab(0), m_bActiveTab(FALSE), m_hcurArrow(nullptr)
{
}

SECTabControlBase::~SECTabControlBase()
{
    DeleteAllTabs();
}

void SECTabControlBase::DeleteAllTabs()
{
    if (m_pTabArray == nullptr)
        return;
    for (SECTab* pTab : *m_pTabArray)
        delete pTab;
    delete m_pTabArray;
    m_pTabArray = nullptr;
    m_bActiveTab = FALSE;
}

BOOL SECTabControlBase::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    if (!CWnd::CreateEx(0, lpszClass, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    if (m_pTabArray == nullptr)
        m_pTabArray = new std::vector<SECTab*>;
    m_hcurArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    Initialize(dwStyle);
    return TRUE;
}

void SECTabControlBase::Initialize(DWORD) {}
SECTab* SECTabControlBase::CreateNewTab() const { return new SECTab; }
void SECTabControlBase::RecalcLayout() {}
void SECTabControlBase::OnActivateTab(int) {}
void SECTabControlBase::DestroyGdiObjects() {}
BOOL SECTabControlBase::SetTabIconName(int, LPCSTR) { return FALSE; }
BOOL SECTabControlBase::SetTabIconId(int, UINT) { return FALSE; }
BOOL SECTabControlBase::SetTabIcon(int, HICON) { return FALSE; }
BOOL SECTabControlBase::ScrollToTab(int nIndex) { return IsValidIndex(nIndex); }
BOOL SECTabControlBase::InvalidateTab(int nIndex) { return IsValidIndex(nIndex); }

int SECTabControlBase::GetTabCount() const
{
    return m_pTabArray == nullptr ? 0 : (int)m_pTabArray->size();
}

SECTab* SECTabControlBase::GetTab(int nIndex) const
{
    return IsValidIndex(nIndex) ? (*m_pTabArray)[nIndex] : nullptr;
}

void SECTabControlBase::InvalidateFrom(int nIndex)
{
    for (int i = nIndex; i < GetTabCount(); i++)
        InvalidateTab(i);
}

SECTab* SECTabControlBase::InsertTab(int nIndex, LPCSTR lpszLabel, CObject* pClient, DWORD_PTR nData1,
                                     DWORD_PTR nData2)
{
    if (m_pTabArray == nullptr)
        return nullptr;
    nIndex = std::max(0, std::min(nIndex, GetTabCount()));
    SECTab* pTab = CreateNewTab();
    m_pTabArray->insert(m_pTabArray->begin() + nIndex, pTab);
    pTab->m_csLabel = lpszLabel != nullptr ? lpszLabel : "";
    pTab->m_bSelected = FALSE;
    pTab->m_pClient = pClient;
    pTab->m_nData1 = nData1;
    pTab->m_nData2 = nData2;
    // The active index keeps naming the same record.
    if (m_bActiveTab && nIndex <= m_nActiveTab)
        m_nActiveTab++;
    RecalcLayout();
    InvalidateFrom(nIndex);
    return pTab;
}

SECTab* SECTabControlBase::AddTab(LPCSTR lpszLabel, CObject* pClient, DWORD_PTR nData1, DWORD_PTR nData2)
{
    SECTab* pTab = InsertTab(GetTabCount(), lpszLabel, pClient, nData1, nData2);
    if (pTab != nullptr) {
        RecalcLayout();
        InvalidateTab(GetTabCount() - 1);
    }
    return pTab;
}

BOOL SECTabControlBase::DeleteTab(int nIndex)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    InvalidateFrom(nIndex);
    delete (*m_pTabArray)[nIndex];
    m_pTabArray->erase(m_pTabArray->begin() + nIndex);
    if (m_bActiveTab) {
        int nCount = GetTabCount();
        if (nCount == 0)
            m_bActiveTab = FALSE;
        else if (m_nActiveTab == nIndex) {
            m_bActiveTab = FALSE;
            ActivateTab(nIndex < nCount ? nIndex : nCount - 1);
        }
        else if (m_nActiveTab > nIndex)
            m_nActiveTab--;
    }
    InvalidateFrom(nIndex);
    RecalcLayout();
    return TRUE;
}

BOOL SECTabControlBase::RenameTab(int nIndex, LPCSTR lpszLabel)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    InvalidateFrom(nIndex);
    (*m_pTabArray)[nIndex]->m_csLabel = lpszLabel != nullptr ? lpszLabel : "";
    RecalcLayout();
    InvalidateFrom(nIndex);
    return TRUE;
}

BOOL SECTabControlBase::ActivateTab(int nIndex)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    if (m_bActiveTab && m_nActiveTab == nIndex)
        return TRUE;
    if (m_bActiveTab && IsValidIndex(m_nActiveTab)) {
        (*m_pTabArray)[m_nActiveTab]->m_bSelected = FALSE;
        InvalidateTab(m_nActiveTab);
    }
    m_nActiveTab = nIndex;
    m_bActiveTab = TRUE;
    (*m_pTabArray)[nIndex]->m_bSelected = TRUE;
    OnActivateTab(nIndex);
    InvalidateTab(nIndex);
    ScrollToTab(nIndex);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(SEC_TCM_TABSEL, (WPARAM)nIndex, 0);
    return TRUE;
}

BOOL SECTabControlBase::SelectTab(int nIndex)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    (*m_pTabArray)[nIndex]->m_bSelected = TRUE;
    InvalidateTab(nIndex);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(SEC_TCM_TABSEL, (WPARAM)m_nActiveTab, 0);
    return TRUE;
}

void SECTabControlBase::ClearSelection()
{
    for (int i = 0; i < GetTabCount(); i++) {
        if ((*m_pTabArray)[i]->m_bSelected) {
            InvalidateTab(i);
            (*m_pTabArray)[i]->m_bSelected = FALSE;
        }
    }
    m_bActiveTab = FALSE;
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(SEC_TCM_TABSELCLR, 0, 0);
}

BOOL SECTabControlBase::GetTabInfo(int nIndex, CString& strLabel, BOOL& bSelected, CObject*& pClient,
                                   DWORD_PTR& nData1, DWORD_PTR& nData2) const
{
    SECTab* pTab = GetTab(nIndex);
    if (pTab == nullptr)
        return FALSE;
    strLabel = pTab->m_csLabel;
    bSelected = pTab->m_bSelected;
    pClient = pTab->m_pClient;
    nData1 = pTab->m_nData1;
    nData2 = pTab->m_nData2;
    return TRUE;
}

BOOL SECTabControlBase::FindTab(const CObject* pClient, int& nIndex) const
{
    for (int i = GetTabCount() - 1; i >= 0; i--) {
        if ((*m_pTabArray)[i]->m_pClient == pClient) {
            nIndex = i;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL SECTabControlBase::GetActiveTab(int& nIndex) const
{
    nIndex = m_nActiveTab;
    return m_bActiveTab;
}

void SECTabControlBase::OnDestroy()
{
    CWnd::OnDestroy();
    DeleteAllTabs();
}

BOOL SECTabControlBase::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hcurArrow);
    return TRUE;
}

void SECTabControlBase::CreateColorObjects() {}

void SECTabControlBase::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    SECGetSysData().Update();
    CreateColorObjects();
    Invalidate();
}

// ---- SECTabWndBase --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECTabWndBase, CWnd)
    ON_WM_DESTROY()
    ON_MESSAGE(SEC_TCM_TABSEL, OnTabSelect)
END_MESSAGE_MAP()

SECTabWndBase::SECTabWndBase() : m_pTabCtrl(nullptr), m_pActiveWnd(nullptr) {}

SECTabWndBase::~SECTabWndBase()
{
    delete m_pTabCtrl;
}

BOOL SECTabWndBase::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    DWORD dwWndStyle = dwStyle & ~(WS_HSCROLL | WS_VSCROLL);
    if (m_hWnd == nullptr) {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
        if (!CWnd::CreateEx(0, lpszClass, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
            return FALSE;
    }
    return CreateTabControl(dwWndStyle, SEC_IDW_TABCTRL);
}

BOOL SECTabWndBase::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT&, CWnd* pParentWnd, UINT nID,
                           CCreateContext*)
{
    return Create(pParentWnd, dwStyle, nID);
}

BOOL SECTabWndBase::CreateScrollBar(DWORD dwStyle, UINT nID)
{
    HWND hWnd = ::CreateWindowExA(0, "SCROLLBAR", nullptr, dwStyle | WS_CHILD, 0, 0, 1, 1, m_hWnd,
                                  (HMENU)(UINT_PTR)nID, AfxGetInstanceHandle(), nullptr);
    return hWnd != nullptr;
}

BOOL SECTabWndBase::CreateTabControl(DWORD, UINT) { return FALSE; }

CWnd* SECTabWndBase::AddTabView(CRuntimeClass* pViewClass, LPCSTR lpszLabel, CCreateContext* pContext, UINT nID)
{
    return InsertTabView(pViewClass, GetTabCount(), lpszLabel, pContext, nID);
}

CWnd* SECTabWndBase::InsertTabView(CRuntimeClass* pViewClass, int nIndex, LPCSTR lpszLabel,
                                   CCreateContext* pContext, UINT nID)
{
    if (pViewClass == nullptr || m_pTabCtrl == nullptr)
        return nullptr;
    if (nID == (UINT)-1)
        nID = SEC_IDW_TABVIEW + GetTabCount();
    CWnd* pWnd = nullptr;
    try {
        pWnd = dynamic_cast<CWnd*>(pViewClass->CreateObject());
    }
    catch (CException* e) {
        e->Delete();
        pWnd = nullptr;
    }
    if (pWnd == nullptr)
        return nullptr;
    if (!pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext)) {
        // A view deletes itself when its window goes; a view whose window never came is ours.
        delete pWnd;
        return nullptr;
    }
    if (nIndex >= GetTabCount())
        AddTab(pWnd, lpszLabel);
    else
        InsertTab(pWnd, nIndex, lpszLabel);
    return pWnd;
}

SECTab* SECTabWndBase::InsertTab(CWnd* pWnd, int nIndex, LPCSTR lpszLabel)
{
    if (m_pTabCtrl == nullptr)
        return nullptr;
    nIndex = std::max(0, std::min(nIndex, GetTabCount()));
    SECTab* pTab = m_pTabCtrl->InsertTab(nIndex, lpszLabel, pWnd, 0, 0);
    if (pTab != nullptr)
        OnTabInserted(nIndex, 0);
    return pTab;
}

SECTab* SECTabWndBase::AddTab(CWnd* pWnd, LPCSTR lpszLabel)
{
    if (m_pTabCtrl == nullptr)
        return nullptr;
    SECTab* pTab = m_pTabCtrl->AddTab(lpszLabel, pWnd, 0, 0);
    if (pTab != nullptr) {
        // Only the active tab's window shows: one added behind it is hidden until activated.
        int nActive;
        if (pWnd != nullptr && pWnd->m_hWnd != nullptr && pWnd != m_pActiveWnd &&
            !(m_pTabCtrl->GetActiveTab(nActive) && nActive == GetTabCount() - 1))
            pWnd->ShowWindow(SW_HIDE);
        OnTabInserted(GetTabCount() - 1, 0);
    }
    return pTab;
}

BOOL SECTabWndBase::SetTabIconName(int nIndex, LPCSTR lpszResourceName)
{
    return m_pTabCtrl != nullptr && m_pTabCtrl->SetTabIconName(nIndex, lpszResourceName);
}

BOOL SECTabWndBase::SetTabIconId(int nIndex, UINT nIDResource)
{
    return m_pTabCtrl != nullptr && m_pTabCtrl->SetTabIconId(nIndex, nIDResource);
}

BOOL SECTabWndBase::SetTabIcon(int nIndex, HICON hIcon)
{
    return m_pTabCtrl != nullptr && m_pTabCtrl->SetTabIcon(nIndex, hIcon);
}

void SECTabWndBase::OnTabInserted(int, DWORD) {}

BOOL SECTabWndBase::RemoveTab(int nIndex)
{
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->IsValidIndex(nIndex))
        return FALSE;
    CWnd* pWnd = ClientOf(nIndex);
    if (pWnd != nullptr && pWnd == m_pActiveWnd) {
        // Hidden (not destroyed: that is the caller's) before the next tab is shown beside it.
        if (pWnd->m_hWnd != nullptr)
            pWnd->ShowWindow(SW_HIDE);
        m_pActiveWnd = nullptr;
    }
    return m_pTabCtrl->DeleteTab(nIndex);
}

BOOL SECTabWndBase::RemoveTabWnd(CWnd* pWnd)
{
    int nIndex;
    return m_pTabCtrl != nullptr && m_pTabCtrl->FindTab(pWnd, nIndex) && RemoveTab(nIndex);
}

BOOL SECTabWndBase::RenameTab(int nIndex, LPCSTR lpszLabel)
{
    return m_pTabCtrl != nullptr && m_pTabCtrl->RenameTab(nIndex, lpszLabel);
}

BOOL SECTabWndBase::RenameTabWnd(CWnd* pWnd, LPCSTR lpszLabel)
{
    int nIndex;
    return m_pTabCtrl != nullptr && m_pTabCtrl->FindTab(pWnd, nIndex) && RenameTab(nIndex, lpszLabel);
}

BOOL SECTabWndBase::ActivateTab(int nIndex)
{
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->IsValidIndex(nIndex))
        return FALSE;
    ActivateTabImpl(ClientOf(nIndex), nIndex);
    return TRUE;
}

BOOL SECTabWndBase::ActivateTabWnd(CWnd* pWnd)
{
    int nIndex;
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->FindTab(pWnd, nIndex))
        return FALSE;
    ActivateTabImpl(pWnd, nIndex);
    return TRUE;
}

void SECTabWndBase::ActivateTabImpl(CWnd* pWnd, int nIndex)
{
    if (m_pTabCtrl == nullptr || (pWnd != nullptr && pWnd == m_pActiveWnd))
        return;
    int nActive;
    if (!m_pTabCtrl->GetActiveTab(nActive) || nActive != nIndex)
        m_pTabCtrl->ActivateTab(nIndex);
    // The control's message re-entered here for the same window: the work is done.
    if (pWnd != nullptr && pWnd == m_pActiveWnd)
        return;
    SetFocus();
    if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr)
        m_pActiveWnd->ShowWindow(SW_HIDE);
    m_pActiveWnd = pWnd;
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr) {
        pWnd->SetActiveWindow();
        pWnd->ShowWindow(SW_SHOW);
        if (CView* pView = dynamic_cast<CView*>(pWnd)) {
            CFrameWnd* pFrame = GetParentFrame();
            if (pFrame != nullptr)
                pFrame->SetActiveView(pView, TRUE);
        }
        pWnd->SetFocus();
    }
    RecalcLayout();
    Invalidate(TRUE);
}

void SECTabWndBase::ClearSelection()
{
    if (m_pTabCtrl != nullptr)
        m_pTabCtrl->ClearSelection();
}

BOOL SECTabWndBase::ScrollToTab(int nIndex)
{
    return m_pTabCtrl != nullptr && m_pTabCtrl->ScrollToTab(nIndex);
}

BOOL SECTabWndBase::ScrollToTabWnd(CWnd* pWnd)
{
    int nIndex;
    return m_pTabCtrl != nullptr && m_pTabCtrl->FindTab(pWnd, nIndex) && ScrollToTab(nIndex);
}

void SECTabWndBase::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
}

void SECTabWndBase::RecalcLayout() {}

int SECTabWndBase::GetTabCount() const
{
    return m_pTabCtrl == nullptr ? 0 : m_pTabCtrl->GetTabCount();
}

BOOL SECTabWndBase::GetTabInfo(int nIndex, CString& strLabel, BOOL& bSelected, CWnd*& pWnd,
                               DWORD_PTR& nData2) const
{
    CObject* pClient = nullptr;
    DWORD_PTR nData1 = 0;
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->GetTabInfo(nIndex, strLabel, bSelected, pClient, nData1, nData2))
        return FALSE;
    pWnd = dynamic_cast<CWnd*>(pClient);
    return TRUE;
}

CWnd* SECTabWndBase::GetActiveTab() const
{
    int nIndex;
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->GetActiveTab(nIndex))
        return nullptr;
    return ClientOf(nIndex);
}

CWnd* SECTabWndBase::ClientOf(int nIndex) const
{
    SECTab* pTab = m_pTabCtrl == nullptr ? nullptr : m_pTabCtrl->GetTab(nIndex);
    return pTab == nullptr ? nullptr : dynamic_cast<CWnd*>(pTab->m_pClient);
}

void SECTabWndBase::OnDestroy()
{
    if (m_pTabCtrl != nullptr) {
        if (m_pTabCtrl->m_hWnd != nullptr)
            m_pTabCtrl->DestroyWindow();
        delete m_pTabCtrl;
        m_pTabCtrl = nullptr;
    }
    m_pActiveWnd = nullptr;
    CWnd::OnDestroy();
}

void SECTabWndBase::TakeParentClientEdge()
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr && (pParent->GetExStyle() & WS_EX_CLIENTEDGE))
        pParent->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
}

void SECTabWndBase::InvalidateStripPart(const RECT& rectPaint)
{
    if (m_pTabCtrl == nullptr || m_pTabCtrl->m_hWnd == nullptr)
        return;
    CRect rectStrip, rectAnd;
    m_pTabCtrl->GetWindowRect(&rectStrip);
    ScreenToClient(&rectStrip);
    if (rectAnd.IntersectRect(&rectStrip, &rectPaint)) {
        rectAnd.OffsetRect(-rectStrip.left, -rectStrip.top);
        m_pTabCtrl->RedrawWindow(&rectAnd, nullptr, RDW_INVALIDATE);
    }
}

void SECTabWndBase::ForwardTabSelect(int nIndex, BOOL bInvalidate)
{
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->IsValidIndex(nIndex))
        return;
    ActivateTabImpl(ClientOf(nIndex), nIndex);
    if (bInvalidate)
        Invalidate(TRUE);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(SEC_TCM_TABSEL, (WPARAM)nIndex, 0);
}

LRESULT SECTabWndBase::OnTabSelect(WPARAM wParam, LPARAM)
{
    if (m_pTabCtrl != nullptr && m_pTabCtrl->IsValidIndex((int)wParam))
        ActivateTabImpl(ClientOf((int)wParam), (int)wParam);
    return 0;
}
