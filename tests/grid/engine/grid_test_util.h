// A cell control that records what the engine asks of it, and a factory
// that makes it for a few ids.
#pragma once
#include "gxcontrol.h"
#include "gxengine.h"
#include <string>
#include <vector>

class CRecordingControl : public CGXControl
{
public:
    CRecordingControl(CGXGridEngine* pGrid, UINT nID) : CGXControl(pGrid), m_nID(nID) { ++s_nLive; }
    ~CRecordingControl() override { --s_nLive; }

    BOOL StoreStyle(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType,
                    const CGXStyle* pOldStyle) override
    {
        m_calls.push_back("StoreStyle " + std::to_string(nRow) + "," + std::to_string(nCol) + " mode " +
                          std::to_string(nMode));
        return CGXControl::StoreStyle(nRow, nCol, pStyle, nMode, nType, pOldStyle);
    }
    void Init(ROWCOL nRow, ROWCOL nCol) override
    {
        m_calls.push_back("Init " + std::to_string(nRow) + "," + std::to_string(nCol));
        CGXControl::Init(nRow, nCol);
    }

    UINT m_nID;
    std::vector<std::string> m_calls;
    static int s_nLive;
};

// A control the test scripts: it answers GetModify, OnValidate, Store, OnEndEditing and
// OnCancelEditing as told, holds an active state and a typed text, and records the editing
// protocol's calls in order.
class CScriptedControl : public CRecordingControl
{
public:
    explicit CScriptedControl(CGXGridEngine* pGrid, UINT nID = 52513) : CRecordingControl(pGrid, nID) {}
    void Rec(const std::string& s) { m_calls.push_back(s); }
    void SetActive(BOOL b) override { Rec(b ? "SetActive 1" : "SetActive 0"); m_bActive = b; }
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL b) override { m_bModified = b; }
    BOOL GetModify() override { return m_bModified; }
    void Init(ROWCOL nRow, ROWCOL nCol) override
    {
        CRecordingControl::Init(nRow, nCol);
        m_strText = m_pGrid->GetCellValue(nRow, nCol);
        m_bModified = FALSE;
        if (m_pGrid->GetParam() != nullptr && (m_pGrid->GetParam()->m_dwActivateOptions & 4))
            m_bActive = TRUE;
    }
    void Reset() override { Rec("Reset"); CRecordingControl::Reset(); }
    void Hide() override { Rec("Hide"); }
    void Invalidate() override { Rec("Invalidate"); }
    void GetValue(CString& s) override { s = m_strText; }
    void SetCurrentText(const CString& s) override { Rec(std::string("SetCurrentText ") + (LPCSTR)s); m_strText = s; }
    BOOL OnValidate() override
    {
        Rec("OnValidate");
        if (!m_bValidate && !m_strWarning.IsEmpty())
            m_pGrid->SetTextField(m_strWarning);
        return m_bValidate;
    }
    int Store() override
    {
        Rec("Store");
        if (m_nStore & 1)
            m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol), m_strText);
        return m_nStore;
    }
    BOOL OnEndEditing() override { Rec("OnEndEditing"); return m_bEndEditing; }
    BOOL OnCancelEditing() override { Rec("OnCancelEditing"); return m_bCancelEditing; }
    void OnCanceledEditing() override { Rec("OnCanceledEditing"); }
    BOOL OnLeftCell(ROWCOL r, ROWCOL c) override
    {
        Rec("OnLeftCell " + std::to_string(r) + "," + std::to_string(c));
        return CRecordingControl::OnLeftCell(r, c);
    }
    // Keys: a typed character starts editing and replaces the text; others pass to the grid.
    BOOL OnGridKeyDown(UINT nChar, UINT, UINT) override
    {
        Rec("KeyDown " + std::to_string(nChar));
        return FALSE;
    }
    BOOL OnGridChar(UINT nChar, UINT, UINT) override
    {
        Rec("Char " + std::to_string(nChar));
        if (nChar < 0x20 || nChar == 0x7f || IsReadOnly())
            return FALSE;
        if (!m_bActive) {
            if (!OnStartEditing())
                return FALSE;
            m_bActive = TRUE;
            m_strText.Empty();
        }
        m_strText += static_cast<char>(nChar);
        m_bModified = TRUE;
        return TRUE;
    }
    // Mouse presses the grid hands over: the activation options decide whether they activate
    // (4 at the press, 8 at the release).
    BOOL OnLButtonDown(UINT, CPoint) override
    {
        Rec("LButtonDown");
        const DWORD opts = m_pGrid->GetParam() != nullptr ? m_pGrid->GetParam()->m_dwActivateOptions : 0;
        if ((opts & 4) && !(opts & 8) && !m_bActive)
            SetActive(TRUE);
        return TRUE;
    }
    BOOL OnLButtonUp(UINT, CPoint) override
    {
        Rec("LButtonUp");
        const DWORD opts = m_pGrid->GetParam() != nullptr ? m_pGrid->GetParam()->m_dwActivateOptions : 0;
        if ((opts & 8) && !m_bActive)
            SetActive(TRUE);
        return TRUE;
    }
    BOOL OnLButtonDblClk(UINT, CPoint) override
    {
        Rec("LButtonDblClk");
        return m_bTakeDblClk;
    }
    BOOL m_bTakeDblClk = TRUE;
    // The calls of the editing protocol only (the style calls left out).
    std::vector<std::string> Protocol() const
    {
        std::vector<std::string> v;
        for (const auto& s : m_calls)
            if (s.rfind("StoreStyle", 0) != 0)
                v.push_back(s);
        return v;
    }

    BOOL m_bActive = FALSE, m_bModified = FALSE;
    CString m_strText;
    BOOL m_bValidate = TRUE, m_bEndEditing = TRUE, m_bCancelEditing = TRUE;
    int m_nStore = 1;
    CString m_strWarning;
};

// Ids the factory knows: 52512 (the standard style's control) and 52513.
class CRecordingFactory : public CGXAbstractControlFactory
{
public:
    CGXControl* CreateControl(UINT nID, CGXGridEngine* pGrid) override
    {
        if (nID != 52512 && nID != 52513)
            return nullptr;
        ++s_nCreated;
        return new CRecordingControl(pGrid, nID);
    }
    static int s_nCreated;
};
