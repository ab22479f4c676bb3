// Helpers of the tests of child processes, the build and user tools: message-only windows that
// take the posts of runs, a temporary directory, and copies of the stand-in tool program.
#pragma once
#include "afxtest.h"
#include <functional>
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

// A fresh directory below the system's temporary directory, removed with what it holds.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const CString& Path() const { return m_path; }
    CString operator/(LPCSTR name) const { return m_path + "\\" + name; }

private:
    CString m_path;
};

// The stand-in tool program built with the tests.
CString StandinPath();
// Copies the stand-in to dir\name; with instructions, writes them (lines) beside the copy.
CString CopyStandin(const CString& dir, LPCSTR name, LPCSTR instructions = nullptr);
void WriteTextFile(const CString& path, const std::string& text);
std::string ReadTextFile(const CString& path);
BOOL FileExists(const CString& path);
void MakeDirs(const CString& path);
CString CurrentDirectory();

// Pumps until pred holds (a generous bound: failing runs end the test instead of hanging it).
bool WaitFor(const std::function<bool()>& pred, DWORD nTimeoutMs = 20000);
// Lets a moment of posts arrive (for checks that something did not come).
void Settle(DWORD nMs = 200);

} // namespace bt
