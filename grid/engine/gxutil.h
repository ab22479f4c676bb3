// Library-wide helpers of the grid: colours, pattern bitmaps, long operations,
// drawing, text layout, tab-separated lists and the locale's date format.
#pragma once
#include "afx.h"

// A colour whose top byte lies in 65..254 names system colour 254 - top byte.
inline BOOL GXIsSysColor(COLORREF c)
{
    BYTE top = static_cast<BYTE>(c >> 24);
    return top >= 65 && top <= 254;
}
inline COLORREF GXSysColorValue(int nIndex, COLORREF rgb = 0)
{
    return (static_cast<COLORREF>(254 - nIndex) << 24) | (rgb & 0xFFFFFF);
}
// The code of a system colour, carrying its current value in the low bytes.
COLORREF GXSysColorCode(int nIndex);
// The colour with a system-colour code resolved to the current system colour.
COLORREF ResolveSysColor(COLORREF c);

// Reads up to nMax integers separated by blanks; returns how many were found.
int GXReadNumbers(LPCSTR lpszText, long* pValues, int nMax);

// 8 x 8 monochrome pattern bitmaps 0..40, made on first use.
enum { GX_PATTERN_COUNT = 41 };
HBITMAP GXGetPatternBitmap(int nPattern);

// Device-independent bitmaps from resources.
HGLOBAL LoadDIBResource(HINSTANCE hModule, UINT nID);
HGLOBAL LoadDIBResource(HINSTANCE hModule, LPCSTR lpszName);
int GXGetDIBNumColors(const BITMAPINFOHEADER* pHeader);
// The bitmap with its grey and black/white table entries mapped to the
// current button colours; FALSE when the resource is missing.
BOOL CreateBitmapFromDIBResource(HBITMAP& hBitmap, UINT nID);

class CDC;
struct GXBrushRecord;
struct GXPenRecord;

// Drawing helpers.
void GXInvertRect(CDC* pDC, const RECT& rect, const RECT& rectClip);
// Fills through an opaque text output; system-colour codes are resolved.
void FillRectColor(CDC* pDC, int x, int y, int cx, int cy, COLORREF color);
void FillRectColorOpaque(CDC* pDC, const RECT& rect, COLORREF color);
struct GXFocusTextRecord
{
    CRect rect;            // in: the space; out: the box the text was drawn in
    BOOL bFocus = FALSE;
    LPCSTR lpszText = nullptr;
};
void GXDrawFocusText(CDC* pDC, GXFocusTextRecord& rec);
struct GXEdgeRecord
{
    CRect rect;
    UINT nEdge = EDGE_RAISED;
    int nFlat = 0;         // positive: adjust the rectangle only
};
void GXDrawEdge(CDC* pDC, GXEdgeRecord& rec);
void GXDraw3dFrame(CDC* pDC, int left, int top, int right, int bottom, int nWidth, COLORREF clrTopLeft,
                   COLORREF clrBottomRight);
COLORREF GXGetRecordColor(const GXPenRecord& pen);
COLORREF GXGetRecordColor(const GXBrushRecord& brush);
void GXDrawButtonEdge(CDC* pDC, const RECT& rect, BOOL bFramed, BOOL bPressed);

// The grid's own word-wrapping text layout. Format bits: DT_WORDBREAK,
// DT_VCENTER, DT_BOTTOM, DT_CENTER, DT_RIGHT. The rectangle's top moves for
// vertical alignment. Returns the number of lines.
int GXBreakTextLines(CDC* pDC, LPCSTR lpszText, int nLength, LPRECT lpRect, UINT nFormat, int* pStarts,
                     int* pLengths, int nMaxLines);
int GXGetTextLineCount(CDC* pDC, LPCSTR lpszText, int nLength, int left, int top, int right, int bottom,
                       UINT nFormat);
void GXDrawTextLines(CDC* pDC, LPCSTR lpszText, int nLength, int left, int top, int right, int bottom,
                     UINT nFormat, LPCRECT lpClipRect = nullptr);
struct GXTextPosRecord
{
    int left, top, right, bottom;
    UINT nFormat;    // out: the offset within the line
    int x, y;
};
// The offset in the text of the character under (x, y), or -1.
int GXGetTextPosFromPoint(CDC* pDC, LPCSTR lpszText, int nLength, GXTextPosRecord& rec);

// Choice lists: lines separated by CR LF, fields by TAB.
// Splits the first line off; returns its length.
int GXGetNextLine(LPCSTR& lpszText, CString& sLine);
// The next line of a cell's choice list: a line ends at a carriage return or
// a line feed, and a carriage return followed by a line feed counts once.
// Answers FALSE (and an empty line) at the end of the text.
BOOL GXGetNextChoiceLine(LPCSTR& lpszText, CString& sLine);
// A cell's typed number: the leading whole number of the text (after blanks,
// with its sign), clamped to the range of a 32-bit long; 0 without one.
long GXParseClampedLong(LPCSTR lpszText);
// Replaces every occurrence of lpszFind in sText by lpszReplace and answers
// how many it replaced. Without bMatchCase the matches are found without
// regard to case while the rest of the text keeps its own; scanning resumes
// after each inserted text, so a replacement holding the search text does not
// loop. An empty search text replaces nothing.
int GXReplaceAllText(CString& sText, LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bMatchCase);
// The field (0-based) of a line, at most nMax characters; the buffer holds
// nMax + 1 characters and is always terminated.
void GXGetTabField(LPCSTR lpszLine, int nField, LPSTR lpszOut, int nMax);
CString GXGetTabField(LPCSTR lpszLine, int nField);
// The entries of a choice list (lines by the choice-line rule, fields cut at
// 127 characters): the index (a skipped title line not counted) of the first
// entry whose field equals the key (exact, case-sensitive) or begins with it
// (not exact, whatever the case), the entry in sEntry; -1 and an empty entry
// when none.
int GXFindTabListEntry(LPCSTR lpszKey, int nColumn, LPCSTR lpszList, BOOL bSkipTitle, CString& sEntry, BOOL bExact);
// The same over every line, title included, without the entry.
int GXFindTabListEntry(LPCSTR lpszKey, int nColumn, LPCSTR lpszList, BOOL bExact);
// Sorts the lines by the whole line (column < 1) or by one field.
void GXSortTabList(CString& sList, int nColumn, BOOL bKeepFirstLine);

// The locale's short date order (1 month first, 0 day first, 2 year first),
// separator and four-digit year; read once and on demand.
void GetLocaleDateFormat(BOOL bForce, int& nOrder, char& cSeparator, BOOL* pbFourDigitYear = nullptr);
char GetLocaleTimeSeparator(BOOL bForce);
void RefreshLocaleFormats();

// A long operation: nestable; once it has run for a while it shows a status
// text with a spinner or a percentage, keeps the user interface alive and
// lets the user cancel with ESC.
class CGXLongOperation
{
public:
    CGXLongOperation();
    ~CGXLongOperation();
    CGXLongOperation(const CGXLongOperation&) = delete;
    CGXLongOperation& operator=(const CGXLongOperation&) = delete;

    void SetStatusText(LPCSTR lpszText, BOOL bCopyBuffer = TRUE);
    // TRUE when it showed progress and pumped messages.
    BOOL NeedMessages();
    // As NeedMessages; also decides whether the user aborts.
    BOOL ShowProgress(BOOL& bAbort);
    void PumpMessages();

    // Library-wide settings and state of the running operations.
    static void SetPercentDone(int nPercent);
    static void SetTicksFirstTime(DWORD dwTicks);
    static void SetTicksContinued(DWORD dwTicks);
    static void SetAbortConfirmation(BOOL bConfirm);
    static void SetCanAbort(BOOL bCanAbort);
    static void SetCanRollback(BOOL bCanRollback);
    static void SetLockedState(int nLevel);   // -1: every level may change the text
    static void SetStatusWindow(HWND hWnd);
    static BOOL GetRollbackConfirmedState();
    static BOOL GetAbortState();
    static int GetNestingLevel();
    // The status line last sent (for tests).
    static CString GetLastStatusLine();

    BOOL m_bShowDone = TRUE;
    BOOL m_bShowStatus = TRUE;

protected:
    void SendStatus(const CString& sLine);
    BOOL Step(BOOL bProgress, BOOL* pbAbort);

    DWORD m_dwStartTicks;
    DWORD m_dwLastTicks;
};
