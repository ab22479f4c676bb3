#include "ViewServices.h"
#include <algorithm>
#include "Entity.h"
#include "Map.h"
#include "MapFrame.h"
#include "EditDialogs.h"
#include "MapXYView.h"

namespace {

struct ColorSetting
{
    LPCSTR key;
    DWORD def;
};

// The "Colors" value of each pen; the dotted pen shares the solid one's setting.
const ColorSetting kPenColors[CViewServices::PEN_COUNT] = {
    {"Grid", 0xE0E0E0},
    {"Tile", 0xC0C0C0},
    {"Brush", 0x000000},
    {"Entity", 0x0000FF},
    {"Selected Object", 0xFF0000},
    {"Rotate", 0x008000},
    {"Camera Eye", 0xFF8000},
    {"Texture Background", 0x000000},
    {"Selected Texture", 0xFF0000},
    {"Selected Texture", 0xFF0000},
    {"Texture Background", 0x000000},
};

const ColorSetting kBrushColors[CViewServices::BRUSH_COUNT] = {
    {"Selected Object", 0xFF0000},
    {"Brush Scale", 0x000000},
};

CViewServices* g_pDefaultViewServices = nullptr;

} // namespace

CViewServices::CViewServices()
    : m_bColors(FALSE), m_bLinkClipping(TRUE), m_bClipToObject(FALSE), m_nMouseMode(MOUSE_SELECT),
      m_pViewActiveMap(nullptr)
{
    for (int i = 0; i < PEN_COUNT; ++i) {
        m_pens[i] = nullptr;
        m_penColors[i] = 0;
    }
    for (int i = 0; i < BRUSH_COUNT; ++i) {
        m_brushes[i] = nullptr;
        m_brushColors[i] = 0;
    }
    m_axis[0] = m_axis[1] = m_axis[2] = 0;
}

CViewServices::~CViewServices()
{
    DeleteColors();
}

COLORREF CViewServices::GetSettingColor(LPCSTR key, DWORD def)
{
    // The plain colour: memory bitmaps have no palette to be relative to.
    return ColorFromSetting(static_cast<DWORD>(GetProfileInt("Colors", key, static_cast<int>(def)))) & 0xFFFFFF;
}

void CViewServices::DeleteColors()
{
    for (int i = 0; i < PEN_COUNT; ++i) {
        delete m_pens[i];
        m_pens[i] = nullptr;
    }
    for (int i = 0; i < BRUSH_COUNT; ++i) {
        delete m_brushes[i];
        m_brushes[i] = nullptr;
    }
    m_bColors = FALSE;
}

void CViewServices::CreateColors()
{
    DeleteColors();
    for (int i = 0; i < PEN_COUNT; ++i) {
        m_penColors[i] = GetSettingColor(kPenColors[i].key, kPenColors[i].def);
        m_pens[i] = new CPen(i == PEN_TEX_SELECTED_DOTTED ? PS_DOT : PS_SOLID, 1, m_penColors[i]);
    }
    for (int i = 0; i < BRUSH_COUNT; ++i) {
        m_brushColors[i] = GetSettingColor(kBrushColors[i].key, kBrushColors[i].def);
        m_brushes[i] = new CBrush(m_brushColors[i]);
    }
    m_bColors = TRUE;
}

CPen* CViewServices::GetPen(int which)
{
    if (!m_bColors)
        CreateColors();
    return which >= 0 && which < PEN_COUNT ? m_pens[which] : nullptr;
}

HPEN CViewServices::GetTexturePen(TexturePen which)
{
    switch (which) {
    case CEditorServices::PEN_SELECTED_TEXTURE: return static_cast<HPEN>(GetPen(PEN_TEX_SELECTED)->m_hObject);
    case CEditorServices::PEN_SELECTED_TEXTURE_DOTTED:
        return static_cast<HPEN>(GetPen(PEN_TEX_SELECTED_DOTTED)->m_hObject);
    case CEditorServices::PEN_TEXTURE_BACKGROUND: return static_cast<HPEN>(GetPen(PEN_TEX_BACKGROUND)->m_hObject);
    }
    return nullptr;
}

CBrush* CViewServices::GetBrush(int which)
{
    if (!m_bColors)
        CreateColors();
    return which >= 0 && which < BRUSH_COUNT ? m_brushes[which] : nullptr;
}

COLORREF CViewServices::GetPenColor(int which)
{
    if (!m_bColors)
        CreateColors();
    return which >= 0 && which < PEN_COUNT ? m_penColors[which] : 0;
}

COLORREF CViewServices::GetBrushColor(int which)
{
    if (!m_bColors)
        CreateColors();
    return which >= 0 && which < BRUSH_COUNT ? m_brushColors[which] : 0;
}

CPen* CViewServices::GetEntityPen(LPCSTR)
{
    return nullptr;
}

COLORREF CViewServices::GetEntityColor(LPCSTR className)
{
    if (CPen* pen = GetEntityPen(className)) {
        LOGPEN lp;
        if (::GetObjectA(pen->m_hObject, sizeof lp, &lp))
            return lp.lopnColor;
    }
    if (className && lstrcmpA(className, "worldspawn") == 0)
        return GetSettingColor("Brush", 0x000000);
    return GetSettingColor("Entity", 0x0000FF);
}

void CViewServices::GetAxisRestrictions(int& x, int& y, int& z)
{
    x = m_axis[0];
    y = m_axis[1];
    z = m_axis[2];
}

void CViewServices::SetAxisRestrictions(int x, int y, int z)
{
    m_axis[0] = x ? 1 : 0;
    m_axis[1] = y ? 1 : 0;
    m_axis[2] = z ? 1 : 0;
}

Map* CViewServices::GetActiveMap()
{
    return m_pViewActiveMap;
}

CMapFrame* CViewServices::GetActiveMapFrame()
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return nullptr;
    CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pMain)->MDIGetActive();
    if (!pChild || !pChild->IsKindOf(RUNTIME_CLASS(CMapFrame)))
        return nullptr;
    return static_cast<CMapFrame*>(pChild);
}

int CViewServices::GetActivePlaneType()
{
    CMapFrame* pFrame = GetActiveMapFrame();
    CMapXYView* pView = pFrame ? pFrame->GetXYView() : nullptr;
    return pView ? pView->GetPlaneType() : 255;
}

BOOL CViewServices::AskPrimitiveSides(BOOL bCone, int& sides)
{
    if (bCone) {
        CConeDlg dlg(AfxGetMainWnd());
        if (dlg.DoModal() != IDOK)
            return FALSE;
        sides = dlg.GetSides();
        return TRUE;
    }
    CCylinderDlg dlg(AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return FALSE;
    sides = dlg.GetSides();
    return TRUE;
}

CPtrList* CViewServices::GetActiveObjectOrder(Map* pMap)
{
    CMapFrame* pFrame = GetActiveMapFrame();
    if (!pFrame || !pMap || pFrame->GetActiveDocument() != pMap)
        return nullptr;
    return &pFrame->GetObjectOrder();
}

void CViewServices::RebuildObjectOrders(Map* pMap)
{
    if (!pMap)
        return;
    // Each plane view belongs to one frame; its frame's list is rebuilt from its depth range.
    std::vector<CMapFrame*> frames;
    for (POSITION pos = pMap->GetFirstViewPosition(); pos;) {
        CView* pView = pMap->GetNextView(pos);
        if (!pView)
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (!pFrame || !pFrame->IsKindOf(RUNTIME_CLASS(CMapFrame)))
            continue;
        CMapFrame* pMapFrame = static_cast<CMapFrame*>(pFrame);
        bool seen = false;
        for (CMapFrame* f : frames)
            seen = seen || f == pMapFrame;
        if (!seen)
            frames.push_back(pMapFrame);
    }
    for (CMapFrame* f : frames)
        f->RebuildObjectOrder();
}

namespace {
struct ComboSearch
{
    const UINT* ids;
    int count;
    std::vector<HWND>* found;
};
} // namespace

static BOOL CALLBACK CollectCombo(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ComboSearch*>(lParam);
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(hWnd));
    for (int i = 0; i < search->count; ++i) {
        if (id != search->ids[i])
            continue;
        char cls[32] = "";
        ::GetClassNameA(hWnd, cls, sizeof cls);
        // A docked toolbar is reached twice: as a bar of its own and inside its dock bar.
        std::vector<HWND>& found = search->found[i];
        if (lstrcmpiA(cls, "ComboBox") == 0 && std::find(found.begin(), found.end(), hWnd) == found.end())
            found.push_back(hWnd);
    }
    return TRUE;
}

void CViewServices::FindCombos(UINT nID, std::vector<HWND>& combos)
{
    FindCombos(&nID, 1, &combos);
}

void CViewServices::FindCombos(const UINT* ids, int count, std::vector<HWND>* combos)
{
    for (int i = 0; i < count; ++i)
        combos[i].clear();
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return;
    // The frame's bar list holds floating bars as well, whose windows lie in mini frames that
    // are no descendants of the main frame.
    ComboSearch search = {ids, count, combos};
    CPtrList& bars = static_cast<CFrameWnd*>(pMain)->m_listControlBars;
    std::vector<HWND> searched;
    for (POSITION pos = bars.GetHeadPosition(); pos;) {
        CWnd* pBar = static_cast<CWnd*>(bars.GetNext(pos));
        if (!pBar || !::IsWindow(pBar->m_hWnd))
            continue;
        // A bar docked in a dock bar searched before has had all its windows searched with it:
        // searched again, it would only find the combos found already.
        HWND hBar = pBar->m_hWnd;
        if (std::any_of(searched.begin(), searched.end(), [hBar](HWND h) { return ::IsChild(h, hBar); }))
            continue;
        ::EnumChildWindows(hBar, CollectCombo, reinterpret_cast<LPARAM>(&search));
        searched.push_back(hBar);
    }
}

HWND CViewServices::FindCombo(UINT nID)
{
    std::vector<HWND> combos;
    FindCombos(nID, combos);
    return combos.empty() ? nullptr : combos.front();
}

void CViewServices::EnableCombos(UINT nID, BOOL bEnable)
{
    std::vector<HWND> combos;
    FindCombos(nID, combos);
    for (HWND hCombo : combos)
        ::EnableWindow(hCombo, bEnable);
}

CViewServices* GetViewServices()
{
    if (auto* p = dynamic_cast<CViewServices*>(GetEditorServices()))
        return p;
    if (!g_pDefaultViewServices)
        g_pDefaultViewServices = new CViewServices;
    return g_pDefaultViewServices;
}

void SetViewServices(CViewServices* pServices)
{
    SetEditorServices(pServices);
}
