// A stand-in for the map tools, the game and user tools in the tests: a console program that does
// what its instructions say. The instructions come from a file named like the program with ".txt"
// beside it (qbsp.exe reads qbsp.txt, one instruction a line; its arguments are then only data), or
// else from its arguments (an instruction word, then its value where it takes one).
//
//   out TEXT      a line on standard output          err TEXT     a line on standard error
//   lines N       N numbered lines, alternately on standard output and standard error
//   flood N       about N bytes of numbered lines on standard output
//   args          its command line and arguments     cwd          its working directory
//   pid           its process id                     console      whether it has a console window
//   stdin         reads its standard input to the end and says how much came
//   bsp           the last argument is a map: records its size and first line, writes the .bsp
//   wad           the last argument is a map: reads worldspawn's "wad" value as id's qbsp does
//                 (one token of at most 128 characters, one WAD relative to the game folder, the
//                 folder after "quake" in the map's path) and ends with exit code 1 where qbsp fails
//   show          how it was asked to show its first window (the start-up information)
//   copy FILE     the last argument is a map: copies it to FILE (beside the program when relative)
//   record FILE   appends its command line and working directory to FILE (beside the program
//                 when relative)
//   make EXT      the last argument is a map: writes the file of the map's name with the extension
//   hold EXT      the same, kept open to itself (no sharing) for as long as the program runs
//   launch FILE   starts the program FILE (beside the program when relative) as a windowed
//                 launcher does: detached, without handles of its own, without waiting; says
//                 "started=PID"
//   pass FILE     the same, the program FILE getting this one's handles (its standard output and
//                 error among them), as a launcher that passes its handles on does
//   pidfile FILE  writes its process id to FILE (beside the program when relative)
//   sleep MS      sleeps (MS "forever": never ends)  exit N       ends with exit code N
#include <windows.h>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_args;    // the arguments, without the program
std::string g_programDir;

void Write(DWORD nStd, const std::string& text)
{
    // Written straight through, so that lines of both handles keep their order in a shared pipe.
    DWORD n = 0;
    ::WriteFile(::GetStdHandle(nStd), text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
}

void Out(const std::string& line) { Write(STD_OUTPUT_HANDLE, line + "\n"); }

std::string NumberedLine(int i, const char* where)
{
    char sz[80];
    snprintf(sz, sizeof sz, "line %05d %s abcdefghijklmnopqrstuvwxyz\n", i, where);
    return sz;
}

std::string Cwd()
{
    char sz[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, sz);
    return sz;
}

std::string CommandLineTail()
{
    return ::GetCommandLineA();
}

// The map (the last argument) with its extension replaced.
std::string MapWithExtension(const std::string& extension)
{
    std::string map = g_args.empty() ? std::string("none") : g_args.back();
    size_t dot = map.rfind('.');
    size_t slash = map.find_last_of("\\/:");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        map.erase(dot);
    return map + extension;
}

void Bsp()
{
    if (g_args.empty()) {
        Out("bsp: no map");
        return;
    }
    std::string map = g_args.back();
    FILE* f = fopen(map.c_str(), "rb");
    if (f == nullptr) {
        Out("bsp: cannot read " + map);
        return;
    }
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fseek(f, 0, SEEK_SET);
    char first[256] = "";
    if (fgets(first, sizeof first, f) == nullptr)
        first[0] = '\0';
    fclose(f);
    first[strcspn(first, "\r\n")] = '\0';
    Out("map=" + map + " size=" + std::to_string(size) + " first=" + first);
    std::string bsp = MapWithExtension(".bsp");
    FILE* out = fopen(bsp.c_str(), "wb");
    if (out == nullptr) {
        Out("bsp: cannot write " + bsp);
        return;
    }
    fprintf(out, "BSP of %s\n", map.c_str());
    fclose(out);
    Out("wrote " + bsp);
}

// The first quoted "wad" value of the map text, read in tokens as id's tools do.
void Wad()
{
    if (g_args.empty()) {
        Out("wad: no map");
        exit(1);
    }
    std::string map = g_args.back();
    FILE* f = fopen(map.c_str(), "rb");
    if (f == nullptr) {
        Out("wad: cannot read " + map);
        exit(1);
    }
    std::string text;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;)
        text.append(buf, n);
    fclose(f);
    std::vector<std::string> tokens;
    for (size_t i = 0; i < text.size() && tokens.size() < 64;) {
        if (isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        size_t end;
        if (text[i] == '"') {
            end = text.find('"', i + 1);
            if (end == std::string::npos)
                break;
            tokens.push_back(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            end = text.find_first_of(" \t\r\n", i);
            tokens.push_back(text.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? text.size() : end;
        }
        if (tokens.back().size() >= 128) {
            Out("Token too large");
            exit(1);
        }
    }
    std::string value;
    for (size_t i = 0; i + 1 < tokens.size(); ++i)
        if (tokens[i] == "wad") {
            value = tokens[i + 1];
            break;
        }
    Out("wad=" + value);
    std::string lower = map;
    for (char& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    size_t quake = lower.find("quake");
    size_t slash = quake == std::string::npos ? quake : map.find_first_of("\\/", quake + 6);
    if (slash == std::string::npos) {
        Out("No gamedir in " + map);
        exit(1);
    }
    std::string path = map.substr(0, slash + 1) + "/" + value;
    FILE* wad = fopen(path.c_str(), "rb");
    char magic[4] = {};
    if (wad == nullptr || fread(magic, 1, 4, wad) != 4 || memcmp(magic, "WAD2", 4) != 0) {
        if (wad != nullptr)
            fclose(wad);
        Out("Error opening " + path);
        exit(1);
    }
    fclose(wad);
    Out("read " + path);
}

void Show()
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    Out("show=" + ((si.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(si.wShowWindow) : std::string("default")));
}

// A file name beside the program unless it names a folder of its own.
std::string BesideProgram(const std::string& file)
{
    return file.find_first_of("\\/:") == std::string::npos ? g_programDir + "\\" + file : file;
}

void CopyMap(const std::string& file)
{
    if (g_args.empty() || !::CopyFileA(g_args.back().c_str(), BesideProgram(file).c_str(), FALSE))
        Out("copy: cannot copy the map to " + file);
}

void Record(const std::string& file)
{
    std::string path = BesideProgram(file);
    FILE* f = fopen(path.c_str(), "ab");
    if (f == nullptr)
        return;
    fprintf(f, "cmdline=%s\ncwd=%s\n", CommandLineTail().c_str(), Cwd().c_str());
    fclose(f);
}

void Make(const std::string& extension, bool hold)
{
    std::string path = MapWithExtension(extension);
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Out("make: cannot write " + path);
        return;
    }
    DWORD n = 0;
    ::WriteFile(h, extension.data(), static_cast<DWORD>(extension.size()), &n, nullptr);
    if (!hold)
        ::CloseHandle(h);   // (held: closed when the program ends)
    Out("made " + path);
}

void Launch(const std::string& file, bool passHandles)
{
    std::string commandLine = "\"" + BesideProgram(file) + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (passHandles) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, passHandles, DETACHED_PROCESS, nullptr, nullptr,
                          &si, &pi)) {
        Out("launch: cannot start " + file);
        return;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    Out("started=" + std::to_string(pi.dwProcessId));
}

void PidFile(const std::string& file)
{
    FILE* f = fopen(BesideProgram(file).c_str(), "wb");
    if (f == nullptr)
        return;
    fprintf(f, "%lu", ::GetCurrentProcessId());
    fclose(f);
}

// Carries out one instruction; the value is the rest of the line or the next argument.
bool Do(const std::string& word, const std::string& value)
{
    if (word == "out")
        Out(value);
    else if (word == "err")
        Write(STD_ERROR_HANDLE, value + "\n");
    else if (word == "lines") {
        int n = atoi(value.c_str());
        for (int i = 0; i < n; ++i)
            Write(i % 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, NumberedLine(i, i % 2 ? "err" : "out"));
    } else if (word == "flood") {
        long total = atol(value.c_str());
        std::string chunk;
        for (int i = 0; (long)chunk.size() < total; ++i)
            chunk += NumberedLine(i, "out");
        Write(STD_OUTPUT_HANDLE, chunk);
    } else if (word == "args") {
        Out("cmdline=" + CommandLineTail());
        for (size_t i = 0; i < g_args.size(); ++i)
            Out("arg" + std::to_string(i + 1) + "=" + g_args[i]);
    } else if (word == "cwd")
        Out("cwd=" + Cwd());
    else if (word == "pid")
        Out("pid=" + std::to_string(::GetCurrentProcessId()));
    else if (word == "console") {
        HWND hWnd = ::GetConsoleWindow();
        Out(std::string("console=") + (hWnd == nullptr ? "none" : ::IsWindowVisible(hWnd) ? "visible" : "hidden"));
    } else if (word == "stdin") {
        char buf[512];
        DWORD n = 0, total = 0;
        while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buf, sizeof buf, &n, nullptr) && n > 0)
            total += n;
        Out("stdin=" + std::to_string(total) + " end");
    } else if (word == "bsp")
        Bsp();
    else if (word == "wad")
        Wad();
    else if (word == "show")
        Show();
    else if (word == "record")
        Record(value);
    else if (word == "copy")
        CopyMap(value);
    else if (word == "make" || word == "hold")
        Make(value, word == "hold");
    else if (word == "launch" || word == "pass")
        Launch(value, word == "pass");
    else if (word == "pidfile")
        PidFile(value);
    else if (word == "sleep") {
        if (value == "forever")
            for (;;)
                ::Sleep(1000);
        ::Sleep(static_cast<DWORD>(atol(value.c_str())));
    } else if (word == "exit")
        exit(atoi(value.c_str()));
    else
        return false;
    return true;
}

bool TakesValue(const std::string& word)
{
    static const char* const words[] = {"out",  "err",    "lines",   "flood", "record", "copy",
                                        "make", "hold",   "launch",  "pass",    "pidfile", "sleep", "exit"};
    for (const char* w : words)
        if (word == w)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        g_args.push_back(argv[i]);
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string program = szPath;
    size_t slash = program.rfind('\\');
    g_programDir = slash == std::string::npos ? "." : program.substr(0, slash);
    size_t dot = program.rfind('.');
    std::string instructions = (dot != std::string::npos && dot > slash ? program.substr(0, dot) : program) + ".txt";

    if (FILE* f = fopen(instructions.c_str(), "rb")) {
        char line[4096];
        std::vector<std::string> lines;
        while (fgets(line, sizeof line, f) != nullptr) {
            line[strcspn(line, "\r\n")] = '\0';
            lines.push_back(line);
        }
        fclose(f);
        for (const std::string& l : lines) {
            size_t blank = l.find(' ');
            std::string word = l.substr(0, blank);
            if (!word.empty())
                Do(word, blank == std::string::npos ? "" : l.substr(blank + 1));
        }
        return 0;
    }
    for (size_t i = 0; i < g_args.size(); ++i) {
        std::string value;
        if (TakesValue(g_args[i]) && i + 1 < g_args.size())
            value = g_args[i + 1];
        Do(g_args[i], value);
        if (TakesValue(g_args[i]))
            ++i;
    }
    return 0;
}
