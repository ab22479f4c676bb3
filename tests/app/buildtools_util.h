// Helpers of the tests of child processes, the build and user tools: message-only windows that
// take the posts of runs, a temporary directory, and copies of the stand-in tool program.
#pragma once
#include "afxtest.h"
#include "OutputPanes.h"
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace bt {

// A message-only window on the test's thread. As an output pane it keeps the text of every
// output block (and the size of each); as a notify window it keeps each completion message and
// passes it to the handler, if any.
class Recorder
{
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    HWND hWnd = nullptr;
    std::string text;
    std::vector<size_t> blocks;                          // the length of each output block
    std::vector<std::pair<WPARAM, LPARAM>> completions;  // (wParam, lParam) of each completion
    std::vector<UINT> completionMessages;
    std::function<void(UINT, WPARAM, LPARAM)> onCompletion;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A fresh directory below the system's temporary directory (or the parent given), removed with
// what it holds.
class TempDir
{
public:
    explicit TempDir(const CString& parent = CString());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const CString& Path() const { return m_path; }
    CString operator/(LPCSTR name) const { return m_path + "\\" + name; }

private:
    CString m_path;
};

// A fresh directory that the system gives as its temporary directory (through TMP) for the life
// of the object: what a program leaves among its temporary files is seen there alone.
class SystemTempDir : public TempDir
{
public:
    explicit SystemTempDir(const CString& parent = CString());
    ~SystemTempDir();

private:
    std::string m_oldTmp;
    bool m_hadTmp = false;
};

// The names of the files in a directory (not its folders), sorted.
std::vector<std::string> FileNames(const CString& dir, LPCSTR pattern = "*");

// The stand-in tool program built with the tests.
CString StandinPath();
// Copies the stand-in to dir\name; with instructions, writes them (lines) beside the copy.
CString CopyStandin(const CString& dir, LPCSTR name, LPCSTR instructions = nullptr);
void WriteTextFile(const CString& path, const std::string& text);
std::string ReadTextFile(const CString& path);
BOOL FileExists(const CString& path);
void MakeDirs(const CString& path);
CString CurrentDirectory();

// A recording Output window: panes are message-only windows made on demand by AddTab.
class FakeOutput : public COutputPanes
{
public:
    HWND GetTabEdit(LPCSTR label) override
    {
        auto it = panes.find(label);
        return it == panes.end() ? nullptr : it->second->hWnd;
    }
    void ClearTab(LPCSTR label) override
    {
        calls.push_back(std::string("clear ") + label);
        auto it = panes.find(label);
        if (it != panes.end())
            it->second->text.clear();
    }
    void ActivateTab(LPCSTR label) override { calls.push_back(std::string("activate ") + label); }
    void PrintToTab(LPCSTR label, LPCSTR text) override
    {
        auto it = panes.find(label);
        if (it != panes.end())
            it->second->text += text;
        else
            lost += text;
    }
    void AddTab(LPCSTR label) override
    {
        calls.push_back(std::string("add ") + label);
        panes[label] = std::make_unique<Recorder>();
    }
    void RemoveToolTabs() override
    {
        calls.push_back("remove");
        panes.clear();
    }
    void ShowOutput() override { calls.push_back("show"); }
    std::string& Text(const char* label) { return panes.at(label)->text; }

    std::map<std::string, std::unique_ptr<Recorder>> panes;
    std::vector<std::string> calls;
    std::string lost;   // printed to no pane
};

// The stand-in prints "pid=N" for its "pid" instruction: waits until the text holds that line and
// opens the process to wait on (null when the line did not come or the process is gone already).
HANDLE OpenPrintedProcess(const std::string& text);
// Whether the process ends within the bound (only there to keep a failure from hanging the test);
// closes the handle.
bool ProcessEnds(HANDLE hProcess);

// Pumps until pred holds (a generous bound: failing runs end the test instead of hanging it).
bool WaitFor(const std::function<bool()>& pred, DWORD nTimeoutMs = 20000);
// Pumps until pred holds while work goes on: the bound counts from the last change of progress()
// (output still arriving), so a run that takes long on a busy machine is waited for and one that
// stopped doing anything fails.
bool WaitWhileProgressing(const std::function<bool()>& pred, const std::function<size_t()>& progress,
                          DWORD nIdleMs = 20000);
// Lets a moment of posts arrive (for checks that something did not come).
void Settle(DWORD nMs = 200);

} // namespace bt
