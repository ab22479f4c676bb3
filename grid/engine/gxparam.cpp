#include "gxparam.h"

BOOL CGXGridParam::s_bDefaultLinesAtRightBottom = FALSE;
WORD CGXGridParam::s_wDefaultLibraryValue = 0;

static DWORD s_dwLastStylesMapStamp = 0;

void CGXGridParam::StylesMapReplaced()
{
    m_dwStylesMapStamp = ++s_dwLastStylesMapStamp;
}

CGXGridParam::CGXGridParam()
    : m_bLinesAtRightBottom(s_bDefaultLinesAtRightBottom), m_wLibraryValue(s_wDefaultLibraryValue)
{
    StylesMapReplaced();
    m_rowHeights.SetAt(0, 1400);
    m_colWidths.SetAt(0, 6000);
}

void CGXGridParam::DeleteCommands(CObList& list)
{
    for (POSITION pos = list.GetHeadPosition(); pos;)
        delete list.GetNext(pos);
    list.RemoveAll();
}

CGXGridParam::~CGXGridParam()
{
    DeleteCommands(m_undoList);
    DeleteCommands(m_redoList);
    for (CObject** pp : {&m_pSpanIndex, &m_pFloatSpans, &m_pFloatDelayed, &m_pPrintObjectA, &m_pPrintObjectB,
                         &m_pMergeSpansA, &m_pMergeSpansB, &m_pMergeDelayed}) {
        delete *pp;
        *pp = nullptr;
    }
    if (m_bOwnProperties)
        delete m_pProperties;
    if (m_bOwnStylesMap)
        delete m_pStylesMap;
    if (m_bOwnData)
        delete m_pData;
    if (m_bOwnPrintDevice)
        delete m_pPrintDevice;
}

namespace {
template <class T>
void Replace(T*& pMember, BOOL& bOwnMember, T* pNew, BOOL bOwn)
{
    if (bOwnMember && pMember != pNew)
        delete pMember;
    pMember = pNew;
    bOwnMember = bOwn;
}
} // namespace

void CGXGridParam::SetProperties(CGXProperties* p, BOOL bOwn) { Replace(m_pProperties, m_bOwnProperties, p, bOwn); }
void CGXGridParam::SetData(CGXData* p, BOOL bOwn) { Replace(m_pData, m_bOwnData, p, bOwn); }
void CGXGridParam::SetStylesMap(CGXStylesMap* p, BOOL bOwn)
{
    Replace(m_pStylesMap, m_bOwnStylesMap, p, bOwn);
    StylesMapReplaced();
}
void CGXGridParam::SetPrintDevice(CGXPrintDevice* p, BOOL bOwn)
{
    Replace(m_pPrintDevice, m_bOwnPrintDevice, p, bOwn);
}

void CGXGridParam::EmptyUndoList()
{
    DeleteCommands(m_undoList);
    m_nUndoCount = 0;
}

void CGXGridParam::EmptyRedoList() { DeleteCommands(m_redoList); }

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXGridParam, CObject, 1)

namespace {
// One byte holding the low byte of a BOOL or 32-bit member.
template <class T>
void ArByte(CArchive& ar, T& v)
{
    if (ar.IsStoring()) {
        ar << static_cast<BYTE>(v & 0xFF);
    } else {
        BYTE b;
        ar >> b;
        v = static_cast<T>(b);
    }
}
template <class T>
void ArWord(CArchive& ar, T& v)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(v);
    } else {
        WORD w;
        ar >> w;
        v = static_cast<T>(w);
    }
}
template <class T>
void ArDWord(CArchive& ar, T& v)
{
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(v);
    } else {
        DWORD d;
        ar >> d;
        v = static_cast<T>(d);
    }
}
// An owned object: written when owned, read in its place.
template <class T>
void ArObject(CArchive& ar, T*& p, BOOL bOwned, CRuntimeClass* pClass)
{
    if (!bOwned)
        return;
    if (ar.IsStoring()) {
        ar.WriteObject(p);
    } else {
        // The loaded object replaces the owned one, which goes.
        T* pNew = static_cast<T*>(ar.ReadObject(pClass));
        if (pNew != p)
            delete p;
        p = pNew;
    }
}
void ArAnyObject(CArchive& ar, CObject*& p)
{
    if (ar.IsStoring()) {
        ar.WriteObject(p);
    } else {
        CObject* pNew = ar.ReadObject(nullptr);
        delete p;
        p = pNew;
    }
}
} // namespace

void CGXGridParam::Serialize(CArchive& ar)
{
    WORD wVersion = nArchiveVersion;
    if (ar.IsStoring()) {
        ar << wVersion;
    } else {
        ar >> wVersion;
        if (wVersion > nArchiveVersion)
            AfxThrowArchiveException(CArchiveException::badSchema);
        SetProperties(nullptr, FALSE);
        SetStylesMap(nullptr, FALSE);
        SetData(nullptr, FALSE);
        SetPrintDevice(nullptr, FALSE);
    }

    ArByte(ar, m_bOptionH);
    ArByte(ar, m_nOptionF);
    ArByte(ar, m_bReadOnly);
    ArByte(ar, m_bUndoEnabled);
    ArByte(ar, m_bNumberRowHeaders);
    ArByte(ar, m_bLetterColHeaders);
    ArByte(ar, m_bReadOnly);
    ArByte(ar, m_nOptionF);
    ArByte(ar, m_dwOptionB);
    ArByte(ar, m_dwOptionC);
    ArByte(ar, m_bOwnData);
    ArByte(ar, m_bOwnPrintDevice);
    ArByte(ar, m_bOwnProperties);
    ArByte(ar, m_bOwnStylesMap);
    ArByte(ar, m_bViewFocusOnClick);
    ArByte(ar, m_bAreaBackground);
    ArByte(ar, m_bLockStructureReadOnly);
    ArByte(ar, m_bSmartResize);

    ArWord(ar, m_wOptionA);
    ArWord(ar, m_wOptionD);
    ArWord(ar, m_wOptionE);
    ArDWord(ar, m_nFrozenRows);
    ArDWord(ar, m_nFrozenCols);
    ArDWord(ar, m_nDefaultColWidth);
    ArDWord(ar, m_nDefaultRowHeight);
    if (ar.IsStoring())
        ar << m_strName;
    else
        ar >> m_strName;
    ArWord(ar, m_wValueE);
    ArWord(ar, m_wCurrentCellMarking);
    ArWord(ar, m_nTrackMinY);
    ArWord(ar, m_nTrackMinX);
    ArWord(ar, m_wComposeAhead);
    ArDWord(ar, m_nFrozenRowsExtra);
    ArDWord(ar, m_nFrozenColsExtra);

    // Styles inside the objects resolve their base styles through the map.
    CObject* pOldDocument = ar.m_pDocument;
    try {
        ArObject(ar, m_pStylesMap, m_bOwnStylesMap, RUNTIME_CLASS(CGXStylesMap));
        if (ar.IsLoading())
            StylesMapReplaced();
        ar.m_pDocument = m_pStylesMap;
        ArObject(ar, m_pData, m_bOwnData, RUNTIME_CLASS(CGXData));
        ArObject(ar, m_pProperties, m_bOwnProperties, RUNTIME_CLASS(CGXProperties));
    } catch (...) {
        ar.m_pDocument = pOldDocument;
        throw;
    }
    ar.m_pDocument = pOldDocument;
    ArObject(ar, m_pPrintDevice, m_bOwnPrintDevice, RUNTIME_CLASS(CGXPrintDevice));

    if (ar.IsLoading()) {
        m_selRanges.DeleteAll();
        m_coveredRanges.DeleteAll();
        // The covered-cells index is built again from the list when it is next asked.
        delete m_pSpanIndex;
        m_pSpanIndex = nullptr;
    }
    m_selRanges.Serialize(ar);
    m_coveredRanges.Serialize(ar);
    m_rowHeights.Serialize(ar);
    m_colWidths.Serialize(ar);
    m_hiddenRows.Serialize(ar);
    m_hiddenCols.Serialize(ar);

    if (wVersion >= 2)
        ArByte(ar, m_bScrollPastFrozen);
    if (wVersion >= 3) {
        ArByte(ar, m_bRememberCurrentCell);
        ArByte(ar, m_bInitialised);
        ArDWord(ar, m_nValueH);
        ArDWord(ar, m_nValueI);
        ArDWord(ar, m_nValueJ);
    }
    if (wVersion >= 4)
        ArWord(ar, m_wOptionG);
    if (wVersion >= 5) {
        ArByte(ar, m_bNoZoom);
        ArWord(ar, m_wEnterDirection);
        ArDWord(ar, m_nMaxUndo);
    }
    if (wVersion >= 6) {
        ArByte(ar, m_bSortColsByHeader);
        ArByte(ar, m_bSortRowsByHeader);
        ArByte(ar, m_bSelectionFollowsCell);
        ArByte(ar, m_bSelectionFrame);
        ArByte(ar, m_bLinesAtRightBottom);
        ArWord(ar, m_wFloatCells);
        ArAnyObject(ar, m_pFloatDelayed);
        ArAnyObject(ar, m_pFloatSpans);
        ArWord(ar, m_wMergeCells);
        ArAnyObject(ar, m_pMergeDelayed);
        ArAnyObject(ar, m_pMergeSpansA);
        ArAnyObject(ar, m_pMergeSpansB);
        ArWord(ar, m_wLibraryValue);
    }
}
