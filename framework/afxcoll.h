// Lists, arrays and hash maps with the framework's interfaces and iteration order.
#pragma once
#include "afxobj.h"
#include "afxstr.h"
#include "afxarch.h"
#include "afxpool.h"
#include <cstring>
#include <type_traits>
#include <new>
#include <utility>

// Collections report a failed allocation with the framework's memory exception.
template <class T>
inline T* AfxCheckAlloc(T* p)
{
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

// ---------------------------------------------------------------------------
// Doubly linked lists. A POSITION is the node itself, so removing the element
// that GetNext has just passed leaves the iteration valid.

template <class TYPE, class ARG_TYPE>
class CListT
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CListT(int nBlockSize = 10) { (void)nBlockSize; }
    CListT(const CListT&) = delete;
    CListT& operator=(const CListT&) = delete;
    ~CListT() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead->data; }
    const TYPE& GetHead() const { return m_pNodeHead->data; }
    TYPE& GetTail() { return m_pNodeTail->data; }
    const TYPE& GetTail() const { return m_pNodeTail->data; }

    TYPE RemoveHead()
    {
        CNode* p = m_pNodeHead;
        TYPE v = p->data;
        Unlink(p);
        return v;
    }
    TYPE RemoveTail()
    {
        CNode* p = m_pNodeTail;
        TYPE v = p->data;
        Unlink(p);
        return v;
    }

    POSITION AddHead(ARG_TYPE newElement)
    {
        CNode* p = NewNode(nullptr, m_pNodeHead, newElement);
        if (m_pNodeHead)
            m_pNodeHead->pPrev = p;
        else
            m_pNodeTail = p;
        m_pNodeHead = p;
        return Pos(p);
    }
    POSITION AddTail(ARG_TYPE newElement)
    {
        CNode* p = NewNode(m_pNodeTail, nullptr, newElement);
        if (m_pNodeTail)
            m_pNodeTail->pNext = p;
        else
            m_pNodeHead = p;
        m_pNodeTail = p;
        return Pos(p);
    }
    void AddHead(CListT* pNewList)
    {
        for (POSITION pos = pNewList->GetTailPosition(); pos;)
            AddHead(pNewList->GetPrev(pos));
    }
    void AddTail(CListT* pNewList)
    {
        for (POSITION pos = pNewList->GetHeadPosition(); pos;)
            AddTail(pNewList->GetNext(pos));
    }

    void RemoveAll()
    {
        CNode* p = m_pNodeHead;
        while (p) {
            CNode* next = p->pNext;
            FreeNode(p);
            p = next;
        }
        m_pNodeHead = m_pNodeTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
    POSITION GetTailPosition() const { return Pos(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = Pos(p->pNext);
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = Pos(p->pNext);
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = Pos(p->pPrev);
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = Pos(p->pPrev);
        return p->data;
    }
    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }

    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (position == nullptr)
            return AddHead(newElement);
        CNode* old = Node(position);
        CNode* p = NewNode(old->pPrev, old, newElement);
        if (old->pPrev)
            old->pPrev->pNext = p;
        else
            m_pNodeHead = p;
        old->pPrev = p;
        return Pos(p);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (position == nullptr)
            return AddTail(newElement);
        CNode* old = Node(position);
        CNode* p = NewNode(old, old->pNext, newElement);
        if (old->pNext)
            old->pNext->pPrev = p;
        else
            m_pNodeTail = p;
        old->pNext = p;
        return Pos(p);
    }

    // Null when not found; the search starts after startAfter when given.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* p = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
        for (; p; p = p->pNext)
            if (p->data == searchValue)
                return Pos(p);
        return nullptr;
    }
    // Null when nIndex is out of range.
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* p = m_pNodeHead;
        while (nIndex--)
            p = p->pNext;
        return Pos(p);
    }

protected:
    static POSITION Pos(CNode* p) { return reinterpret_cast<POSITION>(p); }
    static CNode* Node(POSITION p) { return reinterpret_cast<CNode*>(p); }
    // The nodes of all the lists of one element type share a pool: a map's load links thousands
    // of objects into lists, and clears them again, and a heap call for each node cost more than
    // the link itself.
    static CBlockPool& NodePool()
    {
        static CBlockPool* pool = new CBlockPool(sizeof(CNode));
        return *pool;
    }
    CNode* NewNode(CNode* prev, CNode* next, ARG_TYPE value)
    {
        void* room = AfxCheckAlloc(NodePool().TryAllocate());
        CNode* p;
        try {
            p = new (room) CNode{next, prev, value};
        } catch (...) {
            NodePool().Free(room);
            throw;
        }
        ++m_nCount;
        return p;
    }
    static void FreeNode(CNode* p)
    {
        p->~CNode();
        NodePool().Free(p);
    }
    void Unlink(CNode* p)
    {
        if (p->pPrev)
            p->pPrev->pNext = p->pNext;
        else
            m_pNodeHead = p->pNext;
        if (p->pNext)
            p->pNext->pPrev = p->pPrev;
        else
            m_pNodeTail = p->pPrev;
        FreeNode(p);
        --m_nCount;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    int m_nCount = 0;
};

class CPtrList : public CObject, public CListT<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int nBlockSize = 10) : CListT(nBlockSize) {}
};

class CObList : public CObject, public CListT<CObject*, CObject*>
{
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(int nBlockSize = 10) : CListT(nBlockSize) {}
    void Serialize(CArchive& ar) override;
};

class CStringList : public CObject, public CListT<CString, LPCSTR>
{
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(int nBlockSize = 10) : CListT(nBlockSize) {}
    using CListT::AddHead;
    using CListT::AddTail;
    void Serialize(CArchive& ar) override;
};

// Typed pointer list over CPtrList or CObList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
};

// ---------------------------------------------------------------------------
// Growable arrays.

// Array elements in archives: plain values as their bytes, strings in the
// string form. Pointers and objects with their own copying are refused.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, int nCount)
{
    if (std::is_pointer<TYPE>::value || !std::is_trivially_copyable<TYPE>::value)
        AfxThrowNotSupportedException();
    UINT nBytes = static_cast<UINT>(nCount) * static_cast<UINT>(sizeof(TYPE));
    if (ar.IsStoring())
        ar.Write(pElements, nBytes);
    else
        ar.EnsureRead(pElements, nBytes);
}
void SerializeElements(CArchive& ar, CString* pElements, int nCount);

template <class TYPE, class ARG_TYPE>
class CArray : public CObject
{
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    ~CArray() override { delete[] m_pData; }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    BOOL IsEmpty() const { return m_nSize == 0; }

    // Elements past the old size are value-initialised; nGrowBy -1 keeps the step.
    void SetSize(int nNewSize, int nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize <= 0) {
            delete[] m_pData;
            m_pData = nullptr;
            m_nSize = m_nMaxSize = 0;
            return;
        }
        if (nNewSize > m_nMaxSize) {
            int grow = m_nGrowBy;
            if (grow == 0) {
                grow = m_nSize / 8;
                grow = grow < 4 ? 4 : (grow > 1024 ? 1024 : grow);
            }
            long long wanted = static_cast<long long>(m_nMaxSize) + grow;
            int newMax = wanted > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(wanted);
            if (newMax < nNewSize)
                newMax = nNewSize;
            TYPE* p = AfxCheckAlloc(new (std::nothrow) TYPE[static_cast<size_t>(newMax)]());
            for (int i = 0; i < m_nSize; ++i)
                p[i] = std::move(m_pData[i]);
            delete[] m_pData;
            m_pData = p;
            m_nMaxSize = newMax;
        }
        for (int i = m_nSize; i < nNewSize; ++i)
            m_pData[i] = TYPE();
        for (int i = nNewSize; i < m_nSize; ++i)
            m_pData[i] = TYPE();
        m_nSize = nNewSize;
    }
    void FreeExtra() {}
    void RemoveAll() { SetSize(0); }

    TYPE GetAt(int nIndex) const { return m_pData[nIndex]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[nIndex] = newElement; }
    TYPE& ElementAt(int nIndex) { return m_pData[nIndex]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(int nIndex, ARG_TYPE newElement)
    {
        if (nIndex >= m_nSize) {
            TYPE copy = newElement;   // the argument may live in this array
            SetSize(nIndex + 1);
            m_pData[nIndex] = copy;
        } else {
            m_pData[nIndex] = newElement;
        }
    }
    int Add(ARG_TYPE newElement)
    {
        int n = m_nSize;
        SetAtGrow(n, newElement);
        return n;
    }
    int Append(const CArray& src)
    {
        int old = m_nSize;
        SetSize(m_nSize + src.m_nSize);
        for (int i = 0; i < src.m_nSize; ++i)
            m_pData[old + i] = src.m_pData[i];
        return old;
    }
    void Copy(const CArray& src)
    {
        if (&src == this)
            return;
        SetSize(src.m_nSize);
        for (int i = 0; i < src.m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }

    TYPE operator[](int nIndex) const { return m_pData[nIndex]; }
    TYPE& operator[](int nIndex) { return m_pData[nIndex]; }

    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1)
    {
        if (nCount <= 0)
            return;
        TYPE copy = newElement;
        if (nIndex >= m_nSize) {
            SetSize(nIndex + nCount);
        } else {
            int old = m_nSize;
            SetSize(m_nSize + nCount);
            for (int i = old - 1; i >= nIndex; --i)
                m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (int i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = copy;
    }
    void InsertAt(int nStartIndex, const CArray* pNewArray)
    {
        if (pNewArray->GetSize() > 0) {
            InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
            for (int i = 0; i < pNewArray->GetSize(); ++i)
                SetAt(nStartIndex + i, pNewArray->GetAt(i));
        }
    }
    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize)
            return;
        if (nIndex + nCount > m_nSize)
            nCount = m_nSize - nIndex;
        for (int i = nIndex; i + nCount < m_nSize; ++i)
            m_pData[i] = std::move(m_pData[i + nCount]);
        for (int i = m_nSize - nCount; i < m_nSize; ++i)
            m_pData[i] = TYPE();
        m_nSize -= nCount;
    }

    // The count (WriteCount form), then the elements. Loading replaces the
    // contents; it grows the array as the data arrives, so a damaged count
    // ends in the end-of-file exception rather than a huge allocation.
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD>(m_nSize));
            SerializeElements(ar, m_pData, m_nSize);
            return;
        }
        DWORD n = ar.ReadCount();
        if (n > 0x7FFFFFFF)
            AfxThrowArchiveException(CArchiveException::badIndex);
        SetSize(0);
        int done = 0;
        while (done < static_cast<int>(n)) {
            int part = static_cast<int>(n) - done;
            if (part > 0x10000)
                part = 0x10000;
            SetSize(done + part);
            SerializeElements(ar, m_pData + done, part);
            done += part;
        }
    }

protected:
    TYPE* m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

#define AFX_DECLARE_SERIAL_ARRAY(name, type, argtype) \
    class name : public CArray<type, argtype> \
    { \
        DECLARE_SERIAL(name) \
    public: \
        name() = default; \
        void Serialize(CArchive& ar) override; \
    };
#define AFX_DECLARE_DYNAMIC_ARRAY(name, type, argtype) \
    class name : public CArray<type, argtype> \
    { \
        DECLARE_DYNAMIC(name) \
    public: \
        name() = default; \
        /* not archivable: nothing is written or read */ \
        void Serialize(CArchive& ar) override { CObject::Serialize(ar); } \
    };

AFX_DECLARE_SERIAL_ARRAY(CByteArray, BYTE, BYTE)
AFX_DECLARE_SERIAL_ARRAY(CWordArray, WORD, WORD)
AFX_DECLARE_SERIAL_ARRAY(CDWordArray, DWORD, DWORD)
AFX_DECLARE_DYNAMIC_ARRAY(CUIntArray, UINT, UINT)
AFX_DECLARE_DYNAMIC_ARRAY(CPtrArray, void*, void*)
AFX_DECLARE_SERIAL_ARRAY(CObArray, CObject*, CObject*)
AFX_DECLARE_SERIAL_ARRAY(CStringArray, CString, LPCSTR)

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(int nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(int nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    void InsertAt(int nIndex, TYPE newElement, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
};

// ---------------------------------------------------------------------------
// Hash maps built like the framework's: 17 buckets by default, made on the
// first insertion; new entries go to the head of their bucket; iteration runs
// over the buckets in ascending order.

inline UINT AfxHashKey(LPCSTR key)
{
    UINT nHash = 0;
    while (*key)
        nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<int>(*key++));
    return nHash;
}
inline UINT AfxHashKey(const CString& key) { return AfxHashKey(static_cast<LPCSTR>(key)); }
inline UINT AfxHashKey(const void* key) { return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4); }
inline UINT AfxHashKey(UINT_PTR key) { return static_cast<UINT>(key >> 4); }
inline UINT AfxHashKey(UINT key) { return key >> 4; }
inline UINT AfxHashKey(WORD key) { return static_cast<UINT>(key) >> 4; }
inline UINT AfxHashKey(int key) { return static_cast<UINT>(key) >> 4; }
inline UINT AfxHashKey(long key) { return static_cast<UINT>(key) >> 4; }
inline UINT AfxHashKey(unsigned long key) { return static_cast<UINT>(key) >> 4; }

inline bool AfxCompareKey(const CString& a, LPCSTR b) { return a == b; }
template <class A, class B>
inline bool AfxCompareKey(const A& a, const B& b) { return a == b; }

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(int nBlockSize = 10) { (void)nBlockSize; }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT nHash;
        CAssoc* p = GetAssocAt(key, nHash);
        if (p == nullptr)
            return FALSE;
        rValue = p->value;
        return TRUE;
    }
    // The key as stored, for maps whose lookups ignore details of the key.
    BOOL LookupKey(ARG_KEY key, ARG_KEY& rKey) const
    {
        UINT nHash;
        CAssoc* p = GetAssocAt(key, nHash);
        if (p == nullptr)
            return FALSE;
        rKey = p->key;
        return TRUE;
    }

    VALUE& operator[](ARG_KEY key)
    {
        UINT nHash;
        CAssoc* p = GetAssocAt(key, nHash);
        if (p == nullptr) {
            if (m_pHashTable == nullptr)
                InitHashTable(m_nHashTableSize);
            p = AfxCheckAlloc(new (std::nothrow) CAssoc{m_pHashTable[nHash], nHash, KEY(key), VALUE()});
            m_pHashTable[nHash] = p;
            ++m_nCount;
        }
        return p->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_pHashTable == nullptr)
            return FALSE;
        UINT nHash = AfxHashKey(key) % m_nHashTableSize;
        for (CAssoc** pp = &m_pHashTable[nHash]; *pp != nullptr; pp = &(*pp)->pNext) {
            if (AfxCompareKey((*pp)->key, key)) {
                CAssoc* dead = *pp;
                *pp = dead->pNext;
                delete dead;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }

    void RemoveAll()
    {
        if (m_pHashTable != nullptr) {
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                CAssoc* p = m_pHashTable[i];
                while (p) {
                    CAssoc* next = p->pNext;
                    delete p;
                    p = next;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }

    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* p = reinterpret_cast<CAssoc*>(rNextPosition);
        if (rNextPosition == BEFORE_START_POSITION) {
            p = nullptr;
            for (UINT i = 0; i < m_nHashTableSize && p == nullptr; ++i)
                p = m_pHashTable[i];
        }
        CAssoc* next = p->pNext;
        if (next == nullptr) {
            for (UINT i = p->nHashValue + 1; i < m_nHashTableSize && next == nullptr; ++i)
                next = m_pHashTable[i];
        }
        rNextPosition = reinterpret_cast<POSITION>(next);
        rKey = p->key;
        rValue = p->value;
    }

    // Discards the contents when the table is remade.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE)
    {
        if (m_pHashTable != nullptr) {
            RemoveAll();
        }
        if (hashSize == 0)
            hashSize = 17;
        if (bAllocNow)
            m_pHashTable = AfxCheckAlloc(new (std::nothrow) CAssoc*[hashSize]());
        m_nHashTableSize = hashSize;
    }

protected:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const
    {
        nHash = AfxHashKey(key) % m_nHashTableSize;
        if (m_pHashTable == nullptr)
            return nullptr;
        for (CAssoc* p = m_pHashTable[nHash]; p != nullptr; p = p->pNext)
            if (AfxCompareKey(p->key, key))
                return p;
        return nullptr;
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*>
{
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*>
{
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
    void Serialize(CArchive& ar) override;
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR>
{
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(int nBlockSize = 10) : CMap(nBlockSize) {}
    void Serialize(CArchive& ar) override;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD>
{
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

// Pointer-sized keys (timer ids and the like) to objects.
class CMapUIntPtrToOb : public CMap<UINT_PTR, UINT_PTR, CObject*, CObject*>
{
    DECLARE_DYNAMIC(CMapUIntPtrToOb)
public:
    explicit CMapUIntPtrToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
};
