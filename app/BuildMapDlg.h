// The Build Map dialog: which tools run with which switches, and whether the game starts. Made
// anew for every Build, so that every Build starts from the defaults.
#pragma once
#include "afxwin.h"
#include "BuildPipeline.h"
#include "ToolTipDialog.h"

class CBuildMapDlg : public CToolTipDialog
{
    DECLARE_DYNAMIC(CBuildMapDlg)
public:
    explicit CBuildMapDlg(CWnd* pParent = nullptr);

    // The choices (valid after OK).
    const CBuildOptions& GetOptions() const { return m_options; }
    BOOL GetQbsp() const { return m_options.bQbsp; }
    BOOL GetVis() const { return m_options.bVis; }
    BOOL GetLight() const { return m_options.bLight; }
    BOOL GetRunQuake() const { return m_options.bRunQuake; }
    CString GetQbspSwitches() const { return m_options.QbspSwitches(); }
    const CString& GetQuakeParameters() const { return m_options.strQuakeExtra; }
    BOOL GetOnlyVisible() const { return m_options.bOnlyVisible; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnGroup();
    // Enables each group's controls as its check box says.
    void EnableGroups();

    CBuildOptions m_options;

    DECLARE_MESSAGE_MAP()
};
