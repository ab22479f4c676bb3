// Device contexts of windows: painting, client area and whole window.
#pragma once
#include "afxgdi.h"

class CWnd;

// BeginPaint/EndPaint for the lifetime of the object (in WM_PAINT handlers).
class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// The client area of a window (the screen when pWnd is null). Also usable on the heap and kept.
class CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// The whole window, non-client area included (the screen when pWnd is null).
class CWindowDC : public CDC
{
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
