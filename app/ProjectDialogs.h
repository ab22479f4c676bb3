// The dialogs around projects: the Project Settings sheet (Root, Quake and Paths pages), the New
// Project name dialog and the Startup window.
#pragma once
#include "afxsheet.h"
#include "afxwin.h"

class CSettingsSheet;

// Creates the directory and every missing directory above it. TRUE when it exists afterwards.
BOOL CreateDirectoryPath(LPCSTR path);

// A directory setting of the user: when it names no existing directory the user is asked whether
// to create it (every missing level); the value is kept in any case.
void OfferToCreateDirectory(const CString& path);

class CRootPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CRootPage)
public:
    explicit CRootPage(CSettingsSheet* pSheet = nullptr);
    BOOL Validate();
    void Save();

    CString m_rootPath;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse();
    CSettingsSheet* m_pSheet;
    DECLARE_MESSAGE_MAP()
};

class CQuakePage : public CPropertyPage
{
    DECLARE_DYNAMIC(CQuakePage)
public:
    explicit CQuakePage(CSettingsSheet* pSheet = nullptr);
    BOOL Validate();
    void Save();

    CString m_quakePath;
    CString m_quakeExe;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse();
    CSettingsSheet* m_pSheet;
    DECLARE_MESSAGE_MAP()
};

class CPathsPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CPathsPage)
public:
    // The six "Paths" keys in the order they are saved.
    enum { BIN, ENTITIES, MAPS, OBJECTS, TEXTURES, WADS, COUNT };
    static const char* const s_keys[COUNT];

    explicit CPathsPage(CSettingsSheet* pSheet = nullptr);
    // The project's values; a missing key (or no project) shows the key's own name.
    void Load();
    // Into the open project: a value is written, an empty one removes its key. Without a project
    // nothing is saved.
    void Save();
    // The browse rule: the folder becomes an empty field, else is appended after ";".
    static CString AppendFolder(const CString& field, const CString& folder);

    CString m_values[COUNT];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse(UINT nID);
    CSettingsSheet* m_pSheet;
    DECLARE_MESSAGE_MAP()
};

class CSettingsSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CSettingsSheet)
public:
    explicit CSettingsSheet(CWnd* pParentWnd = nullptr);
    ~CSettingsSheet() override;

    BOOL Validate();
    void Apply();
    // The folders named on the Paths page (each of a ";" list; a relative one below the root
    // path typed on the Root page) that do not exist, in the page's order, each once.
    void MissingPaths(CStringArray& missing) const;

    CRootPage* m_pRootPage;
    CQuakePage* m_pQuakePage;
    CPathsPage* m_pPathsPage;
};

class CNewProjectDlg : public CDialog
{
    DECLARE_DYNAMIC(CNewProjectDlg)
public:
    explicit CNewProjectDlg(LPCSTR lpszPath, CWnd* pParent = nullptr);
    CString m_path;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

class CStartupDlg : public CDialog
{
    DECLARE_DYNAMIC(CStartupDlg)
public:
    explicit CStartupDlg(CWnd* pParent = nullptr);
    BOOL GetShowAtStartup() const { return m_bShowAtStartup; }
    BOOL GetLoadSample() const { return m_bLoadSample; }

    int m_bShowAtStartup;
    int m_bLoadSample;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnContinueNormally();
    void OnLoadSample();
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()
};
