#include "gxinit.h"
#include "gxwnd.h"
#include "gxtabwnd.h"
#include "gxresrc.h"
#include "gxutil.h"
#include "gxcontrol.h"
#include "gxengine.h"
#include "gxfont.h"
#include "afxwin.h"
#include <cstring>

GX_APP_STATE* GXGetAppState()
{
    static GX_APP_STATE state;
    return &state;
}

void GX_APP_STATE::FillVersion()
{
    DWORD v = ::GetVersion();
    DWORD major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
    m_nWinVer = major * 256 + minor;
    BOOL highBit = (v & 0x80000000u) != 0;
    m_bWin32s = highBit ? 1 : 0;
    m_bNewShell = major > 3 ? 1 : 0;
    m_bOldShell = 1 - m_bNewShell;
    m_bWin32sOld = (highBit && major <= 3) ? 1 : 0;
}

BOOL GXSetGlobalValue(BOOL b)
{
    GXGetAppState()->m_bCreatingPopup = b;
    return b;
}

BOOL GXGetAppGlobal() { return GXGetAppState()->m_bCreatingPopup; }

void GXGetGlobalString(CString& str) { str = GXGetAppState()->m_strPopupClass; }

// ---------------------------------------------------------------------------

GXSysColors::GXSysColors()
{
    DWORD major = LOBYTE(LOWORD(::GetVersion()));
    m_bNewShell = major >= 4;
    m_nEdgeWidth = m_nEdgeHeight = m_bNewShell ? 2 : 1;
    m_hArrowCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

GXSysColors::~GXSysColors()
{
    if (m_hButtonBitmap != nullptr)
        ::DeleteObject(m_hButtonBitmap);
}

void GXSysColors::Update()
{
    SetSize(24);
    for (int i = 0; i < 24; ++i)
        SetAt(i, ::GetSysColor(i));
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    cr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    cr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    clrWindow = ::GetSysColor(COLOR_WINDOW);
    clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (m_hButtonBitmap != nullptr) {
        ::DeleteObject(m_hButtonBitmap);
        m_hButtonBitmap = nullptr;
    }
    CreateBitmapFromDIBResource(m_hButtonBitmap, GX_IDB_CALENDAR_BUTTON);
}

GXSysColors* GXGetSysData()
{
    static GXSysColors colors;
    return &colors;
}

COLORREF GXGetSysColor(int nIndex)
{
    GXSysColors* p = GXGetSysData();
    if (nIndex >= 0 && nIndex < 24 && p->GetSize() == 24)
        return p->GetAt(nIndex);
    return ::GetSysColor(nIndex);
}

// ---------------------------------------------------------------------------
// Start-up

namespace {
void LoadLibraryStrings(GX_APP_STATE* s)
{
    struct Entry { CString* p; UINT id; };
    const Entry entries[] = {
        {&s->sRedoing, GX_IDS_REDOING}, {&s->sUndoing, GX_IDS_UNDOING}, {&s->sGenUndo, GX_IDS_GENUNDO},
        {&s->sStoringCells, GX_IDS_STORINGCELLS}, {&s->sRestoringCells, GX_IDS_RESTORINGCELLS},
        {&s->sCells, GX_IDS_CELLS}, {&s->sRemovingRows, GX_IDS_REMOVINGROWS},
        {&s->sRemovingCols, GX_IDS_REMOVINGCOLS}, {&s->sCopyingText, GX_IDS_COPYINGTEXT},
        {&s->sCopyingInternal, GX_IDS_COPYINGINTERNAL}, {&s->sCutData, GX_IDS_CUTDATA},
        {&s->sCutting, GX_IDS_CUTTING}, {&s->sPasting, GX_IDS_PASTING}, {&s->sPaste, GX_IDS_PASTE},
        {&s->sReplacing, GX_IDS_REPLACING}, {&s->sReplaceAll, GX_IDS_REPLACEALL},
        {&s->sSearching, GX_IDS_SEARCHING}, {&s->sResizingRows, GX_IDS_RESIZINGROWS},
        {&s->sResizingCols, GX_IDS_RESIZINGCOLS}, {&s->sFreezeRows, GX_IDS_FREEZEROWS},
        {&s->sFreezeCols, GX_IDS_FREEZECOLS}, {&s->sCurrentCell, GX_IDS_CURRENTCELL},
        {&s->sClipboardSize, GX_IDS_CLIPBOARDSIZE}, {&s->sCopy, GX_IDS_COPY}, {&s->sMove, GX_IDS_MOVE},
        {&s->sClearCells, GX_IDS_CLEARCELLS}, {&s->sMoveRows, GX_IDS_MOVEROWS}, {&s->sMoveCols, GX_IDS_MOVECOLS},
        {&s->sInsertRows, GX_IDS_INSERTROWS}, {&s->sInsertCols, GX_IDS_INSERTCOLS},
        {&s->sAskAbort, GX_IDS_ASKABORT}, {&s->sProcessing, GX_IDS_PROCESSING}, {&s->sDone, GX_IDS_DONE},
        {&s->sPressEsc, GX_IDS_PRESSESC},
    };
    for (const Entry& e : entries)
        e.p->LoadString(e.id);
}

void CheckResources()
{
    HINSTANCE hRes = AfxGetResourceHandle();
    HBITMAP hbm = ::LoadBitmapA(hRes, MAKEINTRESOURCEA(GX_IDB_ARROW));
    if (hbm == nullptr)
        AfxThrowResourceException();
    ::DeleteObject(hbm);
    for (UINT id : {GX_IDC_SELDRAG, GX_IDC_SIZECOL, GX_IDC_SIZEROW, GX_IDC_SELROW, GX_IDC_SELCOL}) {
        HCURSOR h = ::LoadCursorA(hRes, MAKEINTRESOURCEA(id));
        if (h == nullptr)
            AfxThrowResourceException();
        ::DestroyCursor(h);
    }
}

// A copy of a system control class under the library's name.
void RegisterCopy(HINSTANCE hInst, LPCSTR lpszSystemClass, LPCSTR lpszName)
{
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, lpszName, &wc))
        return;
    if (!::GetClassInfoA(nullptr, lpszSystemClass, &wc))
        return;
    wc.style |= CS_GLOBALCLASS;
    wc.hInstance = hInst;
    wc.lpszClassName = lpszName;
    ::RegisterClassA(&wc);
}

void RegisterPlain(HINSTANCE hInst, LPCSTR lpszName, UINT nStyle)
{
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, lpszName, &wc))
        return;
    std::memset(&wc, 0, sizeof(wc));
    wc.style = nStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.lpszClassName = lpszName;
    ::RegisterClassA(&wc);
}
} // namespace

void GXInitLibrary(DWORD, CGXAbstractControlFactory* pFactory)
{
    GX_APP_STATE* s = GXGetAppState();
    s->m_cfGridStyles = ::RegisterClipboardFormatA("Grid Styles");
    if (pFactory != nullptr && pFactory != s->m_pControlFactory) {
        delete s->m_pControlFactory;
        s->m_pControlFactory = pFactory;
    }
    s->m_pRegisterGridHook = nullptr;
    s->FillVersion();
    LoadLibraryStrings(s);
    CheckResources();
    if (s->m_strPopupClass.IsEmpty())
        s->m_strPopupClass = AfxRegisterWndClass(CS_SAVEBITS);

    GXRegisterClasses(AfxGetInstanceHandle());

    GXGetFontTable();
    GXGetSysData()->Update();
    RefreshLocaleFormats();
}

void GXUnregisterClasses()
{
    GX_APP_STATE* s = GXGetAppState();
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (!s->m_strPopupClass.IsEmpty()) {
        ::UnregisterClassA(s->m_strPopupClass, hInst);
        s->m_strPopupClass.Empty();
    }
    if (s->m_pControlFactory != nullptr) {
        s->m_pControlFactory->UnregisterWindowClasses(hInst);
    } else {
        for (LPCSTR name : {"CGXGridWnd", "CGXTabBeam", "CGXTabWnd"})
            ::UnregisterClassA(name, hInst);
    }
}

void GXRegisterClasses(HINSTANCE hInst)
{
    // The factory registers the grid's, the tab beam's and the tab window's classes; without a
    // factory they are still registered: a library that started has them, whatever makes its
    // controls.
    if (CGXAbstractControlFactory* pFactory = GXGetAppState()->m_pControlFactory) {
        pFactory->RegisterWindowClasses(hInst);
    } else {
        CGXGridWnd::RegisterClass(hInst);
        CGXTabBeam::RegisterClass(hInst);
        CGXTabWnd::RegisterClass(hInst);
    }
    RegisterCopy(hInst, "edit", "GXEDIT");
    RegisterCopy(hInst, "listbox", "GXLISTBOX");
    RegisterCopy(hInst, "combobox", "GXCOMBOBOX");
    RegisterPlain(hInst, "GXWND", CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    RegisterPlain(hInst, "GXNDBLCLKSWND", CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW);
    RegisterPlain(hInst, "GxMdiFrame", CS_GLOBALCLASS | CS_DBLCLKS);
}

// ---------------------------------------------------------------------------
// Windows around grids

CWnd* GXGetParentOfClass(const CWnd* pWnd, CRuntimeClass* pClass, BOOL bEvenIfIconic)
{
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return nullptr;
    CWnd* pParent = pWnd->GetParent();
    if (pParent == nullptr || !pParent->IsKindOf(pClass))
        return nullptr;
    if (!bEvenIfIconic) {
        for (HWND h = ::GetParent(pWnd->GetSafeHwnd()); h != nullptr; h = ::GetParent(h))
            if (::IsIconic(h))
                return nullptr;
    }
    return pParent;
}

void GXRegisterScrollParentClass(CRuntimeClass* pClass)
{
    CPtrList& list = GXGetAppState()->m_scrollParentClasses;
    if (pClass != nullptr && list.Find(pClass) == nullptr)
        list.AddTail(pClass);
}

BOOL GXIsInScrollParent(CGXGridEngine* pEngine)
{
    CWnd* pWnd = pEngine != nullptr ? pEngine->GridWnd() : nullptr;
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return FALSE;
    CWnd* pParent = pWnd->GetParent();
    if (pParent == nullptr)
        return FALSE;
    CPtrList& list = GXGetAppState()->m_scrollParentClasses;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (pParent->IsKindOf(static_cast<CRuntimeClass*>(list.GetNext(pos))))
            return TRUE;
    return FALSE;
}

CView* GXGetActiveView()
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || !pMain->IsFrameWnd())
        return nullptr;
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(pMain);
    if (CView* pView = pFrame->GetActiveView())
        return pView;
    CFrameWnd* pActive = pFrame->GetActiveFrame();
    return pActive != nullptr ? pActive->GetActiveView() : nullptr;
}
