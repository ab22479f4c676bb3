// User tools: commands of the user's own at the end of the Tools menu, run as child processes with
// macros such as ${MapName} expanded, each with its output in an Output pane of its own.
#pragma once
#include "afxwin.h"
#include "afxprofile.h"
#include "OutputPanes.h"
#include "UserToolProcess.h"

class Map;

// The commands of the first nine tools; tools beyond them get the following ids, which nothing
// handles (they show disabled).
const UINT ID_USER_TOOL_FIRST = 45102;
const UINT ID_USER_TOOL_LAST = 45110;

class CUserTool : public CObject
{
public:
    CUserTool();
    // A copy has the fields and no run.
    CUserTool(const CUserTool& other);
    CUserTool& operator=(const CUserTool& other);
    // Stops a run that still goes.
    ~CUserTool() override;

    BOOL m_bOutputToWindow;
    CString m_strMenuText;
    CString m_strCommand;
    CString m_strArguments;
    CString m_strInitialDirectory;
    CUserToolProcess* m_pProcess;   // owned; set exactly while the tool runs

    BOOL IsRunning() const { return m_pProcess != nullptr; }
    // The label of the tool's Output pane: the menu text without its first "&".
    CString GetPaneLabel() const;
    // The command line and directory with the macros expanded (entries "name=value"; those with an
    // empty name or value are left alone). A command path holding a blank is quoted.
    void Expand(const CStringList& macros, CString& commandLine, CString& directory) const;
    // Starts the tool: its output goes to hWndPane (null: not captured), its end is posted to
    // hWndNotify with WM_TOOL_FINISHED.
    void Run(HWND hWndNotify, HWND hWndPane, const CStringList& macros);
    // Stops the run (deleting its process stops the child).
    void Stop();
};

typedef CTypedPtrArray<CObArray, CUserTool*> CUserToolArray;

// Replaces every occurrence of find, left to right, without looking into replaced text; flag bit 0
// compares without regard to case. The number of replacements; 0 when the text is shorter than
// find; -1 for an empty find or no replacement.
int ReplaceAll(CString& text, LPCSTR lpszFind, LPCSTR lpszReplacement, UINT nFlags = 0);
// Splits "name=value" at the first "="; TRUE only when both parts are there.
BOOL SplitNameValue(LPCSTR lpszEntry, CString& name, CString& value);
// The menu text without its first "&".
CString ToolPaneLabel(const CString& menuText);

// The values the macros stand for.
struct CToolMacroValues
{
    CString strBinDir, strEntityDir, strObjectDir, strWadDir;
    CString strMapPath;
    CString strProjectPath;
    CString strQuakeDir, strRootDir, strAutoSaveDir;
};
// One "name=value" entry per macro, in a fixed order.
void ExpandToolVariables(const CToolMacroValues& values, CStringList& list);
// The values of the open project, the active map (null: none) and the settings.
CToolMacroValues GatherToolMacroValues(Map* pActiveMap);

// The Tools pop-up of a menu bar, found by what it holds (a tool's command or the Customize
// command) and not by its place, which a maximised map window's system menu shifts. Null if none.
CMenu* FindToolsMenu(CMenu* pMenuBar);
// Puts the tools at the end of the menu (after a separator), replacing the tools put there before,
// each checked while it runs. TRUE when every tool was appended.
BOOL BuildToolsMenu(CMenu* pMenu, UINT nFirstID, const CUserToolArray& tools);

// The main frame's list of tools and what its commands do with them.
class CUserTools
{
public:
    // Completion messages go to hWndNotify; pOutput may be null (no Output window).
    CUserTools(HWND hWndNotify, COutputPanes* pOutput);
    // Deletes the tools (stopping their runs).
    ~CUserTools();
    CUserTools(const CUserTools&) = delete;
    CUserTools& operator=(const CUserTools&) = delete;

    const CUserToolArray& GetTools() const { return m_tools; }
    int GetCount() const { return static_cast<int>(m_tools.GetSize()); }
    CUserTool* GetTool(int nIndex) const { return m_tools.GetAt(nIndex); }
    void SetNotifyWindow(HWND hWnd) { m_hWndNotify = hWnd; }

    // Reads the "Tools" section (tools 1, 2, ... up to the first incomplete one) and adds a pane
    // for each tool whose output goes to the window.
    void Load(CProfileStore& profile);
    // Writes the tools anew as 1, 2, ... and makes their panes again.
    void Save(CProfileStore& profile);
    // Takes a new list (the copies the Tools page edited): every running tool is stopped first,
    // with a line in its pane, so that no run writes into a pane that goes.
    void Replace(CUserToolArray& newTools);
    // Stops every run without a word (the frame closes).
    void StopAll();
    void DeleteAll();

    // The command of a tool: runs it, or stops it when it runs.
    void OnUserTool(UINT nID, const CStringList& macros);
    void OnUpdateUserTool(CCmdUI* pCmdUI) const;
    // WM_TOOL_FINISHED: the tool whose run it was stops; a run that could not start shows why.
    void OnToolProcessFinished(WPARAM wParam, LPARAM lParam);
    // Fills the Tools pop-up.
    BOOL BuildMenu(CMenu* pMenu) const { return BuildToolsMenu(pMenu, ID_USER_TOOL_FIRST, m_tools); }

    static const char szCanceled[];
    static const char szFinished[];

private:
    void StopWithLine(CUserTool* pTool);

    HWND m_hWndNotify;
    COutputPanes* m_pOutput;
    CUserToolArray m_tools;
};
