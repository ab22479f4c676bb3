// The plane view's editing commands: object files, Assign to World, Select Fully/Partially
// Inside, Align, the brush dump, rotate by hand, Create Targets, Create Array and Create Room;
// and the frame's forwarding of them with their enable rules.
#include "Brush.h"
#include "EditCommands.h"
#include "EditDialogs.h"
#include "EditDialogsRes.h"
#include "Entity.h"
#include "Map.h"
#include "MapData.h"
#include "MapEditing.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "Services.h"
#include "ViewsRes.h"
#include "afxdlgs.h"
#include <cstdio>
#include <vector>

namespace {

// The filter of the map and object file dialogs.
CString MapFileFilter()
{
    CString filter = LoadViewString(252);
    return filter.IsEmpty() ? CString("Morvane Map Files|*.map|All Files|*.*|") : filter;
}

CString FolderOf(const CString& path)
{
    int cut = path.ReverseFind('\\');
    if (cut < 0)
        cut = path.ReverseFind('/');
    return cut > 0 ? path.Left(cut) : CString();
}

// The system's reason for an error, at most 256 characters.
CString ReasonText(DWORD error)
{
    CString reason = AfxGetSystemErrorText(error);
    return reason.GetLength() > 256 ? reason.Left(256) : reason;
}

const char kStatusRotatePoint[] = "Click and release the left mouse button to select the rotation point";

} // namespace

// ---------------------------------------------------------------------------
// Object files

BOOL CMapXYView::ReadObjectFile(LPCSTR path, CImportPlacement* place)
{
    if (!GetMap())
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        CString reason = ReasonText(::GetLastError());
        Report().Box(MB_OK, "Couldn't open file %s for reading\nCause: %s", path, static_cast<LPCSTR>(reason));
        return FALSE;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart == 0) {
        ::CloseHandle(file);
        Report().Box(MB_OK, "The brush file %s is empty", path);
        return FALSE;
    }
    if (size.QuadPart > 0x7FFFFFF0) {
        ::CloseHandle(file);
        Report().Box(MB_OK, "Couldn't read file %s\nCause: %s", path, "The file is too large.");
        return FALSE;
    }
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    // Two zero bytes after the text, as the map reader expects of its buffers.
    std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
    DWORD read = 0;
    BOOL ok = ::ReadFile(file, buffer.data(), length, &read, nullptr) && read == length;
    DWORD error = ok ? 0 : ::GetLastError();
    ::CloseHandle(file);
    if (!ok) {
        CString reason = ReasonText(error);
        Report().Box(MB_OK, "Couldn't read file %s\nCause: %s", path, static_cast<LPCSTR>(reason));
        return FALSE;
    }
    // The whole file is read, as a map's open reads it: a NUL byte in it is no end of the text.
    return ImportMapText(buffer.data(), length, path, place);
}

BOOL CMapXYView::ImportObjectFile(LPCSTR path)
{
    Map* pMap = GetMap();
    if (!pMap || !ReadObjectFile(path))
        return FALSE;
    pMap->SelectionChanged();
    short box[6];
    pMap->GetSelectionBounds(box);
    RedrawNow(box, HINT_CHANGED);
    return TRUE;
}

BOOL CMapXYView::ExportObjectFile(LPCSTR path)
{
    Map* pMap = GetMap();
    return pMap && pMap->WriteObjectFile(path);
}

namespace {

// Where the object file dialogs open: the remembered folder, else the project's first
// "Objects" directory.
CString ObjectDirectory()
{
    CEditorServices* s = GetEditorServices();
    CString dir = s->GetRememberedDirectory(CEditorServices::DIR_OBJECTS);
    if (dir.IsEmpty()) {
        CPathIterator it;
        if (it.Init("Objects", IDS_NO_OBJECT_PATHS, "map"))
            dir = it.NextDirectory();
    }
    return dir;
}

// The object file dialog, opening where objects were last read or written; on OK the chosen
// file's folder is remembered, on Cancel the folder the dialog opened in.
BOOL AskObjectFile(BOOL bOpen, CWnd* pParent, CString& path)
{
    CString initial = ObjectDirectory();
    CFileDialog dlg(bOpen, "map", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER, MapFileFilter(),
                    pParent);
    if (!initial.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = initial;
    CEditorServices* s = GetEditorServices();
    if (dlg.DoModal() != IDOK) {
        s->SetRememberedDirectory(CEditorServices::DIR_OBJECTS, initial);
        return FALSE;
    }
    path = dlg.GetPathName();
    s->SetRememberedDirectory(CEditorServices::DIR_OBJECTS, FolderOf(path));
    return TRUE;
}

} // namespace

void CMapXYView::ImportBrushFile()
{
    CString path;
    if (AskObjectFile(TRUE, this, path))
        ImportObjectFile(path);
}

void CMapXYView::ExportBrushFile()
{
    Map* pMap = GetMap();
    CString path;
    if (pMap && pMap->GetSelectionCount() > 0 && AskObjectFile(FALSE, this, path))
        ExportObjectFile(path);
}

// ---------------------------------------------------------------------------
// Assign to World, Select Inside, Align

void CMapXYView::OnAssignToWorld()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0)
        return;
    AssignSelectionToWorld(pMap);
    // The brushes now draw with the world's pen, and their old entity may be gone.
    pMap->UpdateCurrentEntity();
    pMap->SelectionChanged();
    short box[6];
    pMap->GetSelectionBounds(box);
    RedrawNow(box, HINT_CHANGED);
}

void CMapXYView::SelectInside(BOOL bFully)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    SThing* head = pMap->GetSelectionCount() == 1 ? static_cast<SThing*>(pMap->GetSelection().GetHead()) : nullptr;
    // A point entity has no volume to select with.
    if (!head || head->GetKind() != 0) {
        Report().Box(MB_OK, "%s", "Must have exactly 1 brush selected for this operation");
        return;
    }
    Brush* selector = static_cast<Brush*>(head);
    short before[6];
    pMap->GetSelectionBounds(before);
    CPtrList found;
    FindObjectsInside(*selector, GetDrawList(), bFully, found);
    // The selector only gave the volume: it goes the normal way of a deletion.
    if (!pMap->DeleteSelection(TRUE))
        return;
    for (POSITION pos = found.GetHeadPosition(); pos;)
        pMap->SelectObject(static_cast<SThing*>(found.GetNext(pos)), FALSE);
    pMap->SetModifiedFlag(TRUE);
    pMap->SelectionChanged();
    short after[6], box[6];
    pMap->GetSelectionBounds(after);
    Map::UnionBounds(box, before, after);
    RedrawNow(box, HINT_CHANGED);
}

namespace {

void AlignView(CMapXYView* view, AlignKind kind)
{
    Map* pMap = view->GetMap();
    if (!pMap)
        return;
    short box[6];
    try {
        if (!AlignSelection(pMap, kind, view->GetPlaneType(), box))
            return;
    } catch (CBrushGeometryError& err) {
        Report().Box(MB_OK, "%s", static_cast<LPCSTR>(err.message));
        pMap->GetSelectionBounds(box);
    }
    pMap->SelectionChanged();
    view->RedrawNow(box, HINT_MOVED);
}

} // namespace

void CMapXYView::AlignLeft() { AlignView(this, ALIGN_LEFT); }
void CMapXYView::AlignRight() { AlignView(this, ALIGN_RIGHT); }
void CMapXYView::AlignTop() { AlignView(this, ALIGN_TOP); }
void CMapXYView::AlignBottom() { AlignView(this, ALIGN_BOTTOM); }
void CMapXYView::AlignHorizontally() { AlignView(this, ALIGN_HORIZONTALLY); }
void CMapXYView::AlignVertically() { AlignView(this, ALIGN_VERTICALLY); }

// ---------------------------------------------------------------------------
// Brush dump

void CMapXYView::DumpBrush()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0)
        return;
    FILE* f = fopen("brush.dmp", "w");
    if (!f)
        return;
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(pMap->GetSelection().GetNext(pos));
        if (t->GetKind() != 0)
            continue;
        const Brush* b = static_cast<const Brush*>(t);
        fprintf(f, "ipoints\n");
        for (const Face& face : b->GetFaces())
            fprintf(f, "i( %ld, %ld, %ld ) ( %ld, %ld, %ld ) ( %ld, %ld, %ld )\n", (long)face.pt[0][0], (long)face.pt[0][1],
                    (long)face.pt[0][2], (long)face.pt[1][0], (long)face.pt[1][1], (long)face.pt[1][2], (long)face.pt[2][0],
                    (long)face.pt[2][1], (long)face.pt[2][2]);
        fprintf(f, "\npoints\n");
        for (const Face& face : b->GetFaces()) {
            for (size_t i = 0; i < face.rounded.size(); ++i)
                fprintf(f, "( %ld, %ld, %ld ) ", (long)face.rounded[i][0], (long)face.rounded[i][1], (long)face.rounded[i][2]);
            fprintf(f, "\n");
        }
        fprintf(f, "\n");
    }
    fclose(f);
}

// ---------------------------------------------------------------------------
// Create Targets, Create Array, Create Room

void CMapXYView::OnCreateTargets()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0)
        return;
    CCreateTargetsDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    CString name = dlg.GetTargetName();
    // Values are written between double quotes without escapes: one inside would break the map.
    if (name.IsEmpty() || !IsWritableKeyText(name)) {
        Report().Box(MB_OK, "%s", "A target name cannot be empty or contain a double quote or a line break.");
        return;
    }
    if (!CreateTargetChain(pMap, name, dlg.GetMakeCircular()))
        return;
    pMap->UpdateCurrentEntity(); // the Entity Editor shows the new pairs
    short box[6];
    pMap->GetSelectionBounds(box);
    RedrawNow(box, HINT_CHANGED);
}

void CMapXYView::CreateArray()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0)
        return;
    CArrayDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    m_nArrayCount = dlg.GetCount();
    m_bArrayMove = dlg.GetMove(m_arrayMove[0], m_arrayMove[1], m_arrayMove[2]);
    m_bArrayRotate = dlg.GetRotate(m_arrayRotate[0], m_arrayRotate[1], m_arrayRotate[2]);
    m_bArrayScale = dlg.GetScale(m_arrayScale[0], m_arrayScale[1], m_arrayScale[2]);
    if (!m_bArrayMove && !m_bArrayRotate && !m_bArrayScale) {
        Report().Box(MB_OK, "%s", "No transformations were selected.");
        return;
    }
    if (m_bArrayRotate) {
        // The copies wait for the rotation point: the next click runs the copy routine.
        m_nState = STATE_ARRAY_ARMED;
        ::SetCursor(LoadViewCursor(IDC_VIEW_PICK_CENTRE));
        Report().Status("%s", kStatusRotatePoint);
        return;
    }
    PasteClipboardAt();
}

BOOL CMapXYView::PasteClipboardAt()
{
    Map* pMap = GetMap();
    const UINT cf = GetMapDataFormat();
    if (!pMap || !Copy() || cf == 0 || !::IsClipboardFormatAvailable(cf))
        return FALSE;
    if (!::OpenClipboard(m_hWnd))
        return FALSE;
    CString text;
    BOOL ok = UnpackMapData(::GetClipboardData(cf), text);
    // The text is taken out at once: the imports below may show boxes, and the clipboard must
    // not stay open meanwhile.
    ::CloseClipboard();
    if (!ok)
        return FALSE;
    // The objects copied: each copy is read from their text, then moved.
    CPtrList sources;
    sources.AddTail(&pMap->GetSelection());
    for (int i = 1; i <= m_nArrayCount; ++i) {
        int d[3] = {0, 0, 0};
        if (m_bArrayMove)
            for (int axis = 0; axis < 3; ++axis)
                d[axis] = ArrayRound(static_cast<double>(m_arrayMove[axis]) * i);
        // Coordinates are 16-bit: a copy of which one object would lie beyond the range (its box,
        // a plane point of a brush, the origin of an entity) would wrap to the far side of the map.
        CObjectEdit fits;
        for (POSITION pos = sources.GetHeadPosition(); pos;)
            fits.AddMove(static_cast<SThing*>(sources.GetNext(pos)), SThing::TRANSLATE, d[0], d[1], d[2]);
        if (fits.CountRefused() > 0) {
            Report().Box(MB_OK, "Copy %d of the array would lie outside the map's coordinate range.\nThe array stops there.", i);
            break;
        }
        pMap->DeselectAll();
        std::vector<char> buffer(static_cast<size_t>(text.GetLength()) + 2, '\0');
        memcpy(buffer.data(), static_cast<LPCSTR>(text), static_cast<size_t>(text.GetLength()));
        if (!ImportMapText(buffer.data(), static_cast<size_t>(text.GetLength())))
            break;
        if (m_bArrayMove) {
            CObjectEdit edit;
            edit.AddSelectionMove(pMap, SThing::TRANSLATE, d[0], d[1], d[2]);
            edit.Apply();
            pMap->SetModifiedFlag(TRUE);
        }
    }
    pMap->SelectionChanged();
    if (m_hWnd) {
        Invalidate(FALSE);
        UpdateWindow();
    }
    pMap->UpdateViews(HINT_REDRAW);
    return TRUE;
}

void CMapXYView::CreateRoom()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() != 1)
        return;
    SThing* t = static_cast<SThing*>(pMap->GetSelection().GetHead());
    if (t->GetKind() != 0 || !static_cast<Brush*>(t)->IsIsothetic()) {
        Report().Box(MB_OK, "%s", "A room must be inscribed in an isothetic brush");
        return;
    }
    Brush* source = static_cast<Brush*>(t);
    CRoomDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    int w = dlg.GetThickness();
    if (w == 0)
        w = IsGridShown() ? m_nGrid : 16;
    const BOOL inward = dlg.IsInward();
    short before[6];
    for (int i = 0; i < 6; ++i)
        before[i] = source->GetBounds()[i];
    if (inward && !RoomFitsInside(before, w)) {
        Report().Box(MB_OK, "%s", "The selected brush is not large enough to create\na room with your entered wall width.");
        return;
    }
    short walls[6][6];
    if (!ComputeRoomWalls(before, w, inward, walls)) {
        Report().Box(MB_OK, "%s", "The walls of this room would lie outside the map's coordinate range.");
        return;
    }
    if (!BuildRoom(pMap, source, w, inward))
        return;
    pMap->SelectionChanged();
    short after[6], box[6];
    pMap->GetSelectionBounds(after);
    Map::UnionBounds(box, before, after);
    RedrawNow(box, HINT_CHANGED);
}

// ---------------------------------------------------------------------------
// The frame's forwarding and enable rules

void CMapFrame::OnRotateByHand()
{
    if (CMapXYView* v = GetXYView())
        v->OnRotateByHand();
}

void CMapFrame::OnAssignToWorld()
{
    if (CMapXYView* v = GetXYView())
        v->OnAssignToWorld();
}

void CMapFrame::OnImportFromFile()
{
    if (CMapXYView* v = GetXYView())
        v->ImportBrushFile();
}

void CMapFrame::OnExportToFile()
{
    if (CMapXYView* v = GetXYView())
        v->ExportBrushFile();
}

void CMapFrame::OnDumpBrush()
{
    if (CMapXYView* v = GetXYView())
        v->DumpBrush();
}

void CMapFrame::OnCreateArray()
{
    if (CMapXYView* v = GetXYView())
        v->CreateArray();
}

void CMapFrame::OnCreateRoom()
{
    if (CMapXYView* v = GetXYView())
        v->CreateRoom();
}

void CMapFrame::OnSelectFullyInside()
{
    if (CMapXYView* v = GetXYView())
        v->SelectFullyInside();
}

void CMapFrame::OnSelectPartiallyInside()
{
    if (CMapXYView* v = GetXYView())
        v->SelectPartiallyInside();
}

void CMapFrame::OnAlign(UINT nID)
{
    CMapXYView* v = GetXYView();
    if (!v)
        return;
    switch (nID) {
    case ID_ALIGN_LEFT: v->AlignLeft(); break;
    case ID_ALIGN_RIGHT: v->AlignRight(); break;
    case ID_ALIGN_TOP: v->AlignTop(); break;
    case ID_ALIGN_BOTTOM: v->AlignBottom(); break;
    case ID_ALIGN_VERTICALLY: v->AlignVertically(); break;
    case ID_ALIGN_HORIZONTALLY: v->AlignHorizontally(); break;
    }
}

namespace {

Map* FrameMap(CMapFrame* pFrame)
{
    CMapXYView* v = pFrame->GetXYView();
    return v ? v->GetMap() : nullptr;
}

} // namespace

void CMapFrame::OnUpdateNeedNoPointEntity(CCmdUI* pCmdUI)
{
    Map* pMap = FrameMap(this);
    pCmdUI->Enable(pMap && pMap->GetSelectionCount() > 0 && !pMap->SelectionHasEntity());
}

void CMapFrame::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CMapFrame::OnUpdateNeverEnabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }

void CMapFrame::OnUpdateCreateRoom(CCmdUI* pCmdUI)
{
    Map* pMap = FrameMap(this);
    pCmdUI->Enable(pMap && pMap->GetSelectionCount() == 1 && !pMap->SelectionHasEntity());
}

void CMapFrame::OnUpdateOneBrush(CCmdUI* pCmdUI)
{
    Map* pMap = FrameMap(this);
    pCmdUI->Enable(pMap && pMap->GetSelectionCount() == 1 &&
                   static_cast<SThing*>(pMap->GetSelection().GetHead())->GetKind() == 0);
}

void CMapFrame::OnUpdateAlign(CCmdUI* pCmdUI)
{
    Map* pMap = FrameMap(this);
    pCmdUI->Enable(pMap && pMap->GetSelectionCount() >= 2);
}

BOOL IsSpaceForEditControl(const MSG* pMsg)
{
    if (!pMsg || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_KEYUP && pMsg->message != WM_CHAR) ||
        pMsg->wParam != VK_SPACE)
        return FALSE;
    HWND focus = ::GetFocus();
    if (!focus)
        return FALSE;
    char cls[32] = "";
    ::GetClassNameA(focus, cls, sizeof cls);
    return lstrcmpiA(cls, "Edit") == 0 || _strnicmp(cls, "RichEdit", 8) == 0;
}
