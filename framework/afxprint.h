// Printing: the print job's state (CPrintInfo), the print and print-setup dialog (CPrintDialog),
// and the printer device the print loop talks to.
//
// Every printer operation of the framework goes through one CPrinterDevice: by default the
// system's printers (GDI printer DCs, StartDoc .. EndDoc). A test installs a stand-in printer
// (CStandInPrinter: a memory DC of a fixed page size that keeps each printed page's pixels) with
// AfxSetPrinterDevice; the print loop and the dialogs then run unchanged against it. Without any
// printer (as under Wine) the print commands say so and do nothing else.
#pragma once
#include "afxdlgs.h"
#include <commdlg.h>
#include <vector>

class CPrintDialog;

// The state of one print job, handed to the view's print operations.
struct CPrintInfo
{
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    CPrintDialog* m_pPD;        // the dialog holding the printer choice and page range (owned)
    BOOL m_bDirect;             // print without asking the print dialog
    BOOL m_bPreview;            // the job is a print preview
    BOOL m_bContinuePrinting;   // a view clears it to end the job after the current page
    UINT m_nCurPage;            // the page being printed (1-based)
    UINT m_nNumPreviewPages;
    LPVOID m_lpUserData;
    CRect m_rectDraw;           // the page's usable area in logical units, for OnPrint
    CString m_strPageDesc;      // format of the preview's page indicator

    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    // The range the user chose (all pages: the minimum to the maximum page). A maximum page of
    // 0xFFFF means "unknown": the loop runs until a view clears m_bContinuePrinting.
    UINT GetFromPage() const;
    UINT GetToPage() const;
};

// What the framework needs of a printer. The default device is the system's.
class CPrinterDevice
{
public:
    virtual ~CPrinterDevice() = default;
    // The default printer's DEVNAMES and DEVMODE as new movable global blocks the caller owns;
    // FALSE (both null) when no printer is installed.
    virtual BOOL GetDefaults(HGLOBAL& hDevNames, HGLOBAL& hDevMode);
    // A printer DC for the chosen printer (null on failure).
    virtual HDC CreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode);
    virtual void DeleteDC(HDC hDC);
    // The printable page in device pixels.
    virtual CSize GetPageSize(HDC hDC);
    virtual int SetAbortProc(HDC hDC, ABORTPROC proc);
    virtual int StartDoc(HDC hDC, const DOCINFOA* pInfo);
    virtual int StartPage(HDC hDC);
    virtual int EndPage(HDC hDC);
    virtual int EndDoc(HDC hDC);
    virtual int AbortDoc(HDC hDC);
};

// The device in use; AfxSetPrinterDevice(nullptr) gives back the system's. Returns the previous.
CPrinterDevice* AfxGetPrinterDevice();
CPrinterDevice* AfxSetPrinterDevice(CPrinterDevice* pDevice);

// A printer without paper: a memory DC with a white 24-bit page of a fixed size. Each finished page
// (EndPage) is kept as its pixels; the documents started and ended are counted.
class CStandInPrinter : public CPrinterDevice
{
public:
    explicit CStandInPrinter(CSize sizePage, LPCSTR lpszName = "Stand-in printer");
    ~CStandInPrinter() override;

    BOOL GetDefaults(HGLOBAL& hDevNames, HGLOBAL& hDevMode) override;
    HDC CreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode) override;
    void DeleteDC(HDC hDC) override;
    CSize GetPageSize(HDC hDC) override;
    int SetAbortProc(HDC hDC, ABORTPROC proc) override;
    int StartDoc(HDC hDC, const DOCINFOA* pInfo) override;
    int StartPage(HDC hDC) override;
    int EndPage(HDC hDC) override;
    int EndDoc(HDC hDC) override;
    int AbortDoc(HDC hDC) override;

    struct Page
    {
        std::vector<DWORD> pixels;  // top-down rows of 0x00RRGGBB
        COLORREF GetPixel(int x, int y) const;
        CSize size;
    };
    CSize m_sizePage;
    CString m_strName;
    std::vector<Page> m_pages;      // every page ended, all documents
    std::vector<CString> m_docNames;
    int m_nDocsEnded = 0;
    int m_nDocsAborted = 0;
    int m_nDCsOpen = 0;
    BOOL m_bFailStartDoc = FALSE;   // StartDoc answers an error (a printer that refuses the job)
    size_t m_nFailEndPage = 0;      // EndPage of this page (1-based, over all documents) answers
                                    // an error (a printer that fails during the job)

private:
    struct Surface { HDC hDC; HBITMAP hBitmap; HGDIOBJ hOld; void* pBits; };
    std::vector<Surface> m_surfaces;
    Surface* Find(HDC hDC);
};

// The print dialog, or with bPrintSetupOnly the print-setup dialog.
class CPrintDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE
                                          | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog() override;

    PRINTDLGA m_pd;     // hDevNames and hDevMode are the dialog's; hDC belongs to the caller

    // Under the seam a script answers (it may set m_pd's fields; a printer choice left empty is
    // the default printer's, and with PD_RETURNDC the DC is made as the system dialog would).
    INT_PTR DoModal() override;
    // The default printer without showing anything; FALSE when none is installed.
    BOOL GetDefaults();
    // A DC for the printer in hDevNames/hDevMode, stored in m_pd.hDC (null on failure).
    HDC CreatePrinterDC();

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

protected:
    BOOL RunSystemDialog() override;
    void TakeScriptAnswer(const AfxModalCall& call) override;
    CString DevNamesPart(int nPart) const;
};
