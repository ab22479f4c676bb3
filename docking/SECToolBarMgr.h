// The toolbar manager: what all toolbars of one frame share (default toolbars, button map, the
// image strip, the ToolTips, CoolLook and LargeButtons settings, the customise phase) and the
// hooks through which the saved layout re-creates toolbars.
#pragma once
#include "SECBitmap.h"
#include "SECToolBar.h"

// A toolbar resource (type 241: WORD version 1, image width, image height, count, count WORD
// command ids, 0 for a separator) and the bitmap of the same name.
class SECToolBarResource
{
public:
    int m_cxImage = 16, m_cyImage = 15;
    std::vector<UINT> m_ids;        // as in the resource, separators included
    std::vector<UINT> m_imageIDs;   // without the separators: the strip's order
    CBitmap m_bitmap;

    // FALSE when the resource or its bitmap is missing, of another version, or shorter than its
    // count says.
    BOOL Load(LPCSTR lpszResourceName);
    // Only the ids (no bitmap).
    BOOL LoadIDs(LPCSTR lpszResourceName);
};

class SECToolBarManager : public SECControlBarManager
{
    DECLARE_DYNAMIC(SECToolBarManager)
public:
    explicit SECToolBarManager(CFrameWnd* pFrameWnd = nullptr);
    ~SECToolBarManager() override;

    struct DefaultToolBar
    {
        UINT nID;
        CString strTitle;
        std::vector<UINT> ids;
        DWORD dwDockStyle;
        UINT nDockBarID;
        UINT nDockAfterID;
        BOOL bDocked;
        BOOL bVisible;
    };

    void DefineDefaultToolBar(UINT nID, LPCSTR lpszTitle, UINT nCount, const UINT* pIDs,
                              DWORD dwDockStyle = CBRS_ALIGN_ANY, UINT nDockBarID = AFX_IDW_DOCKBAR_TOP,
                              UINT nDockAfterID = 0, BOOL bDocked = TRUE, BOOL bVisible = TRUE);
    void SetButtonMap(const SECBtnMapEntry* pMap) { m_pBtnMap = pMap; }
    const SECBtnMapEntry* GetButtonMap() const { return m_pBtnMap; }
    BOOL SetToolBarResource(LPCSTR lpszName, LPCSTR lpszLargeName = nullptr);
    BOOL SetToolBarResource(UINT nID, UINT nLargeID = 0)
    {
        return SetToolBarResource(MAKEINTRESOURCEA(nID), nLargeID != 0 ? MAKEINTRESOURCEA(nLargeID) : nullptr);
    }

    void EnableToolTips(BOOL bEnable);
    void EnableCoolLook(BOOL bEnable, DWORD dwExStyle = CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER);
    BOOL EnableLargeButtons(BOOL bEnable);
    BOOL ToolTipsEnabled() const { return m_bToolTips; }
    BOOL FlyByEnabled() const { return m_bFlyBy; }
    BOOL CoolLookEnabled() const { return m_bCoolLook; }
    BOOL LargeButtonsEnabled() const { return m_bLargeButtons; }

    virtual void CreateDefaultToolBars();
    // A new, empty user toolbar; null when all user ids are taken.
    SECCustomToolBar* CreateUserToolBar(LPCSTR lpszTitle = nullptr);
    BOOL GetDefaultButtons(UINT nID, UINT& nCount, const UINT*& pIDs) const;

    void BeginCustomize();
    void EndCustomize();
    BOOL IsCustomizing() const override { return m_bCustomizing; }
    void SetCustomizeMode(BOOL bOn);
    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
    void SetCustomizeWindow(CWnd* pWnd) { m_hWndCustomize = pWnd != nullptr ? pWnd->m_hWnd : nullptr; }
    BOOL GetCustomizeWindowRect(CRect& rect) const;
    // Whether the window on top at the screen point is the customisation window or lies in it.
    BOOL IsOverCustomizeWindow(CPoint ptScreen) const;

    void AddNotifyWindow(CWnd* pWnd);
    void RemoveNotifyWindow(CWnd* pWnd);
    void NotifyBarWindow(UINT nBarID, int nCode);

    // Every toolbar of the frame (floating ones too).
    std::vector<SECCustomToolBar*> GetToolBars() const;
    // The first toolbar of the frame that the rectangle meets where the toolbar (or its floating
    // frame) shows: a toolbar covered there by another window is passed over.
    SECCustomToolBar* FindToolBarAt(const CRect& rectScreen) const;
    void ApplyBitmap(SECCustomToolBar* pBar);
    void SetButtonRect(BOOL bValid, const CRect& rect);
    BOOL GetButtonRect(CRect& rect) const;
    void BroadcastButtonNotify(UINT nID, UINT nCode, const void* pData);
    // A check button was clicked: every button with the command on every toolbar follows.
    void CheckCommand(UINT nID, BOOL bCheck);
    // After a system colour change: the strip made again when the button colours it was made
    // with changed (every toolbar passes the change on; the first one reloads), and given to
    // every bar that showed it, the customisation page's palettes included.
    void ReloadBitmap();
    HBITMAP GetBitmap() const { return (HBITMAP)m_bitmap.GetSafeHandle(); }
    // Runs the Toolbars dialog; IDC_SEC_CUSTOMIZE (20584) when the user chose to customise.
    INT_PTR ExecViewToolBarsDlg();

    // ---- Settings and the saved layout's hooks
    void LoadState(LPCSTR lpszProfileName) override;
    void SaveState(LPCSTR lpszProfileName) override;
    DWORD GetBarTypeID(CControlBar* pBar) override;
    SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) override;
    CControlBar* CreateBar(SECControlBarInfo* pInfo) override;

    // The bar style of the toolbars made here.
    DWORD GetToolBarStyle() const;
    DWORD GetToolBarExStyle() const { return m_bCoolLook ? m_dwCoolLookBits : 0; }

    SECCustomToolBar* m_pSelectedToolBar;
    CRuntimeClass* m_pToolBarClass;
    // The paint cache of every toolbar that has none of its own.
    SECToolBarPaintCache m_paintCache;

protected:
    BOOL LoadBitmap();
    // Loads the strip anew; the toolbars of the frame and every other bar that showed the old
    // strip get the new one. FALSE when it did not load (nothing changed then).
    BOOL ReloadStrip();
    // The bars of this manager's thread that show its strip (palettes too).
    std::vector<SECCustomToolBar*> BarsShowingStrip() const;
    SECCustomToolBar* NewToolBar(UINT nID, LPCSTR lpszTitle);

    std::vector<HWND> m_disabled;
    std::vector<DefaultToolBar> m_defaults;
    std::vector<HWND> m_notify;
    HWND m_hWndCustomize;
    BOOL m_bCustomizing;
    BOOL m_bCustomizeMode;
    BOOL m_bToolTips;
    BOOL m_bFlyBy;
    BOOL m_bCoolLook;
    DWORD m_dwCoolLookBits;     // the extended bits the CoolLook setting gives every toolbar
    BOOL m_bLargeButtons;
    BOOL m_bButtonRectValid;
    const SECBtnMapEntry* m_pBtnMap;
    CRect m_rectButton;
    CBitmap m_bitmap;
    std::vector<UINT> m_imageIDs;
    SECSysColors m_stripColors;     // the button colours the strip was made with
    LPCSTR m_lpszResource;
    LPCSTR m_lpszLargeResource;
    int m_cyImage, m_cxImage;
};
