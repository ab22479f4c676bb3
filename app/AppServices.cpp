#include "AppServices.h"
#include "Map.h"

BOOL CAppServices::HasMainFrame()
{
    return AfxGetMainWnd() != nullptr;
}

Map* CAppServices::GetActiveMap()
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return CViewServices::GetActiveMap();
    CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pMain)->MDIGetActive();
    CDocument* pDoc = pChild ? pChild->GetActiveDocument() : nullptr;
    Map* pMap = pDoc && pDoc->IsKindOf(RUNTIME_CLASS(Map)) ? static_cast<Map*>(pDoc) : nullptr;
    SetActiveMap(pMap);
    return pMap;
}

CString CAppServices::GetProfileString(LPCSTR section, LPCSTR key, LPCSTR def)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileString(section, key, def) : CViewServices::GetProfileString(section, key, def);
}

int CAppServices::GetProfileInt(LPCSTR section, LPCSTR key, int def)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? static_cast<int>(pApp->GetProfileInt(section, key, def)) : CViewServices::GetProfileInt(section, key, def);
}

void CAppServices::WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileString(section, key, value);
    else
        CViewServices::WriteProfileString(section, key, value);
}

void CAppServices::WriteProfileInt(LPCSTR section, LPCSTR key, int value)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(section, key, value);
    else
        CViewServices::WriteProfileInt(section, key, value);
}
