// The Select Wads dialog: the WAD files of the project's WAD directories, and those the project
// uses from elsewhere, with the project's selected; OK rewrites the project's "Wads" section when
// the choice changed.
#pragma once
#include "TextureLoader.h"
#include "TexturesRes.h"
#include "afxwin.h"
#include <set>
#include <string>

// The name a WAD path shows with compact names: the file name without its extension (a name
// without "." whole).
CString CompactWadName(LPCSTR path);
// NormalizeWadPath and SameWadPath, which the dialog matches the project's WADs with, are the
// texture loader's (TextureLoader.h).

class CSelectWadsDlg : public CDialog
{
    DECLARE_DYNAMIC(CSelectWadsDlg)
public:
    explicit CSelectWadsDlg(CWnd* pParent = nullptr);
    ~CSelectWadsDlg() override;

    CListBox m_wadList;
    CButton m_compactNames;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCompactNames();
    void OnDestroy();

    void Scan();
    void AddFile(const CString& path);
    CString ItemText(const CString& path) const;
    void CheckProjectWads();
    void Refill();
    void DeleteItemStrings();
    void SetExtent();

    CStringList m_paths;               // the project's paths, later the selection
    CStringList* m_pWadList = nullptr; // the application's list of the project's WADs
    BOOL m_compact = TRUE;
    std::set<std::string> m_outside;   // the listed WADs that lie outside the Wads folders

    DECLARE_MESSAGE_MAP()
};
