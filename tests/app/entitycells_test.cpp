// The entity grid's value controls in a real grid window under Wine: spawn flags, angles, target
// names, number edits and the mangle pop-up, driven with messages. A window stands in for the
// main frame: it hands out the working entity (+24) and counts modification notices (+23).
#include "DocumentFixture.h"
#include "EntityCellControls.h"
#include "EntityClasses.h"
#include "EntityEditorDlg.h"
#include "EntityFrameSpy.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "gxfactry.h"
#include "gxengine.h"
#include "gxstyle.h"
#include "shareddata.h"
#include <string>
#include <vector>

namespace {

class ControlsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { GXInit(0x421, nullptr, nullptr); }
};
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new ControlsEnvironment);

using CMainSpy = CEntityFrameSpy;

enum : ROWCOL
{
    kAngleRow = 1,
    kTargetRow,
    kFlagsRow,
    kNumberRow,
    kNegativeRow,
    kMangleRow,
};

class EntityCellsTest : public DocumentTest
{
protected:
    CMainSpy frame;
    CGXGridWnd grid;
    CWnd* pOldMain = nullptr;
    Entity* working = nullptr;

    void SetUp() override
    {
        DocumentTest::SetUp();
        services->SetActiveMap(map);
        working = new Entity(map);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "cells", WS_OVERLAPPEDWINDOW, 50, 50, 500, 300, nullptr,
                                   nullptr));
        frame.pWorking = working;
        pOldMain = AfxGetApp()->m_pMainWnd;
        AfxGetApp()->m_pMainWnd = &frame;
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 260), &frame, 1));
        grid.InitGrid();
        RegisterEntityCellControls(&grid);
        grid.SetRowCount(kMangleRow);
        grid.SetColCount(2);
        grid.SetColWidth(2, 2, 200);
        const WORD ids[] = {GX_IDS_CTRL_ENTITY_ANGLE,  GX_IDS_CTRL_ENTITY_TARGET,   GX_IDS_CTRL_ENTITY_SPAWNFLAGS,
                            GX_IDS_CTRL_ENTITY_NUMBER, GX_IDS_CTRL_ENTITY_NEGATIVE, GX_IDS_CTRL_ENTITY_MANGLE};
        for (ROWCOL row = kAngleRow; row <= kMangleRow; ++row)
            grid.SetStyleRange(CGXRange(row, 2), &CGXStyle().SetControl(ids[row - 1]), gxOverride);
        ASSERT_TRUE(afxtest::Activate(&frame));
        grid.SetFocus();
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = pOldMain;
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        afxtest::PumpMessages();
        delete working;
        services->SetActiveMap(nullptr);
        DocumentTest::TearDown();
    }
    // The cell becomes current with its value; its control holds it.
    template <class T> T* Place(ROWCOL row, LPCSTR value)
    {
        grid.SetValueRange(CGXRange(row, 2), value);
        grid.PlaceCurrentCell(row, 2, GX_UPDATENOW);
        grid.UpdateWindow();
        afxtest::PumpMessages();
        return dynamic_cast<T*>(grid.GetCellControl(row, 2));
    }
    static std::vector<std::string> Items(CListBox* list)
    {
        std::vector<std::string> items;
        CString text;
        for (int i = 0; list && i < list->GetCount(); ++i) {
            list->GetText(i, text);
            items.push_back((LPCSTR)text);
        }
        return items;
    }
    void ExpectClosed(CGXComboBox* combo)
    {
        afxtest::PumpMessages();
        EXPECT_FALSE(combo->IsDropListVisible());
        EXPECT_EQ(nullptr, combo->GetListBox());
        EXPECT_FALSE(grid.IsDropDownOpen());
        EXPECT_FALSE(grid.m_bSettingFocus);
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& b : services->boxes)
            texts.push_back(b.text);
        return texts;
    }
    void SetClassname(LPCSTR name)
    {
        if (!working->SetValueForKey("classname", name))
            working->AddKeyValue("classname", name);
    }
    // A class of the services with these flag names.
    void AddClass(LPCSTR name, const std::vector<const char*>& flags)
    {
        services->AddEntityClass(name, TestBox(-8, 8, -8, 8, -8, 8));
        const EntityClass* pClass = nullptr;
        ASSERT_TRUE(services->LookupEntityClass(name, pClass));
        for (size_t i = 0; i < flags.size() && i < 8; ++i)
            lstrcpynA(const_cast<EntityClass*>(pClass)->flagNames[i], flags[i], 32);
    }
};

const std::vector<std::string> kSwitches = {"Switch 1", "Switch 2", "Switch 3", "Switch 4", "Switch 5", "Switch 6",
                                            "Switch 7", "Switch 8", "!Easy",    "!Medium",  "!Hard",    "!Deathmatch"};

} // namespace

TEST_F(EntityCellsTest, ControlsAreRegisteredWithTheirRecords)
{
    struct
    {
        WORD id;
        const char* record;
        const char* parent;
    } cases[] = {
        {GX_IDS_CTRL_ENTITY_ANGLE, "CGridAngleComboBox", "CGXComboBox"},
        {GX_IDS_CTRL_ENTITY_TARGET, "CGridTargetComboBox", "CGXComboBox"},
        {GX_IDS_CTRL_ENTITY_SPAWNFLAGS, "CGridSpawnFlagsComboBox", "CGXCheckListComboBox"},
        {GX_IDS_CTRL_ENTITY_NUMBER, "CGridNumberEdit", "CGXEditControl"},
        {GX_IDS_CTRL_ENTITY_NEGATIVE, "CGridNegativeNumberEdit", "CGXEditControl"},
        {GX_IDS_CTRL_ENTITY_MANGLE, "CGridMangleControl", "CGXEditControl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        CGXControl* control = grid.GetControlForId(c.id);
        ASSERT_NE(nullptr, control);
        EXPECT_STREQ(c.record, control->GetClassRecord()->name);
        EXPECT_STREQ(c.parent, control->GetClassRecord()->parent->name);
    }
    // The combo cells show their arrow in every cell and fill their lists themselves.
    auto* angle = dynamic_cast<CGXComboBox*>(grid.GetControlForId(GX_IDS_CTRL_ENTITY_ANGLE));
    ASSERT_NE(nullptr, angle);
    EXPECT_TRUE(angle->m_bButtonInInactiveCells);
    EXPECT_FALSE(angle->m_bFillFromChoiceList);
    EXPECT_EQ(0x15u, angle->GetValueMode());
}

// The list's items and ticks for a value and a class, then what closing it stores and whether the
// main frame hears of it.
TEST_F(EntityCellsTest, SpawnFlagsTickStoreAndNotifyOnlyOnChange)
{
    AddClass("func_three", {"ONE", "TWO", "THREE"});
    struct
    {
        const char* classname;
        const char* value;
        std::vector<int> ticked;    // items ticked at opening
        std::vector<int> toggle;    // items the user clicks
        const char* stored;
        int notices;
    } cases[] = {
        {"unknown_class", "2304", {8, 11}, {}, "2304", 0},
        {"unknown_class", "0", {}, {}, "0", 0},
        // Looking changes nothing, whatever the value reads as.
        {"unknown_class", "", {}, {}, "", 0},
        {"unknown_class", "-1", {}, {}, "-1", 0},
        {"func_three", "abc", {}, {}, "abc", 0},
        {"func_three", "0x10", {}, {}, "0x10", 0},
        {"unknown_class", "", {}, {3}, "8", 1},
        {"func_three", "0", {}, {0, 9}, "513", 1},
        {"func_three", "1", {0}, {0}, "0", 1},
        {"func_three", "4097", {0}, {0, 1}, "4098", 1},
        {"func_three", "x", {}, {2}, "4", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.classname) + " " + c.value);
        SetClassname(c.classname);
        frame.modified = 0;
        auto* flags = Place<CGridSpawnFlagsComboBox>(kFlagsRow, c.value);
        ASSERT_NE(nullptr, flags);
        flags->ShowDropList(TRUE);
        auto* list = dynamic_cast<CCheckListBox*>(flags->GetListBox());
        ASSERT_NE(nullptr, list);
        std::vector<std::string> labels = kSwitches;
        if (std::string(c.classname) == "func_three")
            labels[0] = "ONE", labels[1] = "TWO", labels[2] = "THREE";
        EXPECT_EQ(labels, Items(list));
        std::vector<int> ticked;
        for (int i = 0; i < list->GetCount(); ++i)
            if (list->GetCheck(i))
                ticked.push_back(i);
        EXPECT_EQ(c.ticked, ticked);
        // Below the cell, as wide as it, 200 high.
        CRect cell = grid.CalcCellRect(kFlagsRow, 2), drop;
        grid.ClientToScreen(&cell);
        flags->m_pDropDownWnd->GetWindowRect(&drop);
        EXPECT_EQ(afxtest::Text(CRect(cell.left, cell.bottom, cell.right, cell.bottom + 200)), afxtest::Text(drop));
        CRect listRect;
        list->GetWindowRect(&listRect);
        EXPECT_EQ(afxtest::Text(drop), afxtest::Text(listRect));
        for (int i : c.toggle)
            list->SetCheck(i, list->GetCheck(i) ? 0 : 1);
        flags->SendMessage(GXM_LISTCHOOSE);
        ExpectClosed(flags);
        EXPECT_STREQ(c.stored, grid.GetCellValue(kFlagsRow, 2));
        EXPECT_EQ(c.notices, frame.modified);
        // The cell shows its number.
        CString shown;
        flags->GetDisplayText(shown, kFlagsRow, 2, c.stored, nullptr);
        EXPECT_STREQ(c.stored, shown);
    }
}

TEST_F(EntityCellsTest, NumberEditsRefuseWhatIsNotANumber)
{
    struct
    {
        const char* text;
        bool number, negative;
    } cases[] = {
        {"", true, true},      {"5", true, true},       {"3.5", true, true}, {"-5", false, true},
        {"1-", false, false},  {"1.2.3", true, true},   {"a", false, false},
    };
    for (ROWCOL row : {kNumberRow, kNegativeRow}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(row) + " \"" + c.text + "\"");
            auto* edit = Place<CGXEditControl>(row, "7");
            ASSERT_NE(nullptr, edit);
            const bool valid = row == kNumberRow ? c.number : c.negative;
            EXPECT_EQ(valid, edit->ValidateString(c.text) != FALSE);
            // Typed text through the window: refused text leaves the cell's text.
            edit->SetCurrentText(c.text);
            EXPECT_STREQ(valid ? c.text : "7", edit->GetEditText());
            grid.TransferCurrentCell();
            EXPECT_STREQ(valid ? c.text : "7", grid.GetCellValue(row, 2));
        }
    }
}

TEST_F(EntityCellsTest, AngleListPreselectsTheCellsAngleAndStoresTheChosenOne)
{
    const std::vector<std::string> angles = {"0", "45", "90", "135", "180", "225", "270", "315", "-1", "-2"};
    struct
    {
        const char* value;
        int selected;
    } cases[] = {{"90", 2}, {"-1", 8}, {"100", -1}, {"", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        auto* angle = Place<CGridAngleComboBox>(kAngleRow, c.value);
        ASSERT_NE(nullptr, angle);
        angle->ShowDropList(TRUE);
        ASSERT_TRUE(angle->IsDropListVisible());
        EXPECT_EQ(angles, Items(angle->GetListBox()));
        EXPECT_EQ(c.selected, angle->GetListBox()->GetCurSel());
        angle->SendMessage(GXM_LISTCLOSE, 0, 1);
        ExpectClosed(angle);
        EXPECT_STREQ(c.value, grid.GetCellValue(kAngleRow, 2));
    }
    // Choosing an entry puts its text (not its index) into the cell.
    auto* angle = Place<CGridAngleComboBox>(kAngleRow, "90");
    angle->ShowDropList(TRUE);
    angle->GetListBox()->SetCurSel(5);
    angle->SendMessage(GXM_LISTCHOOSE);
    ExpectClosed(angle);
    EXPECT_STREQ("225", angle->GetEditText());
    grid.TransferCurrentCell();
    EXPECT_STREQ("225", grid.GetCellValue(kAngleRow, 2));
}

TEST_F(EntityCellsTest, TargetListShowsTheMapsNamesAndItsMessagesBeforeOpening)
{
    AddEntity("info_null")->AddKeyValue("targetname", "t1");
    AddEntity("info_null")->AddKeyValue("targetname", "t2");
    AddEntity("info_null")->AddKeyValue("targetname", "t1");
    AddEntity("info_null");
    Map empty;
    empty.m_bAutoDelete = FALSE;
    ASSERT_TRUE(empty.OnNewDocument());
    const char* notLoaded = "A map is not currently loaded.";
    const char* noNames = "The current map doesn't contain any targetnames";
    struct
    {
        Map* active;
        const char* value;
        std::vector<std::string> items;
        int selected;
        std::vector<std::string> boxes;
    } cases[] = {
        {map, "t2", {"t1", "t2"}, 1, {}},
        {map, "", {"t1", "t2"}, 0, {}},
        {map, "zz", {"t1", "t2"}, -1, {"The current value: zz is not a known targetname"}},
        {nullptr, "t1", {}, -1, {notLoaded}},
        {&empty, "", {}, -1, {noNames}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        services->SetActiveMap(c.active);
        services->boxes.clear();
        auto* target = Place<CGridTargetComboBox>(kTargetRow, c.value);
        ASSERT_NE(nullptr, target);
        target->ShowDropList(TRUE);
        EXPECT_EQ(c.boxes, BoxTexts());
        // The boxes came first; the list opened all the same.
        ASSERT_TRUE(target->IsDropListVisible());
        EXPECT_TRUE(target->GetListBox()->IsWindowVisible());
        EXPECT_EQ(c.items, Items(target->GetListBox()));
        EXPECT_EQ(c.selected, target->GetListBox()->GetCurSel());
        target->SendMessage(GXM_LISTCLOSE, 0, 1);
        ExpectClosed(target);
        EXPECT_STREQ(c.value, grid.GetCellValue(kTargetRow, 2));
    }
    services->SetActiveMap(map);
    auto* target = Place<CGridTargetComboBox>(kTargetRow, "zz");
    services->answers.push_back(IDOK);
    target->ShowDropList(TRUE);
    target->GetListBox()->SetCurSel(0);
    target->SendMessage(GXM_LISTCHOOSE);
    ExpectClosed(target);
    grid.TransferCurrentCell();
    EXPECT_STREQ("t1", grid.GetCellValue(kTargetRow, 2));
}

TEST_F(EntityCellsTest, MangleButtonOpensThePopupBelowTheCell)
{
    auto* mangle = Place<CGridMangleControl>(kMangleRow, "10 20 30");
    ASSERT_NE(nullptr, mangle);
    // The text stops short of the button at the cell's right end.
    const CRect cell = grid.CalcCellRect(kMangleRow, 2);
    const CRect button = mangle->GetButton()->GetRect();
    const CRect text = mangle->GetCellRect(kMangleRow, 2);
    EXPECT_EQ(15, button.Width());
    EXPECT_EQ(text.right + 15 - 1, button.right);
    CRect inside;
    inside.IntersectRect(&button, &cell);
    EXPECT_EQ(afxtest::Text(button), afxtest::Text(inside));
    EXPECT_GT(button.top, cell.top);

    mangle->OnClickedButton(mangle->GetButton());
    CGridMangle* popup = mangle->GetPopup();
    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(popup->IsWindowVisible());
    EXPECT_STREQ("CGridMangle", popup->GetRuntimeClass()->m_lpszClassName);
    CRect screenCell = cell, rect;
    grid.ClientToScreen(&screenCell);
    popup->GetWindowRect(&rect);
    EXPECT_EQ(afxtest::Text(CRect(CPoint(screenCell.left - 1, screenCell.bottom), CSize(201, 200))),
              afxtest::Text(rect));
    EXPECT_EQ(3u, popup->GetRowCount());
    EXPECT_EQ(2u, popup->GetColCount());
    EXPECT_STREQ("Roll", popup->GetCellValue(1, 1));
    EXPECT_STREQ("Pitch", popup->GetCellValue(2, 1));
    EXPECT_STREQ("Yaw", popup->GetCellValue(3, 1));
    // The cell's angles in the game's order: pitch, yaw, roll.
    EXPECT_STREQ("30", popup->GetCellValue(CGridMangle::kRoll, 2));
    EXPECT_STREQ("10", popup->GetCellValue(CGridMangle::kPitch, 2));
    EXPECT_STREQ("20", popup->GetCellValue(CGridMangle::kYaw, 2));
    // Each angle is an angle list of the pop-up's own.
    EXPECT_NE(nullptr, dynamic_cast<CGridAngleComboBox*>(popup->GetCellControl(CGridMangle::kYaw, 2)));
    EXPECT_NE(grid.GetControlForId(GX_IDS_CTRL_ENTITY_ANGLE), popup->GetCellControl(CGridMangle::kYaw, 2));

    // 0x7B8 closes it unchanged.
    popup->SetValueRange(CGXRange(CGridMangle::kPitch, 2), "45");
    mangle->SendMessage(GXM_LISTCLOSE);
    afxtest::PumpMessages();
    EXPECT_EQ(nullptr, mangle->GetPopup());
    EXPECT_FALSE(mangle->GetModify());
    grid.TransferCurrentCell();
    EXPECT_STREQ("10 20 30", grid.GetCellValue(kMangleRow, 2));
    // So does Escape in the pop-up.
    mangle->OnClickedButton(mangle->GetButton());
    ASSERT_NE(nullptr, mangle->GetPopup());
    mangle->GetPopup()->SetValueRange(CGXRange(CGridMangle::kPitch, 2), "45");
    mangle->GetPopup()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    afxtest::PumpMessages();
    EXPECT_EQ(nullptr, mangle->GetPopup());
    EXPECT_FALSE(mangle->GetModify());
    // Left open, it goes with the window that holds the grid.
    mangle->OnClickedButton(mangle->GetButton());
    EXPECT_NE(nullptr, mangle->GetPopup());
}

TEST_F(EntityCellsTest, EnterInTheMangleHostsStoresPitchYawRoll)
{
    auto* mangle = Place<CGridMangleControl>(kMangleRow, "");
    ASSERT_NE(nullptr, mangle);
    mangle->OnClickedButton(mangle->GetButton());
    CGridMangle* popup = mangle->GetPopup();
    ASSERT_NE(nullptr, popup);
    for (ROWCOL row = 1; row <= 3; ++row)
        EXPECT_STREQ("0", popup->GetCellValue(row, 2));
    popup->SetValueRange(CGXRange(CGridMangle::kPitch, 2), "45");
    popup->SetValueRange(CGXRange(CGridMangle::kYaw, 2), "270");
    popup->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    afxtest::PumpMessages();
    EXPECT_EQ(nullptr, mangle->GetPopup());
    EXPECT_STREQ("45 270 0", mangle->GetEditText());
    grid.TransferCurrentCell();
    EXPECT_STREQ("45 270 0", grid.GetCellValue(kMangleRow, 2));

    // The button again while the pop-up is open stores and closes it, as Enter does.
    mangle = Place<CGridMangleControl>(kMangleRow, "0 0 0");
    mangle->OnClickedButton(mangle->GetButton());
    ASSERT_NE(nullptr, mangle->GetPopup());
    mangle->GetPopup()->SetValueRange(CGXRange(CGridMangle::kRoll, 2), "90");
    mangle->OnClickedButton(mangle->GetButton());
    EXPECT_EQ(nullptr, mangle->GetPopup());
    grid.TransferCurrentCell();
    EXPECT_STREQ("0 0 90", grid.GetCellValue(kMangleRow, 2));

    // The same angles again change nothing.
    mangle = Place<CGridMangleControl>(kMangleRow, "0 0 90");
    mangle->OnClickedButton(mangle->GetButton());
    ASSERT_NE(nullptr, mangle->GetPopup());
    mangle->GetPopup()->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    afxtest::PumpMessages();
    EXPECT_EQ(nullptr, mangle->GetPopup());
    EXPECT_FALSE(mangle->GetModify());
}

// LibreQuake's own classes label the list.
TEST_F(EntityCellsTest, LibreQuakeClassesLabelTheSpawnFlags)
{
    const CString kQc = shareddata::Path("qc\\librequake\\").c_str();
    SKIP_WITHOUT_SHARED_DATA(kQc);
    CEntityClassMap classes;
    CEntityClassReader reader(classes);
    ASSERT_TRUE(reader.ReadQcFile(CString(kQc) + "doors.qc"));
    ASSERT_TRUE(reader.ReadQcFile(CString(kQc) + "plats.qc"));
    struct
    {
        const char* name;
        std::vector<std::string> first8;
    } cases[] = {
        {"func_door", {"START_OPEN", "x", "DOOR_DONT_LINK", "GOLD_KEY", "SILVER_KEY", "TOGGLE", "Switch 7", "Switch 8"}},
        {"misc_teleporttrain", {"X", "X", "X", "X", "X", "X", "X", "X"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const EntityClass* pClass = classes.Lookup(c.name);
        ASSERT_NE(nullptr, pClass);
        std::vector<const char*> names;
        for (const auto& flag : pClass->flagNames)
            names.push_back(flag);
        AddClass(c.name, names);
        SetClassname(c.name);
        auto* flags = Place<CGridSpawnFlagsComboBox>(kFlagsRow, "0");
        flags->ShowDropList(TRUE);
        std::vector<std::string> items = Items(flags->GetListBox());
        items.resize(8);
        EXPECT_EQ(c.first8, items);
        flags->SendMessage(GXM_LISTCHOOSE);
        ExpectClosed(flags);
    }
}

// A click into the grid while the pop-up is open stores its angles and is eaten; activation going
// to another window closes it unchanged.
TEST_F(EntityCellsTest, MangleHostClosesOnAClickInTheGridOrAnotherWindow)
{
    auto* mangle = Place<CGridMangleControl>(kMangleRow, "0 90 0");
    ASSERT_NE(nullptr, mangle);
    int answer = 0;
    EXPECT_FALSE(mangle->OnMouseActivate(nullptr, HTCLIENT, WM_LBUTTONDOWN, answer));
    mangle->OnClickedButton(mangle->GetButton());
    ASSERT_NE(nullptr, mangle->GetPopup());
    mangle->GetPopup()->SetValueRange(CGXRange(CGridMangle::kYaw, 2), "180");
    EXPECT_TRUE(mangle->OnMouseActivate(nullptr, HTCLIENT, WM_LBUTTONDOWN, answer));
    EXPECT_EQ(MA_ACTIVATEANDEAT, answer);
    EXPECT_EQ(nullptr, mangle->GetPopup());
    grid.TransferCurrentCell();
    EXPECT_STREQ("0 180 0", grid.GetCellValue(kMangleRow, 2));

    mangle = Place<CGridMangleControl>(kMangleRow, "0 90 0");
    mangle->OnClickedButton(mangle->GetButton());
    ASSERT_NE(nullptr, mangle->GetPopup());
    mangle->GetPopup()->SetValueRange(CGXRange(CGridMangle::kYaw, 2), "180");
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 50, 200, 100,
                               nullptr, nullptr));
    afxtest::Activate(&other);
    afxtest::PumpMessages();
    EXPECT_EQ(nullptr, mangle->GetPopup());
    other.DestroyWindow();
    grid.TransferCurrentCell();
    EXPECT_STREQ("0 90 0", grid.GetCellValue(kMangleRow, 2));
}

// A user's way through: a click on the cell's button, Enter in the pop-up.
TEST_F(EntityCellsTest, ClickingTheMangleButtonAndPressingEnter)
{
    auto* mangle = Place<CGridMangleControl>(kMangleRow, "0 45 0");
    ASSERT_NE(nullptr, mangle);
    CRect button = mangle->GetButton()->GetRect();
    grid.ClientToScreen(&button);
    afxtest::InputScript click;
    click.MoveTo(button.CenterPoint()).Click();
    ASSERT_TRUE(click.Run());
    ASSERT_NE(nullptr, mangle->GetPopup());
    EXPECT_EQ(mangle->GetPopup()->GetSafeHwnd(), ::GetActiveWindow());
    mangle->GetPopup()->SetValueRange(CGXRange(CGridMangle::kPitch, 2), "315");
    afxtest::InputScript enter;
    enter.Key(VK_RETURN);
    ASSERT_TRUE(enter.Run());
    EXPECT_EQ(nullptr, mangle->GetPopup());
    EXPECT_STREQ("315 45 0", mangle->GetEditText());
    grid.TransferCurrentCell();
    EXPECT_STREQ("315 45 0", grid.GetCellValue(kMangleRow, 2));
}

// The angles are chosen with the mouse: an angle cell's arrow opens its list and a click picks an
// entry, the pop-up staying open; a click on the names then takes the angles.
TEST_F(EntityCellsTest, AnglesAreChosenInThePopupWithTheMouse)
{
    auto* mangle = Place<CGridMangleControl>(kMangleRow, "0 45 0");
    ASSERT_NE(nullptr, mangle);
    mangle->OnClickedButton(mangle->GetButton());
    CGridMangle* popup = mangle->GetPopup();
    ASSERT_NE(nullptr, popup);
    afxtest::PumpMessages();
    auto inPopup = [&](ROWCOL row, ROWCOL col, int dx) {
        CRect cell = popup->CalcCellRect(row, col);
        CPoint pt(dx < 0 ? cell.right + dx : cell.left + dx, cell.CenterPoint().y);
        popup->ClientToScreen(&pt);
        return pt;
    };
    afxtest::InputScript arrow;
    arrow.MoveTo(inPopup(CGridMangle::kYaw, 2, -8)).Click();
    ASSERT_TRUE(arrow.Run());
    ASSERT_EQ(popup, mangle->GetPopup());
    auto* yaw = dynamic_cast<CGridAngleComboBox*>(popup->GetCellControl(CGridMangle::kYaw, 2));
    ASSERT_NE(nullptr, yaw);
    ASSERT_TRUE(yaw->IsDropListVisible());
    CListBox* list = yaw->GetListBox();
    CRect item;
    list->GetItemRect(4, &item);    // "180"
    list->ClientToScreen(&item);
    afxtest::InputScript pick;
    pick.MoveTo(item.CenterPoint()).Click();
    ASSERT_TRUE(pick.Run());
    EXPECT_FALSE(yaw->IsDropListVisible());
    ASSERT_EQ(popup, mangle->GetPopup());
    afxtest::InputScript names;
    names.MoveTo(inPopup(CGridMangle::kRoll, 1, 5)).Click();
    ASSERT_TRUE(names.Run());
    EXPECT_EQ(nullptr, mangle->GetPopup());
    EXPECT_STREQ("0 180 0", mangle->GetEditText());
}
