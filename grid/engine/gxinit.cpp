#include "gxinit.h"
#include "gxresrc.h"
#include "gxutil.h"

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
