#include "gxprndev.h"
#include <commdlg.h>
#include <cstddef>
#include <cstring>
#include <vector>

CGXPrintDevice::~CGXPrintDevice() { ResetPrintDevice(); }

BOOL CGXPrintDevice::DestroyPrintDC()
{
    if (m_hPrintDC == nullptr)
        return FALSE;
    BOOL ok = ::DeleteDC(m_hPrintDC);
    m_hPrintDC = nullptr;
    return ok;
}

void CGXPrintDevice::ResetPrintDevice()
{
    DestroyPrintDC();
    if (m_hDevMode != nullptr)
        ::GlobalFree(m_hDevMode);
    if (m_hDevNames != nullptr)
        ::GlobalFree(m_hDevNames);
    m_hDevMode = m_hDevNames = nullptr;
}

BOOL CGXPrintDevice::IsValidDevMode(const void* p, DWORD nSize)
{
    if (p == nullptr || nSize < offsetof(DEVMODEA, dmFields) + sizeof(DWORD))
        return FALSE;
    const DEVMODEA* dm = static_cast<const DEVMODEA*>(p);
    if (dm->dmSize < offsetof(DEVMODEA, dmFields) + sizeof(DWORD))
        return FALSE;
    if (static_cast<DWORD>(dm->dmSize) + dm->dmDriverExtra > nSize)
        return FALSE;
    return std::memchr(dm->dmDeviceName, 0, sizeof(dm->dmDeviceName)) != nullptr;
}

BOOL CGXPrintDevice::IsValidDevNames(const void* p, DWORD nSize)
{
    if (p == nullptr || nSize < sizeof(DEVNAMES))
        return FALSE;
    const DEVNAMES* dn = static_cast<const DEVNAMES*>(p);
    const char* base = static_cast<const char*>(p);
    for (WORD off : {dn->wDriverOffset, dn->wDeviceOffset, dn->wOutputOffset}) {
        if (off < sizeof(DEVNAMES) || off >= nSize)
            return FALSE;
        if (std::memchr(base + off, 0, nSize - off) == nullptr)
            return FALSE;
    }
    return TRUE;
}

namespace {
HGLOBAL CopyToGlobal(const void* p, DWORD n)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, n);
    if (h == nullptr)
        return nullptr;
    void* dst = ::GlobalLock(h);
    std::memcpy(dst, p, n);
    ::GlobalUnlock(h);
    return h;
}
} // namespace

void CGXPrintDevice::SetDeviceInfo(const void* pDevMode, DWORD nDevModeSize, const void* pDevNames,
                                   DWORD nDevNamesSize)
{
    ResetPrintDevice();
    bool failed = false;
    if (nDevModeSize > 0 && IsValidDevMode(pDevMode, nDevModeSize)) {
        m_hDevMode = CopyToGlobal(pDevMode, nDevModeSize);
        failed = m_hDevMode == nullptr;
    }
    if (nDevNamesSize > 0 && IsValidDevNames(pDevNames, nDevNamesSize)) {
        m_hDevNames = CopyToGlobal(pDevNames, nDevNamesSize);
        failed = failed || m_hDevNames == nullptr;
    }
    if (failed)
        AfxThrowMemoryException();
}

void CGXPrintDevice::SetDeviceInfo(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    DWORD nMode = hDevMode ? static_cast<DWORD>(::GlobalSize(hDevMode)) : 0;
    DWORD nNames = hDevNames ? static_cast<DWORD>(::GlobalSize(hDevNames)) : 0;
    const void* pMode = hDevMode ? ::GlobalLock(hDevMode) : nullptr;
    const void* pNames = hDevNames ? ::GlobalLock(hDevNames) : nullptr;
    try {
        SetDeviceInfo(pMode, pMode ? nMode : 0, pNames, pNames ? nNames : 0);
    } catch (...) {
        if (pMode)
            ::GlobalUnlock(hDevMode);
        if (pNames)
            ::GlobalUnlock(hDevNames);
        throw;
    }
    if (pMode)
        ::GlobalUnlock(hDevMode);
    if (pNames)
        ::GlobalUnlock(hDevNames);
}

void CGXPrintDevice::GetDeviceInfo(BYTE*& pDevMode, DWORD& nDevModeSize, BYTE*& pDevNames,
                                   DWORD& nDevNamesSize) const
{
    auto copy = [](HGLOBAL h, BYTE*& p, DWORD& n) {
        p = nullptr;
        n = 0;
        if (h == nullptr)
            return;
        n = static_cast<DWORD>(::GlobalSize(h));
        const void* src = ::GlobalLock(h);
        if (src == nullptr) {
            n = 0;
            return;
        }
        p = new BYTE[n];
        std::memcpy(p, src, n);
        ::GlobalUnlock(h);
    };
    copy(m_hDevMode, pDevMode, nDevModeSize);
    copy(m_hDevNames, pDevNames, nDevNamesSize);
}

void CGXPrintDevice::CreateDeviceFromDefaultPrinter()
{
    PRINTDLGA pd;
    std::memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;
    if (!::PrintDlgA(&pd))
        return;
    if (pd.hDevMode != nullptr) {
        if (DEVMODEA* dm = static_cast<DEVMODEA*>(::GlobalLock(pd.hDevMode))) {
            dm->dmTTOption = DMTT_BITMAP;
            ::GlobalUnlock(pd.hDevMode);
        }
    }
    try {
        SetDeviceInfo(pd.hDevNames, pd.hDevMode);
    } catch (...) {
        ::GlobalFree(pd.hDevMode);
        ::GlobalFree(pd.hDevNames);
        throw;
    }
    if (pd.hDevMode)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        ::GlobalFree(pd.hDevNames);
}

void CGXPrintDevice::NeedDevice()
{
    if (m_hDevMode == nullptr)
        CreateDeviceFromDefaultPrinter();
}

HDC CGXPrintDevice::GetPrintDC()
{
    if (m_hPrintDC != nullptr)
        return m_hPrintDC;
    NeedDevice();
    if (m_hDevNames == nullptr)
        return nullptr;
    const DEVNAMES* dn = static_cast<const DEVNAMES*>(::GlobalLock(m_hDevNames));
    const DEVMODEA* dm = m_hDevMode ? static_cast<const DEVMODEA*>(::GlobalLock(m_hDevMode)) : nullptr;
    if (dn != nullptr) {
        const char* base = reinterpret_cast<const char*>(dn);
        m_hPrintDC = ::CreateDCA(base + dn->wDriverOffset, base + dn->wDeviceOffset, nullptr, dm);
        ::GlobalUnlock(m_hDevNames);
    }
    if (dm != nullptr)
        ::GlobalUnlock(m_hDevMode);
    return m_hPrintDC;
}

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXPrintDevice, CObject, 0)

void CGXPrintDevice::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        BYTE *pMode, *pNames;
        DWORD nMode, nNames;
        GetDeviceInfo(pMode, nMode, pNames, nNames);
        ar << static_cast<WORD>(1) << nMode;
        if (nMode)
            ar.Write(pMode, nMode);
        ar << nNames;
        if (nNames)
            ar.Write(pNames, nNames);
        delete[] pMode;
        delete[] pNames;
        return;
    }
    WORD wSchema;
    ar >> wSchema;
    if (wSchema != 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    // Printer blocks are small; a larger size is a damaged archive.
    const DWORD kMaxBlock = 0x100000;
    DWORD nMode, nNames;
    ar >> nMode;
    if (nMode > kMaxBlock)
        AfxThrowArchiveException(CArchiveException::generic);
    std::vector<BYTE> mode(nMode);
    if (nMode)
        ar.EnsureRead(mode.data(), nMode);
    ar >> nNames;
    if (nNames > kMaxBlock)
        AfxThrowArchiveException(CArchiveException::generic);
    std::vector<BYTE> names(nNames);
    if (nNames)
        ar.EnsureRead(names.data(), nNames);
    SetDeviceInfo(mode.data(), nMode, names.data(), nNames);
}
