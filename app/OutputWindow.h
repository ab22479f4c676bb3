// The Output window: tabbed text panes ("Messages", "Build", one per user tool) in a docking bar.
#pragma once
#include "OutputPanes.h"
#include "SECBar.h"
#include "SECTabWnd.h"
#include "afxwin.h"
#include <vector>

// One pane: a multi-line edit that appends at its end and keeps itself under 30000 characters.
class COutputEdit : public CEdit
{
    DECLARE_DYNAMIC(COutputEdit)
public:
    enum { kLimit = 30000, kCut = 8192, kKeep = kLimit - kCut };
    static const char kCutText[];

    BOOL CreatePane(CWnd* pParent, UINT nID);
    // Appends without taking the keyboard focus, so that a cell being edited or a list dropped
    // down elsewhere is not disturbed.
    void AppendText(LPCSTR text);
    // A worker's output block (new[]'d, NUL-terminated): appended, then freed; the blocks for
    // this pane already waiting in the queue are taken along.
    LRESULT OnToolOutput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

class COutputTabBar : public SECControlBar, public COutputPanes
{
    DECLARE_DYNAMIC(COutputTabBar)
public:
    enum { kFirstPaneId = 4000, kFirstToolPaneId = 4002 };
    COutputTabBar();
    ~COutputTabBar() override;

    HWND GetTabEdit(LPCSTR lpszLabel) override;
    void ClearTab(LPCSTR lpszLabel) override;
    void ActivateTab(LPCSTR lpszLabel) override;
    void PrintToTab(LPCSTR lpszLabel, LPCSTR lpszText) override;
    void AddTab(LPCSTR lpszLabel) override;
    void RemoveToolTabs() override;
    void ShowOutput() override;

    COutputEdit* FindPane(LPCSTR lpszLabel);
    SECTabWnd m_tabWnd;
    COutputEdit m_messages;
    COutputEdit m_build;
    UINT m_nNextPaneId;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);

protected:
    // The fixed panes for their labels; tool panes by tab label.
    COutputEdit* PaneFor(LPCSTR lpszLabel);
    int FindTabIndex(LPCSTR lpszLabel);
    std::vector<COutputEdit*> m_toolPanes;

    DECLARE_MESSAGE_MAP()
};
