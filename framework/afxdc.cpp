// Device contexts of windows.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CPaintDC::CPaintDC(CWnd* pWnd)
{
    m_hWnd = AfxGetSafeHwnd(pWnd);
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd)
{
    m_hWnd = AfxGetSafeHwnd(pWnd);
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    HDC hDC = Detach();
    if (hDC != nullptr)
        ::ReleaseDC(m_hWnd, hDC);
}

CWindowDC::CWindowDC(CWnd* pWnd)
{
    m_hWnd = AfxGetSafeHwnd(pWnd);
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC()
{
    HDC hDC = Detach();
    if (hDC != nullptr)
        ::ReleaseDC(m_hWnd, hDC);
}
