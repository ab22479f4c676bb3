// The grid library's process-wide state: start-up, window classes, the
// system-colour cache and the registry of scroll-bar sharing parents.
#pragma once
#include "afx.h"

class CGXAbstractControlFactory;
class CGXGridEngine;
class CGXGridWnd;
class CWnd;
class CView;

// An optional hook told of every grid that initialises its objects.
class CGXRegisterGridHook
{
public:
    virtual ~CGXRegisterGridHook() = default;
    virtual void Register(CGXGridWnd* pGrid, LPCSTR lpszName, BOOL bNameSet) = 0;
};

struct GX_APP_STATE
{
    UINT m_cfGridStyles = 0;   // the "Grid Styles" clipboard format

    // Progress texts and command names, loaded at start-up.
    CString sRedoing, sUndoing, sGenUndo, sStoringCells, sRestoringCells, sCells, sRemovingRows,
        sRemovingCols, sCopyingText, sCopyingInternal, sCutData, sCutting, sPasting, sPaste, sReplacing,
        sReplaceAll, sSearching, sResizingRows, sResizingCols, sFreezeRows, sFreezeCols, sCurrentCell,
        sClipboardSize, sCopy, sMove, sClearCells, sMoveRows, sMoveCols, sInsertRows, sInsertCols,
        sAskAbort, sProcessing, sDone, sPressEsc;

    CString m_strPopupClass;

    DWORD m_nWinVer = 0;
    BOOL m_bWin32s = FALSE;
    BOOL m_bNewShell = FALSE;
    BOOL m_bOldShell = TRUE;
    BOOL m_bWin32sOld = FALSE;

    CGXAbstractControlFactory* m_pControlFactory = nullptr;
    CGXRegisterGridHook* m_pRegisterGridHook = nullptr;
    CPtrList m_scrollParentClasses{10};
    BOOL m_bCreatingPopup = FALSE;
    CGXGridEngine* m_pActiveGrid = nullptr;   // the grid that has the focus last

    void FillVersion();
};

GX_APP_STATE* GXGetAppState();

// The popup-creation flag: written and read around pop-up host windows.
BOOL GXSetGlobalValue(BOOL b);
BOOL GXGetAppGlobal();
void GXGetGlobalString(CString& str);

// The cache of system colours 0..23 and of named colours.
class GXSysColors : public CDWordArray
{
public:
    COLORREF clrBtnFace = 0, clrBtnShadow = 0, clrBtnHilite = 0, clrWindowFrame = 0, cr3DLight = 0,
             cr3DDkShadow = 0, clrWindowText = 0, clrWindow = 0, clrHighlight = 0, clrHighlightText = 0;
    HCURSOR m_hArrowCursor = nullptr;
    BOOL m_bNewShell = FALSE;
    int m_nEdgeWidth = 1;
    int m_nEdgeHeight = 1;
    HBITMAP m_hButtonBitmap = nullptr;   // bitmap 23240 in the current system colours

    GXSysColors();
    ~GXSysColors() override;
    GXSysColors(const GXSysColors&) = delete;
    GXSysColors& operator=(const GXSysColors&) = delete;
    void Update();
};
GXSysColors* GXGetSysData();
// Cached for indexes below 24, live otherwise.
COLORREF GXGetSysColor(int nIndex);

// The library's start-up with the given control factory (kept for the whole
// program): registers the "Grid Styles" format, loads the library's texts,
// checks its resources (missing ones throw the resource exception) and
// registers its window classes. Calling it again registers nothing twice.
void GXInitLibrary(DWORD nVersion, CGXAbstractControlFactory* pFactory);
// The start-up's registration step: the factory's window classes ("CGXGridWnd",
// "CGXTabBeam", "CGXTabWnd") and the library's own ("GXEDIT", "GXLISTBOX",
// "GXCOMBOBOX", "GXWND", "GXNDBLCLKSWND", "GxMdiFrame"), each only once.
void GXRegisterClasses(HINSTANCE hInstance);
// Releases the window classes at program exit.
void GXUnregisterClasses();

// The parent of pWnd when it is of class pClass; with bEvenIfIconic FALSE,
// null when an ancestor is minimised.
CWnd* GXGetParentOfClass(const CWnd* pWnd, CRuntimeClass* pClass, BOOL bEvenIfIconic);
void GXRegisterScrollParentClass(CRuntimeClass* pClass);
BOOL GXIsInScrollParent(CGXGridEngine* pEngine);
CView* GXGetActiveView();
