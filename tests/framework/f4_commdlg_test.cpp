// The common dialogs: answers through the test seam and the real dialogs under the system.
#include "afxtest.h"
#include "afxdlgs.h"
#include "f4_test_ids.h"
#include <dlgs.h>
#include <cstring>

namespace {

TEST(ColorDialog, AScriptChoosesTheColour)
{
    CColorDialog dlg(RGB(1, 2, 3));
    EXPECT_EQ(dlg.GetColor(), RGB(1, 2, 3));
    EXPECT_TRUE(dlg.m_cc.Flags & CC_RGBINIT);
    AfxSeamScript([](AfxModalCall& c) {
        static_cast<CColorDialog*>(c.pObject)->m_cc.rgbResult = RGB(200, 100, 50);
        return (INT_PTR)IDOK;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetColor(), RGB(200, 100, 50));
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].kind, AFX_MODAL_COMMONDIALOG);
    EXPECT_STREQ(AfxSeamCalls()[0].className, "CColorDialog");
}

// A colour dialog that sees its own window initialise.
class CProbeColorDialog : public CColorDialog
{
public:
    using CColorDialog::CColorDialog;
    int m_nInits = 0;
    bool m_bHasOK = false;
    BOOL OnInitDialog() override
    {
        m_nInits++;
        m_bHasOK = GetDlgItem(IDOK) != nullptr;
        return CColorDialog::OnInitDialog();
    }
};

TEST(ColorDialog, TheRealDialogRunsDrivenAndEndsWithItsButtons)
{
    CProbeColorDialog dlg(RGB(10, 20, 30));
    HWND hWndSeen = nullptr;
    AfxSeamDrive([&](AfxModalCall& c) {
        hWndSeen = c.hWnd;
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_NE(hWndSeen, nullptr);
    EXPECT_FALSE(::IsWindow(hWndSeen));
    EXPECT_EQ(dlg.m_nInits, 1);
    EXPECT_TRUE(dlg.m_bHasOK);
    EXPECT_EQ(dlg.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    // A driver that leaves it open: cancelled.
    AfxSeamDrive([](AfxModalCall&) {});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nInits, 2);
}

TEST(FileDialog, FilterDefaultsAndAScriptedPath)
{
    CFileDialog dlg(TRUE, "map", "start.map", OFN_HIDEREADONLY, "Maps (*.map)|*.map|All files (*.*)|*.*||");
    static const char s_filter[] = "Maps (*.map)\0*.map\0All files (*.*)\0*.*\0\0";
    EXPECT_EQ(memcmp(dlg.m_ofn.lpstrFilter, s_filter, sizeof s_filter), 0);
    EXPECT_STREQ(dlg.m_ofn.lpstrDefExt, "map");
    EXPECT_STREQ((LPCSTR)dlg.GetPathName(), "start.map");

    CString initial;
    AfxSeamScript([&](AfxModalCall& c) {
        initial = c.text;
        c.text = "C:\\maps\\e1m1.bak.map";
        return (INT_PTR)IDOK;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ((LPCSTR)initial, "start.map");
    EXPECT_STREQ((LPCSTR)dlg.GetPathName(), "C:\\maps\\e1m1.bak.map");
    EXPECT_STREQ((LPCSTR)dlg.GetFileName(), "e1m1.bak.map");
    EXPECT_STREQ((LPCSTR)dlg.GetFileExt(), "map");
    EXPECT_STREQ((LPCSTR)dlg.GetFileTitle(), "e1m1.bak");

    // Cancel keeps the name.
    AfxSeamScript([](AfxModalCall& c) {
        c.text = "C:\\other.map";
        return (INT_PTR)IDCANCEL;
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ((LPCSTR)dlg.GetPathName(), "C:\\maps\\e1m1.bak.map");
}

// The old-style dialog from our own template, with the hook that makes it a framework dialog.
class COldStyleFileDialog : public CFileDialog
{
public:
    COldStyleFileDialog() : CFileDialog(FALSE, nullptr, nullptr, 0, "(nofiles)|NOFILES.$$$||")
    {
        m_ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE;
        m_ofn.hInstance = AfxGetResourceHandle();
        m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_F4_OLDFILE);
        m_ofn.lpstrTitle = "Pick a folder";
    }
    CString m_strExtra;
    BOOL OnInitDialog() override
    {
        CWnd* pExtra = GetDlgItem(IDC_F4_EXTRA);
        if (pExtra != nullptr)
            pExtra->GetWindowText(m_strExtra);
        return CFileDialog::OnInitDialog();
    }
};

TEST(FileDialog, TheOldStyleTemplateWithItsHookRunsUnderTheSystem)
{
    char szDir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szDir);
    COldStyleFileDialog dlg;
    dlg.m_ofn.lpstrInitialDir = szDir;
    CString path = CString(szDir) + "morvane_f4_probe.txt";
    CString caption;
    AfxSeamDrive([&](AfxModalCall& c) {
        caption = c.caption;
        ::SetDlgItemTextA(c.hWnd, edt1, path);
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ((LPCSTR)dlg.m_strExtra, "Ours");
    EXPECT_STREQ((LPCSTR)caption, "Pick a folder");
    EXPECT_EQ(dlg.GetPathName().CompareNoCase(path), 0) << (LPCSTR)dlg.GetPathName();
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].nIDTemplate, (UINT)IDD_F4_OLDFILE);
}

TEST(FileDialog, TheExplorerStyleDialogCanBeDrivenToo)
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All files (*.*)|*.*||");
    HWND hWndSeen = nullptr;
    AfxSeamDrive([&](AfxModalCall& c) {
        hWndSeen = c.hWnd;
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_NE(hWndSeen, nullptr);
    EXPECT_FALSE(::IsWindow(hWndSeen));
}

// The Open and Save dialogs come up centred on the window that owns them.
TEST(FileDialog, OpenAndSaveComeUpCentredOnTheirOwner)
{
    HWND hOwner = ::CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 260, 800, 640,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hOwner, nullptr);
    CRect owner;
    ::GetWindowRect(hOwner, &owner);
    for (BOOL bOpen : {TRUE, FALSE}) {
        CFileDialog dlg(bOpen, "map", nullptr, OFN_HIDEREADONLY, "Maps (*.map)|*.map||", CWnd::FromHandle(hOwner));
        CRect shown;
        AfxSeamDrive([&](AfxModalCall& c) {
            ::GetWindowRect(c.hWnd, &shown);
            AfxSeamPressButton(c.hWnd, IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_NEAR(shown.CenterPoint().x, owner.CenterPoint().x, 2) << (bOpen ? "Open" : "Save");
        EXPECT_NEAR(shown.CenterPoint().y, owner.CenterPoint().y, 2) << (bOpen ? "Open" : "Save");
    }
    ::DestroyWindow(hOwner);
}

} // namespace
