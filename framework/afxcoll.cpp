#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapUIntPtrToOb, CObject)

// Serializable collections: their archive forms come with the archive class.
#define AFX_COLL_SERIAL_PENDING(name) \
    CObject* name::CreateObject() { return new name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(name, CObject, 1, name::CreateObject) \
    void name::Serialize(CArchive&) {}

AFX_COLL_SERIAL_PENDING(CObList)
AFX_COLL_SERIAL_PENDING(CStringList)
AFX_COLL_SERIAL_PENDING(CByteArray)
AFX_COLL_SERIAL_PENDING(CWordArray)
AFX_COLL_SERIAL_PENDING(CDWordArray)
AFX_COLL_SERIAL_PENDING(CObArray)
AFX_COLL_SERIAL_PENDING(CStringArray)
AFX_COLL_SERIAL_PENDING(CMapStringToOb)
AFX_COLL_SERIAL_PENDING(CMapStringToString)
