// A dialog whose controls show tool tips: a control's tip is the string resource numbered like the
// control's id (a control without one shows an empty tip).
#pragma once
#include "afxwin.h"

class CToolTipDialog : public CDialog
{
    DECLARE_DYNAMIC(CToolTipDialog)
public:
    CToolTipDialog(UINT nIDTemplate, CWnd* pParent = nullptr);

    // The tip of the tool the request names: only a tool named by its window handle gets one, the
    // string resource of its control id (id 0: FALSE, nothing answered).
    virtual BOOL GetToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    BOOL OnInitDialog() override;
    // The visible control under the point, as a tool named by its window handle whose text is
    // asked for when shown.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    BOOL OnToolTipNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    CString m_strTip;   // the text of the tip shown last

    DECLARE_MESSAGE_MAP()
};
