#include "MapView.h"
#include "MapText.h"
#include "Brush.h"
#include "MapEditing.h"
#include "Entity.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "Reporter.h"
#include "Tokenizer.h"
#include "ViewServices.h"
#include "ViewsRes.h"
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CMapView, CScrollView)

BEGIN_MESSAGE_MAP(CMapView, CScrollView)
    ON_UPDATE_COMMAND_UI(ID_PANE_SIZE, OnUpdatePaneSize)
    ON_UPDATE_COMMAND_UI(ID_PANE_ENTITY, OnUpdatePaneEntity)
END_MESSAGE_MAP()

CString LoadViewString(UINT nID)
{
    CString s;
    if (!s.LoadString(nID))
        s.Empty();
    return s;
}

CMapView::CMapView()
    : m_nViewType(-1), m_scale(0.375f), m_nGrid(16), m_snapAngle(22.5), m_nGridPixels(6), m_ptAnchor(0, 0),
      m_ptScrollAtPress(0, 0), m_nState(-1), m_ptLastMouse(0, 0), m_bReleasing(FALSE)
{
    if (!m_font.CreatePointFont(80, "MS Sans Serif"))
        Report().Fatal("Couldn't create 8 point MS Sans Serif font");
}

CMapView::~CMapView()
{
    m_font.DeleteObject();
}

void CMapView::ReleaseMouse()
{
    m_bReleasing = TRUE;
    ::ReleaseCapture();
    m_bReleasing = FALSE;
}

void CMapView::EndDrag()
{
    const int state = m_nState;
    ReleaseMouse();
    m_nState = -1;
    FinishDrag(state);
}

void CMapView::FinishDrag(int) {}

void CMapView::EndDragBeforeCommand()
{
    if (m_hWnd && GetCapture() == this)
        EndDrag();
}

Map* CMapView::GetMap() const
{
    return static_cast<Map*>(GetDocument());
}

int CMapView::GetPlaneType() const
{
    return m_nViewType == VIEW_XZ || m_nViewType == VIEW_YZ ? m_nViewType : VIEW_XY;
}

void CMapView::OnInitialUpdate()
{
    ShowScrollBar(SB_BOTH, FALSE);
    CScrollView::OnInitialUpdate();
    UpdateTitle();
}

void CMapView::OnUpdate(CView*, LPARAM lHint, CObject*)
{
    if (lHint == HINT_VIEW_TYPE)
        UpdateTitle();
}

void CMapView::OnDraw(CDC*) {}

CString CMapView::MakeTitle(LPCSTR pathName, int viewType)
{
    int type = viewType == VIEW_XZ || viewType == VIEW_YZ ? viewType : VIEW_XY;
    CString view = LoadViewString(IDS_VIEW_TITLE_BASE + type);
    CString path(pathName ? pathName : "");
    if (path.IsEmpty())
        return view;
    int cut = path.ReverseFind('\\');
    if (cut < 0)
        cut = path.ReverseFind('/');
    if (cut < 0)
        cut = path.ReverseFind(':');
    CString name = cut >= 0 ? path.Mid(cut + 1) : path;
    int dot = name.ReverseFind('.');
    if (dot >= 0)
        name = name.Left(dot);
    return name + " - " + view;
}

void CMapView::UpdateTitle()
{
    Map* pMap = GetMap();
    // An undecided view takes the pending type once one of the plane types is pending; until
    // then it shows itself as XY.
    if (m_nViewType == -1 && pMap) {
        int pending = pMap->GetViewType();
        if (pending == VIEW_XY || pending == VIEW_XZ || pending == VIEW_YZ)
            m_nViewType = pending;
    }
    CFrameWnd* pFrame = m_hWnd ? GetParentFrame() : nullptr;
    if (!pFrame)
        return;
    pFrame->SetWindowText(MakeTitle(pMap ? static_cast<LPCSTR>(pMap->GetPathName()) : "", m_nViewType));
}

void CMapView::SetScale(float scale)
{
    m_scale = scale;
    if (IsKindOf(RUNTIME_CLASS(CMapXYView)))
        Report().Status("Plane Scale Set To %4.1f%%", static_cast<double>(scale) * 100.0);
    else
        Report().Status("Depth Scale Set To %4.1f%%", static_cast<double>(scale) * 100.0);
    if (m_hWnd) {
        ShowScrollBar(SB_BOTH, FALSE);
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->RecalcLayout(TRUE);
    }
}

void CMapView::SetGrid(int grid)
{
    m_nGrid = grid;
    Report().Status("Grid Set To %d", grid);
}

void CMapView::SetSnapAngle(double degrees)
{
    m_snapAngle = degrees;
    Report().Status("Snap-To-Angle Set To %4.1f Degrees", degrees);
}

int CMapView::ComputeGridPixels(int grid, float scale, int canvasHeight)
{
    int g = static_cast<int>(static_cast<double>(grid) * static_cast<double>(scale));
    if (g < 4 || g >= canvasHeight)
        return 0;
    return g;
}

BOOL CMapView::IsGridShown() const
{
    CMapFrame* pFrame = GetMapFrame();
    return pFrame ? pFrame->IsGridShown() : TRUE;
}

BOOL CMapView::IsSnapToGrid() const
{
    CMapFrame* pFrame = GetMapFrame();
    return pFrame ? pFrame->IsSnapToGrid() : TRUE;
}

BOOL CMapView::IsSnapToAngle() const
{
    CMapFrame* pFrame = GetMapFrame();
    return pFrame ? pFrame->IsSnapToAngle() : TRUE;
}

// ---------------------------------------------------------------------------
// Canvas and world

void CMapView::DeviceToWorldY(int& v) const
{
    int h2 = CanvasSize().cy >> 1;
    v = static_cast<int>(static_cast<double>(h2 - v) / static_cast<double>(m_scale));
}

void CMapView::DeviceToWorld(CPoint& p) const
{
    CSize c = CanvasSize();
    p.x = static_cast<int>(static_cast<double>(p.x - (c.cx >> 1)) / static_cast<double>(m_scale));
    p.y = static_cast<int>(static_cast<double>((c.cy >> 1) - p.y) / static_cast<double>(m_scale));
}

void CMapView::DeviceRectToWorld(CRect& r) const
{
    CPoint tl(r.left, r.top), br(r.right, r.bottom);
    DeviceToWorld(tl);
    DeviceToWorld(br);
    r.SetRect(tl.x, tl.y, br.x, br.y);
}

void CMapView::WorldToDevice(int& v) const
{
    v = static_cast<int>(static_cast<double>(v) * static_cast<double>(m_scale)) + (CanvasSize().cy >> 1);
}

void CMapView::SnapToGrid(CPoint& p) const
{
    int g = m_nGridPixels;
    if (g == 0)
        return;
    auto snap = [g](LONG& v) {
        int r = v % g;
        v -= r;
        if (r >= (g >> 1))
            v += g;
    };
    snap(p.x);
    snap(p.y);
}

int CMapView::GridFloor(int v) const
{
    int g = m_nGridPixels;
    return g == 0 ? v : v - v % g;
}

int CMapView::GridCeil(int v) const
{
    int g = m_nGridPixels;
    if (g == 0)
        return v;
    int r = v % g;
    return r == 0 ? v : v - r + g;
}

double CMapView::SnapAngle(double radians) const
{
    // A snap angle of zero or less would divide by zero: the angle stays as it is.
    if (!(m_snapAngle > 0.0))
        return radians;
    double d = radians * 57.29577791868204;
    if (d < 0)
        d += 360.0;
    double r = std::fmod(d, m_snapAngle);
    d -= r;
    // The degree constant is a little below 180/pi: a half step that went in as radians comes
    // back a hair short of it and still rounds up.
    if (r >= m_snapAngle * 0.5 - 1e-6)
        d += m_snapAngle;
    if (d > 180.0)
        d -= 360.0;
    return d * 0.017453293005625408;
}

double CMapView::RadiansToSnappedDegrees(double radians) const
{
    double d = SnapAngle(radians) * 57.29577791868204;
    if (d < 0)
        d += 360.0;
    return d;
}

// ---------------------------------------------------------------------------
// Importing map text

// A name that begins a sentence of a box ("the pasted map text" or a path).
static CString AtSentenceStart(const CString& name)
{
    CString text = name;
    if (!text.IsEmpty() && text[0] >= 'a' && text[0] <= 'z')
        text.SetAt(0, static_cast<char>(text[0] - 'a' + 'A'));
    return text;
}

BOOL CMapView::ImportMapText(char* text, size_t length, LPCSTR name, CImportPlacement* place)
{
    Map* pMap = GetMap();
    if (!pMap || !text)
        return FALSE;
    // What was read and has not joined the map goes when the import ends.
    std::vector<std::unique_ptr<Entity>> read;
    // Runs inside window procedures, drops and an open clipboard: nothing may escape.
    try {
        const CString label = name ? name : "the pasted map text";
        const CString utf16 = Utf16Reason(text, length);
        if (!utf16.IsEmpty()) {
            Report().Box(MB_OK, "%s %s\nNothing was imported.", static_cast<LPCSTR>(label),
                         static_cast<LPCSTR>(utf16));
            return FALSE;
        }
        // A world in the text gives its brushes to the map's world, and goes.
        auto joinsTheWorld = [pMap](Entity* e) {
            return lstrcmpA(e->ValueForKey("classname"), "worldspawn") == 0 && pMap->GetWorldEntity();
        };
        CObjectEdit edit;
        {
            // What the read tells (its read errors, a brush skipped, an entity without a class or of
            // a class the project does not define) waits until the import is sure to add something:
            // an import refused whole leaves the map, its selection and its messages as they were,
            // and only its one box says why.
            CHeldBoxes held;
            // Why a block stopped the whole read, and whether the reader has told it already.
            CString stopped;
            bool stoppedTold = false;
            {
                CTokenizer tok;
                tok.Init(text, length);
                // Read errors of the whole text are told once per kind.
                CMapReadReport report(label);
                // Read where the text has the objects: whoever places them moves them after, whole
                // or not at all.
                const short offset[3] = {0, 0, 0};
                while (tok.PeekToken()) {
                    // Text before the first entity or between two is passed over and told, as an
                    // open does.
                    if (PassOverTextOutsideEntities(tok))
                        continue;
                    Entity* e = nullptr;
                    try {
                        e = new Entity(tok, offset);
                    } catch (CEntityReadError& err) {
                        // The reader has shown its message, held with the others; what was read
                        // before stays imported, and when it adds nothing the reason is the one box.
                        if (err.stopReading) {
                            stopped = err.message;
                            stoppedTold = true;
                            break;
                        }
                        continue;
                    } catch (CBrushGeometryError& err) {
                        stopped = err.message;
                        break;
                    } catch (CMapFormatError& err) {
                        stopped.Format("%s is in the Valve 220 format (texture axes in [ ] on line %d), which this "
                                       "editor does not read.",
                                       static_cast<LPCSTR>(AtSentenceStart(label)), err.line);
                        break;
                    }
                    if (!e->FindValue("classname")) {
                        delete e;
                        Report().Box(MB_OK, "Entity doesn't have a classname!");
                        continue;
                    }
                    read.emplace_back(e);
                }
                if (!read.empty() && !stopped.IsEmpty() && !stoppedTold)
                    Report().Box(MB_OK, "%s", static_cast<LPCSTR>(stopped));
            }
            // A world read gives the map's world its brushes and goes: without them it adds nothing.
            const bool addsNothing = std::all_of(read.begin(), read.end(), [&](const std::unique_ptr<Entity>& e) {
                return e->GetBrushCount() == 0 && joinsTheWorld(e.get());
            });
            // Nothing read (no entity, or every block passed over or dropped), or nothing but a world
            // without brushes, is no import: the text is refused as a whole, as an open refuses it,
            // and the one box says why.
            if (addsNothing) {
                held.Forget();
                if (!stopped.IsEmpty())
                    Report().Box(MB_OK, "%s", static_cast<LPCSTR>(stopped));
                else if (!read.empty())
                    Report().Box(MB_OK,
                                 "%s holds nothing to import: only a world with no brush that this editor can "
                                 "read.\nNothing was imported.",
                                 static_cast<LPCSTR>(AtSentenceStart(label)));
                else if (OnlyBlanksAndComments(text, text + length))
                    Report().Box(MB_OK, "%s holds nothing but blanks and comments.\nNothing was imported.",
                                 static_cast<LPCSTR>(AtSentenceStart(label)));
                else
                    Report().Box(MB_OK,
                                 "%s holds no entity that this editor can read, yet it is not empty: it holds more "
                                 "than blanks and comments (it may not be map text, or it may be damaged).\nNothing "
                                 "was imported.",
                                 static_cast<LPCSTR>(AtSentenceStart(label)));
                return FALSE;
            }

            // The placement is checked on the objects read, before one joins the map: refused, the
            // import adds nothing.
            if (place) {
                CPtrList objects;
                for (const auto& e : read) {
                    if (e->GetBrushCount() == 0) {
                        if (!joinsTheWorld(e.get()))
                            objects.AddTail(e.get());
                        continue;
                    }
                    for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;)
                        objects.AddTail(e->GetBrushes().GetNext(bp));
                }
                place->AddMoves(objects, edit);
                int brushes = 0, entities = 0;
                if (edit.CountRefused(&brushes, &entities) > 0) {
                    held.Forget();
                    CMoveRangeReport::TellRefusedPlacement(place->Verb(), brushes, entities);
                    return FALSE;
                }
            }
        } // the read's boxes come up now
        if (place)
            place->Joining();

        pMap->DeselectAll();
        pMap->SetModifiedFlag(TRUE);
        for (auto& owned : read) {
            Entity* e = owned.release();
            e->SetMap(pMap);
            e->Select();
            if (joinsTheWorld(e)) {
                pMap->GetWorldEntity()->TakeBrushes(*e, true);
                e->RemoveAllBrushes();
                delete e;
            } else {
                pMap->AddEntity(e);
            }
        }
        read.clear();

        // The selection is exactly what was imported: everything was deselected first.
        CPtrList& sel = pMap->GetSelection();
        sel.RemoveAll();
        for (POSITION pos = pMap->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(pMap->GetEntities().GetNext(pos));
            if (e->GetBrushCount() == 0) {
                if (e->SThing::IsSelected())
                    sel.AddTail(e);
                continue;
            }
            for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
                Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
                if (b->IsSelected())
                    sel.AddTail(b);
            }
        }
        int count = sel.GetCount();
        Report().Status(count == 1 ? "%d object imported" : "%d objects imported", count);

        // The common texture of an all-brush selection, and the one entity that owns it all.
        pMap->UpdateCurrentTexture();
        pMap->UpdateCurrentEntity();
        if (place) {
            // The read has told of the classes that the project does not define.
            CUnknownClassReport told;
            edit.Apply();
            told.Forget();
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Frame, lists and status panes

CMapFrame* CMapView::GetMapFrame() const
{
    if (!m_hWnd)
        return nullptr;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMapFrame)))
        return static_cast<CMapFrame*>(pFrame);
    return nullptr;
}

CPtrList& CMapView::GetDrawList()
{
    CMapFrame* pFrame = GetMapFrame();
    Map* pMap = GetMap();
    if (GetViewServices()->IsLinkClipping() || !pFrame) {
        static CPtrList empty;
        return pMap ? pMap->GetVisibleList() : empty;
    }
    return pFrame->GetObjectOrder();
}

CString CMapView::SizePaneText()
{
    Map* pMap = GetMap();
    CString text;
    if (pMap && pMap->GetSelectionCount() == 1) {
        short box[6];
        pMap->GetSelectionBounds(box);
        text.Format("Size: %d x %d x %d", box[1] - box[0], box[3] - box[2], box[5] - box[4]);
    }
    return text;
}

CString CMapView::EntityPaneText()
{
    Map* pMap = GetMap();
    CString text;
    Entity* e = pMap ? pMap->GetCurrentEntity() : nullptr;
    if (e) {
        const CString* v = e->FindValue("_desc");
        if (!v)
            v = e->FindValue("classname");
        text.Format("Entity: %s", v ? static_cast<LPCSTR>(*v) : "Unknown");
    } else {
        text = pMap && pMap->GetSelectionCount() > 0 ? "Multiple Selected" : "None Selected";
    }
    return text;
}

void CMapView::OnUpdatePaneSize(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(SizePaneText());
}

void CMapView::OnUpdatePaneEntity(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(EntityPaneText());
}

HCURSOR CMapView::LoadViewCursor(UINT nID)
{
    HCURSOR h = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    return h ? h : ::LoadCursorA(nullptr, IDC_ARROW);
}
