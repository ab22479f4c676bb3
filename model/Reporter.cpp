#include "Reporter.h"
#include "Services.h"
#include "afxseam.h"
#include <cstddef>
#include <cstring>
#include <vector>

CReporter::CReporter(CEditorServices* pServices) : m_pServices(pServices) {}

CReporter::~CReporter()
{
    if (Get() == this)
        Set(nullptr);
}

CEditorServices* CReporter::Services() const
{
    return m_pServices ? m_pServices : GetEditorServices();
}

// The line's first `head` and last `tail` characters, never parting a double-byte character.
static CString ShortenLine(const char* line, int length)
{
    const int tail = (REPORT_MAX_LINE - 3) / 2;
    const int head = REPORT_MAX_LINE - 3 - tail;
    // The places where characters start, walked from the line's start as only it tells which
    // byte leads a pair.
    int cutHead = 0, cutTail = length;
    for (int i = 0; i < length;) {
        const int next = i + (AfxIsLeadByte(static_cast<BYTE>(line[i])) && i + 1 < length ? 2 : 1);
        if (next <= head)
            cutHead = next;
        if (i >= length - tail) {
            cutTail = i;
            break;
        }
        i = next;
    }
    return CString(line, cutHead) + "..." + CString(line + cutTail, length - cutTail);
}

CString ShortenLongLines(LPCSTR text)
{
    CString out;
    const char* p = text ? text : "";
    for (;;) {
        const char* end = p + std::strcspn(p, "\r\n");
        const int length = static_cast<int>(end - p);
        out += length > REPORT_MAX_LINE ? ShortenLine(p, length) : CString(p, length);
        if (*end == 0)
            return out;
        const char* next = end + (end[0] == '\r' && end[1] == '\n' ? 2 : 1);
        out += CString(end, static_cast<int>(next - end));
        p = next;
    }
}

static CString FormatArgs(LPCSTR format, va_list args)
{
    CString text;
    text.FormatV(format ? format : "", args);
    return ShortenLongLines(text);
}

void CReporter::Fatal(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text = FormatArgs(format, args);
    va_end(args);
    Services()->MessageBox(text, MB_OK | MB_ICONSTOP);
    Services()->Quit(-1);
}

void CReporter::Message(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text = FormatArgs(format, args);
    va_end(args);
    Services()->PrintMessage(text);
}

void CReporter::Status(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text = FormatArgs(format, args);
    va_end(args);
    Services()->SetStatusAndMessage(text);
}

int CReporter::Box(UINT type, LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString text = FormatArgs(format, args);
    va_end(args);
    if (CHeldBoxes::Hold(Services(), type, text))
        return IDOK;
    return Services()->MessageBox(text, type);
}

void CReporter::MessageId(UINT id, ...)
{
    CString format;
    if (!format.LoadString(id))
        return;
    va_list args;
    va_start(args, id);
    CString text = FormatArgs(format, args);
    va_end(args);
    Services()->PrintMessage(text);
}

void CReporter::StatusId(UINT id, ...)
{
    CString format;
    if (!Services()->HasMainFrame() || !format.LoadString(id))
        return;
    va_list args;
    va_start(args, id);
    CString text = FormatArgs(format, args);
    va_end(args);
    Services()->SetStatusAndMessage(text);
}

int CReporter::BoxId(UINT type, UINT id, ...)
{
    CString format;
    if (!format.LoadString(id))
        return IDCANCEL;
    va_list args;
    va_start(args, id);
    CString text = FormatArgs(format, args);
    va_end(args);
    if (CHeldBoxes::Hold(Services(), type, text))
        return IDOK;
    return Services()->MessageBox(text, type);
}

CHeldBoxes::CHeldBoxes() : m_from(Open()->m_boxes.size()) {}

CHeldBoxes::~CHeldBoxes()
{
    if (!Close())
        return;
    std::vector<Held> boxes;
    boxes.swap(m_boxes);
    for (const Held& box : boxes)
        box.services->MessageBox(box.text, box.type);
}

void CHeldBoxes::Forget()
{
    CHeldBoxes* open = Open();
    if (open && open->m_boxes.size() > m_from)
        open->m_boxes.erase(open->m_boxes.begin() + static_cast<std::ptrdiff_t>(m_from), open->m_boxes.end());
}

bool CHeldBoxes::Hold(CEditorServices* pServices, UINT type, const CString& text)
{
    CHeldBoxes* open = Open();
    if (!open || !pServices || (type & MB_TYPEMASK) != MB_OK)
        return false;
    open->m_boxes.push_back(Held{pServices, type, text});
    return true;
}

static CReporter* s_pReporter = nullptr;

CReporter* CReporter::Get()
{
    return s_pReporter;
}

void CReporter::Set(CReporter* pReporter)
{
    s_pReporter = pReporter;
}

CReporter& Report()
{
    static CReporter builtin;
    return s_pReporter ? *s_pReporter : builtin;
}

CString PrintableText(const char* bytes, size_t length)
{
    static const char hex[] = "0123456789ABCDEF";
    CString text;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
            continue;
        }
        const char escaped[] = {'\\', 'x', hex[c >> 4], hex[c & 15], 0};
        text += escaped;
    }
    return text;
}

CString PrintableText(LPCSTR text)
{
    return text ? PrintableText(text, std::strlen(text)) : CString();
}
