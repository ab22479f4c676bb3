// What the build and the user tools need of the Output window: panes addressed by their labels
// ("Build", or a tool's label). The Output window implements it; tests record.
#pragma once
#include "afxwin.h"

class COutputPanes
{
public:
    virtual ~COutputPanes() = default;
    virtual HWND GetTabEdit(LPCSTR lpszLabel) = 0;  // null when no pane has the label
    virtual void ClearTab(LPCSTR lpszLabel) = 0;
    virtual void ActivateTab(LPCSTR lpszLabel) = 0;
    virtual void PrintToTab(LPCSTR lpszLabel, LPCSTR lpszText) = 0;
    virtual void AddTab(LPCSTR lpszLabel) = 0;
    virtual void RemoveToolTabs() = 0;
    // Shows the Output window.
    virtual void ShowOutput() = 0;
};
