// The rich edit cell control: cells whose value is an RTF document.
#pragma once
#include "afxctrl.h"
#include "gxctrli.h"
#include <richedit.h>

// Edits the current cell's formatted text in a live rich edit window; other
// cells are drawn from their RTF. Four hidden rich edit windows, each with a
// cache of the last text streamed into it, draw, convert, measure and read
// formats of values without touching the live window.
class CGXRichEditCtrl : public CRichEditCtrl, public CGXControl
{
    DECLARE_DYNAMIC(CGXRichEditCtrl)
    GX_DECLARE_CONTROL(CGXRichEditCtrl)
public:
    CGXRichEditCtrl(CGXGridEngine* pGrid, UINT nID);
    ~CGXRichEditCtrl() override;
    using CGXControl::GetStyle;
    using CGXControl::IsKindOf;
    using CObject::IsKindOf;

    CRuntimeClass* GetWndRuntimeClass() const override { return RUNTIME_CLASS(CGXRichEditCtrl); }
    CWnd* GetWnd() override { return this; }
    virtual BOOL CreateControl(DWORD dwStyle, UINT nID);
    // The windows are made on first need: a cell may be drawn before any was held.
    BOOL EnsureWindows();
    virtual void StyleToFormats(PARAFORMAT& pf, CHARFORMAT& cf, const CGXStyle& style);
    virtual void FormatsToStyle(const PARAFORMAT& pf, const CHARFORMAT& cf, CGXStyle& style);

    void SetActive(BOOL bActive) override;
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL bModified) override;
    BOOL GetModify() override;
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    int Store() override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                   BOOL bHeight) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void SetCurrentText(const CString& str) override;
    BOOL GetCurrentText(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle) override;
    void Hide() override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridDoubleByteChar(const CString& sChar, UINT nRepCnt, UINT nFlags) override;
    BOOL Copy() override;
    BOOL Cut() override;
    BOOL Paste() override;
    BOOL CanCut() override;
    BOOL CanPaste() override;
    BOOL GetSelectedText(CString& sWindowText) override;
    BOOL FindText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol, BOOL bCurrentPos, BOOL bSetCell) override;
    void ReplaceSel(LPCSTR lpszNewText) override;
    BOOL ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Invalidate() override { CGXControl::Invalidate(); }

    // The formats of a cell's value (or of the live selection): FALSE when none was found.
    BOOL GetCellFormats(ROWCOL nRow, ROWCOL nCol, CGXStyle& style);

    // RTF in and out of a rich edit window.
    static void SetRTFText(CWnd* pWnd, LPCSTR lpszRTF);
    static CString GetRTFText(CWnd* pWnd);
    // A plain text as an RTF group: backslashes and braces escaped. A text
    // that is RTF already stays as it is.
    static CString WrapPlainText(LPCSTR lpszText);

    // How inactive cells are drawn here: 0 by the rich edit's own formatting
    // into the cell, 1 by a hidden window of the cell's size printing itself,
    // 2 as plain text in the style's font. Decided once per process by trying.
    enum { drawFormatRange = 0, drawPrintClient = 1, drawPlainText = 2 };
    int GetInactiveDrawing();
    BOOL m_bAutoSize = FALSE;
    int m_nStartRowHeight = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnRichKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnRichChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    BOOL StartWithCaret(BOOL bEnd);
    // Streams a text into a hidden window unless it holds that text already.
    void StreamCached(int nWindow, LPCSTR lpszRTF);
    void ForgetCache(int nWindow) { m_cache[nWindow].Empty(); m_bCached[nWindow] = FALSE; }
    void GrowRow(const CRect& rectRequested);
    void DrawInactive(CDC* pDC, const CRect& inner, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style);

    enum { hRender = 0, hConvert = 1, hMeasure = 2, hFormat = 3 };
    CRichEditCtrl m_hidden[4];
    CString m_cache[4];
    BOOL m_bCached[4] = {FALSE, FALSE, FALSE, FALSE};
    BOOL m_bActive = FALSE;
    BOOL m_bMeasuring = FALSE;
    BOOL m_bGrowing = FALSE;
    CRect m_rectRequested;
    UINT m_nID;
    GXShownOver m_shownOver;   // where the window was last shown
};

// Set while automatic row growth must wait (the active cell is drawn, a paste runs).
extern BOOL g_bRichNoResize;
