// The saved docking layout of the docking library: the platform's records with each bar's sizes,
// share, styles and floating state added, extensions that bars attach with their own keys, and
// the bar manager's hooks that re-create bars and extensions when a layout is loaded.
#pragma once
#include "SECData.h"

class SECControlBarInfo;

// The hooks of a frame's bar manager (the toolbar manager derives from it).
class SECControlBarManager : public CCmdTarget
{
    DECLARE_DYNAMIC(SECControlBarManager)
public:
    explicit SECControlBarManager(CFrameWnd* pFrameWnd = nullptr) : m_pFrameWnd(pFrameWnd) {}

    virtual void LoadState(LPCSTR lpszProfileName) { (void)lpszProfileName; }
    virtual void SaveState(LPCSTR lpszProfileName) { (void)lpszProfileName; }
    // The bar's type number in the saved layout (0: nothing special).
    virtual DWORD GetBarTypeID(CControlBar* pBar) { (void)pBar; return 0; }
    // The extension a record of this type carries, or null.
    virtual class SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) { (void)pInfo; return nullptr; }
    // A bar the saved layout names but the frame does not have yet, or null.
    virtual CControlBar* CreateBar(SECControlBarInfo* pInfo) { (void)pInfo; return nullptr; }
    // A customisation dialog is open: the frame takes no commands and does not close.
    virtual BOOL IsCustomizing() const { return FALSE; }

    CFrameWnd* m_pFrameWnd;
};

// Extra state a bar keeps in the saved layout, under keys of its own in the bar's section.
class SECControlBarInfoEx : public CObject
{
    DECLARE_DYNCREATE(SECControlBarInfoEx)
public:
    SECControlBarInfoEx() = default;
    virtual void Serialize(CArchive& ar, class SECDockState* pDockState) { (void)ar; (void)pDockState; }
    virtual BOOL LoadState(LPCSTR lpszSection, class SECDockState* pDockState)
    {
        (void)lpszSection;
        (void)pDockState;
        return TRUE;
    }
    virtual BOOL SaveState(LPCSTR lpszSection) { (void)lpszSection; return TRUE; }
};

class SECControlBarInfo : public CControlBarInfo
{
public:
    explicit SECControlBarInfo(SECControlBarManager* pManager = nullptr);
    ~SECControlBarInfo() override;

    BOOL SaveState(LPCSTR lpszProfileName, int nIndex) override;
    BOOL LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState) override;
    void SerializeEx(CArchive& ar, CDockState* pDockState) override;

    // The share as the settings keep it: millionths, truncated toward zero.
    static CString ShareToText(float fPct);
    static float ShareFromText(LPCSTR lpsz);

    CSize m_szHorz, m_szVert, m_szFloat;
    DWORD m_dwMRUDockingState;
    DWORD m_dwDockStyle;
    float m_fPctWidth;
    DWORD m_dwStyle;
    DWORD m_dwExStyle;
    BOOL m_bPrevFloating;
    BOOL m_bMDIChild;
    SECControlBarInfoEx* m_pInfoEx;     // owned
    DWORD m_dwTypeID;
    SECControlBarManager* m_pManager;   // not owned
};

class SECDockState : public CDockState
{
    DECLARE_DYNCREATE(SECDockState)
public:
    explicit SECDockState(SECControlBarManager* pManager = nullptr) : m_pManager(pManager) {}

    SECControlBarManager* m_pManager;

protected:
    CControlBarInfo* NewBarInfo() override;
};
