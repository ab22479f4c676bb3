#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapUIntPtrToOb, CObject)

// The archivable collections carry schema 0 in their class records.
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)

void SerializeElements(CArchive& ar, CString* pElements, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        if (ar.IsStoring())
            ar << pElements[i];
        else
            ar >> pElements[i];
    }
}

// Lists: the count, then the elements from head to tail. Loading appends.
void CObList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetCount()));
        for (POSITION pos = GetHeadPosition(); pos != nullptr;)
            ar << GetNext(pos);
    } else {
        for (DWORD n = ar.ReadCount(); n > 0; --n)
            AddTail(ar.ReadObject(nullptr));
    }
}

void CStringList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetCount()));
        for (POSITION pos = GetHeadPosition(); pos != nullptr;)
            ar << GetNext(pos);
    } else {
        for (DWORD n = ar.ReadCount(); n > 0; --n) {
            CString s;
            ar >> s;
            AddTail(s);
        }
    }
}

// Arrays: the count, then the elements. Loading replaces the contents.
void CByteArray::Serialize(CArchive& ar) { CArray::Serialize(ar); }
void CWordArray::Serialize(CArchive& ar) { CArray::Serialize(ar); }
void CDWordArray::Serialize(CArchive& ar) { CArray::Serialize(ar); }
void CStringArray::Serialize(CArchive& ar) { CArray::Serialize(ar); }

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nSize));
        for (int i = 0; i < m_nSize; ++i)
            ar << m_pData[i];
    } else {
        DWORD n = ar.ReadCount();
        RemoveAll();
        for (; n > 0; --n)
            Add(ar.ReadObject(nullptr));
    }
}

// Maps: the count, then key and value of each entry in iteration order.
// Loading adds to what the map holds.
void CMapStringToOb::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetCount()));
        CString key;
        CObject* value;
        for (POSITION pos = GetStartPosition(); pos != nullptr;) {
            GetNextAssoc(pos, key, value);
            ar << key;
            ar << value;
        }
    } else {
        for (DWORD n = ar.ReadCount(); n > 0; --n) {
            CString key;
            ar >> key;
            CObject* value = ar.ReadObject(nullptr);
            SetAt(key, value);
        }
    }
}

void CMapStringToString::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetCount()));
        CString key, value;
        for (POSITION pos = GetStartPosition(); pos != nullptr;) {
            GetNextAssoc(pos, key, value);
            ar << key;
            ar << value;
        }
    } else {
        for (DWORD n = ar.ReadCount(); n > 0; --n) {
            CString key, value;
            ar >> key;
            ar >> value;
            SetAt(key, value);
        }
    }
}
