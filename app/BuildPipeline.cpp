// The Build command's steps and the machine that runs them.
#include "BuildPipeline.h"
#include "BuildMapDlg.h"
#include "BuildRes.h"
#include "Entity.h"
#include "Map.h"
#include "PathIterator.h"
#include "Services.h"
#include "WadPair.h"
#include <climits>

// ---- Options ----------------------------------------------------------------------------------

CString CBuildOptions::QbspSwitches() const
{
    CString s;
    if (bQbspVerbose)
        s += "-verbose ";
    if (bQbspNoFill)
        s += "-nofill ";
    if (bQbspOnlyEnts)
        s += "-onlyents ";
    s += strQbspExtra;
    return s;
}

CString CBuildOptions::VisSwitches() const
{
    CString s;
    if (bVisVerbose)
        s += "-v ";
    if (bVisFast)
        s += "-fast ";
    if (nVisLevel >= 1 && nVisLevel <= 4) {
        CString level;
        level.Format("-level %d ", nVisLevel);
        s += level;
    }
    s += strVisExtra;
    return s;
}

CString CBuildOptions::LightSwitches() const
{
    CString s;
    if (bLightExtra)
        s += "-extra ";
    s += strLightExtra;
    return s;
}

CString CBuildOptions::GameArguments(LPCSTR lpszMapName, LPCSTR lpszMod) const
{
    CString s = strQuakeExtra;
    if (!s.IsEmpty() && s.Right(1) != " ")
        s += " ";
    if (lpszMod != nullptr && *lpszMod != '\0')
        s += "-game " + QuoteIfBlank(lpszMod) + " ";
    s += "+map ";
    s += QuoteIfBlank(lpszMapName);
    return s;
}

// ---- Steps ------------------------------------------------------------------------------------

CString CBuildStep::GetCommandLine() const
{
    return strCommand + " " + strArguments;
}

CString CBuildStep::GetProgramName() const
{
    return BuildFilePart(CommandProgram(strCommand));
}

CString BuildFilePart(const CString& path)
{
    // Windows takes "/" as a separator as well as "\\".
    int slash = path.ReverseFind('\\');
    int forward = path.ReverseFind('/');
    if (forward > slash)
        slash = forward;
    if (slash < 0)
        slash = path.ReverseFind(':');
    return slash < 0 ? path : path.Mid(slash + 1);
}

CString BuildBaseName(const CString& path)
{
    CString file = BuildFilePart(path);
    int dot = file.ReverseFind('.');
    return dot < 0 ? file : file.Left(dot);
}

CString BuildChangeExtension(const CString& path, LPCSTR lpszExtension)
{
    // Only the file part's dot counts: "D:\my.maps\e1m1" has no extension.
    CString file = BuildFilePart(path);
    int dot = file.ReverseFind('.');
    CString stem = dot < 0 ? path : path.Left(path.GetLength() - file.GetLength() + dot);
    return stem + lpszExtension;
}

CString QuoteIfBlank(const CString& text)
{
    if (text.Find(' ') < 0 || (text.GetLength() >= 2 && text[0] == '"'))
        return text;
    return "\"" + text + "\"";
}

namespace {

// A program named with its drive or from a root, quoted or not: a launcher's command line is often
// stored with its program in quotes.
BOOL IsAbsoluteCommand(const CString& command)
{
    const CString path = !command.IsEmpty() && command[0] == '"' ? command.Mid(1) : command;
    return (path.GetLength() >= 2 && path[1] == ':') || (!path.IsEmpty() && (path[0] == '\\' || path[0] == '/'));
}

// Whether two paths name the same file as far as their text tells ("." and "..", separators and
// case resolved).
BOOL SameFilePath(const CString& a, const CString& b)
{
    return WholePath(a).CompareNoCase(WholePath(b)) == 0;
}

} // namespace

void MakeBuildSteps(const CBuildOptions& options, const CBuildPaths& paths, std::vector<CBuildStep>& steps,
                    std::vector<CString>& boxes)
{
    steps.clear();
    boxes.clear();
    const CString mapArgument = QuoteIfBlank(paths.strMapFile);
    struct Tool
    {
        BOOL on;
        const char* program;
        CString switches;
    } tools[] = {
        {options.bQbsp, "qbsp.exe", options.QbspSwitches()},
        {options.bVis, "vis.exe", options.VisSwitches()},
        {options.bLight, "light.exe", options.LightSwitches()},
    };
    for (const Tool& tool : tools) {
        if (!tool.on)
            continue;
        CBuildStep step;
        step.strDirectory = paths.strBinDir;
        step.strCommand = QuoteIfBlank(paths.strBinDir + "\\" + tool.program);
        step.strArguments = tool.switches + " " + mapArgument;
        steps.push_back(step);
    }
    if (!options.bRunQuake)
        return;
    if (paths.strQuakePath.IsEmpty()) {
        boxes.push_back("You must specify a Quake path for the project.\nThe Quake executable will not be run.");
        return;
    }
    if (paths.strQuakeExe.IsEmpty()) {
        boxes.push_back("You must specify a Quake executable for the project.\nThe Quake executable will not be run.");
        return;
    }
    CString name = paths.strLevelName.IsEmpty() ? BuildBaseName(paths.strMapFile) : paths.strLevelName;
    // A map in a mod's folder is played in that mod, which looks for its levels in its own maps
    // folder; any other map is played in the base game.
    CString gameFolder = MapGameFolder(paths.strSourceMap.IsEmpty() ? paths.strMapFile : paths.strSourceMap,
                                       paths.strQuakePath);
    CString mod = BuildFilePart(gameFolder);
    if (mod.CompareNoCase("id1") == 0)
        mod.Empty();
    CBuildStep game;
    game.strDirectory = paths.strQuakePath;
    // A launcher's command stored whole is used as it is.
    game.strCommand = IsAbsoluteCommand(paths.strQuakeExe) ? paths.strQuakeExe
                                                            : QuoteIfBlank(JoinPath(paths.strQuakePath, paths.strQuakeExe));
    game.strArguments = options.GameArguments(name, mod);
    game.nShowWindow = SW_SHOWNORMAL;
    // A map in the game's own maps folder has its level where the game looks already: a copy onto
    // itself would fail and the game would never start.
    CString level = BuildChangeExtension(paths.strMapFile, ".bsp");
    CString dest = JoinPath(mod.IsEmpty() ? JoinPath(paths.strQuakePath, "id1") : gameFolder, "maps\\" + name + ".bsp");
    if (!SameFilePath(level, dest)) {
        game.strCopySource = level;
        game.strCopyDest = dest;
    }
    steps.push_back(game);
}

std::vector<CString> BuildOutputFiles(const CString& mapFile)
{
    std::vector<CString> files;
    for (LPCSTR extension : {".bsp", ".prt", ".pts", ".lit", ".h1", ".h2"})
        files.push_back(BuildChangeExtension(mapFile, extension));
    return files;
}

CString PartialLevelName(const CString& mapPath)
{
    CString base = BuildBaseName(mapPath);
    if (base.IsEmpty())
        base = "map";
    return base + "-partial";
}

CString MakePartialMapName(const CString& directory, const CString& mapPath,
                           const std::function<BOOL(const CString&)>& exists)
{
    const CString name = PartialLevelName(mapPath);
    // No count of others' files ends the search: a free name always comes.
    for (int n = 1; n < INT_MAX; ++n) {
        CString stem;
        if (n == 1)
            stem.Format("%s\\%s", (LPCSTR)directory, (LPCSTR)name);
        else
            stem.Format("%s\\%s%d", (LPCSTR)directory, (LPCSTR)name, n);
        const CString mapFile = stem + ".map";
        BOOL bTaken = exists(mapFile);
        for (const CString& output : BuildOutputFiles(mapFile))
            bTaken = bTaken || exists(output);
        if (!bTaken)
            return mapFile;
    }
    return CString();
}

CString BuildTempDirectory()
{
    char sz[MAX_PATH + 1] = "";
    DWORD n = ::GetTempPathA(MAX_PATH, sz);
    CString dir = n > 0 && n < MAX_PATH ? CString(sz) : CString(".");
    if (dir.GetLength() > 3 && dir.Right(1) == "\\")
        dir = dir.Left(dir.GetLength() - 1);
    return dir;
}

BOOL PrepareBuild(Map& map, const CBuildOptions& options, const std::function<void(LPCSTR)>& print,
                  std::vector<CBuildStep>& steps, CString* pTemporaryMap)
{
    steps.clear();
    if (pTemporaryMap != nullptr)
        pTemporaryMap->Empty();
    // A temporary map written for a build that ends here is not left behind.
    CString temporary;
    struct Leftover
    {
        CString& path;
        bool keep = false;
        ~Leftover()
        {
            if (!keep && !path.IsEmpty())
                ::DeleteFileA(path);
        }
    } leftover{temporary};
    CString mapFile;
    // The map whose game folder the "wad" value is seen from: the saved map's path (for an
    // untitled map: none, the WADs' full paths).
    const CString realPath = map.GetPathName();
    LPCSTR wadPlace = realPath.IsEmpty() ? nullptr : static_cast<LPCSTR>(realPath);
    if (options.bOnlyVisible) {
        mapFile = MakePartialMapName(BuildTempDirectory(), map.GetPathName(), [](const CString& path) {
            return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
        });
        if (mapFile.IsEmpty()) {
            AfxMessageBox("Couldn't find a name for the temporary map file of the partial build.", MB_OK);
            return FALSE;
        }
        // The compilers look for the WADs from the map's game folder; the temporary file has
        // none, so its "wad" names them as the saved map would.
        if (!map.WriteMapFile(mapFile, wadPlace))
            return FALSE;
        temporary = mapFile;
        print("Building partial file: " + mapFile + "\n");
    } else {
        // An untitled map gets its name from the save. A map whose file names other WADs than the
        // project's is out of date as much as an edited one: qbsp reads the file.
        if (map.IsModified() || map.GetPathName().IsEmpty() || map.HasStaleWadValue()) {
            if (!map.DoFileSave())
                return FALSE;
        }
        mapFile = map.GetPathName();
        print("Building file: " + mapFile + "\n");
    }

    CPathIterator bin;
    if (!bin.Init("Bin", IDS_NO_BIN_PATHS, ""))
        return FALSE;
    CBuildPaths paths;
    paths.strMapFile = mapFile;
    if (options.bOnlyVisible) {
        paths.strSourceMap = realPath;
        paths.strLevelName = PartialLevelName(realPath);
    }
    paths.strBinDir = bin.NextDirectory();
    if (paths.strBinDir.IsEmpty()) {
        AfxMessageBox("Couldn't find a Bin directory in the project settings.", MB_OK);
        return FALSE;
    }
    CEditorServices* services = GetEditorServices();
    paths.strQuakePath = services->GetProfileString("Project Settings", "Quake Path", "");
    paths.strQuakeExe = services->GetProfileString("Project Settings", "Quake Exe", "");
    std::vector<CString> boxes;
    MakeBuildSteps(options, paths, steps, boxes);
    for (const CString& text : boxes)
        AfxMessageBox(text, MB_OK);
    if (options.bQbsp) {
        // What the file names is what qbsp reads: the saved map's own value, or the one written
        // into the temporary file.
        const CString* saved = map.GetWorldEntity() ? map.GetWorldEntity()->FindValue("wad") : nullptr;
        CString value = options.bOnlyVisible ? map.WadValueFor(wadPlace) : saved ? *saved : CString();
        CString warning = WadPairWarning(value, MapGameFolder(options.bOnlyVisible ? realPath : mapFile,
                                                              paths.strQuakePath));
        if (!warning.IsEmpty())
            print(warning);
    }
    if (pTemporaryMap != nullptr)
        *pTemporaryMap = temporary;
    leftover.keep = true;
    return TRUE;
}

// ---- The machine ------------------------------------------------------------------------------

CChildRun* StartBuildStep(const CBuildStep& step, HWND hWndNotify, HWND hWndPane)
{
    return new CUserToolProcess(WM_BUILD_STEP_FINISHED, hWndNotify, hWndPane, "Build", step.strDirectory,
                                step.GetCommandLine(), step.nShowWindow);
}

const char CBuildPipeline::szFailedToBuild[] =
    "An error occured while building the map.\nSee the output window for more details.";
const char CBuildPipeline::szCanceled[] = "The build process was canceled at the user's request.";
const char CBuildPipeline::szSucceeded[] = "\n\nBuild process completed successfully\n";
const char CBuildPipeline::szCanceledLine[] = "\n\nBuild process canceled at the user's request\n";

CBuildPipeline::CBuildPipeline(Factory factory, Printer printer)
    : m_factory(std::move(factory)), m_printer(std::move(printer))
{
}

CBuildPipeline::~CBuildPipeline()
{
    Stop();
}

void CBuildPipeline::RemoveTemporaryFiles()
{
    for (const CString& path : m_temporaryFiles)
        ::DeleteFileA(path);
    m_temporaryFiles.clear();
}

void CBuildPipeline::EndCurrent()
{
    delete m_pCurrent;  // stops a run that still goes
    m_pCurrent = nullptr;
    m_strCurrentProgram.Empty();
}

void CBuildPipeline::Stop()
{
    EndCurrent();
    m_steps.clear();
    m_bRunning = FALSE;
    RemoveTemporaryFiles();
}

void CBuildPipeline::Start(const std::vector<CBuildStep>& steps, LPCSTR lpszTemporaryMap)
{
    Stop();
    m_steps = steps;
    if (lpszTemporaryMap != nullptr && *lpszTemporaryMap != '\0') {
        m_temporaryFiles.push_back(lpszTemporaryMap);
        // Only what the compilers make: a file of that name already there is not the build's.
        for (const CString& output : BuildOutputFiles(lpszTemporaryMap))
            if (::GetFileAttributesA(output) == INVALID_FILE_ATTRIBUTES)
                m_temporaryFiles.push_back(output);
    }
    m_bRunning = TRUE;
    NextStep();
}

void CBuildPipeline::Cancel()
{
    if (!IsRunning())
        return;
    EndCurrent();
    if (!m_steps.empty())
        AfxMessageBox(szCanceled, MB_OK);
    m_steps.clear();
    m_bRunning = FALSE;
    RemoveTemporaryFiles();
    if (m_printer)
        m_printer(szCanceledLine);
}

void CBuildPipeline::OnStepFinished(WPARAM wParam, LPARAM lParam)
{
    if (m_pCurrent == nullptr || !m_pCurrent->IsCompletion(wParam, lParam))
        return;
    if (m_pCurrent->HasStartFailed()) {
        // The step never ran: its reason, once, and the build is over.
        CString error = m_pCurrent->GetStartError();
        Stop();
        AfxMessageBox(error, MB_OK);
        return;
    }
    if (m_pCurrent->HasFailed()) {
        CString line;
        line.Format("\n\n%s failed with exit code %d\n", (LPCSTR)m_strCurrentProgram,
                    static_cast<int>(m_pCurrent->GetExitCode()));
        BOOL bStepsLeft = !m_steps.empty();
        Stop();
        if (m_printer)
            m_printer(line);
        if (bStepsLeft)
            AfxMessageBox(szFailedToBuild, MB_OK);
        return;
    }
    EndCurrent();
    NextStep();
}

void CBuildPipeline::NextStep()
{
    if (m_steps.empty()) {
        m_bRunning = FALSE;
        RemoveTemporaryFiles();
        if (m_printer)
            m_printer(szSucceeded);
        return;
    }
    CBuildStep step = m_steps.front();
    m_steps.erase(m_steps.begin());
    if (!step.strCopySource.IsEmpty() && !step.strCopyDest.IsEmpty() &&
        !::CopyFileA(step.strCopySource, step.strCopyDest, FALSE)) {
        Stop();
        CString text;
        text.Format("Morvane was unable to copy the file:\n%s\nto\n%s.\nQuake will not be run.",
                    (LPCSTR)step.strCopySource, (LPCSTR)step.strCopyDest);
        AfxMessageBox(text, MB_OK);
        return;
    }
    m_pCurrent = m_factory ? m_factory(step) : nullptr;
    if (m_pCurrent == nullptr) {
        Stop();
        AfxMessageBox("Couldn't start the build step.\nThe command was:\n" + step.GetCommandLine(), MB_OK);
        return;
    }
    m_strCurrentProgram = step.GetProgramName();
}

void CBuildPipeline::UpdateBuildCmdUI(CCmdUI* pCmdUI, BOOL bMapWindowActive) const
{
    pCmdUI->Enable(bMapWindowActive || IsStepRunning());
    pCmdUI->SetCheck(IsStepRunning() ? 1 : 0);
}

// ---- The command ------------------------------------------------------------------------------

const char CBuildCommand::szBuildPane[] = "Build";

CBuildCommand::CBuildCommand(HWND hWndNotify, COutputPanes* pOutput)
    : m_hWndNotify(hWndNotify), m_pOutput(pOutput),
      m_pipeline(
          [this](const CBuildStep& step) -> CChildRun* {
              return StartBuildStep(step, m_hWndNotify,
                                    m_pOutput != nullptr ? m_pOutput->GetTabEdit(szBuildPane) : nullptr);
          },
          [this](LPCSTR text) {
              if (m_pOutput != nullptr)
                  m_pOutput->PrintToTab(szBuildPane, text);
          })
{
}

void CBuildCommand::OnBuild(Map* pActiveMap)
{
    if (m_pipeline.IsRunning()) {
        m_pipeline.Cancel();
        return;
    }
    if (pActiveMap == nullptr)
        return;
    CBuildMapDlg dlg(AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return;
    if (m_pOutput != nullptr) {
        m_pOutput->ClearTab(szBuildPane);
        m_pOutput->ActivateTab(szBuildPane);
        m_pOutput->ShowOutput();
    }
    std::vector<CBuildStep> steps;
    CString temporaryMap;
    if (!PrepareBuild(*pActiveMap, dlg.GetOptions(),
                      [this](LPCSTR text) {
                          if (m_pOutput != nullptr)
                              m_pOutput->PrintToTab(szBuildPane, text);
                      },
                      steps, &temporaryMap))
        return;
    m_pipeline.Start(steps, temporaryMap);
}
