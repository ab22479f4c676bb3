// A list of recently used files kept in the settings and shown in a menu.
#pragma once
#include "afxcmd.h"

class CRecentFileList
{
public:
    // nStart: the command of the first entry (the menu's placeholder item carries it);
    // lpszSection and lpszEntryFormat ("File %d", numbered from 1) name the settings;
    // nSize entries at most; nMaxDispLen: the longest name shown in the menu.
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen = 30);
    virtual ~CRecentFileList();
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return m_nSize; }
    // The full path of an entry (empty when the list is shorter).
    CString& operator[](int nIndex);

    // Puts the full path first; a path already listed (in any case) moves up, the last entry
    // falls off a full list.
    virtual void Add(LPCSTR lpszPathName);
    // Removes one entry; the ones below move up.
    virtual void Remove(int nIndex);

    // The menu text of an entry: the bare name for a file in lpszCurDir, otherwise the path
    // shortened to the display length ("C:\...\maps\e1m1.map"). FALSE for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // Replaces the placeholder item of the menu being updated with one "&1 name" item per entry;
    // an empty list shows the placeholder's own text, disabled.
    virtual void UpdateMenu(CCmdUI* pCmdUI);

    virtual void ReadList();
    virtual void WriteList();

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nSize;
    int m_nMaxDisplayLength;
    CString m_strOriginal;      // the placeholder's text, kept from the first menu update
    CString* m_arrNames;
};

// A path shortened to nMaxLength characters by leaving out directories after its root:
// "C:\...\dir\name.ext". The file name alone when even that is too long (bAtLeastName), or an
// empty string (without it).
CString AfxAbbreviateName(LPCSTR lpszCanon, int nMaxLength, BOOL bAtLeastName);
