// Property sheets and their pages, on the system's property sheet control.
//
// A modal sheet runs like a modal dialog: the system's sheet is created modeless, its owner
// disabled, and the framework's own loop runs it (pre-translation walk, idle command updates);
// keyboard navigation goes through the sheet (PSM_ISDIALOGMESSAGE). Under the test seam the
// request is answered by the test (AFX_MODAL_PROPERTYSHEET), or the test drives the same run as
// its user. A page whose apply fails keeps the sheet open on that page. A modeless sheet destroys
// its window when OK or Cancel ends it.
// DoModal can run again on the same object: the page windows are made again, the page objects
// keep their data.
#pragma once
#include "afxwin.h"
#include <prsht.h>
#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

    PROPSHEETPAGEA m_psp;   // what the sheet is given for this page (flags, caption)

    // Marks the sheet's Apply button (when the sheet has one).
    void SetModified(BOOL bChanged = TRUE);

    // ---- Overridables
    // The page becomes the current one: TRUE accepts. The first time the page's initialisation
    // has just transferred the data; later the members go into the controls again.
    virtual BOOL OnSetActive();
    // The page is left (another page, OK, Apply): the controls go into the members; a failing
    // exchange keeps the page.
    virtual BOOL OnKillActive();
    // OK or Apply, for each page whose window was created.
    virtual void OnOK() override;
    // Cancel, for each page whose window was created (after OnReset).
    virtual void OnCancel() override;
    virtual void OnReset();
    virtual BOOL OnApply();
    virtual BOOL OnQueryCancel();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    static INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void BuildPage();
    CPropertySheet* GetSheet() const;

    CString m_strCaption;
    BOOL m_bFirstSetActive;

    friend class CPropertySheet;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    PROPSHEETHEADERA m_psh;     // the caller may add flags (PSH_NOAPPLYNOW)

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCSTR lpszText, UINT nStyle = 0);
    void PressButton(int nButton);
    void EndDialog(int nEndID);

    virtual INT_PTR DoModal();
    // A modeless sheet (a child when style has WS_CHILD).
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ContinueModal() override;

    CWnd* m_pParentWnd;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Makes the system's sheet (modeless); FALSE when it could not.
    BOOL CreateSheet(HWND hWndParent, DWORD dwStyle, DWORD dwExStyle);
    // The modal run itself: owner disabled, the sheet made, the framework's loop.
    INT_PTR RunModalSheet();

    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pspArray;
    CString m_strCaption;
    UINT m_nStartPage;
    BOOL m_bModeless;
};
