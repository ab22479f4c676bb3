#include "buildtools_util.h"
#include "UserToolProcess.h"
#include <algorithm>

namespace bt {

namespace {
const char szRecorderClass[] = "MorvaneTestRecorder";
}

Recorder::Recorder()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = szRecorderClass;
    ::RegisterClassA(&wc);   // fails harmlessly once registered
    hWnd = ::CreateWindowExA(0, szRecorderClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

Recorder::~Recorder()
{
    if (hWnd != nullptr)
        ::DestroyWindow(hWnd);
}

LRESULT CALLBACK Recorder::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* pcs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pcs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Recorder*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == WM_TOOL_OUTPUT) {
            const char* block = reinterpret_cast<const char*>(wParam);
            self->text += block;
            self->blocks.push_back(strlen(block));
            FreeOutputBlock(wParam);
            return 0;
        }
        if (message == WM_TOOL_FINISHED || message == WM_BUILD_STEP_FINISHED) {
            self->completions.emplace_back(wParam, lParam);
            self->completionMessages.push_back(message);
            if (self->onCompletion)
                self->onCompletion(message, wParam, lParam);
            return 0;
        }
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

namespace {

void RemoveTree(const CString& path)
{
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA(path + "\\*", &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            CString name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            CString full = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                ::SetFileAttributesA(full, FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full);
            }
        } while (::FindNextFileA(h, &data));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(path);
}

} // namespace

TempDir::TempDir(const CString& parent)
{
    char szTemp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szTemp);
    static int counter = 0;
    CString base = parent.IsEmpty() ? CString(szTemp) : parent;
    if (base.Right(1) == "\\")
        base = base.Left(base.GetLength() - 1);
    for (;;) {
        m_path.Format("%s\\mvbt %lu %d", (LPCSTR)base, ::GetCurrentProcessId(), ++counter);
        if (::CreateDirectoryA(m_path, nullptr))
            break;
    }
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

SystemTempDir::SystemTempDir(const CString& parent) : TempDir(parent)
{
    char sz[MAX_PATH * 2];
    const DWORD n = ::GetEnvironmentVariableA("TMP", sz, sizeof sz);
    m_hadTmp = n > 0 && n < sizeof sz;
    if (m_hadTmp)
        m_oldTmp.assign(sz, n);
    ::SetEnvironmentVariableA("TMP", Path());
}

SystemTempDir::~SystemTempDir()
{
    ::SetEnvironmentVariableA("TMP", m_hadTmp ? m_oldTmp.c_str() : nullptr);
}

std::vector<std::string> FileNames(const CString& dir, LPCSTR pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA(dir + "\\" + pattern, &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        } while (::FindNextFileA(h, &data));
        ::FindClose(h);
    }
    std::sort(names.begin(), names.end());
    return names;
}

CString StandinPath()
{
    char sz[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, sz, MAX_PATH);
    CString path = sz;
    return path.Left(path.ReverseFind('\\')) + "\\morvane_standin.exe";
}

CString CopyStandin(const CString& dir, LPCSTR name, LPCSTR instructions)
{
    CString path = dir + "\\" + name;
    ::CopyFileA(StandinPath(), path, FALSE);
    if (instructions != nullptr) {
        CString txt = path.Left(path.ReverseFind('.')) + ".txt";
        WriteTextFile(txt, instructions);
    }
    return path;
}

void WriteTextFile(const CString& path, const std::string& text)
{
    FILE* f = fopen(path, "wb");
    if (f == nullptr)
        return;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::string ReadTextFile(const CString& path)
{
    std::string text;
    FILE* f = fopen(path, "rb");
    if (f == nullptr)
        return text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    fclose(f);
    return text;
}

BOOL FileExists(const CString& path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void MakeDirs(const CString& path)
{
    for (int i = 3; i <= path.GetLength(); ++i)
        if (i == path.GetLength() || path[i] == '\\')
            ::CreateDirectoryA(path.Left(i), nullptr);
}

CString CurrentDirectory()
{
    char sz[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, sz);
    return sz;
}

bool WaitFor(const std::function<bool()>& pred, DWORD nTimeoutMs)
{
    return afxtest::WaitFor(pred, nTimeoutMs);
}

bool WaitWhileProgressing(const std::function<bool()>& pred, const std::function<size_t()>& progress, DWORD nIdleMs)
{
    for (;;) {
        const size_t seen = progress();
        if (!WaitFor([&] { return pred() || progress() != seen; }, nIdleMs))
            return false;
        if (pred())
            return true;
    }
}

HANDLE OpenPrintedProcess(const std::string& text)
{
    if (!WaitFor([&] { return text.find("pid=") != std::string::npos; }))
        return nullptr;
    DWORD pid = strtoul(text.c_str() + text.find("pid=") + 4, nullptr, 10);
    return ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
}

bool ProcessEnds(HANDLE hProcess)
{
    bool bEnded = ::WaitForSingleObject(hProcess, 20000) == WAIT_OBJECT_0;
    ::CloseHandle(hProcess);
    return bEnded;
}

void Settle(DWORD nMs)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < nMs) {
        afxtest::PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

} // namespace bt
