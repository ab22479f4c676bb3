#include "gxcoll.h"
#include <vector>

namespace {
template <class K, class AK, class V, class AV>
void CopyMapContents(CMap<K, AK, V, AV>& dst, const CMap<K, AK, V, AV>& src)
{
    if (&src == &dst)
        return;
    dst.RemoveAll();
    for (POSITION pos = src.GetStartPosition(); pos;) {
        K k;
        V v;
        src.GetNextAssoc(pos, k, v);
        dst.SetAt(k, v);
    }
}
} // namespace

void CGXCollMapDWordToString::CopyFrom(const CGXCollMapDWordToString& src) { CopyMapContents(*this, src); }
void CGXCollMapDWordToLong::CopyFrom(const CGXCollMapDWordToLong& src) { CopyMapContents(*this, src); }
void CGXCollMapStringToWord::CopyFrom(const CGXCollMapStringToWord& src) { CopyMapContents(*this, src); }

namespace {
// New key of a key when the block first..last moves to start at dest.
DWORD MovedKey(DWORD key, DWORD nFirst, DWORD nLast, DWORD nDest)
{
    DWORD n = nLast - nFirst + 1;
    DWORD D = nDest > nFirst ? nDest + n : nDest;
    if (key >= nFirst && key <= nLast)
        return key + (nDest - nFirst);
    if (key > nLast && key < D)
        return key - n;
    if (key >= D && key < nFirst)
        return key + n;
    return key;
}

template <class F>
void RebuildKeys(CGXMapDWordToLong& map, F newKey)
{
    std::vector<std::pair<DWORD, LONG>> entries;
    entries.reserve(static_cast<size_t>(map.GetCount()));
    for (POSITION pos = map.GetStartPosition(); pos;) {
        DWORD k;
        LONG v;
        map.GetNextAssoc(pos, k, v);
        DWORD nk;
        if (newKey(k, nk))
            entries.emplace_back(nk, v);
    }
    map.RemoveAll();
    for (auto& e : entries)
        map.SetAt(e.first, e.second);
}
} // namespace

void CGXMapDWordToLong::InsertKeys(DWORD nFirst, DWORD nCount)
{
    RebuildKeys(*this, [&](DWORD k, DWORD& nk) {
        nk = k >= nFirst ? k + nCount : k;
        return true;
    });
}

void CGXMapDWordToLong::RemoveKeys(DWORD nFirst, DWORD nLast)
{
    RebuildKeys(*this, [&](DWORD k, DWORD& nk) {
        if (k >= nFirst && k <= nLast)
            return false;
        nk = k > nLast ? k - (nLast - nFirst + 1) : k;
        return true;
    });
}

void CGXMapDWordToLong::MoveKeys(DWORD nFirst, DWORD nLast, DWORD nDest)
{
    RebuildKeys(*this, [&](DWORD k, DWORD& nk) {
        nk = MovedKey(k, nFirst, nLast, nDest);
        return true;
    });
}

// ---------------------------------------------------------------------------

void CGXBitArray::SetBit(DWORD nIndex, BOOL bOn)
{
    int nByte = static_cast<int>(nIndex / 8);
    if (nByte >= GetSize())
        SetSize(nByte + 1);
    BYTE mask = static_cast<BYTE>(1u << (nIndex % 8));
    if (bOn)
        ElementAt(nByte) |= mask;
    else
        ElementAt(nByte) &= static_cast<BYTE>(~mask);
}

BOOL CGXBitArray::GetBit(DWORD nIndex) const
{
    DWORD nByte = nIndex / 8;
    if (nByte >= static_cast<DWORD>(GetSize()))
        return FALSE;
    return (GetAt(static_cast<int>(nByte)) >> (nIndex % 8)) & 1;
}

namespace {
std::vector<bool> ToBits(const CGXBitArray& a)
{
    std::vector<bool> bits(a.GetBitCount());
    for (DWORD i = 0; i < bits.size(); ++i)
        bits[i] = a.GetBit(i) != 0;
    return bits;
}

void FromBits(CGXBitArray& a, const std::vector<bool>& bits)
{
    a.SetSize(static_cast<int>((bits.size() + 7) / 8));
    for (int i = 0; i < a.GetSize(); ++i)
        a.ElementAt(i) = 0;
    for (DWORD i = 0; i < bits.size(); ++i)
        if (bits[i])
            a.SetBit(i, TRUE);
}
} // namespace

void CGXBitArray::InsertBits(DWORD nIndex, DWORD nCount)
{
    std::vector<bool> bits = ToBits(*this);
    if (nIndex >= bits.size())
        return;   // nothing set above the array moves
    bits.insert(bits.begin() + nIndex, nCount, false);
    FromBits(*this, bits);
}

void CGXBitArray::RemoveBits(DWORD nFirst, DWORD nLast)
{
    std::vector<bool> bits = ToBits(*this);
    if (nFirst >= bits.size() || nLast < nFirst)
        return;
    DWORD end = nLast + 1 < bits.size() ? nLast + 1 : static_cast<DWORD>(bits.size());
    bits.erase(bits.begin() + nFirst, bits.begin() + end);
    FromBits(*this, bits);
}

void CGXBitArray::MoveBits(DWORD nFirst, DWORD nLast, DWORD nDest)
{
    if (nLast < nFirst)
        return;
    std::vector<bool> bits = ToBits(*this);
    DWORD n = nLast - nFirst + 1;
    DWORD D = nDest > nFirst ? nDest + n : nDest;
    DWORD need = std::max<DWORD>(static_cast<DWORD>(bits.size()), std::max(nLast, D) + 1);
    bits.resize(need, false);
    std::vector<bool> out(need, false);
    for (DWORD i = 0; i < need; ++i)
        if (bits[i])
            out[MovedKey(i, nFirst, nLast, nDest)] = true;
    FromBits(*this, out);
    // Drop trailing zero bytes the move may have added.
    int n8 = GetSize();
    while (n8 > 0 && GetAt(n8 - 1) == 0)
        --n8;
    SetSize(n8);
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGXCollMapStringToWord, CObject)
IMPLEMENT_DYNAMIC(CGXCollMapStringToHandle, CObject)
IMPLEMENT_DYNAMIC(CGXCollMapDWordToPtr, CObject)

IMPLEMENT_SERIAL(CGXCollMapDWordToString, CObject, 0)
IMPLEMENT_SERIAL(CGXCollMapDWordToLong, CObject, 0)
IMPLEMENT_SERIAL(CGXMapDWordToLong, CGXCollMapDWordToLong, 0)
IMPLEMENT_SERIAL(CMapNdxToOb, CObject, 0)
IMPLEMENT_SERIAL(CGXMapCellToOb, CMapNdxToOb, 0)

namespace {
// Count, then key and value per entry.
template <class K, class AK, class V, class AV>
void SerializeMap(CArchive& ar, CMap<K, AK, V, AV>& map)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(map.GetCount()));
        for (POSITION pos = map.GetStartPosition(); pos;) {
            K k;
            V v;
            map.GetNextAssoc(pos, k, v);
            ar << k << v;
        }
        return;
    }
    map.RemoveAll();
    for (DWORD n = ar.ReadCount(); n > 0; --n) {
        K k;
        V v;
        ar >> k >> v;
        map.SetAt(k, v);
    }
}
} // namespace

void CGXCollMapDWordToString::Serialize(CArchive& ar) { SerializeMap(ar, *this); }
void CGXCollMapDWordToLong::Serialize(CArchive& ar) { SerializeMap(ar, *this); }
