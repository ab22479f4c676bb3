// Menus.
#include "afxwin.h"
#include <unordered_map>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct MenuMaps
{
    std::unordered_map<HMENU, CMenu*> permanent;
    std::unordered_map<HMENU, CMenu*> temporary;
};

MenuMaps& Maps()
{
    static MenuMaps* s_pMaps = new MenuMaps;
    return *s_pMaps;
}

} // namespace

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu()
{
    DestroyMenu();
}

HMENU CMenu::GetSafeHmenu() const
{
    return m_hMenu;
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    if (hMenu == nullptr)
        return nullptr;
    auto& perm = Maps().permanent;
    auto it = perm.find(hMenu);
    return it == perm.end() ? nullptr : it->second;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (hMenu == nullptr)
        return nullptr;
    if (CMenu* pMenu = FromHandlePermanent(hMenu))
        return pMenu;
    auto& temp = Maps().temporary;
    auto it = temp.find(hMenu);
    if (it != temp.end())
        return it->second;
    CMenu* pMenu = new CMenu;
    pMenu->m_hMenu = hMenu;
    temp[hMenu] = pMenu;
    return pMenu;
}

void CMenu::DeleteTempMap()
{
    std::unordered_map<HMENU, CMenu*> temp;
    temp.swap(Maps().temporary);
    for (auto& entry : temp) {
        entry.second->m_hMenu = nullptr;
        delete entry.second;
    }
}

BOOL CMenu::Attach(HMENU hNewMenu)
{
    if (hNewMenu == nullptr)
        return FALSE;
    m_hMenu = hNewMenu;
    Maps().permanent[hNewMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != nullptr) {
        auto& perm = Maps().permanent;
        auto it = perm.find(hMenu);
        if (it != perm.end() && it->second == this)
            perm.erase(it);
    }
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) { return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName)); }
BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }
BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) { return Attach(::LoadMenuIndirectA(lpMenuTemplate)); }

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
{
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}
BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) { return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags); }
UINT CMenu::GetMenuItemCount() const
{
    int n = ::GetMenuItemCount(m_hMenu);
    return n < 0 ? 0 : (UINT)n;
}
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLen = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLen <= 0) {
        rString.Empty();
        return 0;
    }
    nLen = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBufferSetLength(nLen), nLen + 1, nFlags);
    rString.ReleaseBuffer();
    return nLen;
}
BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos)
{
    return ::GetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos)
{
    return ::SetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

CMenu* CMenu::FindPopupMenuFromID(HMENU hMenu, UINT nID)
{
    if (hMenu == nullptr)
        return nullptr;
    int nItems = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nItems; i++) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != nullptr) {
            if (CMenu* pFound = FindPopupMenuFromID(hSub, nID))
                return pFound;
        }
        else if (::GetMenuItemID(hMenu, i) == nID) {
            return FromHandlePermanent(hMenu);
        }
    }
    return nullptr;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    HWND hWndOwner = AfxGetSafeHwnd(pWnd);
    if (!AfxSeamIsActive())
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWndOwner, lpRect);

    // As the system does: the owner prepares the menu before it would open.
    if (hWndOwner != nullptr) {
        ::SendMessageA(hWndOwner, WM_INITMENU, (WPARAM)m_hMenu, 0);
        ::SendMessageA(hWndOwner, WM_INITMENUPOPUP, (WPARAM)m_hMenu, MAKELPARAM(0, FALSE));
    }
    AfxModalCall call;
    call.kind = AFX_MODAL_POPUPMENU;
    call.nType = nFlags;
    call.hWndOwner = hWndOwner;
    call.hMenu = m_hMenu;
    call.pt.x = x;
    call.pt.y = y;
    AfxSeamDescribeMenu(m_hMenu, call.menuItems);
    INT_PTR nChosen = 0;
    AfxSeamHandle(call, &nChosen);

    // A disabled item cannot be chosen.
    if (nChosen != 0) {
        UINT nState = AfxSeamMenuItemState(m_hMenu, (UINT)nChosen);
        if (nState == (UINT)-1 || (nState & (MF_DISABLED | MF_GRAYED)))
            nChosen = 0;
    }
    if (hWndOwner != nullptr)
        ::SendMessageA(hWndOwner, WM_UNINITMENUPOPUP, (WPARAM)m_hMenu, 0);
    if (nFlags & TPM_RETURNCMD)
        return (BOOL)nChosen;
    if (nChosen != 0 && !(nFlags & TPM_NONOTIFY) && hWndOwner != nullptr)
        ::PostMessageA(hWndOwner, WM_COMMAND, (WPARAM)nChosen, 0);
    return TRUE;
}
