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
