// The editing dialogs, created for real and driven through the seam.
#include "EditDialogs.h"
#include "EditDialogsRes.h"
#include "ViewsFixture.h"
#include "afxseam.h"
#include <functional>
#include <memory>
#include <string>

namespace {

class EditDialogsTest : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        AfxSeamReset();
    }
    void TearDown() override
    {
        AfxSeamReset();
        ViewsTest::TearDown();
    }
    static int MessageBoxes()
    {
        int n = 0;
        for (const AfxModalCall& c : AfxSeamCalls())
            n += c.kind == AFX_MODAL_MESSAGEBOX;
        return n;
    }
    static CString Text(HWND dlg, int id)
    {
        char buf[128] = "";
        ::GetDlgItemTextA(dlg, id, buf, sizeof buf);
        return buf;
    }
};

} // namespace

TEST_F(EditDialogsTest, TypedValuesAreAcceptedOrRefusedWithTheDialogKeptOpen)
{
    struct Case
    {
        const char* name;
        std::function<CDialog*()> make;
        int field;
        const char* typed;
        bool accepted;
    } cases[] = {
        {"rotate 359.9", [] { return new CArrayDlg; }, IDC_ROTATE_X, "359.9", true},
        {"rotate 360", [] { return new CArrayDlg; }, IDC_ROTATE_Y, "360", false},
        {"move 8192", [] { return new CArrayDlg; }, IDC_MOVE_Z, "8192", true},
        {"move 8193", [] { return new CArrayDlg; }, IDC_MOVE_X, "8193", false},
        {"scale 0.05", [] { return new CArrayDlg; }, IDC_SCALE_X, "0.05", false},
        {"total 0", [] { return new CArrayDlg; }, IDC_ARRAY_TOTAL, "0", false},
        {"total 32768", [] { return new CArrayDlg; }, IDC_ARRAY_TOTAL, "32768", true},
        {"cylinder 16", [] { return new CCylinderDlg; }, IDC_SIDES, "16", true},
        {"cylinder 17", [] { return new CCylinderDlg; }, IDC_SIDES, "17", false},
        {"cone 254", [] { return new CConeDlg; }, IDC_SIDES, "254", true},
        {"cone 300", [] { return new CConeDlg; }, IDC_SIDES, "300", false},
        {"cone 2", [] { return new CConeDlg; }, IDC_SIDES, "2", false},
        {"room 512", [] { return new CRoomDlg; }, IDC_ROOM_THICKNESS, "512", true},
        {"room 513", [] { return new CRoomDlg; }, IDC_ROOM_THICKNESS, "513", false},
        // Not a number: refused alike by every dialog.
        {"room 8x", [] { return new CRoomDlg; }, IDC_ROOM_THICKNESS, "8x", false},
        {"total 8x", [] { return new CArrayDlg; }, IDC_ARRAY_TOTAL, "8x", false},
        {"cylinder 8x", [] { return new CCylinderDlg; }, IDC_SIDES, "8x", false},
        {"cone 8x", [] { return new CConeDlg; }, IDC_SIDES, "8x", false},
        {"cone empty", [] { return new CConeDlg; }, IDC_SIDES, "", false},
        {"target door2", [] { return new CCreateTargetsDlg; }, IDC_TARGET_NAME, "door2", true},
        {"target with a quote", [] { return new CCreateTargetsDlg; }, IDC_TARGET_NAME, "door\"2", false},
    };
    for (const Case& c : cases) {
        AfxSeamReset();
        std::unique_ptr<CDialog> dlg(c.make());
        bool stayedOpen = false;
        AfxSeamDrive([&](AfxModalCall& call) {
            ::SetDlgItemTextA(call.hWnd, c.field, c.typed);
            AfxSeamPressButton(call.hWnd, IDOK);
            stayedOpen = ::IsWindow(call.hWnd) && ::IsWindowVisible(call.hWnd) && MessageBoxes() > 0;
            if (stayedOpen)
                AfxSeamPressButton(call.hWnd, IDCANCEL);
        });
        if (!c.accepted)
            AfxSeamAnswer(IDOK); // the range message
        INT_PTR result = dlg->DoModal();
        EXPECT_EQ(c.accepted ? IDOK : IDCANCEL, result) << c.name;
        EXPECT_EQ(c.accepted ? 0 : 1, MessageBoxes()) << c.name;
        EXPECT_EQ(!c.accepted, stayedOpen) << c.name;
    }
}

TEST_F(EditDialogsTest, ArrayStartsFromTheDefaultsAndItsGettersSayWhatIsSet)
{
    CArrayDlg dlg;
    float x, y, z;
    EXPECT_EQ(0, dlg.GetMove(x, y, z));
    EXPECT_EQ(0, dlg.GetRotate(x, y, z));
    EXPECT_EQ(0, dlg.GetScale(x, y, z));
    EXPECT_EQ(4, dlg.GetCount());
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("Array", call.caption);
        EXPECT_EQ(100.0, atof(Text(call.hWnd, IDC_SCALE_Z)));
        ::SetDlgItemTextA(call.hWnd, IDC_MOVE_Y, "77");
        // Reset puts the defaults back.
        AfxSeamPressButton(call.hWnd, IDC_ARRAY_RESET);
        EXPECT_EQ(0.0, atof(Text(call.hWnd, IDC_MOVE_Y)));
        EXPECT_EQ(4, atoi(Text(call.hWnd, IDC_ARRAY_TOTAL)));
        ::SetDlgItemTextA(call.hWnd, IDC_SCALE_Z, "50");
        ::SetDlgItemTextA(call.hWnd, IDC_ARRAY_TOTAL, "7");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, dlg.GetScale(x, y, z));
    EXPECT_EQ(50.0f, z);
    EXPECT_EQ(100.0f, x);
    EXPECT_EQ(0, dlg.GetMove(x, y, z));
    EXPECT_EQ(7, dlg.GetCount());
}

TEST_F(EditDialogsTest, ProfileValuesAreWrittenOnOkOnlyAndReadNextTime)
{
    {
        CRoomDlg dlg;
        EXPECT_EQ(16, dlg.GetThickness());
        EXPECT_TRUE(dlg.IsInward());
        AfxSeamDrive([&](AfxModalCall& call) {
            EXPECT_EQ(1u, ::IsDlgButtonChecked(call.hWnd, IDC_ROOM_INWARD));
            ::SetDlgItemTextA(call.hWnd, IDC_ROOM_THICKNESS, "24");
            ::CheckRadioButton(call.hWnd, IDC_ROOM_INWARD, IDC_ROOM_OUTWARD, IDC_ROOM_OUTWARD);
            AfxSeamPressButton(call.hWnd, IDOK);
        });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_FALSE(dlg.IsInward());
    }
    EXPECT_EQ(24, services->GetProfileInt("Create Room", "Wall Thickness", 0));
    EXPECT_EQ(1, services->GetProfileInt("Create Room", "Inward", 0));
    {
        CRoomDlg dlg;
        EXPECT_EQ(24, dlg.GetThickness());
        EXPECT_FALSE(dlg.IsInward());
    }
    // Cancel writes nothing.
    {
        CConeDlg dlg;
        EXPECT_EQ(8, dlg.GetSides());
        AfxSeamDrive([&](AfxModalCall& call) {
            EXPECT_EQ(8, atoi(Text(call.hWnd, IDC_SIDES)));
            ::SetDlgItemTextA(call.hWnd, IDC_SIDES, "12");
            AfxSeamPressButton(call.hWnd, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
    }
    EXPECT_EQ(-1, services->GetProfileInt("Create Cone", "Sides", -1));
    {
        CCylinderDlg dlg;
        AfxSeamDrive([&](AfxModalCall& call) {
            ::SetDlgItemTextA(call.hWnd, IDC_SIDES, "12");
            AfxSeamPressButton(call.hWnd, IDOK);
        });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(12, dlg.GetSides());
    }
    EXPECT_EQ(12, services->GetProfileInt("Create Cylinder", "Sides", -1));
    EXPECT_EQ(12, CCylinderDlg().GetSides());

    // Stored values outside the ranges are read into them.
    services->WriteProfileInt("Create Cylinder", "Sides", 99);
    services->WriteProfileInt("Create Cone", "Sides", -5);
    services->WriteProfileInt("Create Room", "Wall Thickness", 9999);
    EXPECT_EQ(16, CCylinderDlg().GetSides());
    EXPECT_EQ(3, CConeDlg().GetSides());
    EXPECT_EQ(512, CRoomDlg().GetThickness());
    services->WriteProfileInt("Create Room", "Wall Thickness", -1);
    EXPECT_EQ(0, CRoomDlg().GetThickness());
}

TEST_F(EditDialogsTest, CreateTargetsEnablesOkOnlyWithAName)
{
    CCreateTargetsDlg dlg;
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND ok = ::GetDlgItem(call.hWnd, IDOK);
        EXPECT_FALSE(::IsWindowEnabled(ok)) << "disabled at opening";
        EXPECT_EQ(::GetDlgItem(call.hWnd, IDC_TARGET_NAME), ::GetFocus());
        ::SetDlgItemTextA(call.hWnd, IDC_TARGET_NAME, "lift");
        EXPECT_TRUE(::IsWindowEnabled(ok));
        ::SetDlgItemTextA(call.hWnd, IDC_TARGET_NAME, "");
        EXPECT_FALSE(::IsWindowEnabled(ok));
        ::SetDlgItemTextA(call.hWnd, IDC_TARGET_NAME, "door");
        ::CheckDlgButton(call.hWnd, IDC_MAKE_CIRCULAR, BST_CHECKED);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_STREQ("door", dlg.GetTargetName());
    EXPECT_TRUE(dlg.GetMakeCircular());
}

TEST_F(EditDialogsTest, AboutShowsTheFreeMemory64BitSafe)
{
    EXPECT_STREQ("Free Memory: 5368709120 KB", CAboutDlg::FreeMemoryText(5ull << 40));
    EXPECT_STREQ("Free Memory: 1 KB", CAboutDlg::FreeMemoryText(2047));
    CAboutDlg dlg;
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("About Morvane", call.caption);
        EXPECT_EQ(0, Text(call.hWnd, IDC_FREE_MEMORY).Find("Free Memory: "));
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
}
