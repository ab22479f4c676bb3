// Clipboard helpers of the cell-control window tests.
#pragma once
#include <gtest/gtest.h>
#include "afxwin.h"
#include <cstring>

// The clipboard's text in a format, empty when it holds none.
inline CString ClipboardText(UINT nFormat = CF_TEXT)
{
    CString text;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE h = ::GetClipboardData(nFormat)) {
            if (LPCSTR p = static_cast<LPCSTR>(::GlobalLock(h))) {
                text = p;
                ::GlobalUnlock(h);
            }
        }
        ::CloseClipboard();
    }
    return text;
}

// Puts a text on the clipboard as CF_TEXT alone.
inline void PutOnClipboard(LPCSTR text)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const size_t n = std::strlen(text) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(::GlobalLock(h), text, n);
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
}
