// The main frame's part in the Entity Editor's talk, for tests without the frame: +23 is counted,
// and +23 and +24 go on to the editor when there is one; without one +24 answers pWorking.
#pragma once
#include "EntityEditorDlg.h"

class CEntityFrameSpy : public CWnd
{
public:
    CWnd* pEditor = nullptr;
    Entity* pWorking = nullptr;
    int modified = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_ENTITY_MODIFIED && message != WM_ENTITY_QUERY)
            return CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_ENTITY_MODIFIED)
            ++modified;
        if (pEditor && pEditor->m_hWnd)
            return pEditor->SendMessage(message, wParam, lParam);
        return message == WM_ENTITY_QUERY && !wParam ? reinterpret_cast<LRESULT>(pWorking) : 0;
    }
};
