// Shared data of the docking library.
#include "SECData.h"

UINT wmSECBarNotify = 0;
UINT wmSECToolBarWndNotify = 0;
UINT wmSECToolBarStyleChanging = 0;
UINT wmSECNoDelayHide = 0;

void SECRegisterMessages()
{
    if (wmSECBarNotify != 0)
        return;
    wmSECBarNotify = ::RegisterWindowMessageA("WM_BARNOTIFY");
    wmSECToolBarWndNotify = ::RegisterWindowMessageA("WM_SECTOOLBARWNDNOTIFY");
    wmSECToolBarStyleChanging = ::RegisterWindowMessageA("WM_TOOLBARSTYLECHANGING");
    wmSECNoDelayHide = ::RegisterWindowMessageA("WM_NODELAYHIDE");
}

void SECSysData::Update()
{
    bWin4 = LOBYTE(LOWORD(::GetVersion())) >= 4;
    cxBorder = cyBorder = bWin4 ? 2 : 1;
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    clrWindow = ::GetSysColor(COLOR_WINDOW);
    clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    hcurArrow = ::LoadCursorA(nullptr, IDC_ARROW);
}

HCURSOR SECSysData::SplitCursor(BOOL bSideways)
{
    HCURSOR& hcur = bSideways ? m_hcurSplitH : m_hcurSplitV;
    if (hcur == nullptr) {
        UINT nID = bSideways ? AFX_IDC_HSPLITBAR : AFX_IDC_VSPLITBAR;
        hcur = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
        if (hcur == nullptr)
            hcur = ::LoadCursorA(nullptr, bSideways ? IDC_SIZEWE : IDC_SIZENS);
    }
    return hcur;
}

HCURSOR SECSysData::DragCopyCursor()
{
    if (m_hcurDragCopy == nullptr)
        m_hcurDragCopy = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_SEC_DRAGCOPY));
    return m_hcurDragCopy != nullptr ? m_hcurDragCopy : ::LoadCursorA(nullptr, IDC_ARROW);
}

HCURSOR SECSysData::SizeControlCursor()
{
    if (m_hcurSizeControl == nullptr)
        m_hcurSizeControl = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_SEC_SIZECONTROL));
    return m_hcurSizeControl != nullptr ? m_hcurSizeControl : ::LoadCursorA(nullptr, IDC_SIZEWE);
}

SECSysData& SECGetSysData()
{
    static SECSysData data = [] {
        SECSysData d;
        d.bDeferRedraw = FALSE;
        d.Update();
        return d;
    }();
    return data;
}
