// Shows the texture browser, the Texture Adjustment window or the Select Wads dialog over real
// WADs, for looking at them (with the shot tool); not a test.
//
//   texbrowser_view ROOT browser|recent|adjust|wads WAD...
#include "Brush.h"
#include "Entity.h"
#include "IniFile.h"
#include "Map.h"
#include "Reporter.h"
#include "SelectWadsDlg.h"
#include "Services.h"
#include "TextureAdjustDlg.h"
#include "TextureBrowser.h"
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    CWinApp app;
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    CDefaultEditorServices services;
    SetEditorServices(&services);
    CReporter reporter(&services);
    CReporter::Set(&reporter);
    services.WriteProfileString("Project Settings", "Root Path", argv[1]);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    CIniFile project(CString(temp) + "texbrowser_view.mpj");
    project.RemoveSection("Wads");
    project.WriteString("Paths", "Wads", "wads", TRUE);
    for (int i = 3; i < argc; ++i) {
        CString key;
        key.Format("File%d", i - 2);
        project.WriteString("Wads", key, argv[i], TRUE);
        services.GetWadList().AddTail(argv[i]);
    }
    services.SetProject(&project);
    CTextureLoader loader;
    SetTextureSource(&loader);

    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)), "Textures",
                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 740, nullptr, nullptr);
    CTextureBrowser browser(&loader);
    browser.Create(&host);
    CRect rc;
    host.GetClientRect(&rc);
    browser.MoveWindow(0, 0, rc.Width(), rc.Height());
    browser.ShowWindow(SW_SHOW);
    browser.SendMessage(WM_TEXTURE_INIT);
    browser.SendMessage(WM_TEXTURE_LOAD);
    // A few choices, so that the recent list, the marked and the current frames show.
    CComboBox* list = static_cast<CComboBox*>(browser.GetDlgItem(IDC_TEXTURE_LIST));
    for (int i : {7, 3, 1}) {
        if (i < list->GetCount())
            browser.SelectTexture(static_cast<Texture*>(list->GetItemDataPtr(i)));
        if (i == 3)
            browser.OnMarkTexture();
    }
    Map map;
    map.m_bAutoDelete = FALSE;
    CTextureAdjustDlg* adjust = nullptr;
    if (!std::strcmp(argv[2], "adjust")) {
        map.OnNewDocument();
        short box[6] = {0, 64, 0, 64, 0, 64};
        Brush* b = new Brush(map.GetWorldEntity(), box);
        map.GetWorldEntity()->AddBrush(b);
        Face& f = b->GetFaces()[0];
        f.xOffset = -16;
        f.yOffset = 600;
        f.rotation = 45;
        f.xScale = 0.5f;
        f.yScale = -2;
        services.SetActiveMap(&map);
        map.SetPickedFace(&f);
        adjust = new CTextureAdjustDlg(&host);
        adjust->Update(&f);
        adjust->SetWindowPos(nullptr, 330, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        adjust->ShowWindow(SW_SHOW);
    } else if (!std::strcmp(argv[2], "recent")) {
        browser.GetDlgItem(IDC_RECENT_TEXTURES)->SetFocus();
        browser.GetDlgItem(IDC_RECENT_TEXTURES)->PostMessage(CB_SHOWDROPDOWN, TRUE);
    } else if (!std::strcmp(argv[2], "wads")) {
        CSelectWadsDlg dlg(&host);
        dlg.DoModal();
    }
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (adjust && ::IsDialogMessageA(adjust->m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    SetTextureSource(nullptr);
    return 0;
}
