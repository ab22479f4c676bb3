// The MDI child frame of a 2D map window: a fixed two-pane splitter with the plane view on the
// left and the depth view on the right, the window's own display switches, the entries of the
// four toolbar combo boxes that belong to this window, and the window's own object list.
#pragma once
#include "SECFrame.h"
#include "afxwin.h"

class CMapXYView;
class CMapZView;

// A splitter whose bar cannot be dragged: the columns follow the frame's size alone.
class CMapSplitter : public CSplitterWnd
{
    DECLARE_DYNAMIC(CMapSplitter)
public:
    CMapSplitter();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

protected:
    DECLARE_MESSAGE_MAP()
};

class CMapFrame : public SECMDIChildWnd
{
    DECLARE_DYNCREATE(CMapFrame)
public:
    CMapFrame();
    ~CMapFrame() override;

    // The four combo boxes, in the order of the index fields.
    enum { COMBO_SNAP_ANGLE, COMBO_GRID, COMBO_PLANE_SCALE, COMBO_DEPTH_SCALE, COMBO_COUNT };
    static UINT ComboId(int which);
    static int ComboFromId(UINT nID);

    CMapSplitter m_wndSplitter;
    int m_bPanesCreated;
    int m_bGridShown;
    int m_bSnapToGrid;
    int m_bSnapToAngle;
    int m_comboIndex[COMBO_COUNT]; // this window's entries of the four combos
    CPtrList m_objectOrder;

    CMapXYView* GetXYView() const;
    CMapZView* GetZView() const;
    void ActivateXYView();
    void ActivateZView();
    BOOL IsGridShown() const { return m_bGridShown; }
    BOOL IsSnapToGrid() const { return m_bSnapToGrid; }
    BOOL IsSnapToAngle() const { return m_bSnapToAngle; }
    CPtrList& GetObjectOrder() { return m_objectOrder; }
    void ClearObjectOrder() { m_objectOrder.RemoveAll(); }
    // The plane view rebuilds the list from the depth view's range (objects were deleted).
    void RebuildObjectOrder();

    // The clipboard commands go to the plane view, whichever pane is active.
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditClone();
    void OnUpdateEditSelection(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);

    // The editing commands of the Edit and Object menus go to the plane view too.
    void OnRotateByHand();
    void OnAssignToWorld();
    void OnImportFromFile();
    void OnExportToFile();
    void OnDumpBrush();
    void OnCreateArray();
    void OnCreateRoom();
    void OnSelectFullyInside();
    void OnSelectPartiallyInside();
    void OnAlign(UINT nID);
    void OnUpdateNeedNoPointEntity(CCmdUI* pCmdUI);
    void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    void OnUpdateNeverEnabled(CCmdUI* pCmdUI);
    void OnUpdateCreateRoom(CCmdUI* pCmdUI);
    void OnUpdateOneBrush(CCmdUI* pCmdUI);
    void OnUpdateAlign(CCmdUI* pCmdUI);

    // A command given while a pane holds the mouse (a key during a drag) ends the drag first.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    // Applies the entry chosen in a box of the combo to the views, keeps its index and shows it in
    // every box of the combo.
    void OnComboChanged(UINT nID);
    // One entry up or down in a combo; nothing at either end or when the combo is missing.
    void StepCombo(int which, int delta);
    // Puts this window's entries back into the combos.
    void RestoreComboEntries();

    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    void OnMButtonUp(UINT nFlags, CPoint point);

    void OnSelChangeSnapAngle() { OnComboChanged(1060); }
    void OnSelChangeGrid() { OnComboChanged(1058); }
    void OnSelChangePlaneScale() { OnComboChanged(1075); }
    void OnSelChangeDepthScale() { OnComboChanged(1076); }
    void OnZoomInPlane();
    void OnZoomOutPlane();
    void OnZoomInDepth() { StepCombo(COMBO_DEPTH_SCALE, 1); }
    void OnZoomOutDepth() { StepCombo(COMBO_DEPTH_SCALE, -1); }
    void OnGridSizeUp() { StepCombo(COMBO_GRID, 1); }
    void OnGridSizeDown() { StepCombo(COMBO_GRID, -1); }
    void OnSnapAngleUp() { StepCombo(COMBO_SNAP_ANGLE, 1); }
    void OnSnapAngleDown() { StepCombo(COMBO_SNAP_ANGLE, -1); }
    void OnToggleGrid();
    void OnToggleSnapToGrid();
    void OnToggleSnapToAngle();
    void OnClipToObject();
    void OnLinkClippingPlanes();

    void OnUpdateToggleGrid(CCmdUI* pCmdUI);
    void OnUpdateToggleSnapToGrid(CCmdUI* pCmdUI);
    void OnUpdateToggleSnapToAngle(CCmdUI* pCmdUI);
    void OnUpdateClipToObject(CCmdUI* pCmdUI);
    void OnUpdateLinkClippingPlanes(CCmdUI* pCmdUI);
    void OnUpdateComboUI(CCmdUI* pCmdUI);
    void OnUpdateMouseMode(CCmdUI* pCmdUI);
    void OnUpdateRestrictAxis(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()
};
