// The saved docking layout of the docking library.
#include "SECDockState.h"
#include <cstdlib>

IMPLEMENT_DYNAMIC(SECControlBarManager, CCmdTarget)
IMPLEMENT_DYNCREATE(SECControlBarInfoEx, CObject)
IMPLEMENT_DYNCREATE(SECDockState, CDockState)

namespace {

const char szStyle[] = "Style";
const char szExStyle[] = "ExStyle";
const char szPrevFloating[] = "PrevFloating";
const char szMDIChild[] = "MDIChild";
const char szPctWidth[] = "PctWidth";
const char szMRUFloatCX[] = "MRUFloatCX";
const char szMRUFloatCY[] = "MRUFloatCY";
const char szMRUHorzDockCX[] = "MRUHorzDockCX";
const char szMRUHorzDockCY[] = "MRUHorzDockCY";
const char szMRUVertDockCX[] = "MRUVertDockCX";
const char szMRUVertDockCY[] = "MRUVertDockCY";
const char szMRUDockingState[] = "MRUDockingState";
const char szDockingStyle[] = "DockingStyle";
const char szTypeID[] = "TypeID";

CString SectionName(LPCSTR lpszProfileName, int nIndex)
{
    CString s;
    s.Format("%s-Bar%d", lpszProfileName, nIndex);
    return s;
}

int NonNegative(UINT n)
{
    return (int)n < 0 ? 0 : (int)n;
}

} // namespace

SECControlBarInfo::SECControlBarInfo(SECControlBarManager* pManager)
    : m_dwMRUDockingState(0), m_dwDockStyle(0), m_fPctWidth(0.0f), m_dwStyle(0), m_dwExStyle(0),
      m_bPrevFloating(FALSE), m_bMDIChild(FALSE), m_pInfoEx(nullptr), m_dwTypeID(0), m_pManager(pManager)
{
}

SECControlBarInfo::~SECControlBarInfo()
{
    delete m_pInfoEx;
}

CString SECControlBarInfo::ShareToText(float fPct)
{
    CString s;
    s.Format("%d", (int)((double)fPct * 1000000.0));
    return s;
}

float SECControlBarInfo::ShareFromText(LPCSTR lpsz)
{
    float fPct = (float)(atol(lpsz != nullptr ? lpsz : "") * 0.000001);
    return fPct < 0.0f ? 0.0f : fPct;
}

BOOL SECControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex)
{
    if (!CControlBarInfo::SaveState(lpszProfileName, nIndex))
        return FALSE;
    CProfileStore* pApp = AfxGetProfile();
    CString section = SectionName(lpszProfileName, nIndex);
    pApp->WriteProfileInt(section, szStyle, (int)m_dwStyle);
    pApp->WriteProfileInt(section, szExStyle, (int)m_dwExStyle);
    pApp->WriteProfileInt(section, szPrevFloating, m_bPrevFloating);
    pApp->WriteProfileInt(section, szMDIChild, m_bMDIChild);
    pApp->WriteProfileString(section, szPctWidth, ShareToText(m_fPctWidth));
    pApp->WriteProfileInt(section, szMRUFloatCX, m_szFloat.cx);
    pApp->WriteProfileInt(section, szMRUFloatCY, m_szFloat.cy);
    pApp->WriteProfileInt(section, szMRUHorzDockCX, m_szHorz.cx);
    pApp->WriteProfileInt(section, szMRUHorzDockCY, m_szHorz.cy);
    pApp->WriteProfileInt(section, szMRUVertDockCX, m_szVert.cx);
    pApp->WriteProfileInt(section, szMRUVertDockCY, m_szVert.cy);
    pApp->WriteProfileInt(section, szMRUDockingState, (int)m_dwMRUDockingState);
    pApp->WriteProfileInt(section, szDockingStyle, (int)m_dwDockStyle);
    pApp->WriteProfileInt(section, szTypeID, (int)m_dwTypeID);
    if (m_pInfoEx != nullptr)
        m_pInfoEx->SaveState(section);
    return TRUE;
}

BOOL SECControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState)
{
    // A record that names no bar is dropped: no extension is made for it.
    if (!CControlBarInfo::LoadState(lpszProfileName, nIndex, pDockState))
        return FALSE;
    CProfileStore* pApp = AfxGetProfile();
    CString section = SectionName(lpszProfileName, nIndex);
    m_dwStyle = pApp->GetProfileInt(section, szStyle, 0);
    m_dwExStyle = pApp->GetProfileInt(section, szExStyle, 0);
    m_bPrevFloating = (BOOL)pApp->GetProfileInt(section, szPrevFloating, 0);
    m_bMDIChild = (BOOL)pApp->GetProfileInt(section, szMDIChild, 0);
    // A missing share reads 0; the next normalisation of its row raises it.
    m_fPctWidth = ShareFromText(pApp->GetProfileString(section, szPctWidth, ""));
    m_szFloat.cx = NonNegative(pApp->GetProfileInt(section, szMRUFloatCX, 0));
    m_szFloat.cy = NonNegative(pApp->GetProfileInt(section, szMRUFloatCY, 0));
    m_szHorz.cx = NonNegative(pApp->GetProfileInt(section, szMRUHorzDockCX, 0));
    m_szHorz.cy = NonNegative(pApp->GetProfileInt(section, szMRUHorzDockCY, 0));
    m_szVert.cx = NonNegative(pApp->GetProfileInt(section, szMRUVertDockCX, 0));
    m_szVert.cy = NonNegative(pApp->GetProfileInt(section, szMRUVertDockCY, 0));
    m_dwMRUDockingState = pApp->GetProfileInt(section, szMRUDockingState, (int)m_dwMRUDockingState);
    m_dwDockStyle = pApp->GetProfileInt(section, szDockingStyle, (int)m_dwDockStyle);
    m_dwTypeID = pApp->GetProfileInt(section, szTypeID, 0);
    if (m_pManager != nullptr) {
        delete m_pInfoEx;
        m_pInfoEx = m_pManager->CreateBarInfoEx(this);
        if (m_pInfoEx != nullptr)
            m_pInfoEx->LoadState(section, dynamic_cast<SECDockState*>(pDockState));
    }
    return TRUE;
}

void SECControlBarInfo::SerializeEx(CArchive& ar, CDockState* pDockState)
{
    if (ar.IsStoring()) {
        ar << m_dwStyle << m_dwExStyle << (DWORD)m_bPrevFloating << (DWORD)m_bMDIChild;
        ar << ShareToText(m_fPctWidth);
        AfxSerializeLongs(ar, &m_szFloat.cx, 2);
        AfxSerializeLongs(ar, &m_szHorz.cx, 2);
        AfxSerializeLongs(ar, &m_szVert.cx, 2);
        ar << m_dwMRUDockingState << m_dwDockStyle << m_dwTypeID;
        if (m_pInfoEx != nullptr)
            m_pInfoEx->Serialize(ar, dynamic_cast<SECDockState*>(pDockState));
    }
    else {
        DWORD dw;
        ar >> m_dwStyle >> m_dwExStyle;
        ar >> dw;
        m_bPrevFloating = (BOOL)dw;
        ar >> dw;
        m_bMDIChild = (BOOL)dw;
        CString strShare;
        ar >> strShare;
        m_fPctWidth = ShareFromText(strShare);
        AfxSerializeLongs(ar, &m_szFloat.cx, 2);
        AfxSerializeLongs(ar, &m_szHorz.cx, 2);
        AfxSerializeLongs(ar, &m_szVert.cx, 2);
        ar >> m_dwMRUDockingState >> m_dwDockStyle >> m_dwTypeID;
        // The manager knows whether a record of this type carries an extension.
        if (m_pManager != nullptr) {
            delete m_pInfoEx;
            m_pInfoEx = m_pManager->CreateBarInfoEx(this);
            if (m_pInfoEx != nullptr)
                m_pInfoEx->Serialize(ar, dynamic_cast<SECDockState*>(pDockState));
        }
    }
}

CControlBarInfo* SECDockState::NewBarInfo()
{
    return new SECControlBarInfo(m_pManager);
}
