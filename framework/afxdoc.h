// Documents, document templates and the document manager.
#pragma once
#include "afxwnd.h"

class CFile;
class CFileException;
class CFrameWnd;
class CView;
class CDocTemplate;
struct CPrintInfo;

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // Views still attached are let go (they are not deleted); the template forgets the document.
    ~CDocument() override;

    // ---- Title and path
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Stores the full path; the title becomes the file name; with bAddToMRU the application's
    // AddToRecentFileList gets the path.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // ---- Views
    virtual POSITION GetFirstViewPosition() const;
    virtual CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // Calls OnUpdate of every view except pSender (also fine without views).
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // With m_bAutoDelete, removing the last view closes the document.
    virtual void OnChangedViewList();

    // ---- Life cycle
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    // The standard open: open the file, DeleteContents, Serialize from an archive, clear the
    // modified flag; failures are reported and leave the document empty.
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    // The standard save: Serialize into a temporary file beside the target that replaces the
    // target only after a complete write; failures are reported and leave the old file as it was.
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    // Destroys the frames of the views, DeleteContents, and deletes the document when
    // m_bAutoDelete is set (also when it never had a frame).
    virtual void OnCloseDocument();
    virtual void ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // ---- Closing and saving
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // The framework's question "Save changes to %1?" (Yes/No/Cancel): FALSE when cancelled or the
    // save failed.
    virtual BOOL SaveModified();
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Saves under lpszPathName, or asks for a name (null).
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    virtual void UpdateFrameCounts();
    // Idle time of the application (each open document).
    virtual void OnIdle() {}

    // The routing of commands: the document's map, then its template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    BOOL m_bAutoDelete;     // delete the document when its last view goes or it is closed
    BOOL m_bEmbedded;

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    CPtrList m_viewList;
    BOOL m_bModified;

    friend class CDocTemplate;

    DECLARE_MESSAGE_MAP()
};

// Creates documents of one kind (and, when it has a frame class, their frames and views).
class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

public:
    ~CDocTemplate() override;

    // Loads the string, menu and accelerators of the resource id (once).
    virtual void LoadTemplate();

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    // The index-th "\n"-separated part of the template's string.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                      yesAlreadyOpen };
    // yesAlreadyOpen (and the document) when a document of this template has the path (compared
    // without regard to case); otherwise by the filter extension.
    virtual Confidence MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch);

    virtual CDocument* CreateNewDocument();
    // A frame for pDoc (or for pOther's document and view class); null without a frame class.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document (null path) or one opened from a file; null on failure (reported).
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual void OnIdle();

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    BOOL m_bAutoDelete;     // deleted by the document manager

protected:
    BOOL m_bLoaded = FALSE;
};

class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared;
    HACCEL m_hAccelTable;

protected:
    CPtrList m_docList;
    UINT m_nUntitledCount;
};

// The application's templates.
class CDocManager : public CObject
{
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager() = default;
    ~CDocManager() override;    // deletes the templates

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    virtual POSITION GetFirstDocTemplatePosition() const;
    virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();
    // Opens a path with the best matching template; an already open document is activated.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void OnFileNew();
    virtual void OnFileOpen();

protected:
    CPtrList m_templateList;
};

// The file name part of a path ("dir\name.ext" gives "name.ext").
CString AfxGetFileName(LPCSTR lpszPathName);
// The full path of a file name (relative names are taken from the current directory).
CString AfxFullPath(LPCSTR lpszFileIn);
