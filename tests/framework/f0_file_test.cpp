#include <gtest/gtest.h>
#include "f0_testutil.h"
#include <cstring>
#include <cstdlib>

// ---------------------------------------------------------------------------
// Exceptions

namespace {
template <class T>
T* Catch(void (*thrower)())
{
    try {
        thrower();
    } catch (T* e) {
        return e;
    } catch (...) {
    }
    return nullptr;
}

struct ReportSink
{
    static CString text;
    static UINT type;
    static int Box(LPCSTR lpszText, UINT nType, UINT)
    {
        text = lpszText;
        type = nType;
        return IDRETRY;
    }
};
CString ReportSink::text;
UINT ReportSink::type;
} // namespace

TEST(Exceptions, ThrowHelpersGiveTheirKindsAndTexts)
{
    struct Case
    {
        void (*thrower)();
        CRuntimeClass* kind;
        bool hasText;
    } cases[] = {
        {[] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException), true},
        {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException), true},
        {[] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException), true},
        {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException), false},
        {[] { AfxThrowFileException(CFileException::diskFull, -1, "a.map"); }, RUNTIME_CLASS(CFileException), true},
        {[] { AfxThrowArchiveException(CArchiveException::badSchema, "a.grd"); }, RUNTIME_CLASS(CArchiveException), true},
    };
    for (const Case& c : cases) {
        CException* e = Catch<CException>(c.thrower);
        ASSERT_NE(e, nullptr) << c.kind->m_lpszClassName;
        EXPECT_TRUE(e->IsKindOf(c.kind)) << c.kind->m_lpszClassName;
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
        char buf[256] = "x";
        EXPECT_EQ(e->GetErrorMessage(buf, sizeof(buf)) != FALSE, c.hasText) << c.kind->m_lpszClassName;
        EXPECT_EQ(buf[0] != '\0', c.hasText);
        e->Delete();
    }
    // The shared exceptions survive Delete and can be thrown again.
    CMemoryException* m1 = Catch<CMemoryException>([] { AfxThrowMemoryException(); });
    m1->Delete();
    CMemoryException* m2 = Catch<CMemoryException>([] { AfxThrowMemoryException(); });
    EXPECT_EQ(m1, m2);
    m2->Delete();
}

TEST(Exceptions, CauseNumbersAreTheFrameworksOwn)
{
    EXPECT_EQ(CArchiveException::generic, 1);
    EXPECT_EQ(CArchiveException::endOfFile, 3);
    EXPECT_EQ(CArchiveException::badIndex, 5);
    EXPECT_EQ(CArchiveException::badClass, 6);
    EXPECT_EQ(CArchiveException::badSchema, 7);
    EXPECT_EQ(CFileException::fileNotFound, 2);
    EXPECT_EQ(CFileException::accessDenied, 5);
    EXPECT_EQ(CFileException::sharingViolation, 11);
    EXPECT_EQ(CFileException::diskFull, 13);
    EXPECT_EQ(CFileException::endOfFile, 14);

    struct Case
    {
        LONG os;
        int cause;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_INVALID_NAME, CFileException::badPath},
        {12345, CFileException::generic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileException::OsErrorToException(c.os), c.cause) << c.os;
}

TEST(Exceptions, ThrowOsErrorIgnoresZero)
{
    EXPECT_NO_THROW(CFileException::ThrowOsError(0, "x"));
    CFileException* e = Catch<CFileException>([] { CFileException::ThrowOsError(ERROR_ACCESS_DENIED, "x.map"); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::accessDenied);
    EXPECT_EQ(e->m_lOsError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(e->m_strFileName, "x.map");
    e->Delete();
}

TEST(Exceptions, ReportErrorGoesThroughTheMessageBoxHook)
{
    AFX_CORE_MESSAGEBOX old = AfxSetCoreMessageBox(&ReportSink::Box);
    CFileException file(CFileException::generic, ERROR_FILE_NOT_FOUND, "m.map");
    EXPECT_EQ(file.ReportError(MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(ReportSink::text, AfxGetSystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ReportSink::type, static_cast<UINT>(MB_RETRYCANCEL));

    CUserException user;
    user.ReportError();
    EXPECT_EQ(ReportSink::text, "No error message is available.");
    AfxSetCoreMessageBox(old);
}

TEST(Exceptions, FileTextIsTheSystemTextCutToTheBuffer)
{
    CString full = AfxGetSystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(full.IsEmpty());
    EXPECT_NE(full.Right(1), "\n");
    EXPECT_NE(full.Right(1), "\r");

    CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "gone.map");
    char buf[256];
    ASSERT_TRUE(e.GetErrorMessage(buf, sizeof(buf)));
    EXPECT_EQ(CString(buf), full);
    char small[6];
    ASSERT_TRUE(e.GetErrorMessage(small, sizeof(small)));
    EXPECT_EQ(CString(small), full.Left(5));

    // Without an operating-system error the cause gives the text, naming the file.
    CFileException noOs(CFileException::diskFull, -1, "full.map");
    EXPECT_NE(noOs.GetErrorText().Find("full.map"), -1);
    CArchiveException arch(CArchiveException::endOfFile, "cut.grd");
    EXPECT_NE(arch.GetErrorText().Find("cut.grd"), -1);
}

// ---------------------------------------------------------------------------
// CFile

TEST(File, OpenFailuresFillTheException)
{
    TempDir dir;
    struct Case
    {
        std::string path;
        UINT flags;
        int cause;
        LONG os;
    } cases[] = {
        {dir / "missing.map", CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {dir / "no\\such\\dir\\x.map", CFile::modeCreate | CFile::modeWrite, CFileException::badPath,
         ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        CFile f;
        CFileException e;
        EXPECT_FALSE(f.Open(c.path.c_str(), c.flags, &e)) << c.path;
        EXPECT_EQ(e.m_cause, c.cause) << c.path;
        EXPECT_EQ(e.m_lOsError, c.os) << c.path;
        EXPECT_EQ(e.m_strFileName, c.path.c_str());
        EXPECT_EQ(e.GetErrorText(), AfxGetSystemErrorText(static_cast<DWORD>(c.os)));
        EXPECT_EQ(f.m_hFile, CFile::hFileNull);
    }
    // The throwing constructor gives the same exception.
    try {
        CFile f((dir / "missing.map").c_str(), CFile::modeRead);
        ADD_FAILURE() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }
}

TEST(File, ExclusiveOpenRefusesASecondOpen)
{
    TempDir dir;
    std::string path = dir / "locked.map";
    CFile first(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    CFile second;
    CFileException e;
    EXPECT_FALSE(second.Open(path.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::sharingViolation);

    CFile reader;
    CFile shared(dir.operator/("shared.map").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite);
    EXPECT_TRUE(reader.Open((dir / "shared.map").c_str(), CFile::modeRead | CFile::shareDenyNone));
}

TEST(File, ReadWriteSeekLengthAndTruncation)
{
    TempDir dir;
    std::string path = dir / "data.bin";
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
        f.Write("0123456789", 10);
        EXPECT_EQ(f.GetLength(), 10u);
        EXPECT_EQ(f.GetPosition(), 10u);
        f.SeekToBegin();
        char buf[16] = {};
        EXPECT_EQ(f.Read(buf, 4), 4u);
        EXPECT_STREQ(buf, "0123");
        EXPECT_EQ(f.Seek(-2, CFile::end), 8);
        EXPECT_EQ(f.Read(buf, 16), 2u);
        EXPECT_EQ(f.Read(buf, 16), 0u);
        EXPECT_EQ(f.SeekToEnd(), 10u);
        f.SetLength(5);
        EXPECT_EQ(f.GetLength(), 5u);
        EXPECT_EQ(f.GetFileName(), "data.bin");
        EXPECT_EQ(f.GetFileTitle(), "data");
        try {
            f.Seek(-20, CFile::begin);
            ADD_FAILURE() << "negative seek accepted";
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_cause, CFileException::badSeek);
            e->Delete();
        }
    }
    EXPECT_EQ(ReadAllBytes(path), "01234");
    {
        CFile keep(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        EXPECT_EQ(keep.GetLength(), 5u);
    }
    {
        CFile trunc(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(trunc.GetLength(), 0u);
    }
    CFile::Rename(path.c_str(), (dir / "renamed.bin").c_str());
    CFile::Remove((dir / "renamed.bin").c_str());
    EXPECT_THROW(CFile::Remove((dir / "renamed.bin").c_str()), CFileException*);
}

// ---------------------------------------------------------------------------
// CStdioFile

TEST(StdioFile, TextModeLineEndsAndLinesOfAnyLength)
{
    TempDir dir;
    std::string path = dir / "text.ini";
    std::string longLine(10000, 'x');
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString("[Paths]\n");
        f.WriteString("\n");
        f.WriteString((longLine + "\n").c_str());
        f.WriteString("last");
    }
    EXPECT_EQ(ReadAllBytes(path), "[Paths]\r\n\r\n" + longLine + "\r\nlast");

    CStdioFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead | CFile::typeText));
    CString line;
    const char* expected[] = {"[Paths]", "", longLine.c_str(), "last"};
    for (const char* e : expected) {
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(line, e);
    }
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    f.SeekToBegin();
    char buf[5];
    EXPECT_STREQ(f.ReadString(buf, sizeof(buf)), "[Pat");
    EXPECT_STREQ(f.ReadString(buf, sizeof(buf)), "hs]\n");
    f.Close();
    EXPECT_EQ(f.m_pStream, nullptr);
}

TEST(StdioFile, CreateWithoutTruncateAndBinaryMode)
{
    TempDir dir;
    std::string path = dir / "proj.prj";
    {
        // A missing file is created empty.
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead | CFile::typeText);
        CString line;
        EXPECT_FALSE(f.ReadString(line));
    }
    WriteAllBytes(path, "a=1\r\nb=2\r\n");
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead | CFile::typeText);
        CString line;
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(line, "a=1");
    }
    {
        CStdioFile f(path.c_str(), CFile::modeRead | CFile::typeBinary);
        EXPECT_EQ(f.GetLength(), 10u);
        char buf[5] = {};
        EXPECT_EQ(f.Read(buf, 4), 4u);
        EXPECT_STREQ(buf, "a=1\r");
    }
    {
        // Kept files are written at their end.
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::typeText);
        f.WriteString("c=3\n");
    }
    EXPECT_EQ(ReadAllBytes(path), "a=1\r\nb=2\r\nc=3\r\n");

    CStdioFile missing;
    CFileException e;
    EXPECT_FALSE(missing.Open((dir / "none.txt").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
}

// ---------------------------------------------------------------------------
// Memory files

TEST(MemFile, GrowsDetachesAndZeroFillsGaps)
{
    CMemFile f(1024);
    const char text[] = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";
    for (int i = 0; i < 100; ++i)
        f.Write(text, sizeof(text) - 1);
    EXPECT_EQ(f.GetLength(), 100u * (sizeof(text) - 1));
    f.Seek(4, CFile::end);
    f.Write("!", 1);
    DWORD len = f.GetLength();
    EXPECT_EQ(len, 100u * (sizeof(text) - 1) + 5);
    f.SeekToBegin();
    char head[4] = {};
    EXPECT_EQ(f.Read(head, 3), 3u);
    EXPECT_STREQ(head, "{\r\n");

    BYTE* p = f.Detach();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::memcmp(p, text, sizeof(text) - 1), 0);
    EXPECT_EQ(p[len - 5], 0);
    EXPECT_EQ(p[len - 2], 0);
    EXPECT_EQ(p[len - 1], '!');
    std::free(p);
    EXPECT_EQ(f.GetLength(), 0u);
    f.Write("again", 5);
    EXPECT_EQ(f.GetLength(), 5u);
}

TEST(MemFile, FixedBufferDoesNotGrowAndAttachedBufferIsCopied)
{
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile f(fixed, sizeof(fixed));
    EXPECT_EQ(f.GetLength(), 4u);
    BYTE b[4];
    EXPECT_EQ(f.Read(b, 8), 4u);
    EXPECT_THROW(f.Write("x", 1), CMemoryException*);

    BYTE own[4] = {9, 9, 9, 9};
    CMemFile g(own, sizeof(own), 16);
    EXPECT_EQ(g.GetLength(), 0u);
    g.Write("abcdef", 6);
    EXPECT_EQ(g.GetLength(), 6u);
    EXPECT_EQ(own[0], 9);   // moved to the file's own memory, caller's buffer untouched
    EXPECT_THROW(g.Seek(-1, CFile::begin), CFileException*);
}

TEST(SharedFile, DetachGivesTheHandleAndSetHandleReadsItBack)
{
    CSharedFile out(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 4096);
    std::string data(5000, 'q');
    out.Write(data.data(), static_cast<UINT>(data.size()));
    HGLOBAL h = out.Detach();
    ASSERT_NE(h, nullptr);
    EXPECT_GE(::GlobalSize(h), 5000u);
    const char* p = static_cast<const char*>(::GlobalLock(h));
    EXPECT_EQ(std::string(p, 5000), data);
    EXPECT_EQ(p[5000], 0);   // zero-initialised growth
    ::GlobalUnlock(h);

    CSharedFile in;
    in.SetHandle(h, FALSE);
    EXPECT_EQ(in.GetLength(), static_cast<DWORD>(::GlobalSize(h)));
    char buf[10] = {};
    EXPECT_EQ(in.Read(buf, 9), 9u);
    EXPECT_STREQ(buf, "qqqqqqqqq");
    EXPECT_EQ(in.Detach(), h);   // the caller keeps it
    EXPECT_EQ(::GlobalFree(h), nullptr);
}
