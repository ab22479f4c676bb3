#include "MapData.h"
#include "Reporter.h"
#include <cstring>

namespace {
UINT g_cfMapData = 0;
BOOL g_bRegistered = FALSE;
} // namespace

UINT RegisterMapDataFormat()
{
    g_cfMapData = ::RegisterClipboardFormatA("Morvane Data");
    g_bRegistered = TRUE;
    if (g_cfMapData == 0)
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s",
                     "Could not register the Morvane clipboard format.\nDrag and drop support between maps\n"
                     "will be disabled.");
    return g_cfMapData;
}

UINT GetMapDataFormat()
{
    if (!g_bRegistered) {
        g_cfMapData = ::RegisterClipboardFormatA("Morvane Data");
        g_bRegistered = TRUE;
    }
    return g_cfMapData;
}

namespace {

// A new movable block of the bytes and one NUL after them; null when no memory is left.
HGLOBAL NewTextBlock(const char* text, SIZE_T length)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
    if (!h)
        return nullptr;
    char* p = static_cast<char*>(::GlobalLock(h));
    if (!p) {
        ::GlobalFree(h);
        return nullptr;
    }
    memcpy(p, text, length);
    p[length] = '\0';
    ::GlobalUnlock(h);
    return h;
}

// The text of a block up to its first NUL; false when the block is shorter than two bytes or holds
// no NUL within its size (nothing past the block is read).
bool BlockText(HGLOBAL hData, CString& text)
{
    if (!hData)
        return false;
    const SIZE_T size = ::GlobalSize(hData);
    if (size < 2)
        return false;
    const char* p = static_cast<const char*>(::GlobalLock(hData));
    if (!p)
        return false;
    const void* nul = memchr(p, '\0', size);
    if (nul)
        text = CString(p, static_cast<int>(static_cast<const char*>(nul) - p));
    ::GlobalUnlock(hData);
    return nul != nullptr;
}

} // namespace

HGLOBAL PackMapData(LPCSTR text, SIZE_T length)
{
    if (!text || length == 0 || text[0] != '{')
        return nullptr;
    return NewTextBlock(text, length);
}

BOOL UnpackMapData(HGLOBAL hData, CString& text)
{
    CString read;
    if (!BlockText(hData, read) || read.IsEmpty() || read[0] != '{')
        return FALSE;
    text = read;
    return TRUE;
}

UINT GetObjectFileFormat()
{
    static const UINT s_cf = ::RegisterClipboardFormatA("Morvane Object File");
    return s_cf;
}

HGLOBAL PackObjectFilePath(LPCSTR path)
{
    return path && *path ? NewTextBlock(path, strlen(path)) : nullptr;
}

BOOL UnpackObjectFilePath(HGLOBAL hData, CString& path)
{
    CString read;
    if (!BlockText(hData, read) || read.IsEmpty())
        return FALSE;
    path = read;
    return TRUE;
}
