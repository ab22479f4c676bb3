// User tools: macros, the menu, the settings and the runs.
#include "UserTools.h"
#include "BuildPipeline.h"
#include "IniFile.h"
#include "Map.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "Services.h"

// ---- Text helpers -----------------------------------------------------------------------------

int ReplaceAll(CString& text, LPCSTR lpszFind, LPCSTR lpszReplacement, UINT nFlags)
{
    if (lpszFind == nullptr || *lpszFind == '\0' || lpszReplacement == nullptr)
        return -1;
    CString find = lpszFind;
    if (text.GetLength() < find.GetLength())
        return 0;
    CString haystack = text;
    if (nFlags & 1) {
        haystack.MakeLower();
        find.MakeLower();
    }
    CString result;
    int count = 0;
    int from = 0;
    for (;;) {
        int at = haystack.Find(find, from);
        if (at < 0)
            break;
        result += text.Mid(from, at - from);
        result += lpszReplacement;
        from = at + find.GetLength();
        ++count;
    }
    if (count > 0) {
        result += text.Mid(from);
        text = result;
    }
    return count;
}

BOOL SplitNameValue(LPCSTR lpszEntry, CString& name, CString& value)
{
    CString entry = lpszEntry != nullptr ? lpszEntry : "";
    int eq = entry.Find('=');
    if (eq < 0)
        return FALSE;
    name = entry.Left(eq);
    value = entry.Mid(eq + 1);
    return !name.IsEmpty() && !value.IsEmpty();
}

CString ToolPaneLabel(const CString& menuText)
{
    int amp = menuText.Find('&');
    return amp < 0 ? menuText : menuText.Left(amp) + menuText.Mid(amp + 1);
}

// ---- A tool -----------------------------------------------------------------------------------

CUserTool::CUserTool() : m_bOutputToWindow(TRUE), m_pProcess(nullptr)
{
}

CUserTool::CUserTool(const CUserTool& other)
    : CObject(), m_bOutputToWindow(other.m_bOutputToWindow), m_strMenuText(other.m_strMenuText),
      m_strCommand(other.m_strCommand), m_strArguments(other.m_strArguments),
      m_strInitialDirectory(other.m_strInitialDirectory), m_pProcess(nullptr)
{
}

CUserTool& CUserTool::operator=(const CUserTool& other)
{
    if (this != &other) {
        m_bOutputToWindow = other.m_bOutputToWindow;
        m_strMenuText = other.m_strMenuText;
        m_strCommand = other.m_strCommand;
        m_strArguments = other.m_strArguments;
        m_strInitialDirectory = other.m_strInitialDirectory;
    }
    return *this;
}

CUserTool::~CUserTool()
{
    Stop();
}

CString CUserTool::GetPaneLabel() const
{
    return ToolPaneLabel(m_strMenuText);
}

void CUserTool::Expand(const CStringList& macros, CString& commandLine, CString& directory) const
{
    CString command = m_strCommand;
    CString arguments = m_strArguments;
    directory = m_strInitialDirectory;
    for (POSITION pos = macros.GetHeadPosition(); pos != nullptr;) {
        CString name, value;
        if (!SplitNameValue(macros.GetNext(pos), name, value))
            continue;
        ReplaceAll(command, name, value);
        ReplaceAll(arguments, name, value);
        ReplaceAll(directory, name, value);
    }
    commandLine = QuoteIfBlank(command);
    if (!arguments.IsEmpty())
        commandLine += " " + arguments;
}

void CUserTool::Run(HWND hWndNotify, HWND hWndPane, const CStringList& macros)
{
    Stop();
    CString commandLine, directory;
    Expand(macros, commandLine, directory);
    m_pProcess = new CUserToolProcess(WM_TOOL_FINISHED, hWndNotify, hWndPane, hWndPane != nullptr ? m_strMenuText : "",
                                      directory, commandLine);
}

void CUserTool::Stop()
{
    delete m_pProcess;
    m_pProcess = nullptr;
}

// ---- Macros -----------------------------------------------------------------------------------

namespace {

// The path up to its last backslash, else up to and with its last colon, else empty.
CString DirectoryPart(const CString& path)
{
    int slash = path.ReverseFind('\\');
    if (slash >= 0)
        return path.Left(slash);
    int colon = path.ReverseFind(':');
    return colon >= 0 ? path.Left(colon + 1) : CString();
}

// The file part up to its first ".".
CString NamePart(const CString& path)
{
    CString file = BuildFilePart(path);
    int dot = file.Find('.');
    return dot < 0 ? file : file.Left(dot);
}

} // namespace

void ExpandToolVariables(const CToolMacroValues& v, CStringList& list)
{
    list.RemoveAll();
    struct Entry
    {
        const char* name;
        CString value;
    } entries[] = {
        {"${BinDir}", v.strBinDir},
        {"${EntityDir}", v.strEntityDir},
        {"${ObjectDir}", v.strObjectDir},
        {"${WadDir}", v.strWadDir},
        {"${MapPath}", v.strMapPath},
        {"${MapDir}", DirectoryPart(v.strMapPath)},
        {"${MapName}", v.strMapPath.IsEmpty() ? CString() : NamePart(v.strMapPath)},
        {"${ProjectPath}", v.strProjectPath},
        {"${ProjectDir}", DirectoryPart(v.strProjectPath)},
        {"${ProjectName}", v.strProjectPath.IsEmpty() ? CString() : NamePart(v.strProjectPath)},
        {"${QuakeDir}", v.strQuakeDir},
        {"${RootDir}", v.strRootDir},
        {"${AutoSaveDir}", v.strAutoSaveDir},
    };
    for (const Entry& e : entries)
        list.AddTail(CString(e.name) + "=" + e.value);
}

CToolMacroValues GatherToolMacroValues(Map* pActiveMap)
{
    CEditorServices* services = GetEditorServices();
    CToolMacroValues v;
    v.strRootDir = services->GetProfileString("Project Settings", "Root Path", "");
    v.strQuakeDir = services->GetProfileString("Project Settings", "Quake Path", "");
    v.strAutoSaveDir = services->GetProfileString("Options", "Auto Save Path", "");
    CIniFile* project = services->GetProject();
    if (project != nullptr)
        v.strProjectPath = project->GetPath();
    // Without a root path the directories stay empty, and quietly so: a tool need not use them.
    if (project != nullptr && !v.strRootDir.IsEmpty() && CReporter::Get() != nullptr) {
        struct Key
        {
            const char* key;
            CString* value;
        } keys[] = {{"Bin", &v.strBinDir}, {"Entities", &v.strEntityDir}, {"Objects", &v.strObjectDir},
                    {"Wads", &v.strWadDir}};
        for (const Key& k : keys) {
            CPathIterator it;
            if (it.Init(k.key, 0, ""))
                *k.value = it.NextDirectory();
        }
    }
    if (pActiveMap != nullptr)
        v.strMapPath = pActiveMap->GetPathName();
    return v;
}

// ---- The menu ---------------------------------------------------------------------------------

CMenu* FindToolsMenu(CMenu* pMenuBar)
{
    if (pMenuBar == nullptr)
        return nullptr;
    const UINT nCustomize = 32946;  // the Tools menu's own Customize command
    int count = static_cast<int>(pMenuBar->GetMenuItemCount());
    for (int i = 0; i < count; ++i) {
        CMenu* pPopup = pMenuBar->GetSubMenu(i);
        if (pPopup == nullptr)
            continue;
        if (pPopup->GetMenuState(ID_USER_TOOL_FIRST, MF_BYCOMMAND) != (UINT)-1 ||
            pPopup->GetMenuState(nCustomize, MF_BYCOMMAND) != (UINT)-1)
            return pPopup;
    }
    return nullptr;
}

BOOL BuildToolsMenu(CMenu* pMenu, UINT nFirstID, const CUserToolArray& tools)
{
    if (pMenu == nullptr)
        return FALSE;
    int count = static_cast<int>(pMenu->GetMenuItemCount());
    int last = count - 1;
    for (int i = 0; i < count; ++i) {
        if (pMenu->GetMenuItemID(i) == nFirstID) {
            for (int j = count - 1; j >= i; --j)
                pMenu->RemoveMenu(j, MF_BYPOSITION);
            last = i - 1;
            break;
        }
    }
    int n = static_cast<int>(tools.GetSize());
    if (n > 0) {
        if (last >= 0 && (pMenu->GetMenuState(last, MF_BYPOSITION) & MF_SEPARATOR) == 0)
            pMenu->AppendMenu(MF_SEPARATOR);
        BOOL bAll = TRUE;
        for (int i = 0; i < n; ++i) {
            const CUserTool* pTool = tools.GetAt(i);
            UINT flags = MF_STRING | (pTool->IsRunning() ? MF_CHECKED : MF_UNCHECKED);
            if (!pMenu->AppendMenu(flags, nFirstID + i, pTool->m_strMenuText))
                bAll = FALSE;
        }
        return bAll;
    }
    if (last >= 0 && (pMenu->GetMenuState(last, MF_BYPOSITION) & MF_SEPARATOR) != 0)
        pMenu->RemoveMenu(last, MF_BYPOSITION);
    return TRUE;
}

// ---- The list and its commands ----------------------------------------------------------------

const char CUserTools::szCanceled[] = "Operation canceled at user's request";
const char CUserTools::szFinished[] = "Tool Process Finished";

CUserTools::CUserTools(HWND hWndNotify, COutputPanes* pOutput) : m_hWndNotify(hWndNotify), m_pOutput(pOutput)
{
}

CUserTools::~CUserTools()
{
    DeleteAll();
}

void CUserTools::DeleteAll()
{
    for (int i = 0; i < GetCount(); ++i)
        delete m_tools.GetAt(i);
    m_tools.RemoveAll();
}

void CUserTools::StopAll()
{
    for (int i = 0; i < GetCount(); ++i)
        m_tools.GetAt(i)->Stop();
}

void CUserTools::Load(CProfileStore& profile)
{
    DeleteAll();
    const char szInvalid[] = "<INVALID>";
    for (int n = 1;; ++n) {
        CString key;
        CString fields[4];
        const char* const names[] = {"Menu Text #%d", "Command #%d", "Arguments #%d", "Initial Directory #%d"};
        BOOL bComplete = TRUE;
        for (int f = 0; f < 4 && bComplete; ++f) {
            key.Format(names[f], n);
            fields[f] = profile.GetProfileString("Tools", key, szInvalid);
            bComplete = fields[f] != szInvalid;
        }
        if (!bComplete)
            break;
        CUserTool* pTool = new CUserTool;
        pTool->m_strMenuText = fields[0];
        pTool->m_strCommand = fields[1];
        pTool->m_strArguments = fields[2];
        pTool->m_strInitialDirectory = fields[3];
        key.Format("Output To Window #%d", n);
        pTool->m_bOutputToWindow = profile.GetProfileInt("Tools", key, 1) != 0;
        m_tools.Add(pTool);
        if (pTool->m_bOutputToWindow && m_pOutput != nullptr)
            m_pOutput->AddTab(pTool->GetPaneLabel());
    }
}

void CUserTools::Save(CProfileStore& profile)
{
    profile.WriteProfileString("Tools", nullptr, nullptr);
    if (m_pOutput != nullptr)
        m_pOutput->RemoveToolTabs();
    for (int i = 0; i < GetCount(); ++i) {
        const CUserTool* pTool = m_tools.GetAt(i);
        int n = i + 1;
        CString key;
        key.Format("Menu Text #%d", n);
        profile.WriteProfileString("Tools", key, pTool->m_strMenuText);
        key.Format("Command #%d", n);
        profile.WriteProfileString("Tools", key, pTool->m_strCommand);
        key.Format("Arguments #%d", n);
        profile.WriteProfileString("Tools", key, pTool->m_strArguments);
        key.Format("Initial Directory #%d", n);
        profile.WriteProfileString("Tools", key, pTool->m_strInitialDirectory);
        key.Format("Output To Window #%d", n);
        profile.WriteProfileInt("Tools", key, pTool->m_bOutputToWindow ? 1 : 0);
        if (pTool->m_bOutputToWindow && m_pOutput != nullptr)
            m_pOutput->AddTab(pTool->GetPaneLabel());
    }
}

void CUserTools::StopWithLine(CUserTool* pTool)
{
    pTool->Stop();
    if (m_pOutput != nullptr && pTool->m_bOutputToWindow)
        m_pOutput->PrintToTab(pTool->GetPaneLabel(), szCanceled);
}

void CUserTools::Replace(CUserToolArray& newTools)
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_tools.GetAt(i)->IsRunning())
            StopWithLine(m_tools.GetAt(i));
    DeleteAll();
    for (int i = 0; i < newTools.GetSize(); ++i)
        m_tools.Add(newTools.GetAt(i));
    newTools.RemoveAll();
}

void CUserTools::OnUserTool(UINT nID, const CStringList& macros)
{
    if (nID < ID_USER_TOOL_FIRST)
        return;
    int index = static_cast<int>(nID - ID_USER_TOOL_FIRST);
    if (index >= GetCount())
        return;
    CUserTool* pTool = m_tools.GetAt(index);
    if (pTool->IsRunning()) {
        StopWithLine(pTool);
        return;
    }
    CString label = pTool->GetPaneLabel();
    HWND hWndPane = nullptr;
    if (pTool->m_bOutputToWindow && m_pOutput != nullptr) {
        m_pOutput->ClearTab(label);
        m_pOutput->ActivateTab(label);
        m_pOutput->ShowOutput();
        hWndPane = m_pOutput->GetTabEdit(label);
    }
    pTool->Run(m_hWndNotify, hWndPane, macros);
}

void CUserTools::OnUpdateUserTool(CCmdUI* pCmdUI) const
{
    BOOL bTool = pCmdUI->m_nID >= ID_USER_TOOL_FIRST && pCmdUI->m_nID - ID_USER_TOOL_FIRST < (UINT)GetCount();
    pCmdUI->Enable(bTool);
}

void CUserTools::OnToolProcessFinished(WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < GetCount(); ++i) {
        CUserTool* pTool = m_tools.GetAt(i);
        if (pTool->m_pProcess == nullptr || !pTool->m_pProcess->IsCompletion(wParam, lParam))
            continue;
        if (pTool->m_pProcess->HasStartFailed()) {
            CString error = pTool->m_pProcess->GetStartError();
            pTool->Stop();
            AfxMessageBox(error, MB_OK);
            return;
        }
        pTool->Stop();
        if (m_pOutput != nullptr && pTool->m_bOutputToWindow)
            m_pOutput->PrintToTab(pTool->GetPaneLabel(), szFinished);
        return;
    }
}
