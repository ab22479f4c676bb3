// A list of recently used files kept in the settings and shown in a menu.
#include "afxwin.h"

namespace {

// The length of the root of a path: "C:\" or "\\server\share\" (0 when it has none).
int RootLength(const CString& path)
{
    if (path.GetLength() >= 2 && path[1] == ':')
        return path.GetLength() >= 3 && (path[2] == '\\' || path[2] == '/') ? 3 : 2;
    if (path.GetLength() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // Past the server and the share names.
        int nSeps = 0;
        for (int i = 2; i < path.GetLength(); i++) {
            if (path[i] == '\\' && ++nSeps == 2)
                return i + 1;
        }
        return path.GetLength();
    }
    return 0;
}

BOOL IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

} // namespace

CString AfxAbbreviateName(LPCSTR lpszCanon, int nMaxLength, BOOL bAtLeastName)
{
    CString path(lpszCanon ? lpszCanon : "");
    if (path.GetLength() <= nMaxLength)
        return path;
    CString name = AfxGetFileName(path);
    int nRoot = RootLength(path);
    CString root = path.Left(nRoot);
    // Root, "...", then as many whole directories from the end as fit.
    CString shortest = root + "...\\" + name;
    if (nRoot == 0 || nRoot >= path.GetLength() - name.GetLength() || shortest.GetLength() > nMaxLength) {
        if (bAtLeastName || name.GetLength() <= nMaxLength)
            return name;
        return CString();
    }
    int nStart = path.GetLength() - name.GetLength() - 1;   // the separator before the name
    for (;;) {
        int nPrev = nStart - 1;
        while (nPrev >= nRoot && !IsSeparator(path[nPrev]))
            nPrev--;
        if (nPrev < nRoot)
            break;
        CString candidate = root + "..." + path.Mid(nPrev);
        if (candidate.GetLength() > nMaxLength)
            break;
        nStart = nPrev;
    }
    return root + "..." + path.Mid(nStart);
}

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nSize(nSize > 0 ? nSize : 1), m_nMaxDisplayLength(nMaxDispLen)
{
    m_arrNames = new CString[m_nSize];
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

CString& CRecentFileList::operator[](int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        AfxThrowNotSupportedException();
    return m_arrNames[nIndex];
}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (lpszPathName == nullptr || *lpszPathName == '\0')
        return;
    CString path = AfxFullPath(lpszPathName);
    // Where the path is listed already, or the last place.
    int iMRU;
    for (iMRU = 0; iMRU < m_nSize - 1; iMRU++) {
        if (m_arrNames[iMRU].CompareNoCase(path) == 0)
            break;
    }
    for (; iMRU > 0; iMRU--)
        m_arrNames[iMRU] = m_arrNames[iMRU - 1];
    m_arrNames[0] = path;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; i++)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const
{
    strName.Empty();
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
        return FALSE;
    const CString& path = m_arrNames[nIndex];
    CString name = AfxGetFileName(path);
    // A file of the current directory shows without its directory.
    CString dir = path.Left(path.GetLength() - name.GetLength());
    if (!dir.IsEmpty() && IsSeparator(dir[dir.GetLength() - 1]))
        dir = dir.Left(dir.GetLength() - 1);
    CString cur = lpszCurDir != nullptr && nCurDir > 0 ? CString(lpszCurDir, nCurDir) : CString();
    if (!cur.IsEmpty() && IsSeparator(cur[cur.GetLength() - 1]))
        cur = cur.Left(cur.GetLength() - 1);
    if (!cur.IsEmpty() && dir.CompareNoCase(cur) == 0)
        strName = name;
    else
        strName = AfxAbbreviateName(path, m_nMaxDisplayLength, bAtLeastName);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    if (pCmdUI->m_pSubMenu != nullptr)
        return;     // a popup whose first item is the list: the items update when it opens
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (m_strOriginal.IsEmpty() && pMenu != nullptr)
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);

    if (m_arrNames[0].IsEmpty()) {
        // No entries: the placeholder alone, disabled; entries shown before go away.
        if (pMenu != nullptr) {
            for (int i = 1; i < m_nSize; i++)
                pMenu->DeleteMenu(m_nStart + (UINT)i, MF_BYCOMMAND);
            pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
        }
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    if (pMenu == nullptr) {
        pCmdUI->Enable(TRUE);
        return;
    }

    for (int i = 0; i < m_nSize; i++)
        pMenu->DeleteMenu(m_nStart + (UINT)i, MF_BYCOMMAND);

    char szCurDir[MAX_PATH];
    DWORD nCurDir = ::GetCurrentDirectoryA(MAX_PATH, szCurDir);
    if (nCurDir == 0 || nCurDir >= MAX_PATH)
        nCurDir = 0;
    for (int i = 0; i < m_nSize; i++) {
        CString strName;
        if (!GetDisplayName(strName, i, szCurDir, (int)nCurDir))
            break;
        // Ampersands in names are shown, not taken as mnemonics.
        strName.Replace("&", "&&");
        CString text;
        text.Format("&%d %s", i + 1, (LPCSTR)strName);
        pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, m_nStart + (UINT)i, text);
    }
    // The caller's walk goes on after the last item added.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;    // the items added are enabled
}

void CRecentFileList::ReadList()
{
    CProfileStore* pProfile = AfxGetProfile();
    for (int i = 0; i < m_nSize; i++) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        m_arrNames[i] = pProfile != nullptr ? pProfile->GetProfileString(m_strSectionName, entry, "") : CString();
    }
    // Gaps left by hand-edited settings close up.
    int nTo = 0;
    for (int i = 0; i < m_nSize; i++) {
        if (!m_arrNames[i].IsEmpty())
            m_arrNames[nTo++] = m_arrNames[i];
    }
    for (; nTo < m_nSize; nTo++)
        m_arrNames[nTo].Empty();
}

void CRecentFileList::WriteList()
{
    CProfileStore* pProfile = AfxGetProfile();
    if (pProfile == nullptr)
        return;
    for (int i = 0; i < m_nSize; i++) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        if (m_arrNames[i].IsEmpty())
            pProfile->WriteProfileString(m_strSectionName, entry, nullptr);
        else
            pProfile->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
    }
}
