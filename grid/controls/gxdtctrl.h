// The date/time cell control.
#pragma once
#include "gxctrli.h"
#include "gxdtwnd.h"

// Edits a cell's date or time in place with a date/time window; other cells
// are drawn from the same field row. The cell's value is the date as text.
class CGXDateTimeCtrl : public CGXBDateTimeCtrl, public CGXStatic
{
    GX_DECLARE_CONTROL(CGXDateTimeCtrl)
public:
    // bCalendar: the live window has the calendar button.
    CGXDateTimeCtrl(CGXGridEngine* pGrid, UINT nID, BOOL bCalendar = TRUE);
    ~CGXDateTimeCtrl() override;
    using CGXControl::GetStyle;
    using CGXControl::Invalidate;
    using CGXControl::IsKindOf;
    using CObject::IsKindOf;

    CWnd* GetWnd() override { return this; }
    virtual BOOL CreateControl(DWORD dwStyle, const CRect& rect);
    // The windows are made on first need: a cell may be drawn before any was held.
    BOOL EnsureWindows();
    // Sets a window's picture from a style's format attributes.
    void ApplyFormat(CGXBDateTimeCtrl* pWnd, const CGXStyle& style);
    // The date a value text gives, or the default of the window's format
    // (1899-12-30 00:00:00 for time and custom pictures, today otherwise).
    COleDateTime ParseValue(CGXBDateTimeCtrl* pWnd, LPCSTR lpszValue, BOOL* pParsed = nullptr);

    void SetActive(BOOL bActive) override;
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL bModified) override { m_bModify = bModified; }
    BOOL GetModify() override { return m_bModify; }
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    int Store() override;
    void Reset() override;
    BOOL OnStartEditing() override;
    CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                   BOOL bHeight) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void GetValue(CString& strResult) override;
    void SetCurrentText(const CString& str) override;
    BOOL GetCurrentText(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle) override;
    void Hide() override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message, int& retval) override;
    BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL CanPaste() override;
    BOOL Paste() override;

    BOOL CanChange(const COleDateTime& date) override;
    void OnChanged() override;

    CGXBDateTimeCtrl& GetTextWnd() { return m_textWnd; }
    CGXBDateTimeCtrl& GetDrawWnd() { return m_drawWnd; }
    BOOL m_bDrawSpin = FALSE;       // arrows in cells that are not current
    BOOL m_bDrawCalendar = FALSE;   // the calendar button likewise
    CString m_strSeparators = ",";

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
    // Sets a window up for a style: non-editable fields, picture, range.
    void ApplyStyle(CGXBDateTimeCtrl* pWnd, const CGXStyle& style);
    // Gives a text to the focused field: a number to a numeric field, the first
    // matching item to a list field.
    BOOL TextToField(CGXBDateTimeCtrl* pWnd, CGXBDTGadget* pGadget, const CString& sText);
    void FocusEditable(BOOL bLast);

    CGXBDateTimeCtrl m_textWnd;
    CGXBDateTimeCtrl m_drawWnd;
    UINT m_nWndID;
    DWORD m_dwCreateStyle;
    CFont m_font;
    BOOL m_bActive = FALSE;
    BOOL m_bModify = FALSE;
};
