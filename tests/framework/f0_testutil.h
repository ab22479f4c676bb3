// Helpers shared by the core framework tests.
#pragma once
#include "afx.h"
#include <ostream>
#include <string>
#include <vector>

// Failure messages show strings as text.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << static_cast<LPCSTR>(s) << '"'; }

// A private directory under the system's temporary directory, removed with
// everything in it when the object goes away.
class TempDir
{
public:
    TempDir()
    {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        static int serial = 0;
        char name[MAX_PATH * 2];
        wsprintfA(name, "%smorvane-f0-%lu-%d", base, ::GetCurrentProcessId(), ++serial);
        m_path = name;
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempDir() { RemoveTree(m_path); }
    std::string operator/(const char* name) const { return m_path + "\\" + name; }
    const std::string& path() const { return m_path; }

private:
    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string full = dir + "\\" + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    ::DeleteFileA(full.c_str());
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryA(dir.c_str());
    }
    std::string m_path;
};

inline std::string ReadAllBytes(const std::string& path)
{
    std::string out;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0)
        out.append(buf, n);
    ::CloseHandle(h);
    return out;
}

inline void WriteAllBytes(const std::string& path, const std::string& data)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
    ::CloseHandle(h);
}

inline std::vector<BYTE> Bytes(std::initializer_list<int> list)
{
    std::vector<BYTE> v;
    for (int b : list)
        v.push_back(static_cast<BYTE>(b));
    return v;
}
