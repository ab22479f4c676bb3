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

HGLOBAL PackMapData(LPCSTR text, SIZE_T length)
{
    if (!text || length == 0 || text[0] != '{')
        return nullptr;
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

BOOL UnpackMapData(HGLOBAL hData, CString& text)
{
    if (!hData)
        return FALSE;
    SIZE_T size = ::GlobalSize(hData);
    if (size < 2)
        return FALSE;
    const char* p = static_cast<const char*>(::GlobalLock(hData));
    if (!p)
        return FALSE;
    BOOL ok = FALSE;
    const void* nul = memchr(p, '\0', size);
    if (p[0] == '{' && nul) {
        text = CString(p, static_cast<int>(static_cast<const char*>(nul) - p));
        ok = TRUE;
    }
    ::GlobalUnlock(hData);
    return ok;
}
