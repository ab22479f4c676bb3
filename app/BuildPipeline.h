// The Build command's work after its dialog: the options, the queue of steps (qbsp, vis, light,
// then the game) made from the options and the paths, and the machine that runs the steps one
// after the other as child processes.
#pragma once
#include "afxwin.h"
#include "OutputPanes.h"
#include "UserToolProcess.h"
#include <functional>
#include <vector>

class Map;

// What the Build Map dialog collects.
struct CBuildOptions
{
    BOOL bQbsp = TRUE;
    BOOL bQbspVerbose = FALSE;
    BOOL bQbspNoFill = FALSE;
    BOOL bQbspOnlyEnts = FALSE;
    CString strQbspExtra;

    BOOL bVis = TRUE;
    BOOL bVisVerbose = FALSE;
    BOOL bVisFast = TRUE;
    int nVisLevel = 0;          // 0 to 4
    CString strVisExtra;

    BOOL bLight = TRUE;
    BOOL bLightExtra = FALSE;   // Extra Sampling
    CString strLightExtra;

    BOOL bRunQuake = TRUE;
    CString strQuakeExtra;      // the game's extra parameters
    BOOL bOnlyVisible = FALSE;  // build only the visible objects, from a temporary map file

    // "-verbose ", "-nofill ", "-onlyents ", then the extra parameters.
    CString QbspSwitches() const;
    // "-v ", "-fast ", "-level N " (levels 1 to 4), then the extra parameters.
    CString VisSwitches() const;
    // "-extra ", then the extra parameters.
    CString LightSwitches() const;
    // The extra parameters, a blank unless they are empty or end in one, "-game " and the mod's
    // folder name with a blank when one is given, "+map " and the name (names in double quotes when
    // they hold a blank, so that the game takes each as one argument).
    CString GameArguments(LPCSTR lpszMapName, LPCSTR lpszMod = nullptr) const;
};

// One step of a build. The command line is the command, one blank, the arguments.
struct CBuildStep
{
    CString strDirectory;       // the child's working directory
    CString strCommand;         // the program, quoted when its path holds a blank
    CString strArguments;
    CString strCopySource;      // copied to the destination (overwriting) before the step runs;
    CString strCopyDest;        // both empty for no copy
    WORD nShowWindow = SW_HIDE; // how the program shows its first window: the tools work unseen,
                                // the game is played

    CString GetCommandLine() const;
    // The program's file name, for the Build pane's lines.
    CString GetProgramName() const;
};

// Where a build finds its files.
struct CBuildPaths
{
    CString strMapFile;         // the map file the tools read
    CString strSourceMap;       // the saved map a partial build's file stands for (empty: the
                                // map file itself); its game folder receives the level
    CString strLevelName;       // the name the level is copied and played under (empty: the map
                                // file's base name)
    CString strBinDir;          // the project's Bin directory
    CString strQuakePath;       // "Project Settings"/"Quake Path"
    CString strQuakeExe;        // "Project Settings"/"Quake Exe"
};

// The steps of a build, in order, each only when its group is on. The texts of the boxes to show
// (a missing Quake path or executable: the game step is left out) go to boxes. The level goes into
// the maps folder of the map's game folder: a mod's own (and the game is started with "-game mod"),
// else id1's.
void MakeBuildSteps(const CBuildOptions& options, const CBuildPaths& paths, std::vector<CBuildStep>& steps,
                    std::vector<CString>& boxes);

// Path pieces as the build uses them: the part after the last backslash or slash (else after the
// last colon, else the whole); that part without its last "."; the path with the extension of its file
// part replaced (a file part without "." gets the extension appended).
CString BuildFilePart(const CString& path);
CString BuildBaseName(const CString& path);
CString BuildChangeExtension(const CString& path, LPCSTR lpszExtension);
// The text in double quotes when it holds a blank and is not quoted yet.
CString QuoteIfBlank(const CString& text);

// The files the compilers make beside the map file they read (the level, vis's portals, the
// leak's points, light's coloured light, qbsp's clipping hulls), in that order.
std::vector<CString> BuildOutputFiles(const CString& mapFile);
// The name a partial build's level has in the game: the map's base name and "-partial" (an
// untitled map's is "map-partial"). One per map: each partial build of the map replaces it.
CString PartialLevelName(const CString& mapPath);
// A name for the temporary map file of a partial build, in the directory: the partial level's
// name (then with "2" and on, as far as it takes) with ".map", the first whose .map and whose
// compiler outputs do not exist (exists answers for a path), so that every file of that name
// that a build leaves there is the build's own.
CString MakePartialMapName(const CString& directory, const CString& mapPath,
                           const std::function<BOOL(const CString&)>& exists);
// The system's directory for temporary files (TMP first), without a trailing backslash.
CString BuildTempDirectory();

// Writes the active map for a build and queues its steps (what the Build command does once its
// dialog said OK): the saved map (saved first when modified or when its "wad" no longer names the
// project's WADs), or its visible objects in a temporary map file, whose level the game gets as
// the map's one partial level; the project's Bin directory; the game's path from the settings.
// Lines go to the Build pane through print. FALSE when the build ends here (the reason was
// reported; a temporary map already written is deleted). The temporary map of a build that goes
// on, and what the compilers make of it, are the caller's to delete: pTemporaryMap gets its name
// (empty for a whole build).
BOOL PrepareBuild(Map& map, const CBuildOptions& options, const std::function<void(LPCSTR)>& print,
                  std::vector<CBuildStep>& steps, CString* pTemporaryMap = nullptr);

// Starts a step's run as the Build command does: its output to the pane (null: not captured), its
// end posted to the notify window as WM_BUILD_STEP_FINISHED.
CChildRun* StartBuildStep(const CBuildStep& step, HWND hWndNotify, HWND hWndPane);

// Runs the queued steps one at a time. Each step's run posts WM_BUILD_STEP_FINISHED to its owner,
// which hands it to OnStepFinished.
class CBuildPipeline
{
public:
    // Starts a step's run (null when nothing could be made).
    typedef std::function<CChildRun*(const CBuildStep&)> Factory;
    // Appends text to the Build pane.
    typedef std::function<void(LPCSTR)> Printer;

    CBuildPipeline(Factory factory, Printer printer);
    // Stops the run without a word (the frame closes).
    ~CBuildPipeline();
    CBuildPipeline(const CBuildPipeline&) = delete;
    CBuildPipeline& operator=(const CBuildPipeline&) = delete;

    // Runs the steps; an empty queue succeeds at once. The temporary map (a partial build's) and
    // the compilers' outputs beside it that are not there yet are deleted when the build ends,
    // however it ends, once its steps' programs have ended.
    void Start(const std::vector<CBuildStep>& steps, LPCSTR lpszTemporaryMap = nullptr);
    // Build pressed while a build runs: the step is stopped, the rest is dropped.
    void Cancel();
    // The completion message of a step's run; one of an earlier run changes nothing.
    void OnStepFinished(WPARAM wParam, LPARAM lParam);
    // Stops everything without boxes or lines.
    void Stop();

    // A build is under way (a step runs or one is about to start).
    BOOL IsRunning() const { return m_bRunning || m_pCurrent != nullptr; }
    // A step's process exists.
    BOOL IsStepRunning() const { return m_pCurrent != nullptr; }
    int GetQueuedCount() const { return static_cast<int>(m_steps.size()); }
    CChildRun* GetCurrent() const { return m_pCurrent; }
    // The Build command's state: enabled while a map window is active or a step runs, checked
    // while a step runs.
    void UpdateBuildCmdUI(CCmdUI* pCmdUI, BOOL bMapWindowActive) const;

    static const char szFailedToBuild[];
    static const char szCanceled[];
    static const char szSucceeded[];
    static const char szCanceledLine[];

private:
    void NextStep();
    void EndCurrent();
    void RemoveTemporaryFiles();

    Factory m_factory;
    Printer m_printer;
    std::vector<CBuildStep> m_steps;
    CChildRun* m_pCurrent = nullptr;
    CString m_strCurrentProgram;
    BOOL m_bRunning = FALSE;
    std::vector<CString> m_temporaryFiles;     // the build's own, deleted when it ends
};

// The Build command as the main frame runs it: the dialog, the map written, the steps run with
// their output in the "Build" pane; pressing Build during a build cancels it.
class CBuildCommand
{
public:
    // Step runs post their end to hWndNotify; pOutput may be null (no Output window).
    CBuildCommand(HWND hWndNotify, COutputPanes* pOutput);
    CBuildCommand(const CBuildCommand&) = delete;
    CBuildCommand& operator=(const CBuildCommand&) = delete;

    void SetNotifyWindow(HWND hWnd) { m_hWndNotify = hWnd; }
    // The Build command, for the active map (null: none, nothing happens unless a build runs).
    void OnBuild(Map* pActiveMap);
    // WM_BUILD_STEP_FINISHED.
    void OnBuildStep(WPARAM wParam, LPARAM lParam) { m_pipeline.OnStepFinished(wParam, lParam); }
    void OnUpdateBuild(CCmdUI* pCmdUI, BOOL bMapWindowActive) const
    {
        m_pipeline.UpdateBuildCmdUI(pCmdUI, bMapWindowActive);
    }
    // Stops every step without a word (the frame closes).
    void Stop() { m_pipeline.Stop(); }
    CBuildPipeline& GetPipeline() { return m_pipeline; }

    static const char szBuildPane[];

private:
    HWND m_hWndNotify;
    COutputPanes* m_pOutput;
    CBuildPipeline m_pipeline;
};
