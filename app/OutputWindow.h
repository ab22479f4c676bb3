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
    // down elsewhere is not disturbed. While the pane is held, the text waits for the release.
    void AppendText(LPCSTR text);
    // Every change of a shown pane costs about as much as its whole text (the control measures
    // it again), so the lines of a long run of work (a project load) are gathered while the pane
    // is held and reach it in one change when the last hold is released.
    void Hold() { ++m_nHold; }
    void Release();
    BOOL IsHeld() const { return m_nHold > 0; }
    // The waiting text reaches the pane now (before a box, say); the hold stays.
    void Flush();
    // Empties the pane and forgets the waiting text.
    void Clear();
    // The pane's menu on the right button: the Output window's docking commands and Clear.
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnClear() { Clear(); }
    void OnBarCommand(UINT nID);
    // A worker's output block (new[]'d, NUL-terminated): appended, then freed; the blocks for
    // this pane already waiting in the queue are taken along.
    LRESULT OnToolOutput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Appends a block gathered elsewhere; when older text of it was dropped (the block is no
    // longer than the pane keeps), the block replaces all the pane holds.
    void AppendBlock(CString text, BOOL bDropped);
    // Keeps only the newest text once a block outgrows what the pane can keep.
    static void KeepNewest(CString& text, BOOL& bDropped);

    int m_nHold = 0;
    CString m_pending;
    BOOL m_bPendingDropped = FALSE;
};

// The font of the windows that show a file's text as it came and do not edit it (the Output
// window's panes, the Entity Editor's help): hFont, unless the system shows it in a face other
// than the one it names, or in DejaVu Sans. A Wine without its own fonts draws every face it has
// not got in one of the Linux system's own (DejaVu Sans, Liberation Sans, ...), and its edit
// controls fault laying out some of these with the byte 0x98 (a small tilde), or 0x88 (a small
// circumflex), after a digit, a punctuation mark or a symbol, or at a line's start: a project
// naming such a folder would end the editor at its open. The stock fixed font of such a Wine
// (DejaVu Sans Mono, Liberation Mono) holds for every pair of bytes.
HFONT ReportTextFont(HFONT hFont);

// The docking items of a bar's context menu: "Allow Docking" checked while the bar may dock on
// some side and disabled while it floats in the main window, "Float In Main Window" checked then.
void SetDockingMenuItems(CMenu* pPopup, SECControlBar* pBar);

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
