#include "afxarch.h"
#include "afxfile.h"
#include <cstring>

namespace {
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;
const WORD nMaxClassNameLength = 255;
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(nullptr), m_pFile(pFile), m_nMode(nMode), m_lpBuf(nullptr), m_nBufSize(0), m_nBufCur(0),
      m_nBufMax(0), m_nObjectSchema(static_cast<UINT>(-1)), m_nMapCount(1)
{
    if (nBufSize < 128)
        nBufSize = 128;
    m_nBufSize = static_cast<UINT>(nBufSize);
    if (lpBuf != nullptr) {
        m_lpBuf = static_cast<BYTE*>(lpBuf);
    } else {
        m_ownBuffer.resize(m_nBufSize);
        m_lpBuf = m_ownBuffer.data();
    }
    if (IsLoading())
        m_loadArray.push_back(LoadEntry{entryNull, nullptr, 0});
}

CArchive::~CArchive()
{
    if (m_pFile != nullptr && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
    }
    Abort();
}

void CArchive::Throw(int cause)
{
    CString name;
    if (m_pFile != nullptr)
        name = m_pFile->GetFilePath();
    AfxThrowArchiveException(cause, name.IsEmpty() ? nullptr : static_cast<LPCSTR>(name));
}

void CArchive::CheckStoring()
{
    if (!IsStoring())
        Throw(CArchiveException::readOnly);
}

void CArchive::CheckLoading()
{
    if (!IsLoading())
        Throw(CArchiveException::writeOnly);
}

UINT CArchive::GetObjectSchema()
{
    UINT n = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return n;
}

// ---------------------------------------------------------------------------
// Raw bytes

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_nBufCur == m_nBufMax) {
            m_nBufCur = 0;
            m_nBufMax = m_pFile != nullptr ? m_pFile->Read(m_lpBuf, m_nBufSize) : 0;
            if (m_nBufMax == 0)
                break;
        }
        UINT n = m_nBufMax - m_nBufCur;
        if (n > nMax - done)
            n = nMax - done;
        std::memcpy(out + done, m_lpBuf + m_nBufCur, n);
        m_nBufCur += n;
        done += n;
    }
    return done;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        Throw(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_nBufCur == m_nBufSize)
            FlushStoreBuffer();
        UINT n = m_nBufSize - m_nBufCur;
        if (n > nMax)
            n = nMax;
        std::memcpy(m_lpBuf + m_nBufCur, in, n);
        m_nBufCur += n;
        in += n;
        nMax -= n;
    }
}

void CArchive::FlushStoreBuffer()
{
    if (m_nBufCur > 0 && m_pFile != nullptr)
        m_pFile->Write(m_lpBuf, m_nBufCur);
    m_nBufCur = 0;
}

void CArchive::Flush()
{
    if (m_pFile == nullptr)
        return;
    if (IsStoring()) {
        FlushStoreBuffer();
    } else if (m_nBufMax != m_nBufCur) {
        // Give back what was read ahead, so the file stands after the data.
        m_pFile->Seek(-static_cast<LONG>(m_nBufMax - m_nBufCur), CFile::current);
        m_nBufCur = m_nBufMax = 0;
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_nBufCur = m_nBufMax = 0;
}

// ---------------------------------------------------------------------------
// Counts and strings

void CArchive::WriteCount(DWORD dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << dwCount;
    }
}

DWORD CArchive::ReadCount()
{
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    return dw;
}

void CArchive::WriteStringValue(const CString& s)
{
    DWORD n = static_cast<DWORD>(s.GetLength());
    if (n < 0xFF) {
        *this << static_cast<BYTE>(n);
    } else if (n < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF);
        *this << static_cast<WORD>(n);
    } else {
        *this << static_cast<BYTE>(0xFF);
        *this << static_cast<WORD>(0xFFFF);
        *this << n;
    }
    Write(static_cast<LPCSTR>(s), n);
}

DWORD CArchive::ReadStringLength(bool& bUnicode)
{
    BYTE b;
    *this >> b;
    if (b < 0xFF)
        return b;
    WORD w;
    *this >> w;
    if (w == 0xFFFE) {
        // A wide-character string follows, with its own length.
        bUnicode = true;
        *this >> b;
        if (b < 0xFF)
            return b;
        *this >> w;
    }
    if (w < 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    return dw;
}

void CArchive::ReadStringValue(CString& s)
{
    bool bUnicode = false;
    DWORD n = ReadStringLength(bUnicode);
    if (!bUnicode) {
        // Read in slices so that a damaged length cannot ask for huge memory
        // before the end of the data is found.
        CString text;
        char chunk[4096];
        while (n > 0) {
            UINT part = n < sizeof(chunk) ? n : sizeof(chunk);
            EnsureRead(chunk, part);
            text += CString(chunk, static_cast<int>(part));
            n -= part;
        }
        s = text;
        return;
    }
    std::vector<WCHAR> wide;
    while (n > 0) {
        WCHAR ch;
        EnsureRead(&ch, sizeof(ch));
        wide.push_back(ch);
        --n;
    }
    if (wide.empty()) {
        s.Empty();
        return;
    }
    int len = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    CString text;
    LPSTR p = text.GetBufferSetLength(len);
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), p, len, nullptr, nullptr);
    text.ReleaseBuffer(len);
    s = text;
}

CArchive& operator<<(CArchive& ar, const CString& s)
{
    ar.WriteStringValue(s);
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& s)
{
    ar.ReadStringValue(s);
    return ar;
}

// ---------------------------------------------------------------------------
// Objects

void CArchive::CheckCount()
{
    if (m_nMapCount >= nMaxMapCount)
        Throw(CArchiveException::badIndex);
}

void CArchive::WriteTag(DWORD index, DWORD bigFlag)
{
    if (index < wBigObjectTag) {
        *this << static_cast<WORD>(index | (bigFlag ? wClassTag : 0));
    } else {
        *this << wBigObjectTag;
        *this << (bigFlag | index);
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (pClassRef->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();   // the class cannot be archived
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, dwBigClassTag);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    CheckCount();
    m_storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (pOb == nullptr) {
        *this << wNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, 0);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    CheckCount();
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring()) {
        if (pOb != nullptr && m_storeMap.find(pOb) == m_storeMap.end()) {
            CheckCount();
            m_storeMap[pOb] = m_nMapCount++;
        }
    } else {
        // In step with storing: a null object and an object already mapped take no index.
        if (pOb == nullptr)
            return;
        for (const LoadEntry& e : m_loadArray)
            if (e.kind == entryObject && e.p == pOb)
                return;
        CheckCount();
        m_loadArray.push_back(LoadEntry{entryObject, const_cast<CObject*>(pOb), 0});
        ++m_nMapCount;
    }
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // An object reference (or null) where a class was expected.
        if (pObTag == nullptr)
            Throw(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == nullptr)
            Throw(CArchiveException::badClass);
        if (pClassRef->m_wSchema == 0xFFFF)
            Throw(CArchiveException::generic);   // a class that is never archived
        if (pClassRef->m_wSchema & VERSIONABLE_SCHEMA) {
            // any schema of the class is accepted and handed to the object
        } else if ((pClassRef->m_wSchema & 0xFFFF) != nSchema) {
            Throw(CArchiveException::badSchema);
        }
        CheckCount();
        m_loadArray.push_back(LoadEntry{entryClass, pClassRef, nSchema});
        ++m_nMapCount;
    } else {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || m_loadArray[nClassIndex].kind != entryClass)
            Throw(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(m_loadArray[nClassIndex].p);
        nSchema = m_loadArray[nClassIndex].nSchema;
    }

    if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
        Throw(CArchiveException::badClass);
    if (pSchema != nullptr)
        *pSchema = nSchema;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (pClassRef == nullptr) {
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].kind == entryClass)
            Throw(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
        if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
            Throw(CArchiveException::badClass);
        return pOb;
    }

    CObject* pOb = pClassRef->CreateObject();
    if (pOb == nullptr)
        AfxThrowMemoryException();
    CheckCount();
    size_t slot = m_loadArray.size();
    m_loadArray.push_back(LoadEntry{entryObject, pOb, 0});
    ++m_nMapCount;
    UINT savedSchema = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // A half-read object is not handed out.
        m_loadArray[slot].p = nullptr;
        delete pOb;
        m_nObjectSchema = savedSchema;
        throw;
    }
    m_nObjectSchema = savedSchema;
    return pOb;
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

// ---------------------------------------------------------------------------
// Class records in archives: WORD schema, WORD name length, the name.

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema);
    ar << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema, nLen;
    ar >> wSchema;
    ar >> nLen;
    if (pwSchemaNum != nullptr)
        *pwSchemaNum = wSchema;
    if (nLen > nMaxClassNameLength)
        return nullptr;
    char name[nMaxClassNameLength + 1];
    if (ar.Read(name, nLen) != nLen)
        return nullptr;
    name[nLen] = '\0';
    return FromName(name);
}
