// The dialogs around projects: the Project Settings sheet (Root, Quake and Paths pages), the New
// Project name dialog and the Startup window.
#pragma once
#include "afxsheet.h"
#include "afxwin.h"

class CSettingsSheet;

// Creates the directory and every missing directory above it. TRUE when it exists afterwards.
BOOL CreateDirectoryPath(LPCSTR path);

// A directory setting of the user: when it names no existing directory the user is asked whether
// to create it (every missing level); the value is kept in any case. TRUE when the directory is
// there afterwards.
BOOL OfferToCreateDirectory(const CString& path);

// A file that can be opened for reading; otherwise the box of the string resource (its path and the
// system's reason) says why and FALSE.
BOOL CanReadFile(LPCSTR path, UINT nIDPrompt);
// A project file that can be opened for reading; otherwise a box says why and FALSE.
BOOL CanReadProject(LPCSTR path);
// The box for a project file that could not be written, with the system's reason; more, when
// given, is a further line.
void ReportUnwrittenProject(LPCSTR path, DWORD error, LPCSTR more = nullptr);

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

// The name of a new project. OK is taken only for a name that can be the project's file: its
// folder is there (or made, when the user says so), it is not a folder, and a file can be made
// there. A name of an existing project asks first: to use it as it is, or, once the project's
// settings are chosen and only its file is wanted (replacing), to write over it.
class CNewProjectDlg : public CDialog
{
    DECLARE_DYNAMIC(CNewProjectDlg)
public:
    explicit CNewProjectDlg(LPCSTR lpszPath, CWnd* pParent = nullptr, BOOL bReplacing = FALSE);
    CString m_path;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // The typed name can be the project's file; otherwise the user has been told why.
    BOOL CanBeTheProject(const CString& path);
    // Back to the name, kept and selected for the user to mend.
    void BackToTheName();
    BOOL m_bReplacing;
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
