// Commands: the records grid changes leave behind so that they can be taken back.
#pragma once
#include "afx.h"
#include "gxaxis.h"

class CGXGridEngine;

// One change that can be executed again with the values saved before it. The engine fills the
// current cell when the command is filed.
class CGXCommand : public CObject
{
    DECLARE_DYNAMIC(CGXCommand)
public:
    CGXCommand() = default;
    // nMode: 1 rollback, 2 undo, 3 redo.
    virtual BOOL Execute(CGXGridEngine* pEngine, int nMode) = 0;
    virtual CString GetDescription() const = 0;

    ROWCOL m_nRow = 0;
    ROWCOL m_nCol = 0;
    BOOL m_bCurrentCellValid = FALSE;
};

// Several commands taken back and redone as one step (members newest first).
class CGXBlockCmd : public CGXCommand
{
    DECLARE_DYNAMIC(CGXBlockCmd)
public:
    explicit CGXBlockCmd(LPCSTR lpszName = nullptr);
    ~CGXBlockCmd() override;
    BOOL Execute(CGXGridEngine* pEngine, int nMode) override;
    CString GetDescription() const override { return m_strName; }

    CObList m_members{10};
    CString m_strName;
};
