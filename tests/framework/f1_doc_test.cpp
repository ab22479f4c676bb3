// Documents, their views and templates, without frames.
#include "afxtest.h"
#include "f1_test_ids.h"
#include <string>
#include <vector>

namespace {

// A document holding one string, archived as such.
class CTextDoc : public CDocument
{
    DECLARE_DYNCREATE(CTextDoc)
public:
    static int s_nDeleted;
    CString m_strText;
    int m_nDeleteContents = 0;
    BOOL m_bFailSerialize = FALSE;
    bool* m_pbDeleted = nullptr;

    ~CTextDoc() override
    {
        ++s_nDeleted;
        if (m_pbDeleted)
            *m_pbDeleted = true;
    }
    void DeleteContents() override
    {
        ++m_nDeleteContents;
        m_strText.Empty();
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_strText;
            if (m_bFailSerialize)
                AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "x");
        }
        else {
            ar >> m_strText;
        }
    }
    void OnDocCommand() { m_strText = "command"; }
    DECLARE_MESSAGE_MAP()
};
int CTextDoc::s_nDeleted = 0;
IMPLEMENT_DYNCREATE(CTextDoc, CDocument)
BEGIN_MESSAGE_MAP(CTextDoc, CDocument)
    ON_COMMAND(ID_F1_ROUTED, OnDocCommand)
END_MESSAGE_MAP()

// A view without a window that records what its document tells it.
class CRecordingView : public CView
{
public:
    struct Update
    {
        CView* pSender;
        LPARAM lHint;
        CObject* pHint;
    };
    std::vector<Update> m_updates;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override { m_updates.push_back({pSender, lHint, pHint}); }
};

class CFileInTemp
{
public:
    CFileInTemp(const char* name)
    {
        char szDir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szDir);
        m_path.Format("%smorvane_f1_%lu_%s", szDir, ::GetCurrentProcessId(), name);
        ::DeleteFileA(m_path);
    }
    ~CFileInTemp() { ::DeleteFileA(m_path); }
    CString m_path;
};

CString ReadAll(LPCSTR path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return "<missing>";
    CString s;
    UINT n = (UINT)file.GetLength();
    file.Read(s.GetBufferSetLength((int)n), n);
    s.ReleaseBuffer((int)n);
    return s;
}

TEST(Documents, UpdateAllViewsReachesEveryViewButTheSenderWithPointerSizedHints)
{
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.UpdateAllViews(nullptr, 7);     // no views: nothing happens
    CRecordingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    EXPECT_EQ(a.GetDocument(), &doc);
    CTextDoc hintObject;
    LPARAM lBig = (LPARAM)0x1234567890LL;
    doc.UpdateAllViews(&a, lBig, &hintObject);
    EXPECT_TRUE(a.m_updates.empty());
    ASSERT_EQ(b.m_updates.size(), 1u);
    EXPECT_EQ(b.m_updates[0].pSender, &a);
    EXPECT_EQ(b.m_updates[0].lHint, lBig);
    EXPECT_EQ(b.m_updates[0].pHint, &hintObject);

    POSITION pos = doc.GetFirstViewPosition();
    EXPECT_EQ(doc.GetNextView(pos), &a);
    EXPECT_EQ(doc.GetNextView(pos), &b);
    EXPECT_EQ(pos, nullptr);
    doc.RemoveView(&a);
    doc.RemoveView(&b);
    EXPECT_EQ(a.GetDocument(), nullptr);
    EXPECT_EQ(doc.GetFirstViewPosition(), nullptr);
}

TEST(Documents, ClosingDeletesAnAutoDeleteDocumentAlsoWithoutFrames)
{
    bool bDeleted = false;
    CTextDoc* pDoc = new CTextDoc;
    pDoc->m_pbDeleted = &bDeleted;
    pDoc->OnCloseDocument();
    EXPECT_TRUE(bDeleted);

    // With windowless views they are let go first.
    bDeleted = false;
    pDoc = new CTextDoc;
    pDoc->m_pbDeleted = &bDeleted;
    CRecordingView view;
    pDoc->AddView(&view);
    pDoc->OnCloseDocument();
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(view.GetDocument(), nullptr);

    // The last view leaving closes it too; a document that does not delete itself stays.
    bDeleted = false;
    pDoc = new CTextDoc;
    pDoc->m_pbDeleted = &bDeleted;
    pDoc->AddView(&view);
    pDoc->RemoveView(&view);
    EXPECT_TRUE(bDeleted);

    CTextDoc kept;
    kept.m_bAutoDelete = FALSE;
    kept.m_strText = "x";
    kept.OnCloseDocument();
    EXPECT_EQ(kept.m_nDeleteContents, 1);
    EXPECT_TRUE(kept.m_strText.IsEmpty());
}

TEST(Documents, SaveAndOpenRoundTripThroughTheArchive)
{
    CFileInTemp file("doc.txt");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.m_strText = "hello";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument(file.m_path));
    EXPECT_FALSE(doc.IsModified());

    CTextDoc other;
    other.m_bAutoDelete = FALSE;
    other.m_strText = "old";
    ASSERT_TRUE(other.OnOpenDocument(file.m_path));
    EXPECT_STREQ(other.m_strText, "hello");
    EXPECT_EQ(other.m_nDeleteContents, 1);
    EXPECT_FALSE(other.IsModified());
}

TEST(Documents, AFailedSaveKeepsTheOldFileAndReportsTheError)
{
    CFileInTemp file("keep.txt");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.m_strText = "first";
    ASSERT_TRUE(doc.OnSaveDocument(file.m_path));
    CString before = ReadAll(file.m_path);

    doc.m_strText = "second";
    doc.SetModifiedFlag();
    doc.m_bFailSerialize = TRUE;
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(doc.OnSaveDocument(file.m_path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_STREQ(ReadAll(file.m_path), before);
    EXPECT_STREQ(ReadAll(file.m_path + ".~sav"), "<missing>");
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_STREQ(texts[0], "Destination disk drive is full.");
}

// A file that holds the temporary's name is someone's: a save, done or failed, leaves it as it is
// and writes beside it under a free name, which it takes away.
TEST(Documents, ASaveLeavesAFileOfTheTemporarysNameAsItIs)
{
    for (BOOL fail : {FALSE, TRUE}) {
        SCOPED_TRACE(fail);
        CFileInTemp file("mine.txt"), theirs("mine.txt.~sav"), next("mine.txt.2.~sav");
        {
            CFile f(theirs.m_path, CFile::modeCreate | CFile::modeWrite);
            f.Write("the user's", 10);
        }
        CTextDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.m_strText = "saved";
        doc.m_bFailSerialize = fail;
        if (fail)
            AfxSeamAnswer(IDOK);
        EXPECT_EQ(doc.OnSaveDocument(file.m_path), !fail);
        EXPECT_STREQ(ReadAll(theirs.m_path), "the user's");
        EXPECT_STREQ(ReadAll(next.m_path), "<missing>");
        EXPECT_EQ(ReadAll(file.m_path).Find("saved") >= 0, !fail);
        AfxSeamReset();
    }
}

TEST(Documents, OpenFailuresAreReportedAndLeaveTheDocumentEmpty)
{
    CFileInTemp missing("missing.txt");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.m_strText = "x";
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(doc.OnOpenDocument(missing.m_path));

    CFileInTemp broken("broken.txt");
    {
        CFile f(broken.m_path, CFile::modeCreate | CFile::modeWrite);
        BYTE length = 200;  // a string length running past the end of the file
        f.Write(&length, 1);
    }
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(doc.OnOpenDocument(broken.m_path));
    EXPECT_TRUE(doc.m_strText.IsEmpty());
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].Find("Cannot find this file."), -1);
    EXPECT_NE(texts[0].Find(missing.m_path), -1);
    EXPECT_STREQ(texts[1], "Unexpected file format.");
}

// The application object sees what SetPathName adds to its recent files.
class CRecentApp : public CWinApp
{
public:
    std::vector<CString> m_recent;
    void AddToRecentFileList(LPCSTR lpszPathName) override { m_recent.push_back(lpszPathName); }
};

TEST(Documents, SaveModifiedAsksYesNoCancel)
{
    CRecentApp app;
    CFileInTemp file("ask.txt");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    EXPECT_TRUE(doc.SaveModified());    // not modified: nothing asked
    EXPECT_TRUE(AfxSeamCalls().empty());

    doc.m_strText = "first";
    ASSERT_TRUE(doc.OnSaveDocument(file.m_path));
    doc.SetPathName(file.m_path);
    CString before = ReadAll(file.m_path);
    doc.m_strText = "saved";
    doc.SetModifiedFlag();
    AfxSeamAnswer(IDCANCEL);
    AfxSeamAnswer(IDNO);
    AfxSeamAnswer(IDYES);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_STREQ(ReadAll(file.m_path), before);     // No saves nothing
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(ReadAll(file.m_path).Find("saved"), -1);

    const auto& calls = AfxSeamCalls();
    ASSERT_EQ(calls.size(), 3u);
    CString expected = "Save changes to " + AfxGetFileName(file.m_path) + "?";
    EXPECT_STREQ(calls[0].text, expected);
    EXPECT_EQ(calls[0].nType & MB_TYPEMASK, (UINT)MB_YESNOCANCEL);
}

// A file marked read-only is not replaced by a save: the user is told and offered another name;
// No leaves the file, its mark and the changes as they were.
TEST(Documents, SavingAReadOnlyFileSaysSoAndOffersAnotherName)
{
    CRecentApp app;
    CFileInTemp file("readonly.txt");
    CFileInTemp other("readonly_other.txt");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.m_strText = "first";
    ASSERT_TRUE(doc.OnSaveDocument(file.m_path));
    doc.SetPathName(file.m_path, FALSE);
    const CString before = ReadAll(file.m_path);
    ASSERT_TRUE(::SetFileAttributesA(file.m_path, FILE_ATTRIBUTE_READONLY));
    doc.m_strText = "changed";
    doc.SetModifiedFlag();

    AfxSeamAnswer(IDYES);   // save the changes
    AfxSeamAnswer(IDNO);    // not under another name
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_STREQ(ReadAll(file.m_path), before);
    EXPECT_NE(::GetFileAttributesA(file.m_path) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(AfxSeamCalls().size(), 2u);
    EXPECT_STREQ(AfxSeamCalls()[1].text,
                 file.m_path + " is read-only: it was not replaced.\nDo you want to save it under another name?");
    EXPECT_EQ(AfxSeamCalls()[1].nType & MB_TYPEMASK, (UINT)MB_YESNO);

    // Yes: the name is asked for, and the document goes there.
    AfxSeamReset();
    AfxSeamAnswer(IDYES);
    const CString target = other.m_path;
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_EQ(call.kind, AFX_MODAL_COMMONDIALOG);
        call.text = target;
        return (INT_PTR)IDOK;
    });
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_STREQ(doc.GetPathName(), target);
    EXPECT_NE(ReadAll(target).Find("changed"), -1);
    EXPECT_STREQ(ReadAll(file.m_path), before);
    EXPECT_NE(::GetFileAttributesA(file.m_path) & FILE_ATTRIBUTE_READONLY, 0u);
    ::SetFileAttributesA(file.m_path, FILE_ATTRIBUTE_NORMAL);
}

TEST(Documents, SetPathNameStoresTheFullPathAndTitleAndFeedsTheRecentList)
{
    CRecentApp app;
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    char szCur[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, szCur);
    doc.SetPathName("relative.map");
    CString full = CString(szCur) + (szCur[lstrlenA(szCur) - 1] == '\\' ? "" : "\\") + "relative.map";
    EXPECT_STREQ(doc.GetPathName(), full);
    EXPECT_STREQ(doc.GetTitle(), "relative.map");
    doc.SetPathName("C:\\maps\\e1m1.map", FALSE);
    ASSERT_EQ(app.m_recent.size(), 1u);
    EXPECT_STREQ(app.m_recent[0], full);
}

TEST(Documents, SaveAsAsksForTheNameThroughTheSeam)
{
    CRecentApp app;
    CFileInTemp file("saveas.txt");
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetTitle("Untitled");
    doc.m_strText = "named";
    CString target = file.m_path;
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_EQ(call.kind, AFX_MODAL_COMMONDIALOG);
        EXPECT_STREQ(call.text, "Untitled");
        call.text = target;
        return (INT_PTR)IDOK;
    });
    EXPECT_TRUE(doc.DoSave(nullptr));
    EXPECT_STREQ(doc.GetPathName(), target);
    EXPECT_NE(ReadAll(target).Find("named"), -1);
    // Cancelling the name saves nothing.
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(doc.DoSave(nullptr, FALSE));
}

TEST(Templates, AFramelessTemplateMakesOpensFindsAndClosesDocuments)
{
    CRecentApp app;
    CTextDoc::s_nDeleted = 0;
    auto* pTemplate = new CMultiDocTemplate(IDR_F1_CHILD, RUNTIME_CLASS(CTextDoc), nullptr, nullptr);
    app.AddDocTemplate(pTemplate);
    CString strExt;
    EXPECT_TRUE(pTemplate->GetDocString(strExt, CDocTemplate::filterExt));
    EXPECT_STREQ(strExt, ".skt");

    CDocument* pNew = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pNew, nullptr);
    EXPECT_STREQ(pNew->GetTitle(), "Sketch1");
    EXPECT_EQ(pNew->GetDocTemplate(), pTemplate);

    CFileInTemp file("open.skt");
    {
        CTextDoc writer;
        writer.m_bAutoDelete = FALSE;
        writer.m_strText = "content";
        ASSERT_TRUE(writer.OnSaveDocument(file.m_path));
    }
    CTextDoc::s_nDeleted = 0;
    auto* pOpened = dynamic_cast<CTextDoc*>(app.OpenDocumentFile(file.m_path));
    ASSERT_NE(pOpened, nullptr);
    EXPECT_STREQ(pOpened->m_strText, "content");
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);

    // The same path in other case is the open document.
    CString upper = file.m_path;
    upper.MakeUpper();
    CDocument* pMatch = nullptr;
    EXPECT_EQ(pTemplate->MatchDocType(upper, pMatch), CDocTemplate::yesAlreadyOpen);
    EXPECT_EQ(pMatch, pOpened);
    EXPECT_EQ(app.OpenDocumentFile(upper), pOpened);
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);

    // Commands reach the document's own map.
    EXPECT_TRUE(pOpened->OnCmdMsg(ID_F1_ROUTED, CN_COMMAND, nullptr, nullptr));
    EXPECT_STREQ(pOpened->m_strText, "command");

    // Saving all asks about the modified one only.
    pOpened->SetModifiedFlag();
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(app.SaveAllModified());
    EXPECT_EQ(AfxSeamCalls().size(), 1u);
    pOpened->SetModifiedFlag(FALSE);

    app.CloseAllDocuments(FALSE);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(CTextDoc::s_nDeleted, 2);
}

} // namespace
