// A shown MDI main frame with a plain control bar that holds the four combo boxes of the
// "Map Window" toolbar, and the 2D template; 2D windows open from it as in the editor.
#pragma once
#include "MapFrame.h"
#include "MapXYView.h"
#include "MapZView.h"
#include "ViewsFixture.h"
#include "afxtest.h"
#include "views_test_ids.h"
#include <vector>

// A bar of fixed size holding drop-down combos filled as the toolbar fills them.
class CComboBar : public CControlBar
{
public:
    CComboBar() { m_bAutoDelete = TRUE; }
    BOOL Create(CWnd* pParent)
    {
        m_dwStyle = CBRS_TOP;
        if (!CWnd::Create(nullptr, "combos", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, 0xE801))
            return FALSE;
        static const char* const kScales[] = {"12.5%", "25%", "37.5%", "50%", "75%", "100%", "150%", "200%", "300%"};
        static const char* const kGrids[] = {"1", "2", "4", "8", "16", "32", "64", "128"};
        static const char* const kSnaps[] = {"1", "5", "10", "22.5", "30", "45", "60", "90"};
        struct
        {
            UINT id;
            const char* const* items;
            int count;
        } combos[] = {{1075, kScales, 9}, {1076, kScales, 9}, {1058, kGrids, 8}, {1060, kSnaps, 8}};
        int x = 0;
        for (auto& c : combos) {
            HWND h = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, x, 2,
                                       70, 200, m_hWnd, (HMENU)(UINT_PTR)c.id, AfxGetInstanceHandle(), nullptr);
            for (int i = 0; i < c.count; ++i)
                ::SendMessageA(h, CB_ADDSTRING, 0, (LPARAM)c.items[i]);
            x += 75;
        }
        return TRUE;
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(320, 28) : CSize(28, 320); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    HWND Combo(UINT id) { return ::GetDlgItem(m_hWnd, id); }
};

class CViewsMainFrame : public CMDIFrameWnd
{
};

// A view that records the update hints it gets.
class CHintRecorder : public CView
{
public:
    std::vector<LPARAM> hints;
    void OnUpdate(CView*, LPARAM hint, CObject*) override { hints.push_back(hint); }
    void OnDraw(CDC*) override {}
};

class WindowTest : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        m_pMain = new CViewsMainFrame;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_VIEWS_TEST_MAIN, WS_OVERLAPPEDWINDOW));
        m_app.m_pMainWnd = m_pMain;
        m_pBar = new CComboBar;
        ASSERT_TRUE(m_pBar->Create(m_pMain));
        m_pMain->SetWindowPos(nullptr, 0, 0, 1000, 760, SWP_NOZORDER);
        m_pMain->ShowWindow(SW_SHOW);
        m_pMain->RecalcLayout();
        m_pMain->UpdateWindow();
        m_pTemplate = new CMultiDocTemplate(IDR_VIEWS_TEST_MAP, RUNTIME_CLASS(Map), RUNTIME_CLASS(CMapFrame),
                                            RUNTIME_CLASS(CMapView));
        m_app.AddDocTemplate(m_pTemplate);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_pMain->m_hWnd != nullptr)
            m_pMain->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        afxtest::DrainQuit();
        ViewsTest::TearDown();
    }

    // A new map in a 2D window (the map's visible list built as an open builds it).
    CMapFrame* OpenNew(Map** ppMap = nullptr, void (*fill)(Map*) = nullptr)
    {
        Map* map = static_cast<Map*>(m_pTemplate->CreateNewDocument());
        if (!map || !map->OnNewDocument())
            return nullptr;
        if (fill)
            fill(map);
        map->RebuildVisibleList();
        CFrameWnd* pFrame = m_pTemplate->CreateNewFrame(map, nullptr);
        if (!pFrame)
            return nullptr;
        m_pTemplate->InitialUpdateFrame(pFrame, map, TRUE);
        afxtest::PumpMessages();
        if (ppMap)
            *ppMap = map;
        return dynamic_cast<CMapFrame*>(pFrame);
    }
    // Another 2D window of the same map.
    CMapFrame* OpenAnother(Map* map)
    {
        CFrameWnd* pFrame = m_pTemplate->CreateNewFrame(map, nullptr);
        if (!pFrame)
            return nullptr;
        m_pTemplate->InitialUpdateFrame(pFrame, map, TRUE);
        afxtest::PumpMessages();
        return static_cast<CMapFrame*>(pFrame);
    }
    static CString Caption(CWnd* pWnd)
    {
        CString text;
        pWnd->GetWindowText(text);
        return text;
    }
    // Sends a command to the frame as a menu or a toolbar would.
    void Command(CMapFrame* pFrame, UINT id) { pFrame->SendMessage(WM_COMMAND, id, 0); }
    // A combo selection as the user makes it: the notification reaches the main frame.
    void Choose(UINT id, int index)
    {
        HWND h = m_pBar->Combo(id);
        ::SendMessageA(h, CB_SETCURSEL, index, 0);
        m_pMain->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)h);
    }
    int Selected(UINT id) { return (int)::SendMessageA(m_pBar->Combo(id), CB_GETCURSEL, 0, 0); }

    CWinApp m_app;
    CViewsMainFrame* m_pMain = nullptr;
    CComboBar* m_pBar = nullptr;
    CMultiDocTemplate* m_pTemplate = nullptr;
};

