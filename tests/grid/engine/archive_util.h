// Helpers of the archive tests: store into bytes, load from bytes.
#pragma once
#include "afx.h"
#include <functional>
#include <vector>

inline std::vector<BYTE> StoreBytes(const std::function<void(CArchive&)>& f, CObject* pContext = nullptr)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = pContext;
        f(ar);
        ar.Close();
    }
    DWORD n = file.GetLength();
    std::vector<BYTE> out(n);
    file.SeekToBegin();
    file.Read(out.data(), n);
    return out;
}

inline void LoadBytes(std::vector<BYTE> bytes, const std::function<void(CArchive&)>& f, CObject* pContext = nullptr)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = pContext;
    f(ar);
}

// The archive exception cause thrown by f, or -1 when none was thrown.
inline int ArchiveCause(const std::function<void()>& f)
{
    try {
        f();
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

inline void PutWord(std::vector<BYTE>& v, WORD w) { v.push_back(LOBYTE(w)); v.push_back(HIBYTE(w)); }
inline void PutDWord(std::vector<BYTE>& v, DWORD d) { PutWord(v, LOWORD(d)); PutWord(v, HIWORD(d)); }
