#include <gtest/gtest.h>

#include "afxctrl.h"

#include <string>
#include <vector>

namespace {

// Processes what is queued for this thread (paints, posted notifications).
void PumpPending()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// A top-level window hosting the controls; it records the notifications it receives and
// reflects the rest as every framework window does.
class HostWnd : public CWnd
{
public:
    struct Command
    {
        UINT nID, nCode;
        HWND hWnd;
        int nSelAtNotify;
    };
    std::vector<Command> commands;
    std::vector<UINT> notifyCodes;
    std::vector<NMHDR> notifies;
    // Answer for the tree's image requests (-1: leave the request alone).
    int nCallbackImage = -1;
    RECT requestedSize = {};

    BOOL CreateHost()
    {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "Controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        CRect(0, 0, 500, 400), nullptr, 0);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam != 0) {
            int nSel = (int)::SendMessage((HWND)lParam, LB_GETCURSEL, 0, 0);
            commands.push_back({LOWORD(wParam), HIWORD(wParam), (HWND)lParam, nSel});
        } else if (message == WM_NOTIFY) {
            NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
            notifyCodes.push_back(pHdr->code);
            if (pHdr->code == TVN_GETDISPINFO && nCallbackImage >= 0) {
                NMTVDISPINFO* pInfo = reinterpret_cast<NMTVDISPINFO*>(lParam);
                if (pInfo->item.mask & TVIF_IMAGE)
                    pInfo->item.iImage = nCallbackImage;
                if (pInfo->item.mask & TVIF_SELECTEDIMAGE)
                    pInfo->item.iSelectedImage = nCallbackImage + 1;
                return 0;
            }
            if (pHdr->code == EN_REQUESTRESIZE)
                requestedSize = reinterpret_cast<REQRESIZE*>(lParam)->rc;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class Controls : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(host.CreateHost()); }
    void TearDown() override
    {
        host.DestroyWindow();
        PumpPending();
        CWnd::DeleteTempMap();
        CGdiObject::DeleteTempMap();
        CDC::DeleteTempMap();
        CImageList::DeleteTempMap();
    }
    int CountCommands(UINT nCode) const
    {
        int n = 0;
        for (const auto& c : host.commands)
            n += c.nCode == nCode;
        return n;
    }

    HostWnd host;
};

class RedButton : public CButton
{
public:
    int nDrawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++nDrawn;
        ::FillRect(lpDIS->hDC, &lpDIS->rcItem, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        CDC::FromHandle(lpDIS->hDC)->FillSolidRect(&lpDIS->rcItem, RGB(255, 0, 0));
    }
};

} // namespace

TEST_F(Controls, ButtonsCheckStatesAndOwnerDraw)
{
    CButton check;
    ASSERT_TRUE(check.Create("&Visible", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, CRect(0, 0, 100, 20), &host, 1221));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    for (int nCheck : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        check.SetCheck(nCheck);
        EXPECT_EQ(check.GetCheck(), nCheck);
        EXPECT_EQ(check.GetState() & 3u, (UINT)nCheck);
    }
    check.SetState(TRUE);
    EXPECT_NE(check.GetState() & BST_PUSHED, 0u);
    check.SetState(FALSE);
    EXPECT_EQ(check.GetButtonStyle(), (UINT)BS_AUTO3STATE);

    // A click on an automatic box advances it and tells the parent.
    check.SetCheck(BST_UNCHECKED);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(CountCommands(BN_CLICKED), 1);

    // The parent's drawing request comes back to the button's own DrawItem.
    RedButton owner;
    ASSERT_TRUE(owner.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(200, 10, 240, 30), &host, 7));
    owner.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(owner.nDrawn, 0);
    CClientDC dc(&owner);
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(255, 0, 0));
}

TEST_F(Controls, StaticsShowImages)
{
    CStatic label;
    ASSERT_TRUE(label.Create("Textures:", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 16), &host));
    CString text;
    label.GetWindowText(text);
    EXPECT_STREQ(text, "Textures:");
    EXPECT_EQ(label.GetDlgCtrlID(), 0xffff);

    CStatic icon;
    ASSERT_TRUE(icon.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, CRect(0, 20, 32, 52), &host, 5));
    HICON hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    icon.SetIcon(hIcon);
    EXPECT_EQ(icon.GetIcon(), hIcon);

    CStatic picture;
    ASSERT_TRUE(picture.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(40, 20, 60, 40), &host, 6));
    CBitmap bitmap;
    CClientDC dc(&host);
    bitmap.CreateCompatibleBitmap(&dc, 8, 8);
    picture.SetBitmap(bitmap);
    EXPECT_NE(picture.GetBitmap(), nullptr);
}

TEST_F(Controls, EditSelectionLinesAndModifiedFlag)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                            CRect(0, 0, 200, 60), &host, 4000));
    edit.SetWindowText("hello world");
    edit.SetSel(6, 11);
    int nStart = -1, nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 6);
    EXPECT_EQ(nEnd, 11);
    EXPECT_EQ(edit.GetSel(), (DWORD)MAKELONG(6, 11));
    edit.SetModify(FALSE);
    edit.ReplaceSel("there");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "hello there");
    EXPECT_TRUE(edit.GetModify());
    edit.SetModify(FALSE);
    EXPECT_FALSE(edit.GetModify());

    std::string lines;
    for (int i = 0; i < 30; i++)
        lines += "line " + std::to_string(i) + "\r\n";
    edit.SetWindowText(lines.c_str());
    EXPECT_EQ(edit.GetLineCount(), 31);
    EXPECT_EQ(edit.LineFromChar(edit.LineIndex(12)), 12);
    EXPECT_EQ(edit.LineLength(edit.LineIndex(12)), 7);
    char buffer[32] = {};
    int nCopied = edit.GetLine(3, buffer, sizeof(buffer) - 1);
    EXPECT_EQ(std::string(buffer, nCopied), "line 3");
    EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
    edit.LineScroll(5);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 5);
    // Selecting with scrolling brings the caret back into view.
    edit.SetSel(0, 0);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 0);

    EXPECT_TRUE(edit.SetReadOnly());
    EXPECT_NE(edit.GetStyle() & ES_READONLY, 0u);
    edit.SetReadOnly(FALSE);

    CEdit password;
    ASSERT_TRUE(password.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 70, 100, 90), &host, 4001));
    password.SetPasswordChar('*');
    EXPECT_EQ(password.GetPasswordChar(), '*');
    password.LimitText(4);
    EXPECT_EQ(password.GetLimitText(), 4u);
    password.SendMessage(WM_CHAR, 'a');
    password.SendMessage(WM_CHAR, 'b');
    password.SendMessage(WM_CHAR, 'c');
    password.SendMessage(WM_CHAR, 'd');
    password.SendMessage(WM_CHAR, 'e');
    EXPECT_EQ(password.GetWindowTextLength(), 4) << "typing stops at the limit";
}

// A multi-line edit that keeps a log must raise its limit, or long appends are cut.
TEST_F(Controls, MultiLineEditLimitRaise)
{
    CEdit log;
    ASSERT_TRUE(log.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                           CRect(0, 0, 200, 100), &host, 4000));
    std::string big(40000, 'x');
    UINT nDefault = log.GetLimitText();
    log.ReplaceSel(big.c_str());
    EXPECT_LE((UINT)log.GetWindowTextLength(), nDefault);
    EXPECT_LT(log.GetWindowTextLength(), 40000) << "the default limit cuts the append";

    log.SetWindowText("");
    log.SetLimitText(0x7FFFFFFE);
    EXPECT_EQ(log.GetLimitText(), 0x7FFFFFFEu);
    log.ReplaceSel(big.c_str());
    log.SetSel(log.GetWindowTextLength(), log.GetWindowTextLength());
    log.ReplaceSel("tail");
    EXPECT_EQ(log.GetWindowTextLength(), 40004);
}

namespace {

class MeasuredList : public CListBox
{
public:
    std::vector<DWORD_PTR> deleted;
    int nMeasured = 0;
    int nDrawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        ++nMeasured;
        lpMIS->itemHeight = 23;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++nDrawn; }
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override { deleted.push_back(lpDIS->itemData); }
};

} // namespace

TEST_F(Controls, ListBoxItemsDataAndSelection)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL,
                            CRect(0, 0, 150, 100), &host, 20579));
    const char* names[] = {"base", "Light", "func_door", "light"};
    for (const char* name : names)
        EXPECT_GE(list.AddString(name), 0);
    EXPECT_EQ(list.InsertString(0, "worldspawn"), 0);
    EXPECT_EQ(list.GetCount(), 5);
    CString text;
    list.GetText(2, text);
    EXPECT_STREQ(text, "Light");
    EXPECT_EQ(list.GetTextLen(2), 5);

    // Exact search ignores case; a prefix search does not need the whole text.
    EXPECT_EQ(list.FindStringExact(-1, "light"), 2);
    EXPECT_EQ(list.FindStringExact(2, "light"), 4);
    EXPECT_EQ(list.FindStringExact(-1, "lig"), LB_ERR);
    EXPECT_EQ(list.FindString(-1, "func"), 3);

    // Item data holds full pointers.
    int values[5];
    for (int i = 0; i < 5; i++)
        list.SetItemDataPtr(i, &values[i]);
    list.SetItemData(1, (DWORD_PTR)0x123456789ABCull);
    EXPECT_EQ(list.GetItemDataPtr(3), &values[3]);
    EXPECT_EQ(list.GetItemData(1), (DWORD_PTR)0x123456789ABCull);
    EXPECT_EQ(list.DeleteString(0), 4);
    EXPECT_EQ(list.GetItemData(0), (DWORD_PTR)0x123456789ABCull);

    // Extended selection.
    EXPECT_NE(list.SelItemRange(TRUE, 1, 2), LB_ERR);
    list.SetSel(3);
    EXPECT_EQ(list.GetSelCount(), 3);
    int sel[4] = {};
    EXPECT_EQ(list.GetSelItems(4, sel), 3);
    EXPECT_EQ(sel[0], 1);
    EXPECT_EQ(sel[2], 3);
    list.SetSel(-1, FALSE);
    EXPECT_EQ(list.GetSelCount(), 0);
    EXPECT_EQ(list.GetSel(2), 0);

    EXPECT_GT(list.GetItemHeight(0), 0);
    CRect item;
    EXPECT_NE(list.GetItemRect(1, item), LB_ERR);
    EXPECT_EQ(item.Height(), list.GetItemHeight(0));
    BOOL bOutside = TRUE;
    EXPECT_EQ(list.ItemFromPoint(item.CenterPoint(), bOutside), 1u);
    EXPECT_FALSE(bOutside);
    list.SetHorizontalExtent(400);
    EXPECT_EQ(list.GetHorizontalExtent(), 400);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);

    // Single selection and selecting by text.
    CListBox single;
    ASSERT_TRUE(single.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(160, 0, 300, 100), &host, 2));
    single.AddString("angle");
    single.AddString("target");
    EXPECT_EQ(single.SelectString(-1, "tar"), 1);
    EXPECT_EQ(single.GetCurSel(), 1);
    EXPECT_EQ(single.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(single.GetCurSel(), LB_ERR);
    EXPECT_EQ(single.GetTopIndex(), 0);
}

TEST_F(Controls, OwnerDrawnListsMeasureDrawAndDeleteThroughTheParent)
{
    MeasuredList fixed;
    ASSERT_TRUE(fixed.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 150, 200),
                             &host, 10));
    EXPECT_GE(fixed.nMeasured, 1) << "a fixed list is measured while it is created";
    EXPECT_EQ(fixed.GetItemHeight(0), 23);
    fixed.AddString("one");
    fixed.AddString("two");
    fixed.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(fixed.nDrawn, 2);

    MeasuredList variable;
    ASSERT_TRUE(variable.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE, CRect(160, 0, 300, 200), &host, 11));
    int nBefore = variable.nMeasured;
    variable.AddString((LPCTSTR)0x1111);
    variable.AddString((LPCTSTR)0x2222);
    EXPECT_EQ(variable.nMeasured, nBefore + 2) << "each item of a variable list is measured";
    EXPECT_EQ(variable.GetItemData(1), (DWORD_PTR)0x2222);
    variable.DeleteString(0);
    ASSERT_EQ(variable.deleted.size(), 1u);
    EXPECT_EQ(variable.deleted[0], (DWORD_PTR)0x1111);
}

namespace {

class MeasuredCombo : public CComboBox
{
public:
    int nMeasured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        ++nMeasured;
        lpMIS->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override {}
};

} // namespace

TEST_F(Controls, ComboBoxes)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(0, 0, 150, 200), &host, 1058));
    combo.AddString("8");
    combo.AddString("16");
    combo.AddString("32");
    EXPECT_EQ(combo.InsertString(0, "4"), 0);
    EXPECT_EQ(combo.GetCount(), 4);
    CString text;
    combo.GetLBText(2, text);
    EXPECT_STREQ(text, "16");
    EXPECT_EQ(combo.GetLBTextLen(3), 2);
    EXPECT_EQ(combo.FindStringExact(-1, "32"), 3);
    EXPECT_EQ(combo.FindStringExact(-1, "3"), CB_ERR);
    EXPECT_EQ(combo.FindString(-1, "3"), 3);
    combo.SetItemDataPtr(1, &text);
    EXPECT_EQ(combo.GetItemDataPtr(1), &text);
    EXPECT_EQ(combo.SelectString(-1, "16"), 2);
    EXPECT_EQ(combo.GetCurSel(), 2);
    combo.GetWindowText(text);
    EXPECT_STREQ(text, "16");

    combo.LimitText(3);
    combo.SetWindowText("1024");
    combo.SetEditSel(0, 1);
    EXPECT_EQ(combo.GetEditSel(), (DWORD)MAKELONG(0, 1));
    combo.ShowDropDown();
    EXPECT_TRUE(combo.GetDroppedState());
    combo.ShowDropDown(FALSE);
    EXPECT_FALSE(combo.GetDroppedState());
    combo.DeleteString(0);
    EXPECT_EQ(combo.GetCount(), 3);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);

    // An owner-drawn combo is measured while it is created, before Create returns.
    MeasuredCombo owner;
    ASSERT_TRUE(owner.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             CRect(160, 0, 300, 200), &host, 1060));
    EXPECT_GE(owner.nMeasured, 1);
    EXPECT_EQ(owner.GetItemHeight(0), 20);
    EXPECT_NE(owner.SetItemHeight(0, 25), CB_ERR);
    EXPECT_EQ(owner.GetItemHeight(0), 25);
}

TEST_F(Controls, ScrollBars)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 200, 16), &host, AFX_IDW_HSCROLL_FIRST));
    bar.SetScrollRange(0, 100);
    EXPECT_EQ(bar.SetScrollPos(40), 0);
    EXPECT_EQ(bar.GetScrollPos(), 40);
    int nMin = -1, nMax = -1;
    bar.GetScrollRange(&nMin, &nMax);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 100);

    SCROLLINFO info = {};
    info.fMask = SIF_PAGE | SIF_POS;
    info.nPage = 10;
    info.nPos = 95;
    bar.SetScrollInfo(&info);
    EXPECT_EQ(bar.GetScrollLimit(), 91);
    SCROLLINFO got = {};
    EXPECT_TRUE(bar.GetScrollInfo(&got));
    EXPECT_EQ(got.nPos, 91) << "the position stays within the last page";
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_TRUE(bar.EnableScrollBar(ESB_DISABLE_BOTH));
    EXPECT_TRUE(bar.EnableScrollBar(ESB_ENABLE_BOTH));

    CScrollBar box;
    EXPECT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | SBS_SIZEBOX, CRect(200, 0, 216, 16), &host, AFX_IDW_SIZE_BOX));
    CScrollBar vert;
    EXPECT_TRUE(vert.Create(WS_CHILD | SBS_VERT, CRect(0, 20, 16, 200), &host, AFX_IDW_VSCROLL_FIRST));
}

TEST_F(Controls, SpinButtonsAndBuddies)
{
    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 60, 20), &host, 1228));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS,
                            CRect(0, 0, 0, 0), &host, 1227));
    spin.SetBuddy(&buddy);
    EXPECT_EQ(spin.GetBuddy(), &buddy);
    spin.SetRange(0, 511);
    int nLower = -1, nUpper = -1;
    spin.GetRange(nLower, nUpper);
    EXPECT_EQ(nLower, 0);
    EXPECT_EQ(nUpper, 511);
    spin.SetPos(100);
    EXPECT_EQ(LOWORD(spin.GetPos()), 100);
    CString text;
    buddy.GetWindowText(text);
    EXPECT_STREQ(text, "100") << "the buddy shows the position";

    // The position follows the buddy's text.
    buddy.SetWindowText("250");
    EXPECT_EQ(LOWORD(spin.GetPos()), 250);
    EXPECT_EQ(HIWORD(spin.GetPos()), 0);
    EXPECT_EQ(spin.SetPos(5), 250);

    // Pressing the up arrow steps once, inside the range.
    spin.SetPos(511);
    spin.SendMessage(WM_KEYDOWN, VK_UP);
    spin.SendMessage(WM_KEYUP, VK_UP);
    EXPECT_EQ(LOWORD(spin.GetPos()), 511);
}

TEST_F(Controls, HotKeyFields)
{
    CHotKeyCtrl hotKey;
    ASSERT_TRUE(hotKey.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 120, 20), &host, 20591));
    hotKey.SetHotKey('B', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    WORD wKey = 0, wMods = 0;
    hotKey.GetHotKey(wKey, wMods);
    EXPECT_EQ(wKey, 'B');
    EXPECT_EQ(wMods, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    EXPECT_EQ(hotKey.GetHotKey(), (DWORD)MAKEWORD('B', HOTKEYF_CONTROL | HOTKEYF_SHIFT));

    // A key typed without modifiers takes the rule's replacement modifiers.
    hotKey.SetRules(HKCOMB_NONE, HOTKEYF_CONTROL);
    BYTE keys[256] = {};
    ::SetKeyboardState(keys);
    hotKey.SendMessage(WM_KEYDOWN, 'A', 0x001E0001);
    hotKey.SendMessage(WM_KEYUP, 'A', 0xC01E0001);
    hotKey.GetHotKey(wKey, wMods);
    EXPECT_EQ(wKey, 'A');
    EXPECT_EQ(wMods, HOTKEYF_CONTROL);
}

TEST_F(Controls, ImageListsAndTreeWalks)
{
    // Two 16 x 16 images side by side, masked on white.
    CClientDC screen(&host);
    CBitmap strip;
    ASSERT_TRUE(strip.CreateCompatibleBitmap(&screen, 32, 16));
    {
        CDC mem;
        mem.CreateCompatibleDC(&screen);
        CBitmap* pOld = mem.SelectObject(&strip);
        mem.FillSolidRect(0, 0, 32, 16, RGB(255, 255, 255));
        mem.FillSolidRect(4, 4, 8, 8, RGB(255, 0, 0));
        mem.SelectObject(pOld);
    }
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_MASK | ILC_COLOR24, 10, 0));
    EXPECT_EQ(images.Add(&strip, RGB(255, 255, 255)), 0);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(CImageList::FromHandle(images.m_hImageList), &images);

    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS,
                            CRect(0, 0, 200, 300), &host, 1206));
    tree.SetImageList(&images, TVSIL_NORMAL);
    EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &images);

    // Sorted insertion and walks.
    int light = 0, door = 0;
    HTREEITEM hFunc = tree.InsertItem("func", I_IMAGECALLBACK, I_IMAGECALLBACK, TVI_ROOT, TVI_SORT);
    HTREEITEM hLight = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE, "light", 0, 1, 0, 0,
                                       (LPARAM)&light, TVI_ROOT, TVI_SORT);
    HTREEITEM hInfo = tree.InsertItem("info", TVI_ROOT, TVI_SORT);
    HTREEITEM hDoor = tree.InsertItem("door", hFunc, TVI_SORT);
    HTREEITEM hButton = tree.InsertItem("button", hFunc, TVI_SORT);
    ASSERT_TRUE(hFunc && hLight && hInfo && hDoor && hButton);
    tree.SetItemData(hDoor, (DWORD_PTR)&door);

    std::vector<std::string> top;
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = tree.GetNextSiblingItem(h))
        top.push_back((LPCTSTR)tree.GetItemText(h));
    EXPECT_EQ(top, (std::vector<std::string>{"func", "info", "light"}));
    EXPECT_EQ(tree.GetChildItem(hFunc), hButton);
    EXPECT_EQ(tree.GetNextSiblingItem(hButton), hDoor);
    EXPECT_EQ(tree.GetPrevSiblingItem(hDoor), hButton);
    EXPECT_EQ(tree.GetParentItem(hDoor), hFunc);
    EXPECT_EQ(tree.GetParentItem(hFunc), nullptr);
    EXPECT_TRUE(tree.ItemHasChildren(hFunc));
    EXPECT_FALSE(tree.ItemHasChildren(hLight));
    EXPECT_EQ(tree.GetCount(), 5u);

    EXPECT_EQ(tree.GetItemData(hLight), (DWORD_PTR)&light);
    EXPECT_EQ(tree.GetItemData(hDoor), (DWORD_PTR)&door);
    EXPECT_EQ(tree.GetItemData(hInfo), 0u);
    int nImage = -5, nSelected = -5;
    EXPECT_TRUE(tree.GetItemImage(hLight, nImage, nSelected));
    EXPECT_EQ(nImage, 0);
    EXPECT_EQ(nSelected, 1);
    EXPECT_TRUE(tree.SetItemImage(hLight, 2, 3));
    tree.GetItemImage(hLight, nImage, nSelected);
    EXPECT_EQ(nImage, 2);

    // Images on demand come from the parent.
    host.nCallbackImage = 6;
    tree.GetItemImage(hFunc, nImage, nSelected);
    EXPECT_EQ(nImage, 6);
    EXPECT_EQ(nSelected, 7);

    std::string longText(600, 'q');
    EXPECT_TRUE(tree.SetItemText(hInfo, longText.c_str()));
    EXPECT_EQ(std::string((LPCTSTR)tree.GetItemText(hInfo)), longText);

    EXPECT_TRUE(tree.SetItemState(hInfo, TVIS_BOLD, TVIS_BOLD));
    EXPECT_EQ(tree.GetItemState(hInfo, TVIS_BOLD), (UINT)TVIS_BOLD);

    // Expanding and selecting notify the parent.
    host.notifyCodes.clear();
    EXPECT_TRUE(tree.Expand(hFunc, TVE_EXPAND));
    EXPECT_NE(tree.GetItemState(hFunc, TVIS_EXPANDED), 0u);
    EXPECT_TRUE(tree.SelectItem(hDoor));
    EXPECT_EQ(tree.GetSelectedItem(), hDoor);
    auto has = [&](UINT code) {
        return std::find(host.notifyCodes.begin(), host.notifyCodes.end(), code) != host.notifyCodes.end();
    };
    EXPECT_TRUE(has(TVN_ITEMEXPANDING));
    EXPECT_TRUE(has(TVN_ITEMEXPANDED));
    EXPECT_TRUE(has(TVN_SELCHANGING));
    EXPECT_TRUE(has(TVN_SELCHANGED));
    tree.Expand(hFunc, TVE_COLLAPSE);
    tree.EnsureVisible(hButton);
    EXPECT_NE(tree.GetItemState(hFunc, TVIS_EXPANDED), 0u) << "making a child visible expands its parent";
    CRect rect;
    EXPECT_TRUE(tree.GetItemRect(hDoor, rect, TRUE));
    EXPECT_EQ(tree.HitTest(rect.CenterPoint()), hDoor);
    EXPECT_EQ(tree.GetNextVisibleItem(hFunc), hButton);

    EXPECT_TRUE(tree.DeleteItem(hDoor));
    EXPECT_EQ(tree.GetCount(), 4u);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

TEST_F(Controls, ToolTips)
{
    CButton button;
    ASSERT_TRUE(button.Create("New", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &host, 20583));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&host));
    EXPECT_EQ(tips.GetOwner(), &host);
    EXPECT_TRUE(tips.AddTool(&button, "New (Insert)"));
    CRect strip(100, 0, 120, 20);
    EXPECT_TRUE(tips.AddTool(&host, "Delete (Delete)", strip, 2));
    EXPECT_EQ(tips.GetToolCount(), 2);

    CString text;
    tips.GetText(text, &button);
    EXPECT_STREQ(text, "New (Insert)");
    tips.GetText(text, &host, 2);
    EXPECT_STREQ(text, "Delete (Delete)");
    tips.UpdateTipText("Move Up", &host, 2);
    tips.GetText(text, &host, 2);
    EXPECT_STREQ(text, "Move Up");

    TOOLINFO ti = {};
    EXPECT_TRUE(tips.GetToolInfo(&ti, &host, 2));
    EXPECT_EQ(CRect(ti.rect), strip);
    CRect moved(130, 0, 150, 20);
    tips.SetToolRect(&host, 2, moved);
    tips.GetToolInfo(&ti, &host, 2);
    EXPECT_EQ(CRect(ti.rect), moved);

    tips.Activate(TRUE);
    MSG msg = {host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(135, 5)};
    tips.RelayEvent(&msg);
    tips.Activate(FALSE);
    tips.DelTool(&button);
    EXPECT_EQ(tips.GetToolCount(), 1);
}

// ---------------------------------------------------------------------------------------------
// Check lists

namespace {

class CheckLists : public Controls
{
protected:
    void SetUp() override
    {
        Controls::SetUp();
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS |
                                    LBS_OWNERDRAWFIXED,
                                CRect(0, 0, 200, 150), &host, 20579));
        for (const char* name : {"Standard", "Views", "Brushes"})
            list.AddString(name);
    }
    void ClickAt(CPoint pt, UINT message = WM_LBUTTONDOWN)
    {
        list.SendMessage(message, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    std::vector<int> Checks()
    {
        std::vector<int> v;
        for (int i = 0; i < list.GetCount(); i++)
            v.push_back(list.GetCheck(i));
        return v;
    }

    CCheckListBox list;
};

} // namespace

TEST_F(CheckLists, ClickOnTheBoxTogglesAndNotifies)
{
    EXPECT_EQ(Checks(), (std::vector<int>{0, 0, 0}));
    EXPECT_GE(list.GetItemHeight(0), 15) << "items are at least as high as a box";

    ClickAt(list.GetCheckRect(1).CenterPoint());
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 0}));
    ASSERT_EQ(CountCommands(CLBN_CHKCHANGE), 1);
    for (const auto& c : host.commands)
        if (c.nCode == CLBN_CHKCHANGE) {
            EXPECT_EQ(c.nID, 20579u);
            EXPECT_EQ(c.hWnd, list.m_hWnd);
            EXPECT_EQ(c.nSelAtNotify, 1) << "the clicked item is selected when the change arrives";
        }

    // A click on the text selects without changing the check.
    CRect item;
    list.GetItemRect(2, item);
    ClickAt(CPoint(item.right - 10, item.CenterPoint().y));
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(CountCommands(CLBN_CHKCHANGE), 1);

    // The space bar toggles the selected item; its character is not a search.
    list.SendMessage(WM_KEYDOWN, VK_SPACE);
    list.SendMessage(WM_CHAR, ' ');
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(CountCommands(CLBN_CHKCHANGE), 2);

    // A double click on the box counts as a second click.
    CPoint box = list.GetCheckRect(0).CenterPoint();
    ClickAt(box);
    ClickAt(box, WM_LBUTTONDBLCLK);
    EXPECT_EQ(list.GetCheck(0), 0);
    EXPECT_EQ(CountCommands(CLBN_CHKCHANGE), 4);

    // Disabled items keep their check.
    list.Enable(1, FALSE);
    ClickAt(list.GetCheckRect(1).CenterPoint());
    EXPECT_EQ(list.GetCheck(1), 1);
    EXPECT_FALSE(list.IsEnabled(1));
}

TEST_F(CheckLists, CheckStyles)
{
    list.SetCheckStyle(BS_AUTO3STATE);
    CPoint box = list.GetCheckRect(0).CenterPoint();
    std::vector<int> seen;
    for (int i = 0; i < 3; i++) {
        ClickAt(box);
        seen.push_back(list.GetCheck(0));
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));

    // Without an automatic style the parent decides; it still hears of the click.
    list.SetCheckStyle(BS_CHECKBOX);
    host.commands.clear();
    ClickAt(box);
    EXPECT_EQ(list.GetCheck(0), 0);
    EXPECT_EQ(CountCommands(CLBN_CHKCHANGE), 1);

    list.SetCheckStyle(12345);
    EXPECT_EQ(list.GetCheckStyle(), (UINT)BS_CHECKBOX) << "unknown styles are refused";
    list.SetCheck(2, 2);
    EXPECT_EQ(list.GetCheck(2), 2);
    list.SetCheck(2, 3);
    EXPECT_EQ(list.GetCheck(2), 2);
    EXPECT_EQ(list.GetCheck(7), -1);
}

TEST_F(CheckLists, ChecksStayWithTheirItems)
{
    list.SetCheck(1, 1);
    list.SetItemData(1, (DWORD_PTR)0xABCDEF0123ull);
    list.DeleteString(0);
    EXPECT_EQ(Checks(), (std::vector<int>{1, 0}));
    EXPECT_EQ(list.GetItemData(0), (DWORD_PTR)0xABCDEF0123ull) << "item data stays the caller's own";
    list.InsertString(0, "Tools");
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 0}));
    list.ResetContent();
    EXPECT_TRUE(Checks().empty());

    CCheckListBox sorted;
    ASSERT_TRUE(sorted.Create(WS_CHILD | WS_VISIBLE | LBS_SORT, CRect(210, 0, 400, 150), &host, 2));
    EXPECT_NE(sorted.GetStyle() & LBS_OWNERDRAWFIXED, 0u) << "made owner-drawn by itself";
    sorted.AddString("c");
    sorted.SetCheck(0, 1);
    sorted.AddString("a");
    EXPECT_EQ(sorted.GetCheck(0), 0);
    EXPECT_EQ(sorted.GetCheck(1), 1);
}

TEST_F(CheckLists, MultipleSelectionChecksEverySelectedItem)
{
    CCheckListBox multi;
    ASSERT_TRUE(multi.Create(WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL | LBS_NOTIFY, CRect(210, 0, 400, 150), &host, 3));
    for (const char* s : {"a", "b", "c", "d"})
        multi.AddString(s);
    multi.SetSel(0);
    multi.SetSel(2);
    multi.SetCaretIndex(2);
    multi.SendMessage(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(multi.GetCheck(0), 1);
    EXPECT_EQ(multi.GetCheck(1), 0);
    EXPECT_EQ(multi.GetCheck(2), 1);
}

TEST_F(CheckLists, DrawsBoxesAndTexts)
{
    list.SetCheck(0, 1);
    list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CClientDC dc(&list);
    CRect box = list.GetCheckRect(0);
    COLORREF window = ::GetSysColor(COLOR_WINDOW);
    int nMarked = 0;
    for (int y = box.top + 3; y < box.bottom - 3; y++)
        for (int x = box.left + 3; x < box.right - 3; x++)
            nMarked += dc.GetPixel(x, y) != window;
    EXPECT_GT(nMarked, 3) << "a checked box shows its mark";
    CRect empty = list.GetCheckRect(1);
    int nUnmarked = 0;
    for (int y = empty.top + 3; y < empty.bottom - 3; y++)
        for (int x = empty.left + 3; x < empty.right - 3; x++)
            nUnmarked += dc.GetPixel(x, y) != window;
    EXPECT_EQ(nUnmarked, 0);
}

// A check list made from an existing window (a dialog's list) takes the items it finds.
TEST_F(CheckLists, SubclassedListTakesItsItems)
{
    HWND hList = ::CreateWindow("LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                LBS_NOTIFY, 210, 0, 190, 150, host.m_hWnd, (HMENU)30, nullptr, nullptr);
    ASSERT_NE(hList, nullptr);
    ::SendMessage(hList, LB_ADDSTRING, 0, (LPARAM)"one");
    ::SendMessage(hList, LB_ADDSTRING, 0, (LPARAM)"two");
    CCheckListBox attached;
    ASSERT_TRUE(attached.SubclassDlgItem(30, &host));
    EXPECT_EQ(attached.GetCheck(1), 0);
    attached.SetCheck(1, 1);
    EXPECT_EQ(attached.GetCheck(1), 1);
    EXPECT_GE(attached.GetItemHeight(0), 15);
    ClickAt(list.GetCheckRect(0).CenterPoint()); // the other list is unaffected
    host.commands.clear();
    CPoint pt = attached.GetCheckRect(0).CenterPoint();
    attached.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    attached.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(attached.GetCheck(0), 1);
    EXPECT_EQ(CountCommands(CLBN_CHKCHANGE), 1);
}

// A drop-down check list is a free-standing pop-up owned by the control that opened it.
TEST_F(CheckLists, FreeStandingPopupList)
{
    CButton opener;
    ASSERT_TRUE(opener.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 200, 100, 220), &host, 52542));
    CCheckListBox popup;
    ASSERT_TRUE(popup.CreateEx(0, "LISTBOX", nullptr,
                               WS_POPUP | 0x10800040 | 0x200001 | LBS_OWNERDRAWFIXED, CRect(50, 250, 200, 350),
                               &host, 0));
    popup.AddString("Angle");
    popup.AddString("Ambush");
    popup.SetCheck(1, 1);
    popup.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    host.commands.clear();
    CPoint pt = popup.GetCheckRect(0).CenterPoint();
    popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    popup.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(popup.GetCheck(0), 1);
    EXPECT_EQ(CountCommands(CLBN_CHKCHANGE), 1) << "the owner hears of the change";
    popup.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Rich edit

namespace {

struct StreamBuffer
{
    std::string text;
    size_t offset = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE pBuff, LONG cb, LONG* pcb)
{
    StreamBuffer* p = reinterpret_cast<StreamBuffer*>(cookie);
    LONG n = (LONG)std::min<size_t>(cb, p->text.size() - p->offset);
    memcpy(pBuff, p->text.data() + p->offset, n);
    p->offset += n;
    *pcb = n;
    return 0;
}

DWORD CALLBACK WriteStream(DWORD_PTR cookie, LPBYTE pBuff, LONG cb, LONG* pcb)
{
    reinterpret_cast<StreamBuffer*>(cookie)->text.append((const char*)pBuff, cb);
    *pcb = cb;
    return 0;
}

void StreamRtfIn(CRichEditCtrl& edit, const std::string& rtf)
{
    StreamBuffer in{rtf};
    EDITSTREAM es = {(DWORD_PTR)&in, 0, ReadStream};
    edit.StreamIn(SF_RTF, es);
}

std::string StreamTextOut(CRichEditCtrl& edit, int nFormat)
{
    StreamBuffer out;
    EDITSTREAM es = {(DWORD_PTR)&out, 0, WriteStream};
    edit.StreamOut(nFormat, es);
    return out.text;
}

} // namespace

TEST_F(Controls, RichEditStreamsFormatsAndSearches)
{
    ASSERT_TRUE(AfxInitRichEdit());
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, CRect(0, 0, 300, 120), &host, 0));
    char cls[32] = {};
    ::GetClassName(edit.m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ(cls, "RICHEDIT");

    StreamRtfIn(edit, "{\\rtf1\\ansi Hello {\\b bold} world}");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "Hello bold world");
    EXPECT_EQ(edit.GetTextLength(), 16);
    EXPECT_EQ(StreamTextOut(edit, SF_TEXT), "Hello bold world");
    std::string rtf = StreamTextOut(edit, SF_RTF);
    EXPECT_EQ(rtf.compare(0, 5, "{\\rtf"), 0);

    // Selection and its format.
    edit.SetSel(6, 10);
    long nStart = 0, nEnd = 0;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 6);
    EXPECT_EQ(nEnd, 10);
    EXPECT_STREQ(edit.GetSelText(), "bold");
    CHARFORMAT cf = {};
    cf.dwMask = CFM_BOLD;
    edit.GetSelectionCharFormat(cf);
    EXPECT_NE(cf.dwEffects & CFE_BOLD, 0u);
    cf.dwMask = CFM_ITALIC;
    cf.dwEffects = CFE_ITALIC;
    EXPECT_TRUE(edit.SetSelectionCharFormat(cf));
    CHARFORMAT got = {};
    edit.GetSelectionCharFormat(got);
    EXPECT_NE(got.dwEffects & CFE_ITALIC, 0u);

    PARAFORMAT pf = {};
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = PFA_CENTER;
    EXPECT_TRUE(edit.SetParaFormat(pf));
    PARAFORMAT pfGot = {};
    edit.GetParaFormat(pfGot);
    EXPECT_EQ(pfGot.wAlignment, PFA_CENTER);

    // Searching.
    FINDTEXTEX find = {{0, -1}, (LPSTR) "world", {0, 0}};
    EXPECT_EQ(edit.FindText(FR_DOWN, &find), 11);
    EXPECT_EQ(find.chrgText.cpMin, 11);
    EXPECT_EQ(find.chrgText.cpMax, 16);
    FINDTEXTEX missing = {{0, -1}, (LPSTR) "absent", {0, 0}};
    EXPECT_EQ(edit.FindText(FR_DOWN, &missing), -1);

    // Flags and masks.
    edit.SetModify(FALSE);
    EXPECT_FALSE(edit.GetModify());
    edit.SetSel(0, 0);
    edit.ReplaceSel("X");
    EXPECT_TRUE(edit.GetModify());
    EXPECT_TRUE(edit.SetReadOnly());
    EXPECT_NE(edit.GetStyle() & ES_READONLY, 0u);
    edit.SetReadOnly(FALSE);
    DWORD dwMask = ENM_CHANGE | ENM_UPDATE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;
    EXPECT_EQ(dwMask, 2883587u);
    edit.SetEventMask(dwMask);
    EXPECT_EQ((DWORD)edit.GetEventMask(), dwMask);
    edit.SetOptions(ECOOP_SET, ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_AUTOHSCROLL | ECO_NOHIDESEL |
                                   ECO_SAVESEL);
    EXPECT_NE(edit.GetOptions() & ECO_NOHIDESEL, 0u);
    EXPECT_TRUE(edit.SetTargetDevice(nullptr, 0));
    edit.SetBackgroundColor(FALSE, RGB(255, 255, 0));
}

TEST_F(Controls, RichEditLimitAndSize)
{
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 300, 120), &host, 0));
    edit.LimitText(100000);
    EXPECT_EQ(edit.GetLimitText(), 100000);
    std::string big;
    while (big.size() < 70000)
        big += "a line of the build output\r\n";
    edit.ReplaceSel(big.c_str());
    EXPECT_GE(edit.GetTextLength(), 70000);
    edit.SetWindowText("");

    // The needed size is asked for and answered through the parent.
    edit.SetEventMask(ENM_REQUESTRESIZE);
    edit.SetWindowText("one\r\ntwo\r\nthree\r\nfour");
    host.notifyCodes.clear();
    edit.RequestResize();
    EXPECT_NE(std::find(host.notifyCodes.begin(), host.notifyCodes.end(), (UINT)EN_REQUESTRESIZE),
              host.notifyCodes.end());
    EXPECT_GT(host.requestedSize.bottom - host.requestedSize.top, 20);

    // Formatting into a device context: the range goes to the control and the cached data is
    // freed again. (Wine's rich edit answers 0 and draws nothing, so no pixels are checked.)
    CClientDC screen(&host);
    int dpi = screen.GetDeviceCaps(LOGPIXELSX);
    FORMATRANGE fr = {};
    fr.hdc = screen.m_hDC;
    fr.hdcTarget = screen.m_hDC;
    fr.rc = CRect(0, 0, 300 * 1440 / dpi, 200 * 1440 / dpi);
    fr.rcPage = fr.rc;
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    edit.FormatRange(nullptr, FALSE);
    EXPECT_GE(edit.FormatRange(&fr, TRUE), 0);
    edit.FormatRange(nullptr, FALSE);

    edit.SetWindowText("copy me");
    edit.SetSel(0, -1);
    edit.Copy();
    edit.SetSel(-1, -1);
    EXPECT_TRUE(edit.CanPaste());
    edit.Paste();
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text.Left(14), "copy mecopy me") << "pasted rich text may bring its paragraph end";
}

// ---------------------------------------------------------------------------------------------
// A toolbar list as a dialog uses it: handlers in the message map see the checked item selected.

namespace {

class ToolbarListWnd : public CWnd
{
public:
    CCheckListBox m_list;
    std::vector<std::pair<int, int>> m_changes; // selection, its check
    int m_nSelChanges = 0;

    void OnCheckChange() { m_changes.push_back({m_list.GetCurSel(), m_list.GetCheck(m_list.GetCurSel())}); }
    void OnSelChange() { ++m_nSelChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ToolbarListWnd, CWnd)
    ON_CLBN_CHKCHANGE(20579, OnCheckChange)
    ON_LBN_SELCHANGE(20579, OnSelChange)
END_MESSAGE_MAP()

} // namespace

TEST(CheckListHandlers, ChangesReachTheMessageMap)
{
    ToolbarListWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Toolbars", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             CRect(0, 0, 300, 200), nullptr, 0));
    ASSERT_TRUE(wnd.m_list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(0, 0, 200, 150), &wnd, 20579));
    wnd.m_list.AddString("Standard");
    wnd.m_list.AddString("Views");
    wnd.m_list.SetCheck(0, 1);
    CPoint pt = wnd.m_list.GetCheckRect(1).CenterPoint();
    wnd.m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    wnd.m_list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(wnd.m_changes.size(), 1u);
    EXPECT_EQ(wnd.m_changes[0], std::make_pair(1, 1));
    EXPECT_GE(wnd.m_nSelChanges, 1);
    wnd.m_list.SetCurSel(0);
    wnd.m_list.SendMessage(WM_KEYDOWN, VK_SPACE);
    ASSERT_EQ(wnd.m_changes.size(), 2u);
    EXPECT_EQ(wnd.m_changes[1], std::make_pair(0, 0));
    wnd.DestroyWindow();
}

// A combo box's drop-down list made on its own, as the grid's combo cells make theirs: a pop-up
// of the system's "COMBOLBOX" class driven through the list-box wrapper.
TEST_F(Controls, FreeStandingComboListBox)
{
    CListBox drop;
    ASSERT_TRUE(drop.CreateEx(0, "COMBOLBOX", nullptr, WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                              CRect(20, 200, 180, 300), &host, 0));
    for (const char* s : {"0", "90", "180", "270", "Up", "Down"})
        drop.AddString(s);
    EXPECT_EQ(drop.GetCount(), 6);
    EXPECT_EQ(drop.SelectString(-1, "180"), 2);
    EXPECT_EQ(drop.GetCurSel(), 2);
    CString text;
    drop.GetText(4, text);
    EXPECT_STREQ(text, "Up");
    drop.SetItemData(5, (DWORD_PTR)0xFEDCBA987ull);
    EXPECT_EQ(drop.GetItemData(5), (DWORD_PTR)0xFEDCBA987ull);

    // A click selects the line under the mouse.
    CRect item;
    drop.GetItemRect(1, item);
    CPoint pt = item.CenterPoint();
    drop.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    drop.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(drop.GetCurSel(), 1);
    drop.DestroyWindow();
}
