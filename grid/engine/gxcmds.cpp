// The single-operation commands: each executes its one grid operation with the saved values.
#include "afxwin.h"
#include "gxengine.h"
#include "gxprop.h"
#include "gxresrc.h"
#include "gxstymap.h"
#include "gxundo.h"

namespace {
// A command's description from the string table, loaded once; a single space when the string is
// missing, so that the menu item still reads sensibly.
CString Description(CString& cache, UINT nID)
{
    if (cache.IsEmpty() && (!cache.LoadString(nID) || cache.IsEmpty()))
        cache = " ";
    return cache;
}

template <class T> void DeleteObjects(T* pArray)
{
    if (pArray == nullptr)
        return;
    for (INT_PTR i = 0; i < pArray->GetSize(); ++i)
        delete static_cast<CObject*>(pArray->GetAt(i));
    delete pArray;
}
} // namespace

#define GX_IMPLEMENT_DESCRIPTION(name, id)                                                                             \
    IMPLEMENT_DYNAMIC(name, CGXCommand)                                                                                \
    CString name::GetDescription() const                                                                               \
    {                                                                                                                  \
        static CString s;                                                                                              \
        return Description(s, id);                                                                                     \
    }

GX_IMPLEMENT_DESCRIPTION(CGXSetRowHeightCmd, GX_IDS_CHANGEROWHEIGHTS)
GX_IMPLEMENT_DESCRIPTION(CGXSetColWidthCmd, GX_IDS_CHANGECOLWIDTHS)
GX_IMPLEMENT_DESCRIPTION(CGXHideRowsCmd, GX_IDS_HIDEROWS)
GX_IMPLEMENT_DESCRIPTION(CGXHideColsCmd, GX_IDS_HIDECOLS)
GX_IMPLEMENT_DESCRIPTION(CGXSetDefaultRowHeightCmd, GX_IDS_CHANGEDEFROWHEIGHT)
GX_IMPLEMENT_DESCRIPTION(CGXSetDefaultColWidthCmd, GX_IDS_CHANGEDEFCOLWIDTH)
GX_IMPLEMENT_DESCRIPTION(CGXMoveRowsCmd, GX_IDS_MOVEROWS)
GX_IMPLEMENT_DESCRIPTION(CGXMoveColsCmd, GX_IDS_MOVECOLS)
GX_IMPLEMENT_DESCRIPTION(CGXRemoveRowsCmd, GX_IDS_REMOVINGROWS)
GX_IMPLEMENT_DESCRIPTION(CGXRemoveColsCmd, GX_IDS_REMOVINGCOLS)
GX_IMPLEMENT_DESCRIPTION(CGXInsertRowsCmd, GX_IDS_INSERTROWS)
GX_IMPLEMENT_DESCRIPTION(CGXInsertColsCmd, GX_IDS_INSERTCOLS)
GX_IMPLEMENT_DESCRIPTION(CGXSetCoveredCellsCmd, GX_IDS_COVERCELLS)
GX_IMPLEMENT_DESCRIPTION(CGXSetStyleRangeCmd, GX_IDS_CELLSCMD)
GX_IMPLEMENT_DESCRIPTION(CGXSetFrozenRowsCmd, GX_IDS_FREEZEROWS)
GX_IMPLEMENT_DESCRIPTION(CGXSetFrozenColsCmd, GX_IDS_FREEZECOLS)
GX_IMPLEMENT_DESCRIPTION(CGXMoveDataRowsCmd, GX_IDS_SORTROWS)
GX_IMPLEMENT_DESCRIPTION(CGXMoveDataColsCmd, GX_IDS_SORTCOLS)
GX_IMPLEMENT_DESCRIPTION(CGXChangeStylesMapCmd, GX_IDS_STYLESMAPCHANGES)
GX_IMPLEMENT_DESCRIPTION(CGXChangePropertiesCmd, GX_IDS_PROPERTYSETTINGS)
IMPLEMENT_DYNAMIC(CGXChangeBaseStyleCmd, CGXCommand)

BOOL CGXSetRowHeightCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetRowHeight(m_nFrom, m_nTo, 0, m_pSizes, GX_UPDATENOW, nMode);
}
BOOL CGXSetColWidthCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetColWidth(m_nFrom, m_nTo, 0, m_pSizes, GX_UPDATENOW, nMode);
}
BOOL CGXHideRowsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->HideRows(m_nFrom, m_nTo, 0, m_pHides, GX_UPDATENOW, nMode);
}
BOOL CGXHideColsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->HideCols(m_nFrom, m_nTo, 0, m_pHides, GX_UPDATENOW, nMode);
}
BOOL CGXSetDefaultRowHeightCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetDefaultRowHeight(m_nSize, GX_UPDATENOW, nMode);
}
BOOL CGXSetDefaultColWidthCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetDefaultColWidth(m_nSize, GX_UPDATENOW, nMode);
}
BOOL CGXMoveRowsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->MoveRows(m_nFrom, m_nTo, m_nDest, GX_UPDATENOW, nMode);
}
BOOL CGXMoveColsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->MoveCols(m_nFrom, m_nTo, m_nDest, GX_UPDATENOW, nMode);
}
BOOL CGXRemoveRowsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->RemoveRows(m_nFrom, m_nTo, GX_UPDATENOW, nMode);
}
BOOL CGXRemoveColsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->RemoveCols(m_nFrom, m_nTo, GX_UPDATENOW, nMode);
}

// The rows come back hidden where they were; hiding them is part of this step, not one of its own.
BOOL CGXInsertRowsCmd::Execute(CGXGridEngine* e, int nMode)
{
    if (!e->InsertRows(m_nRow, m_nCount, m_pSizes, m_pCellStyles, m_pRowStyles, m_nColumns, GX_UPDATENOW, nMode))
        return FALSE;
    if (m_pHides != nullptr)
        e->HideRows(m_nRow, m_nRow + m_nCount - 1, FALSE, m_pHides, GX_UPDATENOW, gxRollback);
    return TRUE;
}
CGXInsertRowsCmd::~CGXInsertRowsCmd()
{
    DeleteObjects(m_pCellStyles);
    DeleteObjects(m_pRowStyles);
    delete[] m_pSizes;
    delete[] m_pHides;
}
BOOL CGXInsertColsCmd::Execute(CGXGridEngine* e, int nMode)
{
    if (!e->InsertCols(m_nCol, m_nCount, m_pSizes, m_pCellStyles, m_pColStyles, m_nRows, GX_UPDATENOW, nMode))
        return FALSE;
    if (m_pHides != nullptr)
        e->HideCols(m_nCol, m_nCol + m_nCount - 1, FALSE, m_pHides, GX_UPDATENOW, gxRollback);
    return TRUE;
}
CGXInsertColsCmd::~CGXInsertColsCmd()
{
    DeleteObjects(m_pCellStyles);
    DeleteObjects(m_pColStyles);
    delete[] m_pSizes;
    delete[] m_pHides;
}

BOOL CGXSetCoveredCellsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetCoveredCells(m_nTop, m_nLeft, m_nBottom, m_nRight, GX_UPDATENOW, nMode);
}

BOOL CGXSetStyleRangeCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetStyleRange(m_range, nullptr, gxCopy, m_nType, m_pStyles, GX_UPDATENOW, nMode);
}
CGXSetStyleRangeCmd::~CGXSetStyleRangeCmd()
{
    if (m_pStyles == nullptr)
        return;
    for (INT_PTR i = 0; i < m_pStyles->GetSize(); ++i)
        delete static_cast<CGXStyle*>(m_pStyles->GetAt(i));
    delete m_pStyles;
}

BOOL CGXSetFrozenRowsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetFrozenRows(m_nFrozen, m_nHeader, GX_UPDATENOW, nMode);
}
BOOL CGXSetFrozenColsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->SetFrozenCols(m_nFrozen, m_nHeader, GX_UPDATENOW, nMode);
}

BOOL CGXMoveDataRowsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return m_pOrder != nullptr && e->MoveDataRows(m_range, *m_pOrder, GX_UPDATENOW, nMode);
}
CGXMoveDataRowsCmd::~CGXMoveDataRowsCmd() { delete m_pOrder; }
BOOL CGXMoveDataColsCmd::Execute(CGXGridEngine* e, int nMode)
{
    return m_pOrder != nullptr && e->MoveDataCols(m_range, *m_pOrder, GX_UPDATENOW, nMode);
}
CGXMoveDataColsCmd::~CGXMoveDataColsCmd() { delete m_pOrder; }

CGXChangeStylesMapCmd::CGXChangeStylesMapCmd(const CGXStylesMap& map) : m_pStylesMap(new CGXStylesMap(map)) {}
CGXChangeStylesMapCmd::~CGXChangeStylesMapCmd() { delete m_pStylesMap; }
BOOL CGXChangeStylesMapCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->ChangeStylesMap(*m_pStylesMap, GX_UPDATENOW, nMode);
}

CGXChangePropertiesCmd::CGXChangePropertiesCmd(const CGXProperties& properties) : m_pProperties(new CGXProperties)
{
    *m_pProperties = properties;
}
CGXChangePropertiesCmd::~CGXChangePropertiesCmd() { delete m_pProperties; }
BOOL CGXChangePropertiesCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->ChangeProperties(*m_pProperties, GX_UPDATENOW, nMode);
}

CGXChangeBaseStyleCmd::CGXChangeBaseStyleCmd(WORD nID, const CGXStyle& style, LPCSTR lpszName)
    : m_pStyle(style.Clone()), m_strName(lpszName), m_nID(nID)
{
}
CGXChangeBaseStyleCmd::~CGXChangeBaseStyleCmd() { delete m_pStyle; }
BOOL CGXChangeBaseStyleCmd::Execute(CGXGridEngine* e, int nMode)
{
    return e->ChangeBaseStyle(m_nID, *m_pStyle, gxCopy, GX_UPDATENOW, nMode);
}
CString CGXChangeBaseStyleCmd::GetDescription() const { return m_strName; }
