// Documents, document templates and the document manager.
#include "afxwin.h"

// ---- Helpers --------------------------------------------------------------------------------

CString AfxGetFileName(LPCSTR lpszPathName)
{
    CString path(lpszPathName ? lpszPathName : "");
    int nSep = -1;
    for (int i = path.GetLength() - 1; i >= 0; --i) {
        char ch = path[i];
        if (ch == '\\' || ch == '/' || ch == ':') {
            nSep = i;
            break;
        }
    }
    return path.Mid(nSep + 1);
}

CString AfxFullPath(LPCSTR lpszFileIn)
{
    char szPath[MAX_PATH];
    LPSTR lpszFilePart;
    DWORD n = ::GetFullPathNameA(lpszFileIn, MAX_PATH, szPath, &lpszFilePart);
    if (n == 0 || n >= MAX_PATH)
        return CString(lpszFileIn);
    return CString(szPath);
}

// ---- CDocument ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() : m_bAutoDelete(TRUE), m_bEmbedded(FALSE), m_pDocTemplate(nullptr), m_bModified(FALSE) {}

CDocument::~CDocument()
{
    // Views that outlive the document must not point at it.
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos != nullptr) {
        CView* pView = static_cast<CView*>(m_viewList.GetNext(pos));
        pView->m_pDocument = nullptr;
    }
    m_viewList.RemoveAll();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = AfxFullPath(lpszPathName);
    m_bEmbedded = FALSE;
    SetTitle(AfxGetFileName(m_strPathName));
    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.GetHeadPosition();
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::AddView(CView* pView)
{
    if (pView->m_pDocument == this)
        return;
    if (pView->m_pDocument != nullptr)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (pos == nullptr)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_bAutoDelete && m_viewList.IsEmpty()) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    // The frames of the document in the order of its views; with more than one each caption
    // carries its number ("name:2").
    CPtrList frames;
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        if (pView->m_hWnd == nullptr)
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && frames.Find(pFrame) == nullptr)
            frames.AddTail(pFrame);
    }
    int nFrame = 1;
    BOOL bNumber = frames.GetCount() > 1;
    pos = frames.GetHeadPosition();
    while (pos != nullptr) {
        CFrameWnd* pFrame = static_cast<CFrameWnd*>(frames.GetNext(pos));
        pFrame->m_nWindow = bNumber ? nFrame++ : 0;
        if (pFrame->m_hWnd != nullptr)
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    CFile* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return nullptr;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (bAbort)
        pFile->Abort();
    else
        pFile->Close();
    delete pFile;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (pFile == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag();
    try {
        CWaitCursor wait;
        {
            CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
            loadArchive.m_pDocument = this;
            if (pFile->GetLength() != 0)
                Serialize(loadArchive);
            loadArchive.Close();
        }
        ReleaseFile(pFile, FALSE);
    }
    catch (CException* e) {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    // Write beside the target and replace it only once everything is written. The temporary takes
    // a name that held nothing: a file of that name may be the user's, and a failed save deletes
    // the temporary.
    CString strTarget = AfxFullPath(lpszPathName);
    CString strTemp;
    DWORD dwError = 0;
    HANDLE hTemp = AfxCreateFileBeside(strTarget, ".~sav", strTemp, &dwError);
    if (hTemp == INVALID_HANDLE_VALUE) {
        CFileException fe(CFileException::OsErrorToException(static_cast<LONG>(dwError)), static_cast<LONG>(dwError),
                          strTarget);
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
        return FALSE;
    }
    CFile* pFile = new CFile(hTemp);
    pFile->SetFilePath(strTemp);
    try {
        CWaitCursor wait;
        {
            CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
            saveArchive.m_pDocument = this;
            Serialize(saveArchive);
            saveArchive.Close();
        }
        ReleaseFile(pFile, FALSE);
    }
    catch (CException* e) {
        ReleaseFile(pFile, TRUE);
        ::DeleteFileA(strTemp);
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    if (!::MoveFileExA(strTemp, strTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        CFileException fe2(CFileException::OsErrorToException((LONG)::GetLastError()), (LONG)::GetLastError(),
                           strTarget);
        ::DeleteFileA(strTemp);
        ReportSaveLoadException(lpszPathName, &fe2, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return;     // the user was told already
    UINT nIDP = nIDPDefault;
    if (e != nullptr) {
        if (e->IsKindOf(RUNTIME_CLASS(CFileException))) {
            switch (static_cast<CFileException*>(e)->m_cause) {
            case CFileException::fileNotFound:
            case CFileException::badPath: nIDP = AFX_IDP_FAILED_INVALID_PATH; break;
            case CFileException::diskFull: nIDP = AFX_IDP_FAILED_DISK_FULL; break;
            case CFileException::accessDenied:
            case CFileException::sharingViolation:
                nIDP = bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
                break;
            case CFileException::hardIO:
                nIDP = bSaving ? AFX_IDP_FAILED_IO_ERROR_WRITE : AFX_IDP_FAILED_IO_ERROR_READ;
                break;
            default: break;
            }
        }
        else if (e->IsKindOf(RUNTIME_CLASS(CArchiveException))) {
            switch (static_cast<CArchiveException*>(e)->m_cause) {
            case CArchiveException::badSchema:
            case CArchiveException::badClass:
            case CArchiveException::badIndex:
            case CArchiveException::endOfFile: nIDP = AFX_IDP_FAILED_INVALID_FORMAT; break;
            default: break;
            }
        }
        else if (e->IsKindOf(RUNTIME_CLASS(CMemoryException))) {
            nIDP = AFX_IDP_FAILED_MEMORY_ALLOC;
        }
    }
    CString prompt;
    AfxFormatString1(prompt, nIDP, lpszPathName ? lpszPathName : "");
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDP);
}

void CDocument::OnCloseDocument()
{
    // The last frame's destruction would delete the document on the way: hold it.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->m_hWnd != nullptr ? pView->GetParentFrame() : nullptr;
        if (pFrame != nullptr) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        }
        else if (pView->m_hWnd != nullptr) {
            pView->DestroyWindow();
        }
        // A view without a window (or one that survived) only leaves the list.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    // Only the last frame of the document asks to save.
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && pFrame != pFrameArg)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name;
    if (m_strPathName.IsEmpty()) {
        name = m_strTitle;
        if (name.IsEmpty())
            name.LoadString(AFX_IDS_UNTITLED);
    }
    else {
        name = AfxGetFileName(m_strPathName);
    }
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;   // IDNO: the changes are dropped
    }
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::DoFileSave()
{
    DWORD dwAttrib = ::GetFileAttributesA(m_strPathName);
    if (!m_strPathName.IsEmpty() && dwAttrib != INVALID_FILE_ATTRIBUTES && (dwAttrib & FILE_ATTRIBUTE_READONLY)) {
        // The user marked the file to be kept: it is not replaced. Saying why comes before the
        // offer of a new name, which No declines (the save did not happen).
        CString prompt;
        AfxFormatString1(prompt, AFX_IDP_FILE_READONLY, m_strPathName);
        if (prompt.IsEmpty())
            prompt = m_strPathName + " is read-only: it was not replaced.\nDo you want to save it under another name?";
        if (AfxMessageBox(prompt, MB_YESNO | MB_ICONEXCLAMATION, AFX_IDP_FILE_READONLY) != IDYES)
            return FALSE;
        return DoSave(nullptr);
    }
    if (m_strPathName.IsEmpty() || dwAttrib == INVALID_FILE_ATTRIBUTES)
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName ? lpszPathName : "";
    if (newName.IsEmpty()) {
        CDocTemplate* pTemplate = GetDocTemplate();
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            newName = m_strTitle;
            int iBad = newName.FindOneOf(" #%;/\\");
            if (iBad != -1)
                newName = newName.Left(iBad);
            CString strExt;
            if (pTemplate != nullptr && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) && !strExt.IsEmpty())
                newName += strExt;
        }
        CWinApp* pApp = AfxGetApp();
        if (pApp == nullptr ||
            !pApp->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate))
            return FALSE;
    }
    CWaitCursor wait;
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}

// ---- CDocTemplate ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass),
      m_bAutoDelete(TRUE)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_bLoaded)
        return;
    m_bLoaded = TRUE;
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    const_cast<CDocTemplate*>(this)->LoadTemplate();
    return AfxExtractSubString(rString, m_strDocStrings, (int)index);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    CString strPath = AfxFullPath(lpszPathName);
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        if (pDoc->GetPathName().CompareNoCase(strPath) == 0) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString strFilterExt;
    if (GetDocString(strFilterExt, filterExt) && !strFilterExt.IsEmpty()) {
        int nDot = strPath.ReverseFind('.');
        if (nDot >= 0 && strPath.Mid(nDot).CompareNoCase(strFilterExt) == 0)
            return yesAttemptNative;
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == nullptr)
        return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    CDocument* pDocument = dynamic_cast<CDocument*>(pObject);
    if (pDocument == nullptr) {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    if (m_pFrameClass == nullptr)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    CObject* pObject = m_pFrameClass->CreateObject();
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (pFrame == nullptr) {
        delete pObject;
        return nullptr;
    }
    // A frame that fails to load deletes itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        pDoc->OnCloseDocument();
    }
}

void CDocTemplate::OnIdle()
{
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr)
        GetNextDoc(pos)->OnIdle();
}

// ---- CMultiDocTemplate ----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_hMenuShared(nullptr), m_hAccelTable(nullptr),
      m_nUntitledCount(0)
{
    LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Documents still open lose their template, they are not deleted here.
    POSITION pos = m_docList.GetHeadPosition();
    while (pos != nullptr) {
        CDocument* pDoc = static_cast<CDocument*>(m_docList.GetNext(pos));
        CDocTemplate::RemoveDocument(pDoc);
    }
    m_docList.RemoveAll();
    if (m_hMenuShared != nullptr)
        ::DestroyMenu(m_hMenuShared);
}

void CMultiDocTemplate::LoadTemplate()
{
    BOOL bWasLoaded = m_bLoaded;
    CDocTemplate::LoadTemplate();
    if (bWasLoaded)
        return;
    if (m_nIDResource != 0 && m_hMenuShared == nullptr) {
        HINSTANCE hInst = AfxGetResourceHandle();
        m_hMenuShared = ::LoadMenuA(hInst, MAKEINTRESOURCEA(m_nIDResource));
        m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nIDResource));
    }
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const
{
    return m_docList.GetHeadPosition();
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    if (m_docList.Find(pDoc) == nullptr)
        m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    POSITION pos = m_docList.Find(pDoc);
    if (pos != nullptr)
        m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strDocName;
    if (!GetDocString(strDocName, docName) || strDocName.IsEmpty())
        strDocName.LoadString(AFX_IDS_UNTITLED);
    CString title;
    title.Format("%s%u", (LPCSTR)strDocName, m_nUntitledCount + 1);
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = CreateNewDocument();
    if (pDocument == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    // Without a frame class the document stands alone (no windows).
    CFrameWnd* pFrame = nullptr;
    if (m_pFrameClass != nullptr) {
        BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;   // a failing frame must not take the document with it
        pFrame = CreateNewFrame(pDocument, nullptr);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (pFrame == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            delete pDocument;
            return nullptr;
        }
    }

    auto fail = [&]() -> CDocument* {
        if (pFrame != nullptr)
            pFrame->DestroyWindow();    // closes the document through its views
        else if (pDocument->m_bAutoDelete)
            delete pDocument;
        return nullptr;
    };

    if (lpszPathName == nullptr) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible)
            pDocument->m_bEmbedded = TRUE;
        if (!pDocument->OnNewDocument())
            return fail();
        m_nUntitledCount++;
    }
    else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(lpszPathName))
            return fail();
        pDocument->SetPathName(lpszPathName);
    }
    if (pFrame != nullptr)
        InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

// ---- CDocManager ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocManager::~CDocManager()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
    m_templateList.RemoveAll();
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const
{
    return m_templateList.GetHeadPosition();
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
}

BOOL CDocManager::SaveAllModified()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        pTemplate->CloseAllDocuments(bEndSession);
    }
}

int CDocManager::GetOpenDocumentCount()
{
    int nOpen = 0;
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        POSITION pos2 = pTemplate->GetFirstDocPosition();
        while (pos2 != nullptr) {
            pTemplate->GetNextDoc(pos2);
            ++nOpen;
        }
    }
    return nOpen;
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR lpszFileName)
{
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocTemplate* pBestTemplate = nullptr;
    CDocument* pOpenDocument = nullptr;
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        CDocument* pDocMatch = nullptr;
        CDocTemplate::Confidence match = pTemplate->MatchDocType(lpszFileName, pDocMatch);
        if (match > bestMatch) {
            bestMatch = match;
            pBestTemplate = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpenDocument = pDocMatch;
            break;
        }
    }
    if (pOpenDocument != nullptr) {
        // Bring its first view's frame forward.
        POSITION posView = pOpenDocument->GetFirstViewPosition();
        if (posView != nullptr) {
            CView* pView = pOpenDocument->GetNextView(posView);
            if (CFrameWnd* pFrame = pView->GetParentFrame())
                pFrame->ActivateFrame();
        }
        return pOpenDocument;
    }
    if (pBestTemplate == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
        return nullptr;
    }
    return pBestTemplate->OpenDocumentFile(lpszFileName);
}

void CDocManager::OnFileNew()
{
    if (m_templateList.IsEmpty())
        return;
    static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen()
{
    CString newName;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr ||
        !pApp->DoPromptFileName(newName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    OpenDocumentFile(newName);
}
