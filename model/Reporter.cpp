#include "Reporter.h"
#include "Services.h"
#include <cstring>

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

static CString FormatArgs(LPCSTR format, va_list args)
{
    CString text;
    text.FormatV(format ? format : "", args);
    return text;
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
    return Services()->MessageBox(text, type);
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
