// The printer a grid prints on: device-mode and device-names blocks and a
// printer device context made from them on demand.
#pragma once
#include "afx.h"

class CGXPrintDevice : public CObject
{
    DECLARE_SERIAL(CGXPrintDevice)
public:
    CGXPrintDevice() = default;
    ~CGXPrintDevice() override;
    CGXPrintDevice(const CGXPrintDevice&) = delete;
    CGXPrintDevice& operator=(const CGXPrintDevice&) = delete;

    void Serialize(CArchive& ar) override;
    // Null when called on no object or when there is no printer.
    virtual HDC GetPrintDC();
    virtual BOOL DestroyPrintDC();

    void ResetPrintDevice();
    // Copies the given bytes; a block that is not a well-formed device-mode
    // (device-names) block is not kept.
    void SetDeviceInfo(const void* pDevMode, DWORD nDevModeSize, const void* pDevNames, DWORD nDevNamesSize);
    void SetDeviceInfo(HGLOBAL hDevNames, HGLOBAL hDevMode);
    // New heap copies (delete[] them); null and 0 for an empty block.
    void GetDeviceInfo(BYTE*& pDevMode, DWORD& nDevModeSize, BYTE*& pDevNames, DWORD& nDevNamesSize) const;
    void CreateDeviceFromDefaultPrinter();
    void NeedDevice();

    HGLOBAL GetDevNames() const { return m_hDevNames; }
    HGLOBAL GetDevMode() const { return m_hDevMode; }

    static BOOL IsValidDevMode(const void* p, DWORD nSize);
    static BOOL IsValidDevNames(const void* p, DWORD nSize);

protected:
    HGLOBAL m_hDevNames = nullptr;
    HGLOBAL m_hDevMode = nullptr;
    HDC m_hPrintDC = nullptr;
};
