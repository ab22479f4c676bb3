// The toolbar manager.
#include "SECToolBarMgr.h"
#include "SECBitmap.h"
#include "SECDockBar.h"
#include <algorithm>
#include <cstdio>

// ---- SECToolBarResource ---------------------------------------------------------------------

BOOL SECToolBarResource::LoadIDs(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEA(241));
    HRSRC hResource = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(241));
    if (hResource == nullptr)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hResource);
    const BYTE* pData = hGlobal != nullptr ? (const BYTE*)::LockResource(hGlobal) : nullptr;
    size_t nSize = ::SizeofResource(hInst, hResource);
    if (pData == nullptr || nSize < 8)
        return FALSE;
    auto word = [pData](size_t i) { return (UINT)pData[2 * i] | ((UINT)pData[2 * i + 1] << 8); };
    UINT nCount = word(3);
    if (word(0) != 1 || 8 + 2 * (size_t)nCount > nSize)
        return FALSE;
    m_cxImage = (int)word(1);
    m_cyImage = (int)word(2);
    m_ids.clear();
    m_imageIDs.clear();
    for (UINT i = 0; i < nCount; i++) {
        UINT nID = word(4 + i);
        m_ids.push_back(nID);
        if (nID != 0)
            m_imageIDs.push_back(nID);
    }
    return TRUE;
}

BOOL SECToolBarResource::Load(LPCSTR lpszResourceName)
{
    if (!LoadIDs(lpszResourceName))
        return FALSE;
    return SECLoadSysColorBitmap(m_bitmap, lpszResourceName);
}

// ---- SECToolBarManager ----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECToolBarManager, SECControlBarManager)

SECToolBarManager::SECToolBarManager(CFrameWnd* pFrameWnd)
    : SECControlBarManager(pFrameWnd), m_pSelectedToolBar(nullptr), m_pToolBarClass(RUNTIME_CLASS(SECCustomToolBar)),
      m_hWndCustomize(nullptr), m_bCustomizing(FALSE), m_bCustomizeMode(FALSE), m_bToolTips(TRUE), m_bFlyBy(TRUE),
      m_bCoolLook(FALSE), m_dwCoolLookBits(CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER), m_bLargeButtons(FALSE),
      m_bButtonRectValid(FALSE), m_pBtnMap(nullptr), m_rectButton(0, 0, 0, 0), m_stripColors{}, m_lpszResource(nullptr),
      m_lpszLargeResource(nullptr), m_cyImage(15), m_cxImage(16)
{
    SECRegisterMessages();
}

SECToolBarManager::~SECToolBarManager() = default;

void SECToolBarManager::DefineDefaultToolBar(UINT nID, LPCSTR lpszTitle, UINT nCount, const UINT* pIDs,
                                             DWORD dwDockStyle, UINT nDockBarID, UINT nDockAfterID, BOOL bDocked,
                                             BOOL bVisible)
{
    DefaultToolBar record;
    record.nID = nID;
    record.strTitle = lpszTitle != nullptr ? lpszTitle : "";
    if (pIDs != nullptr)
        record.ids.assign(pIDs, pIDs + nCount);
    record.dwDockStyle = dwDockStyle;
    record.nDockBarID = nDockBarID;
    record.nDockAfterID = nDockAfterID;
    record.bDocked = bDocked;
    record.bVisible = bVisible;
    m_defaults.push_back(record);
}

BOOL SECToolBarManager::GetDefaultButtons(UINT nID, UINT& nCount, const UINT*& pIDs) const
{
    for (const DefaultToolBar& record : m_defaults) {
        if (record.nID == nID) {
            nCount = (UINT)record.ids.size();
            pIDs = record.ids.data();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL SECToolBarManager::LoadBitmap()
{
    LPCSTR lpszName = (m_bLargeButtons && m_lpszLargeResource != nullptr) ? m_lpszLargeResource : m_lpszResource;
    if (lpszName == nullptr)
        return FALSE;
    SECToolBarResource res;
    if (!res.Load(lpszName))
        return FALSE;
    m_bitmap.DeleteObject();
    m_bitmap.Attach(res.m_bitmap.Detach());
    m_imageIDs = res.m_imageIDs;
    m_cxImage = res.m_cxImage;
    m_cyImage = res.m_cyImage;
    m_stripColors = SECSysColorBitmapColors();
    return TRUE;
}

BOOL SECToolBarManager::SetToolBarResource(LPCSTR lpszName, LPCSTR lpszLargeName)
{
    m_lpszResource = lpszName;
    m_lpszLargeResource = lpszLargeName;
    return LoadBitmap();
}

void SECToolBarManager::ApplyBitmap(SECCustomToolBar* pBar)
{
    if (pBar != nullptr)
        pBar->SetBitmap((HBITMAP)m_bitmap.GetSafeHandle(), m_imageIDs.data(), (UINT)m_imageIDs.size(), m_cxImage,
                        m_cyImage);
}

namespace {

struct StripSearch
{
    HBITMAP hStrip;
    const SECToolBarManager* pManager;
    std::vector<SECCustomToolBar*>* pBars;
};

BOOL CALLBACK CollectStripUser(HWND hWnd, LPARAM lParam)
{
    const auto* pSearch = (const StripSearch*)lParam;
    auto* pBar = dynamic_cast<SECCustomToolBar*>(CWnd::FromHandlePermanent(hWnd));
    if (pBar != nullptr && !pBar->m_bOwnsBitmap && pBar->m_hbmImages == pSearch->hStrip &&
        pBar->GetToolBarManager() == pSearch->pManager)
        pSearch->pBars->push_back(pBar);
    return TRUE;
}

BOOL CALLBACK CollectStripUsersIn(HWND hWnd, LPARAM lParam)
{
    CollectStripUser(hWnd, lParam);
    ::EnumChildWindows(hWnd, CollectStripUser, lParam);
    return TRUE;
}

} // namespace

std::vector<SECCustomToolBar*> SECToolBarManager::BarsShowingStrip() const
{
    std::vector<SECCustomToolBar*> bars;
    HBITMAP hStrip = GetBitmap();
    if (hStrip == nullptr)
        return bars;
    DWORD dwThread = ::GetCurrentThreadId();
    if (m_pFrameWnd != nullptr && m_pFrameWnd->m_hWnd != nullptr)
        dwThread = ::GetWindowThreadProcessId(m_pFrameWnd->m_hWnd, nullptr);
    StripSearch search{hStrip, this, &bars};
    ::EnumThreadWindows(dwThread, CollectStripUsersIn, (LPARAM)&search);
    return bars;
}

BOOL SECToolBarManager::ReloadStrip()
{
    // Found before the old strip goes: a palette of an open customisation page shows it too.
    std::vector<SECCustomToolBar*> bars = BarsShowingStrip();
    if (!LoadBitmap())
        return FALSE;
    for (SECCustomToolBar* pBar : GetToolBars())
        if (std::find(bars.begin(), bars.end(), pBar) == bars.end())
            bars.push_back(pBar);
    for (SECCustomToolBar* pBar : bars)
        ApplyBitmap(pBar);
    return TRUE;
}

void SECToolBarManager::ReloadBitmap()
{
    if (m_lpszResource == nullptr || SECSysColorBitmapColors() == m_stripColors)
        return;
    ReloadStrip();
}

std::vector<SECCustomToolBar*> SECToolBarManager::GetToolBars() const
{
    std::vector<SECCustomToolBar*> bars;
    if (m_pFrameWnd == nullptr)
        return bars;
    POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = dynamic_cast<SECCustomToolBar*>((CControlBar*)m_pFrameWnd->m_listControlBars.GetNext(pos));
        // Palettes of the customisation page are never among the frame's bars.
        if (pBar != nullptr && pBar->m_hWnd != nullptr && !pBar->IsKindOf(RUNTIME_CLASS(SECCustomizeToolBar)))
            bars.push_back(pBar);
    }
    return bars;
}

DWORD SECToolBarManager::GetToolBarStyle() const
{
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC;
    if (m_bFlyBy)
        dwStyle |= CBRS_FLYBY;
    if (m_bToolTips)
        dwStyle |= CBRS_TOOLTIPS;
    return dwStyle;
}

SECCustomToolBar* SECToolBarManager::NewToolBar(UINT nID, LPCSTR lpszTitle)
{
    if (m_pFrameWnd == nullptr || m_pToolBarClass == nullptr)
        return nullptr;
    auto* pBar = dynamic_cast<SECCustomToolBar*>(m_pToolBarClass->CreateObject());
    if (pBar == nullptr)
        return nullptr;
    pBar->SetManager(this);
    if (!pBar->Create(GetToolBarExStyle(), m_pFrameWnd, GetToolBarStyle(), nID, lpszTitle)) {
        delete pBar;
        return nullptr;
    }
    pBar->m_bAutoDelete = TRUE;
    ApplyBitmap(pBar);
    return pBar;
}

void SECToolBarManager::CreateDefaultToolBars()
{
    if (m_pFrameWnd == nullptr)
        return;
    std::vector<SECCustomToolBar*> made;
    for (const DefaultToolBar& record : m_defaults) {
        SECCustomToolBar* pBar = NewToolBar(record.nID, record.strTitle);
        if (pBar == nullptr)
            return;
        pBar->SetButtons(record.ids.data(), (int)record.ids.size());
        pBar->EnableDocking(record.dwDockStyle);
        made.push_back(pBar);
        CControlBar* pAfter = nullptr;
        if (record.nDockAfterID != 0) {
            for (size_t i = 0; i + 1 < made.size() && pAfter == nullptr; i++)
                if (m_defaults[i].nID == record.nDockAfterID)
                    pAfter = made[i];
        }
        if (pAfter != nullptr && pAfter->m_hWnd != nullptr) {
            m_pFrameWnd->RecalcLayout();
            CRect rect;
            pAfter->GetWindowRect(&rect);
            if (record.nDockBarID == AFX_IDW_DOCKBAR_TOP || record.nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
                rect.OffsetRect(1, 0);
            else
                rect.OffsetRect(0, 1);
            m_pFrameWnd->DockControlBar(pBar, record.nDockBarID, &rect);
        }
        else {
            m_pFrameWnd->DockControlBar(pBar, record.nDockBarID);
        }
    }
    m_pFrameWnd->RecalcLayout();
    for (size_t i = 0; i < made.size(); i++) {
        if (!m_defaults[i].bVisible)
            m_pFrameWnd->ShowControlBar(made[i], FALSE, FALSE);
        if (!m_defaults[i].bDocked && made[i]->m_pDockContext != nullptr)
            made[i]->m_pDockContext->ToggleDocking();
    }
}

SECCustomToolBar* SECToolBarManager::CreateUserToolBar(LPCSTR lpszTitle)
{
    if (m_pFrameWnd == nullptr)
        return nullptr;
    std::vector<SECCustomToolBar*> bars = GetToolBars();
    UINT nID = SEC_IDW_USERTOOLBAR_FIRST;
    for (; nID <= SEC_IDW_USERTOOLBAR_LAST; nID++) {
        bool bUsed = false;
        for (SECCustomToolBar* pBar : bars)
            if ((UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID)
                bUsed = true;
        if (!bUsed)
            break;
    }
    if (nID > SEC_IDW_USERTOOLBAR_LAST)
        return nullptr;
    CString strTitle;
    if (lpszTitle != nullptr && *lpszTitle != '\0')
        strTitle = CString(lpszTitle).Left(127);
    else
        strTitle.Format("ToolBar%d", (int)nID - 59423);
    SECCustomToolBar* pBar = NewToolBar(nID, strTitle);
    if (pBar == nullptr)
        return nullptr;
    pBar->SetCustomizeMode(m_bCustomizeMode);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}

void SECToolBarManager::EnableToolTips(BOOL bEnable)
{
    bEnable = bEnable != FALSE;
    if (bEnable == m_bToolTips)
        return;
    m_bToolTips = bEnable;
    for (SECCustomToolBar* pBar : GetToolBars()) {
        DWORD dwStyle = pBar->GetBarStyle();
        pBar->SetBarStyle(bEnable ? (dwStyle | CBRS_TOOLTIPS) : (dwStyle & ~CBRS_TOOLTIPS));
    }
}

void SECToolBarManager::EnableCoolLook(BOOL bEnable, DWORD dwExStyle)
{
    bEnable = bEnable != FALSE;
    if (bEnable == m_bCoolLook)
        return;
    m_bCoolLook = bEnable;
    m_dwCoolLookBits = dwExStyle;
    for (SECCustomToolBar* pBar : GetToolBars()) {
        pBar->ModifyExBarStyle(bEnable ? 0 : dwExStyle, bEnable ? dwExStyle : 0, FALSE);
        pBar->MarkLayoutDirty();
        if (dwExStyle & CBRS_EX_FLATLOOK)
            pBar->Invalidate();
    }
    if (m_pFrameWnd != nullptr && m_pFrameWnd->m_hWnd != nullptr)
        m_pFrameWnd->DelayRecalcLayout();
}

BOOL SECToolBarManager::EnableLargeButtons(BOOL bEnable)
{
    bEnable = bEnable != FALSE;
    if (bEnable == m_bLargeButtons)
        return TRUE;
    BOOL bOld = m_bLargeButtons;
    m_bLargeButtons = bEnable;
    if (m_lpszResource != nullptr && !ReloadStrip()) {
        m_bLargeButtons = bOld;
        return FALSE;
    }
    std::vector<SECCustomToolBar*> bars = GetToolBars();
    for (SECCustomToolBar* pBar : bars) {
        if (pBar->IsFloating()) {
            if (CFrameWnd* pFrame = pBar->GetParentFrame())
                pFrame->RecalcLayout();
        }
    }
    if (!bars.empty() && m_pFrameWnd != nullptr)
        m_pFrameWnd->DelayRecalcLayout();
    return TRUE;
}

void SECToolBarManager::BeginCustomize()
{
    if (m_bCustomizing || m_pFrameWnd == nullptr || m_pFrameWnd->m_hWnd == nullptr)
        return;
    m_bCustomizing = TRUE;
    m_pFrameWnd->EnableWindow(TRUE);
    for (HWND hWnd = ::GetWindow(m_pFrameWnd->m_hWnd, GW_CHILD); hWnd != nullptr;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CDockBar)))
            continue;
        if (::IsWindowEnabled(hWnd)) {
            ::EnableWindow(hWnd, FALSE);
            m_disabled.push_back(hWnd);
        }
    }
}

void SECToolBarManager::EndCustomize()
{
    if (!m_bCustomizing)
        return;
    m_bCustomizing = FALSE;
    if (m_pFrameWnd != nullptr && m_pFrameWnd->m_hWnd != nullptr)
        m_pFrameWnd->EnableWindow(FALSE);
    for (HWND hWnd : m_disabled)
        if (::IsWindow(hWnd))
            ::EnableWindow(hWnd, TRUE);
    m_disabled.clear();
}

void SECToolBarManager::SetCustomizeMode(BOOL bOn)
{
    m_bCustomizeMode = bOn;
    for (SECCustomToolBar* pBar : GetToolBars())
        pBar->SetCustomizeMode(bOn);
}

BOOL SECToolBarManager::GetCustomizeWindowRect(CRect& rect) const
{
    if (m_hWndCustomize == nullptr || !::IsWindow(m_hWndCustomize)) {
        rect.SetRectEmpty();
        return FALSE;
    }
    ::GetWindowRect(m_hWndCustomize, &rect);
    return TRUE;
}

void SECToolBarManager::AddNotifyWindow(CWnd* pWnd)
{
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr &&
        std::find(m_notify.begin(), m_notify.end(), pWnd->m_hWnd) == m_notify.end())
        m_notify.push_back(pWnd->m_hWnd);
}

void SECToolBarManager::RemoveNotifyWindow(CWnd* pWnd)
{
    if (pWnd != nullptr)
        m_notify.erase(std::remove(m_notify.begin(), m_notify.end(), pWnd->m_hWnd), m_notify.end());
}

void SECToolBarManager::NotifyBarWindow(UINT nBarID, int nCode)
{
    // Windows destroyed without unregistering are forgotten.
    m_notify.erase(std::remove_if(m_notify.begin(), m_notify.end(), [](HWND h) { return !::IsWindow(h); }),
                   m_notify.end());
    std::vector<HWND> targets = m_notify;
    for (HWND hWnd : targets)
        if (::IsWindow(hWnd))
            ::SendMessageA(hWnd, wmSECBarNotify, nBarID, nCode);
}

BOOL SECToolBarManager::IsOverCustomizeWindow(CPoint ptScreen) const
{
    if (m_hWndCustomize == nullptr || !::IsWindow(m_hWndCustomize))
        return FALSE;
    HWND hWnd = ::WindowFromPoint(ptScreen);
    return hWnd != nullptr && (hWnd == m_hWndCustomize || ::IsChild(m_hWndCustomize, hWnd));
}

namespace {

// Whether the window (or one inside it) is what the screen shows at a corner or the centre of
// the rectangle.
BOOL ShowsIn(HWND hWnd, const CRect& rect)
{
    const CPoint points[] = {rect.TopLeft(), CPoint(rect.right - 1, rect.top), CPoint(rect.left, rect.bottom - 1),
                             CPoint(rect.right - 1, rect.bottom - 1), rect.CenterPoint()};
    for (const CPoint& pt : points) {
        HWND hAt = ::WindowFromPoint(pt);
        if (hAt != nullptr && (hAt == hWnd || ::IsChild(hWnd, hAt)))
            return TRUE;
    }
    return FALSE;
}

} // namespace

SECCustomToolBar* SECToolBarManager::FindToolBarAt(const CRect& rectScreen) const
{
    for (SECCustomToolBar* pBar : GetToolBars()) {
        if (!pBar->IsWindowVisible())
            continue;
        CWnd* pShown = pBar;
        if (pBar->IsFloating() && pBar->GetParentFrame() != nullptr)
            pShown = pBar->GetParentFrame();
        CRect rect;
        pShown->GetWindowRect(&rect);
        CRect rectMeet;
        if (rectMeet.IntersectRect(&rect, &rectScreen) && ShowsIn(pShown->m_hWnd, rectMeet))
            return pBar;
    }
    return nullptr;
}

void SECToolBarManager::SetButtonRect(BOOL bValid, const CRect& rect)
{
    m_bButtonRectValid = bValid;
    m_rectButton = bValid ? rect : CRect(0, 0, 0, 0);
}

BOOL SECToolBarManager::GetButtonRect(CRect& rect) const
{
    rect = m_rectButton;
    return m_bButtonRectValid;
}

void SECToolBarManager::BroadcastButtonNotify(UINT nID, UINT nCode, const void* pData)
{
    for (SECCustomToolBar* pBar : GetToolBars())
        for (int i = 0; i < pBar->GetButtonCount(); i++)
            if (pBar->GetButtonID(i) == nID && !pBar->GetButton(i)->IsSeparator())
                pBar->GetButton(i)->OnNotify(nCode, pData);
}

void SECToolBarManager::CheckCommand(UINT nID, BOOL bCheck)
{
    for (SECCustomToolBar* pBar : GetToolBars())
        pBar->CheckCommand(nID, bCheck);
}

void SECToolBarManager::SaveState(LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    CString strSection;
    strSection.Format("%s-ToolBarManager", lpszProfileName);
    pApp->WriteProfileInt(strSection, "ToolTips", m_bToolTips);
    pApp->WriteProfileInt(strSection, "CoolLook", m_bCoolLook);
    pApp->WriteProfileInt(strSection, "LargeButtons", m_bLargeButtons);
}

void SECToolBarManager::LoadState(LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    CString strSection;
    strSection.Format("%s-ToolBarManager", lpszProfileName);
    BOOL bToolTips = pApp->GetProfileInt(strSection, "ToolTips", m_bToolTips) != 0;
    BOOL bCoolLook = pApp->GetProfileInt(strSection, "CoolLook", m_bCoolLook) != 0;
    BOOL bLarge = pApp->GetProfileInt(strSection, "LargeButtons", m_bLargeButtons) != 0;
    EnableToolTips(bToolTips);
    EnableCoolLook(bCoolLook, CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER);
    EnableLargeButtons(bLarge);
    std::vector<SECCustomToolBar*> bars = GetToolBars();
    for (SECCustomToolBar* pBar : bars)
        pBar->SetManager(this);
    if (bars.empty())
        CreateDefaultToolBars();
}

DWORD SECToolBarManager::GetBarTypeID(CControlBar* pBar)
{
    if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)))
        return SEC_TOOLBAR_TYPEID;
    return SECControlBarManager::GetBarTypeID(pBar);
}

SECControlBarInfoEx* SECToolBarManager::CreateBarInfoEx(SECControlBarInfo* pInfo)
{
    if (pInfo != nullptr && pInfo->m_dwTypeID == SEC_TOOLBAR_TYPEID)
        return new SECCustomToolBarInfoEx;
    return SECControlBarManager::CreateBarInfoEx(pInfo);
}

CControlBar* SECToolBarManager::CreateBar(SECControlBarInfo* pInfo)
{
    if (pInfo == nullptr || pInfo->m_dwTypeID != SEC_TOOLBAR_TYPEID)
        return SECControlBarManager::CreateBar(pInfo);
    // A user toolbar whose saved buttons are damaged before their first whole record would be an
    // empty frame on the screen: it is not made again.
    auto* pInfoEx = dynamic_cast<SECCustomToolBarInfoEx*>(pInfo->m_pInfoEx);
    if (pInfo->m_nBarID >= SEC_IDW_USERTOOLBAR_FIRST && pInfoEx != nullptr && !pInfoEx->m_bButtons &&
        pInfoEx->m_records.empty())
        return nullptr;
    SECCustomToolBar* pBar = NewToolBar(pInfo->m_nBarID, nullptr);
    if (pBar == nullptr)
        return nullptr;
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}
