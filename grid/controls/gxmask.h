// Input masks and the masked edit cell control.
#pragma once
#include "afx.h"
#include "gxctrli.h"
#include <vector>

// One input mask and the characters entered against it. Placeholders:
// '#' digit, '&' any character, '?' letter, 'A' letter or digit, 'L' letter
// (stored lower case), 'U' letter (stored upper case); '\' makes the next
// character a literal; everything else is a literal. With an empty mask the
// object holds free text of at most the maximum length (plain-text mode).
// The masked edit control works only through the virtual operations, so a
// derived class can bring its own mask language.
class CGXMaskData : public CObject
{
    DECLARE_DYNCREATE(CGXMaskData)
public:
    CGXMaskData();
    ~CGXMaskData() override = default;

    virtual void ClearMask();
    virtual void SetMask(LPCSTR lpszMask);
    // The value without literals; unfilled places give a space.
    virtual void GetData(CString& sResult, int nFirst = 0, int nLast = -1, BOOL bTrim = FALSE);
    // Places a value without literals; nStart -1 resets first. Answers the
    // position after the last placed character, or -1.
    virtual int SetData(LPCSTR lpszText, int nStart = -1, BOOL bInsert = FALSE);
    // The text as shown: literals, entered characters and prompts.
    virtual void GetDisplayString(CString& sResult, int nFirst = 0, int nLast = -1);
    // Places a text that holds the literals too; -1 when it does not fit.
    virtual int SetDisplayString(LPCSTR lpszText, int nStart = -1, BOOL bInsert = FALSE);
    // Whether the character may stand at the position; may rewrite it
    // (case, a space becomes the prompt).
    virtual BOOL ValidateChar(int nPos, CString& sChar);
    virtual int GetNextDataPos(int nPos);
    virtual int GetPrevDataPos(int nPos);
    // Where the caret goes when sent to nPos, no further than the entered text.
    virtual int GetInputEnd(int nPos);
    virtual BOOL InsertAt(int nPos, const CString& sChar, int* pNext = nullptr);
    // Removes the characters of positions nStart .. nEnd-1 (the end comes first).
    virtual void DeleteRange(int nEnd, int nStart);
    virtual BOOL IsValid();
    virtual BOOL IsEmptyMask();
    virtual int GetLength();
    virtual int PosToChar(int nPos);
    virtual int CharToPos(int nChar);
    virtual void ResetData();
    virtual int GetMaxLength();
    virtual void SetMaxLength(int nMax);
    virtual BOOL IsPlaceholder(UINT nChar);
    virtual BOOL IsLiteral(int nPos);

    BOOL SetPromptChar(LPCSTR lpszPrompt, BOOL bUpdate);
    const CString& GetPromptChar() const { return m_strPrompt; }
    int GetPositionCount() const { return static_cast<int>(m_mask.size()); }

    // A text split into characters: a double-byte pair is one; a lead byte
    // without its trail byte is dropped.
    static std::vector<CString> SplitChars(LPCSTR lpszText);
    // Whether the system runs a double-byte code page (read once).
    static BOOL IsDBCSSystem();

protected:
    BOOL IsPlainText() { return m_mask.empty(); }
    // The data entries fill every position (literal texts and prompts where
    // nothing stood yet), so no operation reads past them.
    void EnsureData();

    std::vector<CString> m_mask;
    std::vector<BYTE> m_literal;
    std::vector<CString> m_data;
    CString m_strPrompt;
    int m_nMaxLength;
};

// The clipboard format of a masked cell's value without literals.
UINT GXGetMaskDataClipboardFormat();

// Edits a cell's value through an input mask (user attributes "Maskedit:
// Input Mask" and "Maskedit: Prompt Char"): the window shows literals and
// prompts, the cell stores only the entered characters.
class CGXMaskControl : public CGXEditControl
{
    DECLARE_DYNAMIC(CGXMaskControl)
    GX_DECLARE_CONTROL(CGXMaskControl)
public:
    CGXMaskControl(CGXGridEngine* pGrid, UINT nID, CRuntimeClass* pMaskDataClass = nullptr);
    ~CGXMaskControl() override;
    using CGXControl::GetStyle;

    CRuntimeClass* GetWndRuntimeClass() const override { return RUNTIME_CLASS(CGXMaskControl); }
    // Replaces both mask objects by objects of another class derived from CGXMaskData.
    void SetMaskDataClass(CRuntimeClass* pClass);
    virtual BOOL CreateControl(DWORD dwStyle, const CRect& rect);
    // Sets a mask object up from a cell style: mask, prompt, maximum length.
    virtual void InitMask(CGXMaskData* pMask, const CGXStyle& style);
    DWORD CalcEditStyle(CRect& rect, int& nHeight) override;
    BOOL CreateEditWindow(DWORD dwStyle, const CRect& rect) override;

    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void GetValue(CString& strResult) override;
    void SetCurrentText(const CString& str) override;
    BOOL GetCurrentText(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle) override;
    BOOL OnValidate() override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridDoubleByteChar(const CString& sChar, UINT nRepCnt, UINT nFlags) override;
    BOOL Copy() override;
    BOOL Paste() override;
    BOOL CanPaste() override;
    void ReplaceSel(LPCSTR lpszNewText) override;
    BOOL ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol) override;

    CGXMaskData* GetEditMask() { return m_pEditMask; }
    CGXMaskData* GetDrawMask() { return m_pDrawMask; }
    BOOL m_bInsertMode = TRUE;

    // The selection as mask positions, and back.
    void GetPosSel(int& nStart, int& nEnd);
    void SetPosSel(int nStart, int nEnd, BOOL bNoScroll = FALSE);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    void EnsureMasks();
    void NotifyParent(UINT nCode);
    // Places a display text into the edit mask (when given), shows the edit
    // mask and marks the control modified.
    void RefreshWindowText(LPCSTR lpszDisplay = nullptr);
    // A new window when the alignment the text allows changed.
    void ReevaluateStyle();
    // Types one character at the selection; FALSE when it went nowhere.
    BOOL TypeChar(CString sChar);
    // The caret position a click or a bare caret snaps to.
    int SnapCaret(int nPos);

    CGXMaskData* m_pEditMask = nullptr;
    CGXMaskData* m_pDrawMask = nullptr;
    CRuntimeClass* m_pMaskDataClass;
    BOOL m_bPastingMaskData = FALSE;
};
