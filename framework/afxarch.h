// Binary archives over a file, in the framework's little-endian layout:
// counts, strings and objects with their class tags and back references.
#pragma once
#include "afxobj.h"
#include "afxstr.h"
#include "afxexcept.h"
#include <unordered_map>
#include <vector>

class CFile;

// A class whose schema carries this bit reads any schema number of its own
// class and learns it through CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Closes (flushing a storing archive) unless bNoFlushOnDelete was given;
    // errors of that last flush are dropped.
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const { return m_nBufCur == m_nBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // The schema of the object now being read (once; -1 afterwards) for
    // classes with VERSIONABLE_SCHEMA.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // A free context pointer for the objects being archived.
    CObject* m_pDocument;

    // Raw bytes. Read returns how many bytes were read (fewer at the end).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Reads exactly nCount bytes or throws the end-of-file archive exception.
    void EnsureRead(void* lpBuf, UINT nCount);

    void Flush();
    void Close();
    void Abort();

    // Objects: 0 for null; 0xFFFF, the class record and the object for a
    // class not yet seen; 0x8000 | class index for a known class; the object's
    // index for an object already written; 0x7FFF and a DWORD for large indexes.
    void WriteObject(const CObject* pOb);
    // Checks that the object is of the requested class (badClass), that the
    // class is known (badClass) with the same schema (badSchema) and that back
    // references are valid (badIndex).
    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // Enters an object in the tables without writing it, so that later
    // references to it are written as back references.
    void MapObject(const CObject* pOb);

    // A WORD below 0xFFFF, else 0xFFFF and a DWORD.
    void WriteCount(DWORD dwCount);
    DWORD ReadCount();

    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(LONG l) { return WriteValue(l); }
    CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
    CArchive& operator<<(int i) { return WriteValue(static_cast<LONG>(i)); }
    CArchive& operator<<(UINT u) { return WriteValue(static_cast<DWORD>(u)); }
    CArchive& operator<<(short s) { return WriteValue(s); }
    CArchive& operator<<(char ch) { return WriteValue(ch); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }

    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(LONG& l) { return ReadValue(l); }
    CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
    CArchive& operator>>(int& i) { return ReadAs<LONG>(i); }
    CArchive& operator>>(UINT& u) { return ReadAs<DWORD>(u); }
    CArchive& operator>>(short& s) { return ReadValue(s); }
    CArchive& operator>>(char& ch) { return ReadValue(ch); }
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }

    // Strings: a BYTE length below 0xFF; else 0xFF and a WORD length below
    // 0xFFFE; else 0xFF, 0xFFFF and a DWORD length; then the characters.
    void WriteStringValue(const CString& s);
    void ReadStringValue(CString& s);

private:
    template <class T>
    CArchive& WriteValue(T v)
    {
        Write(&v, sizeof(v));
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& v)
    {
        EnsureRead(&v, sizeof(v));
        return *this;
    }
    template <class Stored, class T>
    CArchive& ReadAs(T& v)
    {
        Stored s;
        EnsureRead(&s, sizeof(s));
        v = static_cast<T>(s);
        return *this;
    }
    void CheckStoring();
    void CheckLoading();
    void FlushStoreBuffer();
    DWORD ReadStringLength(bool& bUnicode);
    void WriteTag(DWORD index, DWORD bigFlag);
    void CheckCount();
    [[noreturn]] void Throw(int cause);

    enum EntryKind : BYTE
    {
        entryNull,
        entryClass,
        entryObject
    };
    struct LoadEntry
    {
        EntryKind kind;
        void* p;
        UINT nSchema;
    };

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_ownBuffer;
    BYTE* m_lpBuf;
    UINT m_nBufSize;
    UINT m_nBufCur;
    UINT m_nBufMax;
    UINT m_nObjectSchema;
    DWORD m_nMapCount;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
};

CArchive& operator<<(CArchive& ar, const CString& s);
CArchive& operator>>(CArchive& ar, CString& s);
CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
