// The editable list in a modal dialog, driven live: in-place editing, the strip's operations,
// the keys and the drag decision.
#include "afxtest.h"
#include "afxwndtest.h"
#include "SECListEditor.h"
#include "toolbar_test_ids.h"

namespace {

class CRecordingEditor : public SECListEditor
{
public:
    std::vector<std::string> m_log;
    void OnItemRenamed(int nIndex, const CString& strOld, const CString& strNew) override
    {
        m_log.push_back("renamed " + std::to_string(nIndex) + " " + (LPCSTR)strOld + ">" + (LPCSTR)strNew);
    }
    void OnItemAdded(int nIndex, const CString& strText) override
    {
        m_log.push_back("added " + std::to_string(nIndex) + " " + (LPCSTR)strText);
    }
    void OnItemMoved(int nOld, int nNew, const CString& strText) override
    {
        m_log.push_back("moved " + std::to_string(nOld) + ">" + std::to_string(nNew) + " " + (LPCSTR)strText);
    }
    void OnItemDeleted(int nOld, int nNewSel) override
    {
        m_log.push_back("deleted " + std::to_string(nOld) + " sel " + std::to_string(nNewSel));
    }
};

class CListDialog : public CDialog
{
public:
    CListDialog() : CDialog(IDD_TEST_LISTEDIT) {}
    CRecordingEditor m_editor;
    std::vector<CString> m_items = {"Alpha", "Beta", "Gamma"};
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CListBox* pList = (CListBox*)GetDlgItem(IDC_TEST_LIST);
        for (const CString& item : m_items)
            ::SendMessageA(pList->m_hWnd, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)item);
        m_editor.Initialize(this, IDC_TEST_LIST, 0x3E);
        m_editor.SetWindowText("Menu contents");
        return TRUE;
    }
};

std::vector<std::string> Items(CListBox* pList)
{
    std::vector<std::string> items;
    for (int i = 0; i < pList->GetCount(); i++) {
        CString text;
        pList->GetText(i, text);
        items.push_back((LPCSTR)text);
    }
    return items;
}

// Keys as the user types them: through the dialog's loop (its pre-translation included).
void Key(HWND hWnd, UINT vk, bool bSys = false)
{
    ::PostMessageA(hWnd, bSys ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, bSys ? (1 << 29) : 0);
    afxtest::PumpMessages();
}
void Type(HWND hWnd, const char* text)
{
    for (const char* p = text; *p != '\0'; p++)
        ::PostMessageA(hWnd, WM_CHAR, (WPARAM)(unsigned char)*p, 0);
    afxtest::PumpMessages();
}

TEST(ListEditor, EditingInPlaceReportsWhatChanged)
{
    CListDialog dlg;
    AfxSeamDrive([&](AfxModalCall& c) {
        SECListEditor& editor = dlg.m_editor;
        CListBox* pList = editor.GetListBox();
        ASSERT_NE(pList, nullptr);
        // The strip sits over the list's old top; the list starts below it.
        CRect rectStrip, rectList;
        editor.GetWindowRect(&rectStrip);
        pList->GetWindowRect(&rectList);
        EXPECT_EQ(rectList.top, rectStrip.bottom + 2 * ::GetSystemMetrics(SM_CYBORDER));
        CRect rectStripClient;
        editor.GetClientRect(&rectStripClient);
        EXPECT_EQ(editor.GetButtonRect(SECListEditor::btnDown).right, rectStripClient.right);
        EXPECT_EQ(::GetWindow(editor.m_hWnd, GW_HWNDPREV), ::GetDlgItem(c.hWnd, IDC_TEST_LISTLABEL));

        // New then Escape: as it was, nothing reported.
        pList->SetCurSel(1);
        ASSERT_TRUE(editor.NewItem());
        ASSERT_NE(editor.GetEdit(), nullptr);
        EXPECT_TRUE(editor.IsAdding());
        Key(editor.GetEdit()->m_hWnd, VK_ESCAPE);
        EXPECT_EQ(editor.GetEdit(), nullptr);
        EXPECT_FALSE(editor.IsAdding());
        EXPECT_EQ(Items(pList), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
        EXPECT_EQ(pList->GetCurSel(), 1);
        EXPECT_TRUE(::IsWindow(c.hWnd));

        // New, a name, Enter: added at the end; the dialog stays open.
        ASSERT_TRUE(editor.NewItem());
        Type(editor.GetEdit()->m_hWnd, "Delta");
        Key(editor.GetEdit()->m_hWnd, VK_RETURN);
        EXPECT_EQ(editor.GetEdit(), nullptr);
        EXPECT_EQ(Items(pList), (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Delta"}));
        EXPECT_EQ(pList->GetCurSel(), 3);
        EXPECT_TRUE(dlg.ContinueModal());

        // Renamed, then back to its old text (reports nothing).
        pList->SetCurSel(0);
        ASSERT_TRUE(editor.StartEdit());
        editor.GetEdit()->SetWindowText("First");
        Key(editor.GetEdit()->m_hWnd, VK_RETURN);
        ASSERT_TRUE(editor.StartEdit());
        Key(editor.GetEdit()->m_hWnd, VK_RETURN);
        // A typed character starts editing with it; losing the focus while empty cancels.
        Type(pList->m_hWnd, "X");
        ASSERT_NE(editor.GetEdit(), nullptr);
        editor.GetEdit()->SetWindowText("");
        ::SetFocus(::GetDlgItem(c.hWnd, IDOK));
        afxtest::PumpMessages();
        EXPECT_EQ(editor.GetEdit(), nullptr);
        EXPECT_EQ(Items(pList)[0], "First");
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_editor.m_log, (std::vector<std::string>{"added 3 Delta", "renamed 0 Alpha>First"}));
}

TEST(ListEditor, DeletingAndMovingAtTheEnds)
{
    CListDialog dlg;
    AfxSeamDrive([&](AfxModalCall& c) {
        SECListEditor& editor = dlg.m_editor;
        CListBox* pList = editor.GetListBox();
        pList->SetCurSel(0);
        EXPECT_FALSE(editor.MoveItemUp());
        pList->SetCurSel(2);
        EXPECT_FALSE(editor.MoveItemDown());
        // The keys: Alt+Up moves, Delete deletes, Insert adds.
        ::SetFocus(pList->m_hWnd);
        Key(pList->m_hWnd, VK_UP, true);
        EXPECT_EQ(Items(pList), (std::vector<std::string>{"Alpha", "Gamma", "Beta"}));
        EXPECT_EQ(pList->GetCurSel(), 1);
        Key(pList->m_hWnd, VK_DOWN, true);
        pList->SetCurSel(2);
        Key(pList->m_hWnd, VK_DELETE);          // the last: the one before is selected
        EXPECT_EQ(Items(pList), (std::vector<std::string>{"Alpha", "Beta"}));
        EXPECT_EQ(pList->GetCurSel(), 1);
        EXPECT_TRUE(editor.DeleteItem());
        EXPECT_TRUE(editor.DeleteItem());       // the only one: no selection, nothing reported
        EXPECT_EQ(pList->GetCount(), 0);
        EXPECT_FALSE(editor.DeleteItem());
        Key(pList->m_hWnd, VK_INSERT);
        EXPECT_NE(editor.GetEdit(), nullptr);
        Key(editor.GetEdit()->m_hWnd, VK_ESCAPE);
        EXPECT_EQ(pList->GetCount(), 0);
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_editor.m_log, (std::vector<std::string>{"moved 2>1 Gamma", "moved 1>2 Gamma", "deleted 2 sel 1",
                                                             "deleted 1 sel 0"}));
}

// The windows made in this thread while the hook is in: class name and title.
std::vector<std::string>* g_pCreated = nullptr;

LRESULT CALLBACK RecordCreated(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && g_pCreated != nullptr) {
        char szClass[64] = "";
        ::GetClassNameA((HWND)wParam, szClass, sizeof szClass);
        const CBT_CREATEWNDA* pCreate = (const CBT_CREATEWNDA*)lParam;
        std::string title = pCreate->lpcs->lpszName != nullptr && !IS_INTRESOURCE(pCreate->lpcs->lpszName)
                                ? pCreate->lpcs->lpszName
                                : "";
        g_pCreated->push_back(std::string(szClass) + ":" + title);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST(ListEditor, APressBecomesADragOnlyAfterAQuarterSecond)
{
    CListDialog dlg;
    DWORD dwNow = 1000;
    AfxSeamSetTickCount([&] { return dwNow; });
    AfxSeamDrive([&](AfxModalCall& c) {
        SECListEditor& editor = dlg.m_editor;
        CListBox* pList = editor.GetListBox();
        ASSERT_TRUE(afxtest::Activate(&dlg));
        CRect rect0, rect1, rect2;
        pList->GetItemRect(0, &rect0);
        pList->GetItemRect(1, &rect1);
        pList->GetItemRect(2, &rect2);
        pList->ClientToScreen(&rect0);
        pList->ClientToScreen(&rect1);
        pList->ClientToScreen(&rect2);
        // Released at once (the clock stands still): a click that selects.
        afxtest::InputScript click;
        click.MoveTo(rect1.CenterPoint()).Click().Pause(50);
        ASSERT_TRUE(click.Run());
        EXPECT_EQ(pList->GetCurSel(), 1);
        EXPECT_TRUE(dlg.m_editor.m_log.empty());
        // Held past 250 ms: Gamma is dragged above Alpha, its text in a drag window of its own
        // class meanwhile.
        AfxSeamSetTickCount([&] { return dwNow += 100; });
        std::vector<std::string> created;
        g_pCreated = &created;
        HHOOK hHook = ::SetWindowsHookExA(WH_CBT, RecordCreated, nullptr, ::GetCurrentThreadId());
        afxtest::InputScript drag;
        drag.MoveTo(rect2.CenterPoint()).Down().Pause(100).MoveInSteps(CPoint(rect0.CenterPoint().x, rect0.top + 2), 4)
            .Up()
            .Pause(50);
        bool bRan = drag.Run();
        ::UnhookWindowsHookEx(hHook);
        g_pCreated = nullptr;
        ASSERT_TRUE(bRan);
        EXPECT_EQ(created, (std::vector<std::string>{"SECListBoxDragWnd:Gamma"}));
        EXPECT_EQ(::FindWindowA("SECListBoxDragWnd", nullptr), nullptr);
        WNDCLASSA wc;
        ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), "SECListBoxDragWnd", &wc));
        EXPECT_EQ(wc.style, (UINT)(CS_HREDRAW | CS_VREDRAW));
        EXPECT_EQ(wc.hCursor, ::LoadCursor(nullptr, IDC_ARROW));
        EXPECT_EQ(wc.hbrBackground, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(Items(pList), (std::vector<std::string>{"Gamma", "Alpha", "Beta"}));
        EXPECT_EQ(pList->GetCurSel(), 0);
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    AfxSeamSetTickCount(nullptr);
    EXPECT_EQ(dlg.m_editor.m_log, (std::vector<std::string>{"moved 2>0 Gamma"}));
}

} // namespace
