// The toolbar customisation dialogs: the Toolbars dialog, the Toolbars and command pages of the
// application's Customize sheet, and the New Toolbar dialog.
#pragma once
#include "SECToolBarMgr.h"
#include "afxsheet.h"

class SECToolBarCheckList : public CCheckListBox
{
};

// What the Toolbars dialog and page share.
class SECToolBarsDlgData
{
public:
    BOOL m_bToolTips = TRUE, m_bCoolLook = FALSE, m_bLargeButtons = FALSE;
    BOOL m_bInitToolTips = TRUE, m_bInitCoolLook = FALSE, m_bInitLargeButtons = FALSE;
    SECToolBarManager* m_pManager = nullptr;
    SECToolBarCheckList m_list;
    CWnd* m_pDlg = nullptr;

    void Init(SECToolBarManager* pManager);
    void Apply();
    void Restore();
    BOOL Attach(CWnd* pDlg);
    void Fill();
    void UpdateSelection();
    void OnBarNotify(UINT nBarID, int nCode);
    void Rename();
    // The New Toolbar dialog and a floating empty user toolbar; TRUE when one was made.
    BOOL NewToolBar();
    void ResetOrDelete();
    void ShowSelected();
    void OnToolTips();
    void OnCoolLook();
    void OnLargeButtons();
    // Routes the dialog's commands; TRUE when handled.
    BOOL OnCommand(UINT nID, UINT nCode);
    void SetChecks();
    SECCustomToolBar* SelectedToolBar() const;

protected:
    SECCustomToolBar* ToolBarOf(UINT nID) const;
    int IndexOf(UINT nID) const;
};

class SECToolBarsDlg : public CDialog
{
    DECLARE_DYNAMIC(SECToolBarsDlg)
public:
    explicit SECToolBarsDlg(SECToolBarManager* pManager, CWnd* pParent = nullptr);
    SECToolBarsDlgData m_data;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void EndCustomise(int nResult);
};

class SECToolBarsPage : public CPropertyPage
{
    DECLARE_DYNAMIC(SECToolBarsPage)
public:
    explicit SECToolBarsPage(SECToolBarManager* pManager = nullptr, UINT nIDTemplate = IDD_SEC_TOOLBARSPAGE,
                             UINT nIDCaption = 0);
    ~SECToolBarsPage() override;
    SECToolBarsDlgData m_data;
    void SetManager(SECToolBarManager* pManager);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnReset() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void TellSiblings(WPARAM wWhat);
};

class SECToolBarCmdPage : public CPropertyPage
{
    DECLARE_DYNAMIC(SECToolBarCmdPage)
public:
    SECToolBarCmdPage();
    SECToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption);
    ~SECToolBarCmdPage() override;

    struct Category
    {
        SECCustomizeToolBar* pPalette = nullptr;
        CString strTitle;
        std::vector<UINT> ids;
    };

    void DefineBtnGroup(LPCSTR lpszTitle, int nCount, const UINT* pIDs);
    void SetManager(SECToolBarManager* pManager);
    int GetCategoryCount() const { return (int)m_categories.size(); }
    SECCustomizeToolBar* GetPalette(int nIndex) const;
    int GetCurrentPalette() const { return m_nCurrent; }

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnReset() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SelectCategory(int nIndex);
    void LayoutPalette(SECCustomizeToolBar* pPalette, int cx);
    void DestroyPalettes();

    SECToolBarManager* m_pManager;
    std::vector<Category> m_categories;
    int m_nCurrent;
    CRect m_rectArea;
};

class SECNewToolBarDlg : public CDialog
{
    DECLARE_DYNAMIC(SECNewToolBarDlg)
public:
    explicit SECNewToolBarDlg(CWnd* pParent = nullptr);
    CString m_strName;
    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void UpdateOK();
};
