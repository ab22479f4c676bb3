// The one message reporter: boxes, Output window lines, status lines, the fatal error.
#pragma once
#include "afx.h"
#include <vector>

class CEditorServices;

class CReporter : public CObject
{
public:
    // The services stand for the main frame; null uses the installed services.
    explicit CReporter(CEditorServices* pServices = nullptr);
    ~CReporter() override;

    void Fatal(LPCSTR format, ...);
    void Message(LPCSTR format, ...);
    void Status(LPCSTR format, ...);
    int Box(UINT type, LPCSTR format, ...);
    void MessageId(UINT id, ...);
    void StatusId(UINT id, ...);
    int BoxId(UINT type, UINT id, ...);

    // The published reporter, or null before the shell has made one.
    static CReporter* Get();
    static void Set(CReporter* pReporter);

private:
    CEditorServices* Services() const;
    CEditorServices* m_pServices;
};

// The published reporter, or a built-in one that talks to the installed services.
CReporter& Report();

// A report that collects what an operation notes while it runs, to tell it once at its end.
// Reports of one kind nest: the outermost open one collects for all, and tells when it closes
// (the derived destructor calls Close() and, when it answers true, tells what was collected).
template <class T>
class CCollectingReport
{
public:
    CCollectingReport(const CCollectingReport&) = delete;
    CCollectingReport& operator=(const CCollectingReport&) = delete;
    // The report collecting now; null when none is open.
    static T* Open() { return s_pOpen; }

protected:
    CCollectingReport() : m_outer(s_pOpen == nullptr)
    {
        if (m_outer)
            s_pOpen = static_cast<T*>(this);
    }
    ~CCollectingReport() = default;
    // True once, for the outermost report: it collects no longer.
    bool Close()
    {
        if (!m_outer)
            return false;
        m_outer = false;
        s_pOpen = nullptr;
        return true;
    }

private:
    bool m_outer;
    static inline T* s_pOpen = nullptr;
};

// Boxes held back while one step of a mouse drag runs. A box that comes up while a view holds the
// mouse takes no clicks, so the view ends its drag first and the boxes come up after. While one is
// open, each box that only tells (its one answer is OK) is kept, in order, and answered OK; the
// outermost shows them when it closes. A box that asks is shown at once: its answer is wanted now.
// An import holds the boxes of its read the same way until it knows that it adds something.
class CHeldBoxes : public CCollectingReport<CHeldBoxes>
{
public:
    CHeldBoxes();
    ~CHeldBoxes();
    bool IsEmpty() const { return m_boxes.empty(); }
    // Drops, unseen, the boxes held since this one opened: what they told no longer matters (the
    // operation was refused whole, and a box of its own says why).
    void Forget();
    // Keeps the box (to be shown through the services) when one is open and the box only tells;
    // false when it is to be shown now.
    static bool Hold(CEditorServices* pServices, UINT type, const CString& text);

private:
    struct Held
    {
        CEditorServices* services;
        UINT type;
        CString text;
    };
    std::vector<Held> m_boxes;
    size_t m_from; // how many boxes the outermost held when this one opened
};

// The longest line a report shows whole. A longer line (most often one that quotes a very long
// path) keeps its beginning and its end with "..." between them: a message box cannot lay out a
// line of tens of thousands of characters and shows nothing at all.
enum { REPORT_MAX_LINE = 509 };
CString ShortenLongLines(LPCSTR text);

// Bytes read from a user's file as a message may quote them: printable ASCII stays as it is,
// every other byte becomes \xNN, so that no control byte or broken multi-byte sequence reaches
// the text of a window.
CString PrintableText(const char* bytes, size_t length);
CString PrintableText(LPCSTR text);
