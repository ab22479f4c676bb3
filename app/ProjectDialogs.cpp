// The Project Settings sheet, New Project and the Startup window.
#include "ProjectDialogs.h"
#include "EditorApp.h"
#include "IniFile.h"
#include "MainFrame.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "Services.h"
#include "ShellRes.h"
#include "WadPair.h"

BOOL CreateDirectoryPath(LPCSTR path)
{
    CString dir(path ? path : "");
    // The separators that end the path go in one cut, however many there are.
    int end = dir.GetLength();
    while (end > 3 && (dir[end - 1] == '\\' || dir[end - 1] == '/'))
        --end;
    dir = dir.Left(end);
    // The system's file functions name no longer folder; each level of a longer path would be one
    // more call deep before that is found.
    if (dir.IsEmpty() || dir.GetLength() >= MAX_PATH)
        return FALSE;
    DWORD attr = ::GetFileAttributesA(dir);
    if (attr != INVALID_FILE_ATTRIBUTES)
        return (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // The level above first; a drive or share root that is missing cannot be made.
    int cut = std::max(dir.ReverseFind('\\'), dir.ReverseFind('/'));
    if (cut > 0 && dir[cut - 1] != ':' && !CreateDirectoryPath(dir.Left(cut)))
        return FALSE;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    return ::CreateDirectoryA(dir, &sa) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

BOOL OfferToCreateDirectory(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    DWORD attr = ::GetFileAttributesA(path);
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY))
        return TRUE;
    if (Report().BoxId(MB_YESNO | MB_ICONQUESTION, IDS_CREATE_PATH, static_cast<LPCSTR>(path)) != IDYES)
        return FALSE;
    if (CreateDirectoryPath(path))
        return TRUE;
    Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_CANT_CREATE_PATH, static_cast<LPCSTR>(path));
    return FALSE;
}

BOOL CanReadFile(LPCSTR path, UINT nIDPrompt)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        CString reason = SystemErrorText(::GetLastError());
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, nIDPrompt, path, static_cast<LPCSTR>(reason));
        return FALSE;
    }
    ::CloseHandle(file);
    return TRUE;
}

BOOL CanReadProject(LPCSTR path)
{
    return CanReadFile(path, IDS_CANT_OPEN_PROJECT);
}

void ReportUnwrittenProject(LPCSTR path, DWORD error, LPCSTR more)
{
    CString reason = SystemErrorText(error);
    Report().Box(MB_OK | MB_ICONEXCLAMATION, "The project file %s could not be written.\nReason: %s%s%s", path,
                 static_cast<LPCSTR>(reason), more ? "\n" : "", more ? more : "");
}

static BOOL Browse(CWnd* pOwner, LPCSTR title, CString& folder)
{
    CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp());
    return pApp ? pApp->BrowseForFolder(title, folder, pOwner) : FALSE;
}

// ---------------------------------------------------------------------------
// Root page

IMPLEMENT_DYNAMIC(CRootPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CRootPage, CPropertyPage)
    ON_BN_CLICKED(IDC_BROWSE_ROOT, OnBrowse)
END_MESSAGE_MAP()

CRootPage::CRootPage(CSettingsSheet* pSheet) : CPropertyPage(IDD_ROOT_PAGE), m_pSheet(pSheet)
{
    m_rootPath = GetEditorServices()->GetProfileString("Project Settings", "Root Path", "");
}

void CRootPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ROOT_PATH, m_rootPath);
}

BOOL CRootPage::Validate()
{
    if (!m_rootPath.IsEmpty())
        return TRUE;
    Report().Box(MB_OK | MB_ICONEXCLAMATION, "You must specify a root path for the project.");
    return FALSE;
}

void CRootPage::Save()
{
    OfferToCreateDirectory(m_rootPath);
    GetEditorServices()->WriteProfileString("Project Settings", "Root Path", m_rootPath);
}

void CRootPage::OnBrowse()
{
    CString folder;
    if (Browse(this, "Choose the Root Directory", folder))
        SetDlgItemText(IDC_ROOT_PATH, folder);
}

// ---------------------------------------------------------------------------
// Quake page

IMPLEMENT_DYNAMIC(CQuakePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQuakePage, CPropertyPage)
    ON_BN_CLICKED(IDC_BROWSE_QUAKE, OnBrowse)
END_MESSAGE_MAP()

CQuakePage::CQuakePage(CSettingsSheet* pSheet) : CPropertyPage(IDD_QUAKE_PAGE), m_pSheet(pSheet)
{
    m_quakePath = GetEditorServices()->GetProfileString("Project Settings", "Quake Path", "");
    m_quakeExe = GetEditorServices()->GetProfileString("Project Settings", "Quake Exe", "");
}

void CQuakePage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_QUAKE_PATH, m_quakePath);
    DDX_Text(pDX, IDC_QUAKE_EXE, m_quakeExe);
}

BOOL CQuakePage::Validate()
{
    if (m_quakePath.IsEmpty()) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION,
                     "You must specify a Quake path for the project.  To enter a Quake path select the Quake tab.");
        return FALSE;
    }
    if (m_quakeExe.IsEmpty()) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "You must specify a Quake executable for the project.  To enter "
                                                 "a Quake executable select the Quake tab.");
        return FALSE;
    }
    return TRUE;
}

void CQuakePage::Save()
{
    OfferToCreateDirectory(m_quakePath);
    GetEditorServices()->WriteProfileString("Project Settings", "Quake Path", m_quakePath);
    GetEditorServices()->WriteProfileString("Project Settings", "Quake Exe", m_quakeExe);
}

void CQuakePage::OnBrowse()
{
    CString folder;
    if (Browse(this, "Choose the Quake Directory", folder))
        SetDlgItemText(IDC_QUAKE_PATH, folder);
}

// ---------------------------------------------------------------------------
// Paths page

IMPLEMENT_DYNAMIC(CPathsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPathsPage, CPropertyPage)
    ON_COMMAND_RANGE(IDC_BROWSE_BIN, IDC_BROWSE_OBJECTS, OnBrowse)
END_MESSAGE_MAP()

const char* const CPathsPage::s_keys[COUNT] = {"Bin", "Entities", "Maps", "Objects", "Textures", "Wads"};

static const int s_pathControls[CPathsPage::COUNT] = {IDC_PATH_BIN,     IDC_PATH_ENTITIES, IDC_PATH_MAPS,
                                                      IDC_PATH_OBJECTS, IDC_PATH_TEXTURES, IDC_PATH_WADS};

CPathsPage::CPathsPage(CSettingsSheet* pSheet) : CPropertyPage(IDD_PATHS_PAGE), m_pSheet(pSheet)
{
    Load();
}

void CPathsPage::Load()
{
    CIniFile* pProject = GetEditorServices()->GetProject();
    for (int i = 0; i < COUNT; ++i) {
        const CString* value = pProject ? pProject->GetString("Paths", s_keys[i]) : nullptr;
        m_values[i] = value ? *value : CString(s_keys[i]);
    }
}

void CPathsPage::Save()
{
    CIniFile* pProject = GetEditorServices()->GetProject();
    if (!pProject)
        return;
    for (int i = 0; i < COUNT; ++i) {
        if (m_values[i].IsEmpty())
            pProject->RemoveKey("Paths", s_keys[i]);
        else
            pProject->WriteString("Paths", s_keys[i], m_values[i], TRUE);
    }
}

void CPathsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (int i = 0; i < COUNT; ++i)
        DDX_Text(pDX, s_pathControls[i], m_values[i]);
}

CString CPathsPage::AppendFolder(const CString& field, const CString& folder)
{
    return field.IsEmpty() ? folder : field + ";" + folder;
}

void CPathsPage::OnBrowse(UINT nID)
{
    static const struct
    {
        UINT button;
        int index;
        const char* title;
    } s_browse[] = {
        {IDC_BROWSE_BIN, BIN, "Choose a Bin Directory"},
        {IDC_BROWSE_ENTITIES, ENTITIES, "Choose an Entity Directory"},
        {IDC_BROWSE_MAPS, MAPS, "Choose a Map Directory"},
        {IDC_BROWSE_OBJECTS, OBJECTS, "Choose an Object Directory"},
        {IDC_BROWSE_TEXTURES, TEXTURES, "Choose a Texture Directory"},
        {IDC_BROWSE_WADS, WADS, "Choose a Wad Directory"},
    };
    for (const auto& b : s_browse) {
        if (b.button != nID)
            continue;
        UpdateData(TRUE);
        CString folder;
        if (Browse(this, b.title, folder)) {
            m_values[b.index] = AppendFolder(m_values[b.index], folder);
            UpdateData(FALSE);
        }
        return;
    }
}

// ---------------------------------------------------------------------------
// The sheet

IMPLEMENT_DYNAMIC(CSettingsSheet, CPropertySheet)

static CString SheetCaption()
{
    CString caption;
    caption.LoadString(IDS_PROJECT_SETTINGS);
    return caption;
}

CSettingsSheet::CSettingsSheet(CWnd* pParentWnd)
    : CPropertySheet(SheetCaption(), pParentWnd), m_pRootPage(new CRootPage(this)),
      m_pQuakePage(new CQuakePage(this)), m_pPathsPage(new CPathsPage(this))
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    AddPage(m_pRootPage);
    AddPage(m_pQuakePage);
    AddPage(m_pPathsPage);
}

CSettingsSheet::~CSettingsSheet()
{
    delete m_pRootPage;
    delete m_pQuakePage;
    delete m_pPathsPage;
}

BOOL CSettingsSheet::Validate()
{
    return m_pRootPage->Validate() && m_pQuakePage->Validate();
}

void CSettingsSheet::MissingPaths(CStringArray& missing) const
{
    missing.RemoveAll();
    // Each folder is looked for and named once, however many entries name it.
    std::set<std::string> checked;
    for (const CString& value : m_pPathsPage->m_values) {
        int start = 0;
        while (start <= value.GetLength()) {
            int end = value.Find(';', start);
            if (end < 0)
                end = value.GetLength();
            CString entry = value.Mid(start, end - start);
            start = end + 1;
            entry.TrimLeft();
            entry.TrimRight();
            if (entry.IsEmpty())
                continue;
            CString path = entry;
            if (!IsAbsolutePath(entry) && !m_pRootPage->m_rootPath.IsEmpty())
                path = m_pRootPage->m_rootPath + "\\" + entry;
            if (!checked.insert(static_cast<LPCSTR>(DirectoryKey(path))).second)
                continue;
            DWORD attributes = ::GetFileAttributesA(path);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                missing.Add(path);
        }
    }
}

void CSettingsSheet::Apply()
{
    m_pRootPage->Save();
    m_pQuakePage->Save();
    m_pPathsPage->Save();
}

// ---------------------------------------------------------------------------
// New Project

IMPLEMENT_DYNAMIC(CNewProjectDlg, CDialog)

CNewProjectDlg::CNewProjectDlg(LPCSTR lpszPath, CWnd* pParent, BOOL bReplacing)
    : CDialog(IDD_NEW_PROJECT, pParent), m_path(lpszPath), m_bReplacing(bReplacing)
{
}

void CNewProjectDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PROJECT_NAME, m_path);
    DDV_MaxChars(pDX, m_path, 255);
}

void CNewProjectDlg::BackToTheName()
{
    if (CWnd* pEdit = GetDlgItem(IDC_PROJECT_NAME)) {
        GotoDlgCtrl(pEdit);
        ::SendMessageA(pEdit->m_hWnd, EM_SETSEL, 0, -1);
    }
}

BOOL CNewProjectDlg::CanBeTheProject(const CString& path)
{
    const LPCSTR name = path;
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s is a folder.\nGive the project a file name in it.", name);
        return FALSE;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A project file of that name is the user's: used as it is, or replaced by the settings
        // already chosen, only when the user says so.
        const LPCSTR question = m_bReplacing ? "The project %s already exists.\nDo you want to replace it?"
                                             : "The project %s already exists.\nDo you want to use it as it is?";
        if (Report().Box(MB_YESNO | MB_ICONQUESTION, question, name) != IDYES)
            return FALSE;
        // Used as it is, it must be readable; replaced, the write says what stops it.
        return m_bReplacing || CanReadProject(name);
    }
    // The folder is looked at now, before the user is asked for the project's settings: a
    // missing one is made when the user says so.
    int cut = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    if (cut > 0 && path[cut - 1] != ':') {
        const CString folder = path.Left(cut);
        if (::GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = ::GetLastError();
            if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && !OfferToCreateDirectory(folder))
                return FALSE;
        }
    }
    // A name that cannot be a file there (an invalid name, a place the user may not write to)
    // is told now: the file is made and removed at once, as nothing of that name was there.
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportUnwrittenProject(name, ::GetLastError());
        return FALSE;
    }
    ::CloseHandle(file);
    return TRUE;
}

void CNewProjectDlg::OnOK()
{
    CString text;
    GetDlgItemText(IDC_PROJECT_NAME, text);
    if (text.IsEmpty()) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "You must enter your new projects name");
        return;
    }
    // Whatever the user is told, the name stays for another try.
    if (!CanBeTheProject(CMainFrame::WithProjectExtension(text))) {
        BackToTheName();
        return;
    }
    CDialog::OnOK();
}

// ---------------------------------------------------------------------------
// Startup window

IMPLEMENT_DYNAMIC(CStartupDlg, CDialog)

BEGIN_MESSAGE_MAP(CStartupDlg, CDialog)
    ON_BN_CLICKED(IDC_CONTINUE_NORMALLY, OnContinueNormally)
    ON_BN_CLICKED(IDC_LOAD_SAMPLE, OnLoadSample)
END_MESSAGE_MAP()

CStartupDlg::CStartupDlg(CWnd* pParent) : CDialog(IDD_STARTUP, pParent), m_bLoadSample(0)
{
    m_bShowAtStartup = GetEditorServices()->GetProfileInt("Startup", "Show At Startup", 1) != 0;
}

void CStartupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SHOW_AT_STARTUP, m_bShowAtStartup);
}

void CStartupDlg::OnContinueNormally()
{
    UpdateData(TRUE);
    EndDialog(IDCANCEL);
}

void CStartupDlg::OnLoadSample()
{
    UpdateData(TRUE);
    m_bLoadSample = 1;
    EndDialog(IDOK);
}

void CStartupDlg::OnCancel()
{
    // The close box keeps the check box's state too.
    UpdateData(TRUE);
    CDialog::OnCancel();
}
