// The grid's keyed tables: hash maps built like the framework's, with 32-bit
// or two-part keys, and a bit array over a byte array.
#pragma once
#include "afx.h"

class CGXCollMapDWordToString : public CMap<DWORD, DWORD, CString, LPCSTR>
{
    DECLARE_SERIAL(CGXCollMapDWordToString)
public:
    explicit CGXCollMapDWordToString(int nBlockSize = 10) : CMap(nBlockSize) {}
    void CopyFrom(const CGXCollMapDWordToString& src);
    // Count, then id and text per entry.
    void Serialize(CArchive& ar) override;
};

class CGXCollMapDWordToLong : public CMap<DWORD, DWORD, LONG, LONG>
{
    DECLARE_SERIAL(CGXCollMapDWordToLong)
public:
    explicit CGXCollMapDWordToLong(int nBlockSize = 10) : CMap(nBlockSize) {}
    void CopyFrom(const CGXCollMapDWordToLong& src);
    void Serialize(CArchive& ar) override;
};

// Values keyed by row or column number that follow row and column changes.
class CGXMapDWordToLong : public CGXCollMapDWordToLong
{
    DECLARE_SERIAL(CGXMapDWordToLong)
public:
    explicit CGXMapDWordToLong(int nBlockSize = 10) : CGXCollMapDWordToLong(nBlockSize) {}
    void InsertKeys(DWORD nFirst, DWORD nCount);
    void RemoveKeys(DWORD nFirst, DWORD nLast);
    void MoveKeys(DWORD nFirst, DWORD nLast, DWORD nDest);
};

class CGXCollMapStringToWord : public CMap<CString, LPCSTR, WORD, WORD>
{
    DECLARE_DYNAMIC(CGXCollMapStringToWord)
public:
    explicit CGXCollMapStringToWord(int nBlockSize = 10) : CMap(nBlockSize) {}
    void CopyFrom(const CGXCollMapStringToWord& src);
};

class CGXCollMapStringToHandle : public CMap<CString, LPCSTR, HANDLE, HANDLE>
{
    DECLARE_DYNAMIC(CGXCollMapStringToHandle)
public:
    explicit CGXCollMapStringToHandle(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CGXCollMapDWordToPtr : public CMap<DWORD, DWORD, void*, void*>
{
    DECLARE_DYNAMIC(CGXCollMapDWordToPtr)
public:
    explicit CGXCollMapDWordToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

// Maps of owned entries {..., pStyle} keyed by id: delete, or copy with
// cloned styles.
template <class ENTRY>
void GXDeleteStyleEntries(CGXCollMapDWordToPtr& map)
{
    for (POSITION pos = map.GetStartPosition(); pos;) {
        DWORD id;
        void* p;
        map.GetNextAssoc(pos, id, p);
        ENTRY* e = static_cast<ENTRY*>(p);
        delete e->pStyle;
        delete e;
    }
    map.RemoveAll();
}

template <class ENTRY>
void GXCopyStyleEntries(CGXCollMapDWordToPtr& dst, const CGXCollMapDWordToPtr& src)
{
    GXDeleteStyleEntries<ENTRY>(dst);
    for (POSITION pos = src.GetStartPosition(); pos;) {
        DWORD id;
        void* p;
        src.GetNextAssoc(pos, id, p);
        const ENTRY* s = static_cast<const ENTRY*>(p);
        ENTRY* e = new ENTRY(*s);
        e->pStyle = s->pStyle != nullptr ? s->pStyle->Clone() : nullptr;
        dst.SetAt(id, e);
    }
}

// Two-part key of the cell maps (row and column as the caller passes them).
struct GXNdxKey
{
    DWORD first;
    DWORD second;
    bool operator==(const GXNdxKey& k) const { return first == k.first && second == k.second; }
};
inline UINT AfxHashKey(const GXNdxKey& key)
{
    return ((key.second & 0xFFFF) << 12) | ((key.first & 0xFFFF) >> 4);
}

class CMapNdxToOb : public CMap<GXNdxKey, const GXNdxKey&, CObject*, CObject*>
{
    DECLARE_SERIAL(CMapNdxToOb)
public:
    explicit CMapNdxToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CGXMapCellToOb : public CMapNdxToOb
{
    DECLARE_SERIAL(CGXMapCellToOb)
public:
    explicit CGXMapCellToOb(int nBlockSize = 10) : CMapNdxToOb(nBlockSize) {}
    using CMapNdxToOb::Lookup;
    using CMapNdxToOb::RemoveKey;
    using CMapNdxToOb::SetAt;
    void SetAt(DWORD nFirst, DWORD nSecond, CObject* pOb) { CMapNdxToOb::SetAt(GXNdxKey{nFirst, nSecond}, pOb); }
    BOOL Lookup(DWORD nFirst, DWORD nSecond, CObject*& rOb) const { return CMapNdxToOb::Lookup(GXNdxKey{nFirst, nSecond}, rOb); }
    BOOL RemoveKey(DWORD nFirst, DWORD nSecond) { return CMapNdxToOb::RemoveKey(GXNdxKey{nFirst, nSecond}); }
};

// Bit i lives in byte i / 8 at bit i % 8.
class CGXBitArray : public CByteArray
{
public:
    void SetBit(DWORD nIndex, BOOL bOn);
    BOOL GetBit(DWORD nIndex) const;
    void InsertBits(DWORD nIndex, DWORD nCount);
    void RemoveBits(DWORD nFirst, DWORD nLast);
    void MoveBits(DWORD nFirst, DWORD nLast, DWORD nDest);
    DWORD GetBitCount() const { return static_cast<DWORD>(GetSize()) * 8; }
};
