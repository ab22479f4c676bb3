// Keyboard shortcuts the user can reassign.
#include "SECAccel.h"
#include <algorithm>
#include <cstring>
#include <set>

// ---- Hot-key codes and key names ----------------------------------------------------------------

BOOL SECIsExtendedKey(UINT nVirtKey)
{
    return (nVirtKey >= 33 && nVirtKey <= 47) || (nVirtKey >= 91 && nVirtKey <= 93) || nVirtKey == 111;
}

WORD AccelToHotKey(const ACCEL& accel)
{
    WORD wFlags = 0;
    if (accel.fVirt & FALT)
        wFlags |= SEC_HOTKEYF_ALT;
    if (accel.fVirt & FCONTROL)
        wFlags |= SEC_HOTKEYF_CONTROL;
    if (accel.fVirt & FSHIFT)
        wFlags |= SEC_HOTKEYF_SHIFT;
    if (SECIsExtendedKey(accel.key))
        wFlags |= SEC_HOTKEYF_EXT;
    return (WORD)((wFlags << 8) | (accel.key & 0xFF));
}

void HotKeyToAccel(WORD wHotKey, ACCEL& accel)
{
    BYTE flags = HIBYTE(wHotKey);
    accel.fVirt = FVIRTKEY | FNOINVERT;
    if (flags & SEC_HOTKEYF_CONTROL)
        accel.fVirt |= FCONTROL;
    if (flags & SEC_HOTKEYF_ALT)
        accel.fVirt |= FALT;
    if (flags & SEC_HOTKEYF_SHIFT)
        accel.fVirt |= FSHIFT;
    accel.key = LOBYTE(wHotKey);
}

CString GetVirtualKeyName(UINT nVirtKey, BOOL bExtended)
{
    UINT nScan = ::MapVirtualKeyA(nVirtKey, 0 /* MAPVK_VK_TO_VSC */);
    LONG lParam = (LONG)((nScan << 16) | 1);
    if (bExtended)
        lParam |= 1L << 24;
    char szName[64] = "";
    ::GetKeyNameTextA(lParam, szName, sizeof szName);
    return szName;
}

CString GetKeyText(WORD wHotKey)
{
    if (wHotKey == 0)
        return CString();
    BYTE flags = HIBYTE(wHotKey);
    CString text;
    if (flags & SEC_HOTKEYF_CONTROL)
        text += GetVirtualKeyName(VK_CONTROL, FALSE) + "+";
    if (flags & SEC_HOTKEYF_ALT)
        text += GetVirtualKeyName(VK_MENU, FALSE) + "+";
    if (flags & SEC_HOTKEYF_SHIFT)
        text += GetVirtualKeyName(VK_SHIFT, FALSE) + "+";
    text += GetVirtualKeyName(LOBYTE(wHotKey), (flags & SEC_HOTKEYF_EXT) != 0);
    return text;
}

CString SECCleanMenuText(LPCSTR lpszText)
{
    CString text = lpszText != nullptr ? lpszText : "";
    for (LPCSTR lpszCut : {"...", "(&", "\t"}) {
        int n = text.Find(lpszCut);
        if (n >= 0)
            text = text.Left(n);
    }
    int nAmp = text.Find('&');
    if (nAmp >= 0)
        text = text.Left(nAmp) + text.Mid(nAmp + 1);
    return text;
}

namespace {

CFrameWnd* MainFrame(CFrameWnd* pFrame)
{
    if (pFrame != nullptr)
        return pFrame;
    return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
}

CString MenuItemText(HMENU hMenu, int nPos, int nMax)
{
    std::vector<char> buffer((size_t)nMax + 1, '\0');
    ::GetMenuStringA(hMenu, (UINT)nPos, buffer.data(), nMax + 1, MF_BYPOSITION);
    return buffer.data();
}

} // namespace

// ---- SECCommandList -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECCommandList, CObject)

SECCommandList::SECCommandList(CFrameWnd* pFrame, BOOL bBuild) : m_pFrame(MainFrame(pFrame))
{
    if (bBuild)
        Build();
}

void SECCommandList::Build()
{
    m_entries.clear();
    CollectCommands();
    Describe();
}

void SECCommandList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_entries.size());
        for (const Entry& entry : m_entries)
            ar << (DWORD)entry.nID << entry.strName << entry.strDescription;
        return;
    }
    DWORD dwCount = ar.ReadCount();
    // Entry by entry: a count the data does not hold ends in an archive error, with nothing
    // allocated for it up front and the list as it was.
    std::vector<Entry> entries;
    for (DWORD i = 0; i < dwCount; i++) {
        Entry entry;
        DWORD dwID = 0;
        ar >> dwID >> entry.strName >> entry.strDescription;
        entry.nID = dwID;
        entries.push_back(std::move(entry));
    }
    m_entries = std::move(entries);
}

int SECCommandList::FindCommand(UINT nID) const
{
    for (size_t i = 0; i < m_entries.size(); i++)
        if (m_entries[i].nID == nID)
            return (int)i;
    return -1;
}

BOOL SECCommandList::IsExcluded(UINT nID) const
{
    return (nID >= 0xE110 && nID <= 0xE11F) || (nID >= 0xFF00 && nID <= 0xFFFF) || nID == 0xE150 || nID == 0xE151;
}

std::vector<HMENU> SECCommandList::TemplateMenus() const
{
    std::vector<HMENU> menus;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return menus;
    POSITION pos = pApp->GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pApp->GetNextDocTemplate(pos));
        if (pTemplate != nullptr && pTemplate->m_hMenuShared != nullptr)
            menus.push_back(pTemplate->m_hMenuShared);
    }
    return menus;
}

void SECCommandList::CollectMenu(HMENU hMenu)
{
    int nCount = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < nCount; i++) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != nullptr) {
            CollectMenu(hSub);
            continue;
        }
        UINT nID = ::GetMenuItemID(hMenu, i);
        if (nID == 0 || nID == (UINT)-1 || IsExcluded(nID) || FindCommand(nID) >= 0)
            continue;
        m_entries.push_back({nID, CString(), CString()});
    }
}

void SECCommandList::CollectCommands()
{
    if (m_pFrame != nullptr) {
        CollectMenu(m_pFrame->m_hMenuDefault);
        HACCEL hAccel = m_pFrame->m_hAccelTable;
        if (hAccel != nullptr) {
            int nCount = ::CopyAcceleratorTableA(hAccel, nullptr, 0);
            std::vector<ACCEL> accels((size_t)std::max(nCount, 0));
            if (nCount > 0)
                ::CopyAcceleratorTableA(hAccel, accels.data(), nCount);
            for (const ACCEL& accel : accels)
                if (accel.cmd != 0 && !IsExcluded(accel.cmd) && FindCommand(accel.cmd) < 0)
                    m_entries.push_back({accel.cmd, CString(), CString()});
        }
    }
    for (HMENU hMenu : TemplateMenus())
        CollectMenu(hMenu);
}

void SECCommandList::NameMenu(HMENU hMenu, const CString& strPrefix)
{
    int nCount = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < nCount; i++) {
        CString text = SECCleanMenuText(MenuItemText(hMenu, i, 63));
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != nullptr) {
            NameMenu(hSub, strPrefix + text + ":");
            continue;
        }
        int nIndex = FindCommand(::GetMenuItemID(hMenu, i));
        if (nIndex >= 0 && m_entries[(size_t)nIndex].strName.IsEmpty())
            m_entries[(size_t)nIndex].strName = strPrefix + text;
    }
}

void SECCommandList::Describe()
{
    if (m_pFrame != nullptr)
        NameMenu(m_pFrame->m_hMenuDefault, CString());
    for (HMENU hMenu : TemplateMenus())
        NameMenu(hMenu, CString());
    for (Entry& entry : m_entries) {
        CString text;
        if (!text.LoadString(entry.nID))
            continue;
        CString strDesc = text, strTip;
        int nLF = text.Find('\n');
        if (nLF >= 0) {
            strDesc = text.Left(nLF);
            strTip = text.Mid(nLF + 1);
        }
        if (entry.strDescription.IsEmpty() && !strDesc.IsEmpty())
            entry.strDescription = strDesc;
        if (entry.strName.IsEmpty() && !strTip.IsEmpty())
            entry.strName = strTip;
    }
}

// ---- SECAccelTable --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECAccelTable, CObject)

HACCEL SECAccelTable::s_hDefault = nullptr;
BOOL SECAccelTable::s_bDefaultSet = FALSE;

std::vector<ACCEL> SECAccelTable::TableEntries(HACCEL hAccel)
{
    std::vector<ACCEL> entries;
    if (hAccel == nullptr)
        return entries;
    int nCount = ::CopyAcceleratorTableA(hAccel, nullptr, 0);
    if (nCount <= 0)
        return entries;
    entries.resize((size_t)nCount);
    ::CopyAcceleratorTableA(hAccel, entries.data(), nCount);
    return entries;
}

SECAccelTable::SECAccelTable(CFrameWnd* pFrame) : m_pFrame(MainFrame(pFrame))
{
    HACCEL hCurrent = m_pFrame != nullptr ? m_pFrame->m_hAccelTable : nullptr;
    if (!s_bDefaultSet) {
        s_bDefaultSet = TRUE;
        s_hDefault = hCurrent;
    }
    m_entries = TableEntries(hCurrent);
}

int SECAccelTable::FindCommand(UINT nID) const
{
    for (size_t i = 0; i < m_entries.size(); i++)
        if (m_entries[i].cmd == nID)
            return (int)i;
    return -1;
}

void SECAccelTable::SetShortcut(WORD wHotKey, UINT nCmdID)
{
    ACCEL accel = {};
    HotKeyToAccel(wHotKey, accel);
    accel.cmd = (WORD)nCmdID;
    for (ACCEL& entry : m_entries) {
        if (entry.key == accel.key && (BYTE)(entry.fVirt | FVIRTKEY | FNOINVERT) == accel.fVirt) {
            entry.fVirt = accel.fVirt;
            entry.cmd = accel.cmd;
            return;
        }
    }
    m_entries.push_back(accel);
}

void SECAccelTable::RemoveAt(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_entries.erase(m_entries.begin() + nIndex);
}

void SECAccelTable::LoadDefault()
{
    m_entries = TableEntries(s_hDefault);
}

void SECAccelTable::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_entries.size());
        for (const ACCEL& accel : m_entries)
            ar << (BYTE)accel.fVirt << (BYTE)0 << (WORD)accel.key << (WORD)accel.cmd;
        return;
    }
    DWORD dwCount = ar.ReadCount();
    // Entry by entry: a count the data does not hold ends in an archive error, with nothing
    // allocated for it up front.
    std::vector<ACCEL> entries;
    for (DWORD i = 0; i < dwCount; i++) {
        BYTE fVirt = 0, pad = 0;
        WORD key = 0, cmd = 0;
        ar >> fVirt >> pad >> key >> cmd;
        entries.push_back(ACCEL{fVirt, key, cmd});
    }
    m_entries = std::move(entries);
}

std::vector<BYTE> SECAccelTable::ToBytes() const
{
    std::vector<BYTE> bytes;
    auto put = [&bytes](DWORD value, int nBytes) {
        for (int i = 0; i < nBytes; i++)
            bytes.push_back((BYTE)(value >> (8 * i)));
    };
    put(magic, 4);
    put(version, 2);
    DWORD dwCount = (DWORD)m_entries.size();
    if (dwCount < 0xFFFF)
        put(dwCount, 2);
    else {
        put(0xFFFF, 2);
        put(dwCount, 4);
    }
    for (const ACCEL& accel : m_entries) {
        put(accel.fVirt, 1);
        put(0, 1);
        put(accel.key, 2);
        put(accel.cmd, 2);
    }
    return bytes;
}

BOOL SECAccelTable::FromBytes(const BYTE* pData, size_t nBytes, std::vector<ACCEL>& entries)
{
    auto get = [pData](size_t nPos, int n) {
        DWORD value = 0;
        for (int i = 0; i < n; i++)
            value |= (DWORD)pData[nPos + (size_t)i] << (8 * i);
        return value;
    };
    if (pData == nullptr || nBytes < 8 || get(0, 4) != magic || get(4, 2) != version)
        return FALSE;
    size_t nPos = 8;
    DWORD dwCount = get(6, 2);
    if (dwCount == 0xFFFF) {
        if (nBytes < 12)
            return FALSE;
        dwCount = get(8, 4);
        nPos = 12;
    }
    if (dwCount > (nBytes - nPos) / 6)
        return FALSE;
    entries.clear();
    for (DWORD i = 0; i < dwCount; i++, nPos += 6)
        entries.push_back(ACCEL{(BYTE)get(nPos, 1), (WORD)get(nPos + 2, 2), (WORD)get(nPos + 4, 2)});
    return TRUE;
}

void SECAccelTable::GetFileName(CString& strPath, BOOL bWindowsDir) const
{
    char szModule[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    CString path = szModule;
    int nSlash = path.ReverseFind('\\');
    int nDot = path.ReverseFind('.');
    if (nDot > nSlash)
        path = path.Left(nDot + 1) + "MAC";
    else
        path += ".MAC";
    if (bWindowsDir) {
        char szWindows[MAX_PATH] = "";
        ::GetWindowsDirectoryA(szWindows, MAX_PATH);
        CString dir = szWindows;
        if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != '\\')
            dir += "\\";
        path = dir + path.Mid(path.ReverseFind('\\') + 1);
    }
    strPath = path;
}

BOOL SECAccelTable::Load()
{
    // Beside the module first: a copy in the Windows directory would hide every later save.
    CString strPath;
    HANDLE hFile = INVALID_HANDLE_VALUE;
    for (BOOL bWindowsDir : {FALSE, TRUE}) {
        GetFileName(strPath, bWindowsDir);
        hFile = ::CreateFileA(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (hFile != INVALID_HANDLE_VALUE)
            break;
    }
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    std::vector<BYTE> bytes;
    DWORD dwSize = ::GetFileSize(hFile, nullptr);
    BOOL bRead = FALSE;
    if (dwSize != INVALID_FILE_SIZE && dwSize <= 16 * 1024 * 1024) {
        bytes.resize(dwSize);
        DWORD dwRead = 0;
        bRead = dwSize == 0 || (::ReadFile(hFile, bytes.data(), dwSize, &dwRead, nullptr) && dwRead == dwSize);
    }
    ::CloseHandle(hFile);
    if (!bRead)
        return FALSE;
    std::vector<ACCEL> entries;
    if (!FromBytes(bytes.data(), bytes.size(), entries)) {
        LoadDefault();
        return FALSE;
    }
    m_entries = std::move(entries);
    return TRUE;
}

BOOL SECAccelTable::Save()
{
    std::vector<BYTE> bytes = ToBytes();
    for (BOOL bWindowsDir : {FALSE, TRUE}) {
        CString strPath;
        GetFileName(strPath, bWindowsDir);
        HANDLE hFile = ::CreateFileA(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            continue;
        DWORD dwWritten = 0;
        BOOL bOK = ::WriteFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwWritten, nullptr) &&
                   dwWritten == bytes.size();
        ::CloseHandle(hFile);
        return bOK;
    }
    return FALSE;
}

void SECAccelTable::RewriteMenu(HMENU hMenu) const
{
    int nCount = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < nCount; i++) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != nullptr) {
            RewriteMenu(hSub);
            continue;
        }
        UINT nID = ::GetMenuItemID(hMenu, i);
        if (nID == 0 || nID == (UINT)-1)
            continue;
        CString text = MenuItemText(hMenu, i, 127);
        int nTab = text.Find('\t');
        if (nTab >= 0)
            text = text.Left(nTab);
        int nEntry = FindCommand(nID);
        if (nEntry >= 0)
            text += "\t" + GetKeyText(AccelToHotKey(m_entries[(size_t)nEntry]));
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPSTR>((LPCSTR)text);
        ::SetMenuItemInfoA(hMenu, (UINT)i, TRUE, &info);
    }
}

BOOL SECAccelTable::Apply()
{
    if (m_pFrame == nullptr)
        return FALSE;
    std::vector<ACCEL> entries = m_entries;
    // No entries is no table: the system makes none of size 0, and no key is translated then.
    HACCEL hNew = entries.empty() ? nullptr : ::CreateAcceleratorTableA(entries.data(), (int)entries.size());
    if (hNew == nullptr && !entries.empty())
        return FALSE;

    // Everything that translates keys takes the new table: the frame, the templates (for windows
    // opened later) and the open document windows. Each old table goes once; the default stays.
    std::set<HACCEL> old;
    old.insert(m_pFrame->m_hAccelTable);
    m_pFrame->m_hAccelTable = hNew;
    std::vector<HMENU> menus = {m_pFrame->m_hMenuDefault};
    if (CWinApp* pApp = AfxGetApp()) {
        POSITION pos = pApp->GetFirstDocTemplatePosition();
        while (pos != nullptr) {
            auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pApp->GetNextDocTemplate(pos));
            if (pTemplate == nullptr)
                continue;
            old.insert(pTemplate->m_hAccelTable);
            pTemplate->m_hAccelTable = hNew;
            menus.push_back(pTemplate->m_hMenuShared);
        }
    }
    if (auto* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(m_pFrame)) {
        if (pMDIFrame->m_hWndMDIClient != nullptr) {
            for (HWND hChild = ::GetWindow(pMDIFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
                 hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
                auto* pChild = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hChild));
                if (pChild == nullptr)
                    continue;
                old.insert(pChild->m_hAccelTable);
                pChild->m_hAccelTable = hNew;
            }
        }
    }
    for (HACCEL hOld : old)
        if (hOld != nullptr && hOld != hNew && hOld != s_hDefault)
            ::DestroyAcceleratorTable(hOld);
    for (HMENU hMenu : menus)
        RewriteMenu(hMenu);
    if (m_pFrame->m_hWnd != nullptr)
        m_pFrame->DrawMenuBar();
    return TRUE;
}
