// The hint that one grid sends to the other views of its document so that
// they repeat the same update; the numbers are those that OnGridUpdate
// tables (1 to 35).
#pragma once
#include "afx.h"
#include "gxrange.h"

class CGXGridHint : public CObject
{
    DECLARE_DYNAMIC(CGXGridHint)
public:
    CGXGridHint(UINT nHint, int nSenderTag) : m_nHint(nHint), m_nSenderTag(nSenderTag) {}

    UINT m_nHint;
    CGXRange m_range;
    // Argument words: rows, columns and further values of the hint.
    DWORD nRow1 = 0, nRow2 = 0, nCol1 = 0, nCol2 = 0, flags = 0, lParam = 0;
    // Object words: pointer-sized, they carry objects of the sender.
    void* pObject1 = nullptr;
    void* pObject2 = nullptr;
    void* pObject3 = nullptr;
    void* pObject4 = nullptr;
    int m_nSenderTag;
    // And-ed with the result of the receivers where a hint asks one.
    BOOL m_bResult = TRUE;
};
