#include "gxparam.h"

BOOL CGXGridParam::s_bDefaultLinesAtRightBottom = FALSE;
WORD CGXGridParam::s_wDefaultLibraryValue = 0;

CGXGridParam::CGXGridParam()
    : m_bLinesAtRightBottom(s_bDefaultLinesAtRightBottom), m_wLibraryValue(s_wDefaultLibraryValue)
{
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
void Replace(CGXGridParam* self, T*& pMember, BOOL& bOwnMember, T* pNew, BOOL bOwn)
{
    // Callers may hold a parameter pointer that was never set.
    asm("" : "+r"(self));
    if (self == nullptr)
        return;
    if (bOwnMember && pMember != pNew)
        delete pMember;
    pMember = pNew;
    bOwnMember = bOwn;
}
} // namespace

void CGXGridParam::SetProperties(CGXProperties* p, BOOL bOwn) { Replace(this, m_pProperties, m_bOwnProperties, p, bOwn); }
void CGXGridParam::SetData(CGXData* p, BOOL bOwn) { Replace(this, m_pData, m_bOwnData, p, bOwn); }
void CGXGridParam::SetStylesMap(CGXStylesMap* p, BOOL bOwn) { Replace(this, m_pStylesMap, m_bOwnStylesMap, p, bOwn); }
void CGXGridParam::SetPrintDevice(CGXPrintDevice* p, BOOL bOwn)
{
    Replace(this, m_pPrintDevice, m_bOwnPrintDevice, p, bOwn);
}

void CGXGridParam::EmptyUndoList()
{
    DeleteCommands(m_undoList);
    m_nUndoCount = 0;
}

void CGXGridParam::EmptyRedoList() { DeleteCommands(m_redoList); }

// ---------------------------------------------------------------------------
CObject* CGXGridParam::CreateObject() { return new CGXGridParam; }
AFX_IMPLEMENT_RUNTIMECLASS(CGXGridParam, CObject, 1, CGXGridParam::CreateObject)
void CGXGridParam::Serialize(CArchive&) {}
