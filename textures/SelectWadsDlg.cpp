#include "SelectWadsDlg.h"
#include "IniFile.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "Services.h"
#include "TextureLoader.h"
#include "Tokenizer.h"
#include <algorithm>
#include <map>
#include <set>
#include <string>
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

// The same text for every spelling of one WAD's path.
static std::string WadKey(const CString& path)
{
    CString key = NormalizeWadPath(path);
    key.MakeUpper();
    return std::string(static_cast<LPCSTR>(key), static_cast<size_t>(key.GetLength()));
}

static bool IsFile(const CString& path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString CSelectWadsDlg::ItemText(const CString& path) const
{
    // A WAD outside the Wads folders shows where it is: its name alone would pass for one of them.
    if (m_compact && m_outside.find(WadKey(path)) == m_outside.end())
        return CompactWadName(path);
    return path;
}

void CSelectWadsDlg::AddFile(const CString& path)
{
    int i = m_wadList.AddString(ItemText(path));
    if (i >= 0)
        m_wadList.SetItemDataPtr(i, new CString(path));
}

void CSelectWadsDlg::CheckProjectWads()
{
    // Each item's key once, not once for each path of a long list.
    std::map<std::string, int> items;
    int count = m_wadList.GetCount();
    for (int i = 0; i < count; ++i)
        if (const CString* item = static_cast<const CString*>(m_wadList.GetItemDataPtr(i)))
            items.emplace(WadKey(*item), i);
    std::set<std::string> told;
    for (POSITION pos = m_paths.GetHeadPosition(); pos;) {
        POSITION at = pos;
        CString path = m_paths.GetNext(pos);
        const std::string key = WadKey(path);
        auto found = items.find(key);
        if (found == items.end() && IsFile(NormalizeWadPath(path))) {
            // A WAD the project uses from elsewhere stays one of its WADs: it may be the one
            // whose textures win over the others'.
            m_outside.insert(key);
            AddFile(NormalizeWadPath(path));
            found = items.emplace(key, m_wadList.GetCount() - 1).first;
        }
        if (found != items.end()) {
            m_wadList.SetSel(found->second, TRUE);
        } else {
            if (told.insert(key).second)
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
    m_outside.clear();
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
        // The project's WADs keep their order (the first WAD holding a name gives its texture);
        // WADs chosen now come after them, in list order.
        int count = m_wadList.GetCount();
        std::vector<bool> chosen(static_cast<size_t>(count)), taken(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            chosen[static_cast<size_t>(i)] = m_wadList.GetSel(i) > 0;
        std::map<std::string, int> items;
        for (int i = 0; i < count; ++i)
            items.emplace(WadKey(*static_cast<const CString*>(m_wadList.GetItemDataPtr(i))), i);
        bool changed = false;
        std::vector<int> order;
        for (POSITION pos = m_pWadList->GetHeadPosition(); pos;) {
            auto found = items.find(WadKey(m_pWadList->GetNext(pos)));
            if (found == items.end() || !chosen[static_cast<size_t>(found->second)]) {
                changed = true; // gone from the disk, or no longer chosen
                continue;
            }
            if (!taken[static_cast<size_t>(found->second)]) {
                taken[static_cast<size_t>(found->second)] = true;
                order.push_back(found->second);
            }
        }
        for (int i = 0; i < count; ++i)
            if (chosen[static_cast<size_t>(i)] && !taken[static_cast<size_t>(i)]) {
                changed = true;
                order.push_back(i);
            }
        // The same choice leaves the project's list as the user wrote it, byte for byte.
        if (changed) {
            m_pWadList->RemoveAll();
            for (int i : order)
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
