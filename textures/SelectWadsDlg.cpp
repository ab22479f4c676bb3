#include "SelectWadsDlg.h"
#include "IniFile.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "Services.h"
#include "TextureLoader.h"
#include "Tokenizer.h"
#include <algorithm>
#include <vector>

CString CompactWadName(LPCSTR path)
{
    CString name(path ? path : "");
    int cut = name.ReverseFind('\\');
    if (cut < 0)
        cut = name.ReverseFind(':');
    name = name.Mid(cut + 1);
    int dot = name.ReverseFind('.');
    if (dot >= 0)
        name = name.Left(dot);
    return name;
}

IMPLEMENT_DYNAMIC(CSelectWadsDlg, CDialog)

BEGIN_MESSAGE_MAP(CSelectWadsDlg, CDialog)
    ON_BN_CLICKED(IDC_COMPACT_NAMES, OnCompactNames)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSelectWadsDlg::CSelectWadsDlg(CWnd* pParent) : CDialog(IDD_SELECT_WADS, pParent) {}

CSelectWadsDlg::~CSelectWadsDlg()
{
    m_paths.RemoveAll();
}

void CSelectWadsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WAD_LIST, m_wadList);
    DDX_Control(pDX, IDC_COMPACT_NAMES, m_compactNames);
}

BOOL CSelectWadsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CEditorServices* services = GetEditorServices();
    if (!services->GetProject())
        return TRUE;
    m_pWadList = &services->GetWadList();
    m_paths.RemoveAll();
    m_paths.AddTail(m_pWadList);
    m_compact = services->GetProfileInt("Wad List", "Compact Names", 1) != 0;
    m_compactNames.SetCheck(m_compact ? 1 : 0);
    Scan();
    SetExtent();
    CheckProjectWads();
    return TRUE;
}

void CSelectWadsDlg::SetExtent()
{
    m_wadList.SetHorizontalExtent(m_compact ? 0 : 500);
}

void CSelectWadsDlg::Scan()
{
    CWaitCursor wait;
    DeleteItemStrings();
    m_wadList.SetRedraw(FALSE);
    CPathIterator paths;
    if (paths.Init("Wads", IDS_NO_WAD_PATHS, "wad")) {
        // Listed by name (case ignored), then by folder, whatever order the disk gives.
        std::vector<CString> files;
        for (CString dir = paths.NextDirectory(); !dir.IsEmpty(); dir = paths.NextDirectory())
            for (CString file = paths.NextFile(); !file.IsEmpty(); file = paths.NextFile())
                files.push_back(file);
        std::stable_sort(files.begin(), files.end(), [](const CString& a, const CString& b) {
            int byName = CompactWadName(a).CompareNoCase(CompactWadName(b));
            return byName != 0 ? byName < 0 : a.CompareNoCase(b) < 0;
        });
        for (const CString& file : files)
            AddFile(file);
        if (m_wadList.GetCount() == 0)
            Report().StatusId(IDS_NO_WADS_FOUND);
    }
    m_wadList.SetRedraw(TRUE);
    m_wadList.Invalidate();
}

CString CSelectWadsDlg::ItemText(const CString& path) const
{
    return m_compact ? CompactWadName(path) : path;
}

void CSelectWadsDlg::AddFile(const CString& path)
{
    int i = m_wadList.AddString(ItemText(path));
    if (i >= 0)
        m_wadList.SetItemDataPtr(i, new CString(path));
}

void CSelectWadsDlg::CheckProjectWads()
{
    int count = m_wadList.GetCount();
    for (POSITION pos = m_paths.GetHeadPosition(); pos;) {
        POSITION at = pos;
        CString path = m_paths.GetNext(pos);
        int found = -1;
        for (int i = 0; i < count && found < 0; ++i) {
            const CString* item = static_cast<const CString*>(m_wadList.GetItemDataPtr(i));
            if (item && SameWadPath(*item, path))
                found = i;
        }
        if (found >= 0) {
            m_wadList.SetSel(found, TRUE);
        } else {
            Report().Status("The selected wad %s\ncould no longer be found", static_cast<LPCSTR>(path));
            m_paths.RemoveAt(at);
        }
    }
}

void CSelectWadsDlg::Refill()
{
    CWaitCursor wait;
    SetExtent();
    m_paths.RemoveAll();
    int count = m_wadList.GetCount();
    for (int i = 0; i < count; ++i)
        if (m_wadList.GetSel(i) > 0)
            m_paths.AddTail(*static_cast<const CString*>(m_wadList.GetItemDataPtr(i)));
    m_wadList.SetRedraw(FALSE);
    for (int i = 0; i < count; ++i) {
        CString* path = static_cast<CString*>(m_wadList.GetItemDataPtr(i));
        m_wadList.DeleteString(static_cast<UINT>(i));
        m_wadList.InsertString(i, ItemText(*path));
        m_wadList.SetItemDataPtr(i, path);
    }
    CheckProjectWads();
    m_wadList.SetRedraw(TRUE);
    m_wadList.Invalidate();
}

void CSelectWadsDlg::OnCompactNames()
{
    m_compact = m_compactNames.GetCheck() == 1;
    GetEditorServices()->WriteProfileInt("Wad List", "Compact Names", m_compact ? 1 : 0);
    Refill();
}

void CSelectWadsDlg::DeleteItemStrings()
{
    if (!m_wadList.m_hWnd)
        return;
    int count = m_wadList.GetCount();
    for (int i = 0; i < count; ++i) {
        delete static_cast<CString*>(m_wadList.GetItemDataPtr(i));
        m_wadList.SetItemDataPtr(i, nullptr);
    }
    m_wadList.ResetContent();
}

void CSelectWadsDlg::OnOK()
{
    CIniFile* project = GetEditorServices()->GetProject();
    if (project && m_pWadList) {
        m_pWadList->RemoveAll();
        int count = m_wadList.GetCount();
        for (int i = 0; i < count; ++i)
            if (m_wadList.GetSel(i) > 0)
                m_pWadList->AddTail(*static_cast<const CString*>(m_wadList.GetItemDataPtr(i)));
        project->RemoveSection("Wads");
        int n = 1;
        for (POSITION pos = m_pWadList->GetHeadPosition(); pos; ++n) {
            CString& path = m_pWadList->GetNext(pos);
            MakeRootRelative(path);
            CString key;
            key.Format("File%d", n);
            project->WriteString("Wads", key, path, TRUE);
        }
        project->Write();
    }
    DeleteItemStrings();
    m_paths.RemoveAll();
    EndDialog(IDOK);
}

void CSelectWadsDlg::OnCancel()
{
    DeleteItemStrings();
    m_paths.RemoveAll();
    EndDialog(IDCANCEL);
}

void CSelectWadsDlg::OnDestroy()
{
    DeleteItemStrings();
    CDialog::OnDestroy();
}
