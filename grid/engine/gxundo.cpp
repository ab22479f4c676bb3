// Undo and redo: the two command lists of the parameter object, blocks, and executing commands.
#include "gxundo.h"
#include "afxwin.h"
#include "gxengine.h"
#include "gxresrc.h"

IMPLEMENT_DYNAMIC(CGXCommand, CObject)
IMPLEMENT_DYNAMIC(CGXBlockCmd, CGXCommand)

CGXBlockCmd::CGXBlockCmd(LPCSTR lpszName) : m_strName(lpszName != nullptr ? lpszName : "Block") {}

CGXBlockCmd::~CGXBlockCmd()
{
    for (POSITION pos = m_members.GetHeadPosition(); pos != nullptr;)
        delete m_members.GetNext(pos);
    m_members.RemoveAll();
}

BOOL CGXBlockCmd::Execute(CGXGridEngine* pEngine, int nMode)
{
    return pEngine != nullptr && pEngine->ExecuteBlockCommand(this, nMode);
}

namespace {
void RecordCurrentCell(CGXGridEngine& e, CGXCommand* pCmd)
{
    ROWCOL r = 0, c = 0;
    pCmd->m_bCurrentCellValid = e.GetCurrentCellPos(r, c);
    pCmd->m_nRow = r;
    pCmd->m_nCol = c;
}

// The block at the head of the list when it is the one expected; commands of a block that is no
// longer at the head (the lists were emptied, undo was switched on meanwhile) go to the top level.
CGXBlockCmd* HeadBlock(CObList& list, CGXBlockCmd* pExpected)
{
    if (pExpected == nullptr || list.IsEmpty())
        return nullptr;
    auto* pHead = dynamic_cast<CGXBlockCmd*>(static_cast<CObject*>(list.GetHead()));
    return pHead == pExpected ? pHead : nullptr;
}
} // namespace

CObList* CGXGridEngine::CommandListFor(int nMode, BOOL bMembers)
{
    if (m_pParam == nullptr)
        return nullptr;
    CObList& list = (nMode == gxDo || nMode == gxRedo) ? m_pParam->GetUndoList() : m_pParam->GetRedoList();
    if (bMembers && (m_pParam->m_nUndoCount > 0 || m_bExecutingBlock)) {
        if (CGXBlockCmd* pBlock = HeadBlock(list, m_bExecutingBlock ? m_pExecutingBlock : m_pOpenBlock))
            return &pBlock->m_members;
    }
    return &list;
}

void CGXGridEngine::PushCommand(CGXCommand* pCmd, int nMode)
{
    if (pCmd == nullptr)
        return;
    if (m_pParam == nullptr || nMode == gxRollback) {
        delete pCmd;
        return;
    }
    if (nMode == gxDo)
        m_pParam->EmptyRedoList();
    CObList* pTarget = CommandListFor(nMode, TRUE);
    CObList& top = (nMode == gxDo || nMode == gxRedo) ? m_pParam->GetUndoList() : m_pParam->GetRedoList();
    if (pTarget == &top && static_cast<DWORD>(top.GetCount()) > m_pParam->m_nMaxUndo)
        delete top.RemoveTail();
    try {
        RecordCurrentCell(*this, pCmd);
        pTarget->AddHead(pCmd);
    } catch (CException* e) {
        delete pCmd;
        e->Delete();
    }
}

void CGXGridEngine::RemoveLastCommand(int nMode)
{
    CObList* pList = CommandListFor(nMode, TRUE);
    if (pList != nullptr && !pList->IsEmpty())
        delete pList->RemoveHead();
}

void CGXGridEngine::OpenBlockCommand(LPCSTR lpszName)
{
    if (m_pParam == nullptr)
        return;
    if (m_pParam->m_nUndoCount == 0 && m_pParam->IsUndoEnabled()) {
        m_strBlockName = lpszName != nullptr ? lpszName : "";
        auto* pBlock = new CGXBlockCmd(lpszName);
        RecordCurrentCell(*this, pBlock);
        m_pParam->GetUndoList().AddHead(pBlock);
        m_pOpenBlock = pBlock;
    }
    ++m_pParam->m_nUndoCount;
}

void CGXGridEngine::CloseBlockCommand()
{
    if (m_pParam == nullptr || m_pParam->m_nUndoCount == 0)
        return;
    if (--m_pParam->m_nUndoCount > 0 || !m_pParam->IsUndoEnabled())
        return;
    CObList& undo = m_pParam->GetUndoList();
    if (CGXBlockCmd* pBlock = HeadBlock(undo, m_pOpenBlock)) {
        if (pBlock->m_members.IsEmpty())
            delete undo.RemoveHead();
    }
    m_pOpenBlock = nullptr;
}

void CGXGridEngine::RollbackBlockCommand()
{
    if (m_pParam == nullptr || m_pParam->m_nUndoCount == 0)
        return;
    if (--m_pParam->m_nUndoCount > 0 || !m_pParam->IsUndoEnabled())
        return;
    m_pParam->m_nUndoCount = 0;
    CObList& undo = m_pParam->GetUndoList();
    if (CGXBlockCmd* pBlock = HeadBlock(undo, m_pOpenBlock)) {
        undo.RemoveHead();
        m_pOpenBlock = nullptr;
        pBlock->Execute(this, gxRollback);
        delete pBlock;
    }
    m_pOpenBlock = nullptr;
}

BOOL CGXGridEngine::ExecuteBlockCommand(CGXBlockCmd* pBlock, int nMode)
{
    if (m_pParam == nullptr || pBlock == nullptr)
        return FALSE;
    // The counter-block that the members' own commands join.
    CGXBlockCmd* pNew = nullptr;
    CObList* pNewList = nullptr;
    if (nMode == gxUndo || nMode == gxRedo) {
        pNew = new CGXBlockCmd(pBlock->m_strName);
        RecordCurrentCell(*this, pNew);
        pNewList = nMode == gxUndo ? &m_pParam->GetRedoList() : &m_pParam->GetUndoList();
        pNewList->AddHead(pNew);
    }
    const BOOL bWasExecuting = m_bExecutingBlock;
    CGXBlockCmd* pWasBlock = m_pExecutingBlock;
    if (!bWasExecuting)
        m_bDeferredCell = FALSE;
    m_bExecutingBlock = TRUE;
    m_pExecutingBlock = pNew;
    const INT_PTR nMembers = pBlock->m_members.GetCount();
    const BOOL bLock = m_pParam->m_bLockUpdate;
    if (nMembers > 1)
        m_pParam->m_bLockUpdate = TRUE;
    BOOL bResult = TRUE;
    for (POSITION pos = pBlock->m_members.GetHeadPosition(); pos != nullptr && bResult;) {
        auto* pCmd = static_cast<CGXCommand*>(pBlock->m_members.GetNext(pos));
        bResult = pCmd->Execute(this, nMode);
    }
    if (nMembers > 1)
        m_pParam->m_bLockUpdate = bLock;
    if (pNew != nullptr && !bResult) {
        // A member failed: the members that ran are taken back, so the grid is as before.
        POSITION pos = pNewList->Find(pNew);
        if (pos != nullptr)
            pNewList->RemoveAt(pos);
        m_pExecutingBlock = nullptr;
        ExecuteBlockCommand(pNew, gxRollback);
        delete pNew;
    }
    if (nMembers > 1)
        Redraw(GX_UPDATENOW, TRUE);
    m_bExecutingBlock = bWasExecuting;
    m_pExecutingBlock = pWasBlock;
    if (!m_bExecutingBlock && m_bDeferredCell) {
        m_bDeferredCell = FALSE;
        RestoreCurrentCell(m_nDeferredRow, m_nDeferredCol, m_bDeferredPlace);
    }
    return bResult;
}

void CGXGridEngine::RestoreCurrentCell(ROWCOL nRow, ROWCOL nCol, BOOL bPlace)
{
    if (m_bExecutingBlock) {
        m_bDeferredCell = TRUE;
        m_nDeferredRow = nRow;
        m_nDeferredCol = nCol;
        m_bDeferredPlace = bPlace;
        return;
    }
    if (bPlace && !IsCurrentCellAt(nRow, nCol))
        PlaceCurrentCell(nRow, nCol, 10);
    else
        BringCellIntoView(nRow, nCol, GX_UPDATENOW, FALSE);
    if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->UpdateWindow();
}

BOOL CGXGridEngine::Undo()
{
    if (m_pParam == nullptr)
        return FALSE;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c)) {
        CGXControl* pControl = GetCellControl(r, c);
        if (pControl != nullptr && pControl->IsActive()) {
            if (!pControl->OnCancelEditing())
                return FALSE;
            const BOOL bModified = pControl->GetModify();
            pControl->Init(r, c);
            pControl->Invalidate();
            pControl->OnCanceledEditing();
            // The first undo only throws the typing away.
            if (bModified)
                return TRUE;
        }
    }
    CObList& undo = m_pParam->GetUndoList();
    if (undo.IsEmpty())
        return FALSE;
    auto* pCmd = static_cast<CGXCommand*>(undo.RemoveHead());
    const BOOL bProtect = m_pParam->m_bLockStructureReadOnly;
    m_pParam->m_bLockStructureReadOnly = FALSE;
    const BOOL bResult = pCmd->Execute(this, gxUndo);
    if (bResult)
        delete pCmd;
    else
        undo.AddHead(pCmd);
    m_pParam->m_bLockStructureReadOnly = bProtect;
    return bResult;
}

BOOL CGXGridEngine::Redo()
{
    if (m_pParam == nullptr)
        return FALSE;
    // A pending edit is stored first: it is a change of its own.
    if (IsCurrentCellActive() && !TransferCurrentCell(TRUE, GX_UPDATENOW, FALSE))
        return FALSE;
    CObList& redo = m_pParam->GetRedoList();
    if (redo.IsEmpty())
        return FALSE;
    auto* pCmd = static_cast<CGXCommand*>(redo.RemoveHead());
    const BOOL bProtect = m_pParam->m_bLockStructureReadOnly;
    m_pParam->m_bLockStructureReadOnly = FALSE;
    const BOOL bResult = pCmd->Execute(this, gxRedo);
    if (bResult) {
        if (pCmd->m_bCurrentCellValid)
            PlaceCurrentCell(pCmd->m_nRow, pCmd->m_nCol, 10);
        delete pCmd;
    } else {
        redo.AddHead(pCmd);
    }
    m_pParam->m_bLockStructureReadOnly = bProtect;
    return bResult;
}

namespace {
// The item's text with %1 for the name: the command string after its second line feed, else the
// menu item's own text, else the fallback.
void FillMenuTemplate(CString& strTemplate, CCmdUI* pCmdUI, LPCSTR lpszFallback)
{
    if (!strTemplate.IsEmpty())
        return;
    CString s;
    if (s.LoadString(pCmdUI->m_nID)) {
        const int a = s.Find('\n');
        const int b = a >= 0 ? s.Find('\n', a + 1) : -1;
        if (b >= 0) {
            strTemplate = s.Mid(b + 1);
            return;
        }
    }
    char buf[256] = {};
    if (pCmdUI->m_pMenu != nullptr && pCmdUI->m_pMenu->GetSafeHmenu() != nullptr)
        ::GetMenuStringA(pCmdUI->m_pMenu->GetSafeHmenu(), pCmdUI->m_nID, buf, 255, MF_BYCOMMAND);
    strTemplate = buf[0] != 0 ? CString(buf) : CString(lpszFallback);
}

CString HeadName(CObList& list)
{
    return list.IsEmpty() ? CString() : static_cast<CGXCommand*>(list.GetHead())->GetDescription();
}
} // namespace

BOOL CGXGridEngine::UpdateUndoMenuText(CCmdUI* pCmdUI)
{
    if (pCmdUI == nullptr)
        return FALSE;
    if (m_pParam == nullptr) {
        pCmdUI->Enable(FALSE);
        return FALSE;
    }
    CGXControl* pControl = GetCurrentCellControl();
    const BOOL bCellEdited = pControl != nullptr && pControl->IsActive() && pControl->GetModify();
    const BOOL bEnabled = bCellEdited || !m_pParam->GetUndoList().IsEmpty();
    if (pCmdUI->m_pMenu != nullptr) {
        FillMenuTemplate(m_strUndoTemplate, pCmdUI, "Undo %1");
        CString name;
        if (bCellEdited)
            name.LoadString(GX_IDS_CURRENTCELL);
        else
            name = HeadName(m_pParam->GetUndoList());
        CString text = m_strUndoTemplate;
        text.Replace("%1", name);
        pCmdUI->SetText(text);
    }
    pCmdUI->Enable(bEnabled);
    return bEnabled;
}

BOOL CGXGridEngine::UpdateRedoMenuText(CCmdUI* pCmdUI)
{
    if (pCmdUI == nullptr)
        return FALSE;
    if (m_pParam == nullptr) {
        pCmdUI->Enable(FALSE);
        return FALSE;
    }
    const BOOL bEnabled = !m_pParam->GetRedoList().IsEmpty();
    if (pCmdUI->m_pMenu != nullptr) {
        FillMenuTemplate(m_strRedoTemplate, pCmdUI, "Redo %1");
        CString text = m_strRedoTemplate;
        text.Replace("%1", HeadName(m_pParam->GetRedoList()));
        pCmdUI->SetText(text);
    }
    pCmdUI->Enable(bEnabled);
    return bEnabled;
}
