// The read errors of one read of map text, told once per kind.
#include "MapText.h"
#include "Reporter.h"


CString FirstLines(const std::vector<int>& lines, int total)
{
    CString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        CString n;
        n.Format(i ? ", %d" : "%d", lines[i]);
        text += n;
    }
    if (total > static_cast<int>(lines.size())) {
        CString more;
        more.Format(" and %d more", total - static_cast<int>(lines.size()));
        text += more;
    }
    return text;
}

CMapReadReport::CMapReadReport(LPCSTR name) : m_name(name) {}

CMapReadReport::~CMapReadReport()
{
    if (Close())
        ReportNow();
}

CString CMapReadReport::CurrentName()
{
    const CMapReadReport* open = Open();
    return open ? open->m_name : CString("the map text");
}

void CMapReadReport::Note(MapReadKind kind, int line, LPCSTR what)
{
    CMapReadReport* open = Open();
    if (!open) {
        Kind one;
        one.count = 1;
        one.lines.push_back(line);
        one.first = what ? what : "";
        Tell(kind, one, CurrentName(), CString());
        return;
    }
    Kind& k = open->m_kinds[kind];
    if (k.count++ == 0)
        k.first = what ? what : "";
    if (k.lines.size() < READ_LINES_LISTED)
        k.lines.push_back(line);
}

void CMapReadReport::NoteEndsInside(LPCSTR block, int line)
{
    CString text;
    text.Format("The text ends inside the %s that starts on line %d: what was read of it is kept, and "
                "written back closed.",
                block, line);
    CMapReadReport* open = Open();
    if (!open) {
        Report().Box(MB_OK, "%s\n(%s)", static_cast<LPCSTR>(text), static_cast<LPCSTR>(CurrentName()));
        return;
    }
    if (open->m_endsInside.IsEmpty())
        open->m_endsInside = text;
}

void CMapReadReport::NoteMessage(const CString& text, int line)
{
    CMapReadReport* open = Open();
    if (!open) {
        Report().Box(MB_OK, "%s", static_cast<LPCSTR>(text));
        return;
    }
    for (auto& m : open->m_messages)
        if (m.first == text) {
            if (m.second.lines.size() < READ_LINES_LISTED)
                m.second.lines.push_back(line);
            ++m.second.count;
            return;
        }
    Kind k;
    k.count = 1;
    k.lines.push_back(line);
    open->m_messages.emplace_back(text, k);
}

void CMapReadReport::Forget()
{
    for (Kind& k : m_kinds)
        k = Kind();
    m_endsInside.Empty();
    m_messages.clear();
}

void CMapReadReport::ReportNow()
{
    for (const auto& m : m_messages) {
        const Kind& k = m.second;
        CString where;
        if (k.count == 1)
            where.Format("(%s, the entity on line %s)", static_cast<LPCSTR>(m_name),
                         static_cast<LPCSTR>(FirstLines(k.lines, k.count)));
        else
            where.Format("(%s, %d entities, on lines %s)", static_cast<LPCSTR>(m_name), k.count,
                         static_cast<LPCSTR>(FirstLines(k.lines, k.count)));
        Report().Box(MB_OK, "%s\n%s", static_cast<LPCSTR>(m.first), static_cast<LPCSTR>(where));
    }
    for (int i = 0; i < READ_KIND_COUNT; ++i) {
        if (m_kinds[i].count || (i == READ_NOT_READ && !m_endsInside.IsEmpty()))
            Tell(static_cast<MapReadKind>(i), m_kinds[i], m_name, i == READ_NOT_READ ? m_endsInside : CString());
    }
    Forget();
}

void CMapReadReport::Tell(MapReadKind kind, const Kind& k, const CString& name, const CString& endsInside)
{
    const CString lines = FirstLines(k.lines, k.count);
    const char* plural = k.count == 1 ? "line" : "lines";
    switch (kind) {
    case READ_INVALID_TOKEN: {
        CString first = PrintableText(k.first);
        CString head;
        if (k.count == 1)
            head.Format("Invalid token '%s' parsing entity.", static_cast<LPCSTR>(first));
        else
            head.Format("Invalid token '%s' parsing entity, and %d more.", static_cast<LPCSTR>(first), k.count - 1);
        Report().Box(MB_OK,
                     "%s\n(%s, %s %s)\n\n"
                     "What each entity held before its invalid token is kept; the text from there to the next \"}\" "
                     "was not read, and a line that stands outside every entity was passed over.\nFace lines that "
                     "stand outside a brush are read as a brush of their own.",
                     static_cast<LPCSTR>(head), static_cast<LPCSTR>(name), plural, static_cast<LPCSTR>(lines));
        break;
    }
    case READ_FACE_ERROR: {
        CString head = "Error reading in a brush's face.";
        if (k.count > 1)
            head.Format("Error reading in a brush's face, %d faces.", k.count);
        Report().Box(MB_OK, "%s\n(%s, %s %s)\n\nWhat could be read of each face is kept; scales not read are 0.",
                     static_cast<LPCSTR>(head), static_cast<LPCSTR>(name), plural, static_cast<LPCSTR>(lines));
        break;
    }
    case READ_NOT_READ:
        if (k.count == 0) {
            Report().Box(MB_OK, "%s\n(%s)", static_cast<LPCSTR>(endsInside), static_cast<LPCSTR>(name));
            break;
        }
        Report().Box(MB_OK,
                     "%d %s of %s %s not read (%s %s): text after the five numbers of a face, or a line inside a "
                     "brush that is not a face, or a quoted string that runs over a line end or holds a NUL byte, "
                     "or words between a key and its value.\nWhat was not read is not written when the map is "
                     "saved; line breaks inside quotes are written as blanks.%s%s",
                     k.count, plural, static_cast<LPCSTR>(name), k.count == 1 ? "was" : "were", plural,
                     static_cast<LPCSTR>(lines), endsInside.IsEmpty() ? "" : "\n\n", static_cast<LPCSTR>(endsInside));
        break;
    default:
        break;
    }
}
