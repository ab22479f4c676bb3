// The main frame's smaller commands: the palette, the web links, the tip of the day, target paths,
// the labels of child windows and the saved toolbar looks.
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapCameraFrame.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "Reporter.h"
#include "ShellRes.h"
#include "TextureLoader.h"
#include "TipDlg.h"
#include "SelectWadsDlg.h"
#include "Tokenizer.h"
#include "Thing.h"
#include "../res/resource.h"

static CEditorApp* EditorApp()
{
    return dynamic_cast<CEditorApp*>(AfxGetApp());
}

// ---------------------------------------------------------------------------
// Palette

BOOL CMainFrame::LoadPalette()
{
    BYTE data[768];
    if (!ReadPaletteData(data))
        return FALSE;
    HPALETTE hPalette = CreatePaletteOf(data);
    if (!hPalette)
        return FALSE;
    if (m_palette.GetSafeHandle())
        m_palette.DeleteObject();
    return m_palette.Attach(hPalette);
}

void CMainFrame::RealizePalette()
{
    if (!m_palette.GetSafeHandle())
        LoadPalette();
    HPALETTE hPalette = static_cast<HPALETTE>(m_palette.GetSafeHandle());
    if (!hPalette)
        return;
    HDC hDC = ::GetDC(m_hWnd);
    if (!hDC)
        return;
    HPALETTE hOld = ::SelectPalette(hDC, hPalette, FALSE);
    UINT changed = ::RealizePalette(hDC);
    if (changed != 0 && changed != GDI_ERROR)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (hOld)
        ::SelectPalette(hDC, hOld, TRUE);
    ::ReleaseDC(m_hWnd, hDC);
}

void CMainFrame::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (pFocusWnd == this)
        return;
    RealizePalette();
}

BOOL CMainFrame::OnQueryNewPalette()
{
    RealizePalette();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Web links

const char* const CMainFrame::s_webAddresses[5] = {
    "https://morvane.example.org/",
    "https://morvane.example.org/docs/",
    "https://morvane.example.org/news/",
    "https://morvane.example.org/support/",
    "https://morvane.example.org/support/",
};

BOOL CMainFrame::GetBrowserCommand(CString& command)
{
    CString type;
    if (!CEditorApp::RegReadRootString(".html", "", type)) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s", "Couldn't read .html key from system registry.");
        return FALSE;
    }
    if (!CEditorApp::RegReadRootString(type + "\\shell\\open\\command", "", command)) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s", "Couldn't read shell open command key from system registry.");
        return FALSE;
    }
    return TRUE;
}

CString CMainFrame::BrowserCommandLine(const CString& command, LPCSTR address)
{
    int at = command.Find("%1");
    if (at < 0)
        return command + " " + address;
    // "%1" stands for the address, quoted or not; only the first one is the address.
    return command.Left(at) + address + command.Mid(at + 2);
}

BOOL CMainFrame::OpenWebAddress(LPCSTR address)
{
    CString command;
    if (!GetBrowserCommand(command))
        return FALSE;
    CString line = BrowserCommandLine(command, address);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> buffer(line.GetLength() + 1);
    lstrcpynA(buffer.data(), line, static_cast<int>(buffer.size()));
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS | DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP,
                          nullptr, nullptr, &si, &pi)) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s", "Couldn't exec sub-process");
        return FALSE;
    }
    // The browser runs on its own: nothing of it is kept.
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return TRUE;
}

void CMainFrame::OnWebLink(UINT nID)
{
    static const UINT s_ids[5] = {ID_WEB_LINK_1, ID_WEB_LINK_2, ID_WEB_LINK_3, ID_WEB_LINK_4, ID_WEB_LINK_5};
    for (int i = 0; i < 5; ++i)
        if (s_ids[i] == nID)
            OpenWebAddress(s_webAddresses[i]);
}

// ---------------------------------------------------------------------------
// Tip of the day, target paths

void CMainFrame::OnTipOfTheDay()
{
    // The command shows the tip whatever "Show At Startup" says.
    if (CEditorApp* pApp = EditorApp())
        pApp->ShowTipOfDay();
}

void CMainFrame::OnToggleTargetPaths()
{
    Map* pMap = GetEditorServices()->GetActiveMap();
    if (!pMap)
        return;
    pMap->SetShowTargetPaths(!pMap->GetShowTargetPaths());
    pMap->UpdateAllViews(nullptr, HINT_TARGET_PATHS);
}

void CMainFrame::OnUpdateToggleTargetPaths(CCmdUI* pCmdUI)
{
    Map* pMap = GetEditorServices()->GetActiveMap();
    pCmdUI->Enable(pMap != nullptr);
    pCmdUI->SetCheck(pMap && pMap->GetShowTargetPaths());
}

// ---------------------------------------------------------------------------
// Child frame labels

CString CMainFrame::GetChildFrameLabel(CFrameWnd* pFrame)
{
    if (!pFrame)
        return CString();
    CString text;
    pFrame->GetWindowText(text);
    CDocument* pDoc = pFrame->GetActiveDocument();
    if (!pDoc)
        return text;
    // The file name after the last "\\", else the last "/", else the last ":", without its extension.
    CString path = pDoc->GetPathName();
    if (path.Find('\\') < 0)
        path.Replace('/', '\\');
    CString name = CompactWadName(path);
    if (pFrame->IsKindOf(RUNTIME_CLASS(CMapFrame))) {
        // The plan view names the frame (its depth view follows it).
        CMapXYView* pPlan = static_cast<CMapFrame*>(pFrame)->GetXYView();
        int type = pPlan ? pPlan->GetPlaneType() : VIEW_XY;
        UINT label = IDS_VIEW_LABEL_XY;
        if (type == VIEW_XZ)
            label = IDS_VIEW_LABEL_XZ;
        else if (type == VIEW_YZ)
            label = IDS_VIEW_LABEL_YZ;
        CString view;
        view.LoadString(label);
        return name + "-" + view;
    }
    if (pFrame->IsKindOf(RUNTIME_CLASS(CMapCameraFrame)))
        return name + "-3D";
    return text;
}

int CMainFrame::GetChildFrameFlag(CFrameWnd*)
{
    return 0;
}

// ---------------------------------------------------------------------------
// Toolbar looks ("Cool Look")

static const DWORD kLookBits = CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER | CBRS_EX_HIDEBUTTON | CBRS_EX_EXPANDBUTTON;

// Every docking bar of the frame (docked or floating), in the frame's order.
static std::vector<CControlBar*> DockingBars(CFrameWnd* pFrame)
{
    std::vector<CControlBar*> bars;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar && !pBar->IsDockBar() && pBar->IsKindOf(RUNTIME_CLASS(SECControlBar)))
            bars.push_back(pBar);
    }
    return bars;
}

void CMainFrame::SaveToolbarStyles()
{
    DWORD tool = 0, exTool = 0, exControl = 0;
    for (CControlBar* pBar : DockingBars(this)) {
        auto* pSecBar = static_cast<SECControlBar*>(pBar);
        if (pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) {
            exTool |= pSecBar->GetExBarStyle() & kLookBits;
            if (pBar->GetBarStyle() & 0x2)
                tool |= 0x2;
        } else {
            exControl |= pSecBar->GetExBarStyle() & kLookBits;
        }
    }
    CEditorServices* services = GetEditorServices();
    services->WriteProfileInt("Cool Look", "Tool Styles", static_cast<int>(tool));
    services->WriteProfileInt("Cool Look", "Ex-Tool Styles", static_cast<int>(exTool));
    services->WriteProfileInt("Cool Look", "Ex-Control Styles", static_cast<int>(exControl));
}

void CMainFrame::LoadToolbarStyles()
{
    CEditorServices* services = GetEditorServices();
    int tool = services->GetProfileInt("Cool Look", "Tool Styles", -1);
    int exTool = services->GetProfileInt("Cool Look", "Ex-Tool Styles", -1);
    int exControl = services->GetProfileInt("Cool Look", "Ex-Control Styles", -1);
    if (tool == -1 && exTool == -1 && exControl == -1)
        return;
    for (CControlBar* pBar : DockingBars(this)) {
        auto* pSecBar = static_cast<SECControlBar*>(pBar);
        BOOL isToolBar = pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar));
        // A group whose value is missing keeps its bars' looks.
        int looks = isToolBar ? exTool : exControl;
        if (looks != -1) {
            DWORD add = static_cast<DWORD>(looks) & kLookBits;
            DWORD remove = kLookBits & ~add;
            pSecBar->ModifyExBarStyle(remove, add, TRUE);
        }
        if (isToolBar && tool != -1) {
            DWORD style = pBar->GetBarStyle();
            pBar->SetBarStyle((tool & 0x2) ? (style | 0x2) : (style & ~0x2u));
        }
    }
    if (exTool != -1 && !(exTool & CBRS_EX_FLATLOOK))
        TurnOffCoolLook();
}

void CMainFrame::TurnOffCoolLook()
{
    if (m_pToolBarManager)
        m_pToolBarManager->EnableCoolLook(FALSE, 0xF00);
}
