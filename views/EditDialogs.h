// The small modal dialogs that collect the parameters of the map editing commands, and the
// About box. They change nothing in the map: the commands read their results.
#pragma once
#include "ToolTipDialog.h"
#include "afxwin.h"

class CAboutDlg : public CDialog
{
    DECLARE_DYNAMIC(CAboutDlg)
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
    // "Free Memory: %lu KB" filled with the available physical memory (64-bit safe).
    static CString FreeMemoryText(unsigned long long availableBytes);

protected:
    BOOL OnInitDialog() override;
};

class CArrayDlg : public CDialog
{
    DECLARE_DYNAMIC(CArrayDlg)
public:
    explicit CArrayDlg(CWnd* pParent = nullptr);

    // 0 when all three are 0 (nothing to move), else 1 with the values.
    int GetMove(float& x, float& y, float& z) const;
    int GetRotate(float& x, float& y, float& z) const;
    // 0 when all three are 100 percent, else 1 with the percentages.
    int GetScale(float& x, float& y, float& z) const;
    int GetCount() const { return m_nTotal; }

    float m_move[3];
    float m_rotate[3];
    float m_scale[3];
    int m_nTotal;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnReset();
    void SetDefaults();
    // The spins of the fractional fields step their edit by one.
    BOOL OnSpin(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

// Create Cone and Create Cylinder: the number of sides, remembered in the profile.
class CSidesDlg : public CDialog
{
    DECLARE_DYNAMIC(CSidesDlg)
public:
    CSidesDlg(UINT nIDTemplate, LPCSTR section, int maxSides, CWnd* pParent);
    int GetSides() const { return m_nSides; }
    int m_nSides;

protected:
    BOOL OnInitDialog() override;
    // Reads the typed number as the other editing dialogs do: "8x" is not a number.
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    CString m_strSection;
    int m_nMaxSides;
    int m_nTyped = 0;
};

class CConeDlg : public CSidesDlg
{
    DECLARE_DYNAMIC(CConeDlg)
public:
    explicit CConeDlg(CWnd* pParent = nullptr);
};

class CCylinderDlg : public CSidesDlg
{
    DECLARE_DYNAMIC(CCylinderDlg)
public:
    explicit CCylinderDlg(CWnd* pParent = nullptr);
};

class CRoomDlg : public CToolTipDialog
{
    DECLARE_DYNAMIC(CRoomDlg)
public:
    explicit CRoomDlg(CWnd* pParent = nullptr);
    int GetThickness() const { return m_nThickness; }
    BOOL IsInward() const { return m_nDirection == 0; }
    int m_nThickness;
    int m_nDirection; // 0 inward, 1 outward

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

class CCreateTargetsDlg : public CDialog
{
    DECLARE_DYNAMIC(CCreateTargetsDlg)
public:
    explicit CCreateTargetsDlg(CWnd* pParent = nullptr);
    const CString& GetTargetName() const { return m_strName; }
    BOOL GetMakeCircular() const { return m_bCircular; }
    CString m_strName;
    int m_bCircular;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // A name the map file cannot hold is refused with the dialog kept open.
    void OnOK() override;
    void OnNameUpdate();
    DECLARE_MESSAGE_MAP()
};
