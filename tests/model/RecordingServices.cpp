#include "RecordingServices.h"
#include <cstdio>

bool CRecordingServices::BoxContains(const char* part) const
{
    for (const BoxRecord& b : boxes)
        if (b.text.find(part) != std::string::npos)
            return true;
    return false;
}

bool CRecordingServices::LineContains(const char* part) const
{
    for (const std::string& l : lines)
        if (l.find(part) != std::string::npos)
            return true;
    return false;
}

void ModelTest::SetUp()
{
    services = new CRecordingServices;
    SetEditorServices(services);
    reporter = new CReporter(services);
    CReporter::Set(reporter);
}

void ModelTest::TearDown()
{
    delete reporter; // unpublishes itself
    SetEditorServices(nullptr);
    delete services;
}

static void RemoveTree(const CString& dir)
{
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA(dir + "\\*", &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            CString name = d.cFileName;
            if (name == "." || name == "..")
                continue;
            CString full = dir + "\\" + name;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                ::DeleteFileA(full);
        } while (::FindNextFileA(h, &d));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(dir);
}

CTempDir::CTempDir()
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        m_path.Format("%smorvane-test-%lu-%d", base, ::GetCurrentProcessId(), ++counter);
        m_path.Replace("\\\\", "\\");
        if (::CreateDirectoryA(m_path, nullptr))
            break;
    }
}

CTempDir::~CTempDir()
{
    RemoveTree(m_path);
}

static void WriteBytes(const CString& path, const std::string& data)
{
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

void CTempDir::WriteFile(LPCSTR name, const std::string& data) const
{
    WriteBytes(Path(name), data);
}

CTempShare::CTempShare()
{
    char prefix[MAX_PATH] = "";
    const DWORD n = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    static int counter = 0;
    const int id = ++counter;
    if (n > 0 && n < sizeof prefix && prefix[0] == '/') {
        // The prefix is a Linux path, seen by Windows programs on drive Z:.
        CString unc = CString("Z:") + prefix + "/dosdevices/unc";
        unc.Replace('/', '\\');
        ::CreateDirectoryA(unc, nullptr);
        CString host;
        host.Format("morvane-test-%lu-%d", ::GetCurrentProcessId(), id);
        m_host = unc + "\\" + host;
        ::CreateDirectoryA(m_host, nullptr);
        m_local = m_host + "\\share";
        ::CreateDirectoryA(m_local, nullptr);
        m_share = "\\\\" + host + "\\share";
        return;
    }
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    m_local.Format("%smorvane-share-%lu-%d", base, ::GetCurrentProcessId(), id);
    m_local.Replace("\\\\", "\\");
    ::CreateDirectoryA(m_local, nullptr);
    m_share.Format("\\\\localhost\\%c$%s", m_local[0], static_cast<LPCSTR>(m_local.Mid(2)));
}

CTempShare::~CTempShare()
{
    RemoveTree(m_local);
    if (!m_host.IsEmpty())
        ::RemoveDirectoryA(m_host);
}

void CTempShare::WriteFile(LPCSTR name, const std::string& data) const
{
    WriteBytes(Path(name), data);
}

bool CTempShare::Reachable() const
{
    const DWORD attributes = ::GetFileAttributesA(m_share);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CTempDir::ReadFile(LPCSTR name) const
{
    std::string data;
    FILE* f = std::fopen(Path(name), "rb");
    if (!f)
        return data;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    std::fclose(f);
    return data;
}
