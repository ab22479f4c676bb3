#include "IniFile.h"
#include "TextFile.h"
#include "Reporter.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

CString SystemErrorText(DWORD error)
{
    char buf[256] = "";
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buf,
                               sizeof buf - 1, nullptr);
    CString text(buf, static_cast<int>(n));
    text.TrimRight();
    if (text.IsEmpty())
        text.Format("error %lu", static_cast<unsigned long>(error));
    return text;
}

struct CIniFile::Line
{
    enum Kind { OTHER, SECTION, KEY };
    Kind kind = OTHER;
    std::string text;     // the bytes as read, without the line end
    std::string end;      // the line end as read; empty for the last line or a line made here
    CString name;         // SECTION: its name without brackets; KEY: the key as written
    CString value;        // KEY
    bool made = false;    // made or changed here: written from the name and the value
    bool session = false; // stands in while the project is open; never written
    bool removed = false; // SECTION: emptied; written again only when it holds keys
};

namespace {

// A file full of junk is told in a few lines, not in thousands.
const int kMaxProblemsPerRead = 20;
// What a message quotes of a line.
const size_t kMaxQuotedBytes = 100;

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& s)
{
    size_t first = 0, last = s.size();
    while (first < last && IsBlankChar(s[first]))
        ++first;
    while (last > first && IsBlankChar(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

CString ToCString(const std::string& s)
{
    return CString(s.c_str(), static_cast<int>(s.size()));
}

} // namespace

CIniFile::CIniFile(LPCSTR path) : m_path(path ? path : "") {}

CIniFile::~CIniFile() = default;

CString CIniFile::SectionName(LPCSTR name)
{
    CString s(name ? name : "");
    if (!s.IsEmpty() && s[0] == '[') {
        s = s.Mid(1);
        int close = s.Find(']');
        if (close >= 0)
            s = s.Left(close);
    }
    s.TrimLeft(" \t");
    s.TrimRight(" \t");
    return s;
}

void CIniFile::Problem(LPCSTR format, const std::string& text, int number)
{
    CString quoted = PrintableText(text.data(), std::min(text.size(), kMaxQuotedBytes));
    if (text.size() > kMaxQuotedBytes)
        quoted += "...";
    CString where;
    where.Format("%s, line %d", static_cast<LPCSTR>(m_path), number);
    if (format)
        Report().Message(format, static_cast<LPCSTR>(quoted), static_cast<LPCSTR>(where));
    else
        Report().MessageId(IDS_INI_NO_EQUALS, static_cast<LPCSTR>(quoted), static_cast<LPCSTR>(where));
}

BOOL CIniFile::Read()
{
    if (m_path.IsEmpty())
        return FALSE;
    std::vector<char> data;
    DWORD error = 0;
    if (!ReadWholeFile(m_path, data, &error)) {
        Report().MessageId(IDS_INI_CANT_OPEN, static_cast<LPCSTR>(m_path),
                           static_cast<LPCSTR>(SystemErrorText(error).Left(255)));
        return FALSE;
    }
    Parse(data);
    m_dirty = FALSE;
    return TRUE;
}

void CIniFile::Parse(const std::vector<char>& data)
{
    m_lines.clear();
    m_newline = "\r\n";
    const size_t bom = ByteOrderMarkLength(data.data(), data.size());
    m_bom.assign(data.data(), bom);
    std::vector<TextLine> split;
    SplitTextLines(data.data() + bom, data.size() - bom, split);

    bool haveNewline = false, haveSection = false;
    int problems = 0;
    int number = 0;
    auto problem = [&](LPCSTR format, const std::string& text) {
        if (++problems <= kMaxProblemsPerRead)
            Problem(format, text, number);
    };
    for (const TextLine& t : split) {
        ++number;
        const char* p = data.data() + bom + t.start;
        auto line = std::make_unique<Line>();
        line->text.assign(p, t.length);
        line->end.assign(p + t.length, t.endLength);
        if (!haveNewline && t.endLength) {
            m_newline = line->end;
            haveNewline = true;
        }
        // A NUL ends what the reader looks at; the bytes after it are still written back.
        const size_t nul = line->text.find('\0');
        const std::string seen = Trimmed(line->text.substr(0, nul));
        if (nul != std::string::npos)
            problem("The line %s\nin %s holds a NUL byte: what follows it is not read.", line->text);
        if (seen.empty() || seen[0] == ';') {
            // blank or a comment
        } else if (seen[0] == '[') {
            size_t close = seen.find(']');
            if (close == std::string::npos)
                problem("The section line %s\nin %s has no closing ']'.", line->text);
            line->kind = Line::SECTION;
            line->name = ToCString(Trimmed(seen.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            haveSection = true;
        } else {
            const size_t eq = seen.find('=');
            const std::string key = eq == std::string::npos ? std::string() : Trimmed(seen.substr(0, eq));
            if (eq == std::string::npos)
                problem(nullptr, line->text);
            else if (!haveSection)
                problem("The line %s\nin %s stands before any section and is skipped.", line->text);
            else if (key.empty())
                problem("The line %s\nin %s has no key before its '=' and is skipped.", line->text);
            else {
                line->kind = Line::KEY;
                line->name = ToCString(key);
                line->value = ToCString(Trimmed(seen.substr(eq + 1)));
            }
        }
        m_lines.push_back(std::move(line));
    }
    if (problems > kMaxProblemsPerRead)
        Report().Message("%d more lines of %s were not understood.", problems - kMaxProblemsPerRead,
                         static_cast<LPCSTR>(m_path));
}

bool CIniFile::IsWritten(size_t index) const
{
    const Line& line = *m_lines[index];
    if (line.session)
        return false;
    // The lines of an emptied section go unless it holds something again.
    size_t header = index;
    while (header > 0 && m_lines[header]->kind != Line::SECTION)
        --header;
    if (m_lines[header]->kind != Line::SECTION || !m_lines[header]->removed)
        return true;
    for (size_t i = header + 1; i < m_lines.size() && m_lines[i]->kind != Line::SECTION; ++i) {
        const Line& l = *m_lines[i];
        if (l.session)
            continue;
        if (l.kind == Line::KEY || !Trimmed(l.text).empty())
            return true;
    }
    return false;
}

BOOL CIniFile::Write()
{
    if (!m_dirty)
        return TRUE;
    std::vector<size_t> written;
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (IsWritten(i))
            written.push_back(i);
    std::string text = m_bom;
    for (size_t n = 0; n < written.size(); ++n) {
        const Line& line = *m_lines[written[n]];
        if (!line.made)
            text += line.text;
        else if (line.kind == Line::SECTION)
            text += "[" + std::string(line.name) + "]";
        else if (line.kind == Line::KEY)
            text += std::string(line.name) + "=" + std::string(line.value);
        // Every line but a last one read without a line end ends as the file's lines do.
        if (!line.end.empty())
            text += line.end;
        else if (line.made || n + 1 < written.size())
            text += m_newline;
    }

    DWORD error = 0;
    TextFileResult result = WriteTextFileReplacing(m_path, text.data(), text.size(), &error);
    if (result == TEXTFILE_READ_ONLY) {
        // The user's mark is kept, and so is the file: a project written back on its own (a
        // texture marked, the project closed) says so once, not at every write.
        if (!m_toldReadOnly)
            Report().Message("The project file %s is read-only: it was left as it is, without the changes.",
                             static_cast<LPCSTR>(m_path));
        m_toldReadOnly = true;
        m_writeError = ERROR_ACCESS_DENIED;
        return FALSE;
    }
    m_writeError = result == TEXTFILE_WRITTEN ? 0 : error;
    if (result == TEXTFILE_CANT_CREATE) {
        Report().MessageId(IDS_INI_CANT_OPEN, static_cast<LPCSTR>(m_path),
                           static_cast<LPCSTR>(SystemErrorText(error)));
        return FALSE;
    }
    if (result == TEXTFILE_CANT_WRITE) {
        Report().MessageId(IDS_INI_CANT_WRITE, static_cast<LPCSTR>(m_path),
                           static_cast<LPCSTR>(SystemErrorText(error)));
        return FALSE;
    }
    m_dirty = FALSE;
    return TRUE;
}

void CIniFile::SetPath(LPCSTR path)
{
    m_path = path;
    m_toldReadOnly = false;
    m_dirty = TRUE;
}

BOOL CIniFile::HasSection(LPCSTR name) const
{
    CString section = SectionName(name);
    for (const auto& line : m_lines)
        if (line->kind == Line::SECTION && !line->removed && line->name.CompareNoCase(section) == 0)
            return TRUE;
    return FALSE;
}

BOOL CIniFile::GetKeys(LPCSTR section, CStringArray& keys) const
{
    keys.RemoveAll();
    if (!HasSection(section))
        return FALSE;
    CString name = SectionName(section);
    bool inSection = false;
    for (const auto& line : m_lines) {
        if (line->kind == Line::SECTION)
            inSection = line->name.CompareNoCase(name) == 0;
        if (!inSection || line->kind != Line::KEY)
            continue;
        bool seen = false;
        for (INT_PTR i = 0; i < keys.GetSize() && !seen; ++i)
            seen = keys[i].CompareNoCase(line->name) == 0;
        if (!seen)
            keys.Add(line->name);
    }
    return TRUE;
}

int CIniFile::FindKey(const CString& section, LPCSTR key) const
{
    int found = -1;
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = *m_lines[i];
        if (line.kind == Line::SECTION)
            inSection = line.name.CompareNoCase(section) == 0;
        else if (inSection && line.kind == Line::KEY && line.name.CompareNoCase(key ? key : "") == 0)
            found = static_cast<int>(i);
    }
    return found;
}

const CString* CIniFile::GetString(LPCSTR section, LPCSTR key) const
{
    int i = FindKey(SectionName(section), key);
    return i < 0 ? nullptr : &m_lines[static_cast<size_t>(i)]->value;
}

int CIniFile::GetNumberedValues(LPCSTR section, LPCSTR prefix, CStringArray& values) const
{
    values.RemoveAll();
    const CString name = SectionName(section);
    const int prefixLength = static_cast<int>(std::strlen(prefix ? prefix : ""));
    // Number -> value; a key written again keeps its last value, as GetString finds it.
    std::map<int, const CString*> numbered;
    bool inSection = false;
    for (const auto& line : m_lines) {
        if (line->kind == Line::SECTION)
            inSection = line->name.CompareNoCase(name) == 0;
        if (!inSection || line->kind != Line::KEY || line->name.GetLength() <= prefixLength ||
            line->name.Left(prefixLength).CompareNoCase(prefix) != 0)
            continue;
        // Only the number as "%d" writes it names an entry: no sign, no leading zero.
        const CString digits = line->name.Mid(prefixLength);
        if (digits[0] == '0' || digits.GetLength() > 9 || digits.SpanIncluding("0123456789") != digits)
            continue;
        numbered[std::atoi(digits)] = &line->value;
    }
    int n = 1;
    for (auto it = numbered.begin(); it != numbered.end() && it->first == n; ++it, ++n)
        values.Add(*it->second);
    auto after = numbered.upper_bound(n);
    return after == numbered.end() ? 0 : after->first;
}

CIniFile::Line* CIniFile::InsertKey(const CString& section, LPCSTR key, LPCSTR value, bool session)
{
    auto line = std::make_unique<Line>();
    line->kind = Line::KEY;
    line->name = key;
    line->value = value;
    line->made = true;
    line->session = session;
    Line* made = line.get();

    // The section's last place in the file, and its last key there.
    size_t header = m_lines.size();
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i]->kind == Line::SECTION && m_lines[i]->name.CompareNoCase(section) == 0)
            header = i;
    if (header < m_lines.size()) {
        size_t at = header + 1;
        for (size_t i = header + 1; i < m_lines.size() && m_lines[i]->kind != Line::SECTION; ++i)
            if (m_lines[i]->kind == Line::KEY)
                at = i + 1;
        Line& head = *m_lines[header];
        if (!session) {
            head.removed = false;
            // A section made for a stand-in value becomes real, with the blank line before it.
            if (head.session && header > 0 && m_lines[header - 1]->session)
                m_lines[header - 1]->session = false;
            head.session = false;
        }
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
        return made;
    }

    // A new section goes at the end, after a blank line.
    if (!m_lines.empty()) {
        const Line& last = *m_lines.back();
        if (last.made ? last.kind != Line::OTHER : !Trimmed(last.text).empty()) {
            auto blank = std::make_unique<Line>();
            blank->made = true;
            blank->session = session;
            m_lines.push_back(std::move(blank));
        }
    }
    auto head = std::make_unique<Line>();
    head->kind = Line::SECTION;
    head->name = section;
    head->made = true;
    head->session = session;
    m_lines.push_back(std::move(head));
    m_lines.push_back(std::move(line));
    return made;
}

BOOL CIniFile::AddString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    CString name = SectionName(section);
    int i = FindKey(name, key);
    if (i >= 0 && !m_lines[static_cast<size_t>(i)]->session)
        return FALSE;
    return WriteString(section, key, value, TRUE);
}

BOOL CIniFile::WriteString(LPCSTR section, LPCSTR key, LPCSTR value, BOOL create)
{
    CString name = SectionName(section);
    int i = FindKey(name, key);
    if (i >= 0 && m_lines[static_cast<size_t>(i)]->session) {
        // The user's value replaces the stand-in, in a real place of the file.
        m_lines.erase(m_lines.begin() + i);
        i = -1;
        create = TRUE;
    }
    if (i >= 0) {
        Line& line = *m_lines[static_cast<size_t>(i)];
        if (line.value == (value ? value : ""))
            return TRUE;
        line.value = value;
        line.made = true;
    } else {
        if (!create)
            return FALSE;
        InsertKey(name, key, value, false);
    }
    m_dirty = TRUE;
    return TRUE;
}

void CIniFile::SetSessionString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    CString name = SectionName(section);
    int i = FindKey(name, key);
    if (i < 0)
        InsertKey(name, key, value, true);
    else if (m_lines[static_cast<size_t>(i)]->session)
        m_lines[static_cast<size_t>(i)]->value = value;
}

size_t CIniFile::DropKeys(const CString& section, LPCSTR key)
{
    // In one pass however many lines go: a damaged file may hold a million of them.
    size_t written = 0;
    bool inSection = false;
    size_t kept = 0;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = *m_lines[i];
        if (line.kind == Line::SECTION)
            inSection = line.name.CompareNoCase(section) == 0;
        else if (inSection && line.kind == Line::KEY && (key == nullptr || line.name.CompareNoCase(key) == 0)) {
            if (!line.session)
                ++written;
            continue;
        }
        if (kept != i)
            m_lines[kept] = std::move(m_lines[i]);
        ++kept;
    }
    m_lines.resize(kept);
    return written;
}

void CIniFile::RemoveKey(LPCSTR section, LPCSTR key)
{
    if (DropKeys(SectionName(section), key ? key : "") > 0)
        m_dirty = TRUE;
}

void CIniFile::RemoveSection(LPCSTR section)
{
    CString name = SectionName(section);
    if (!HasSection(name))
        return;
    for (const auto& line : m_lines)
        if (line->kind == Line::SECTION && line->name.CompareNoCase(name) == 0)
            line->removed = true;
    DropKeys(name, nullptr);
    // A section made here and emptied again leaves nothing, not even its blank line before it.
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& head = *m_lines[i];
        if (head.kind != Line::SECTION || !head.made || !head.removed ||
            (i + 1 < m_lines.size() && m_lines[i + 1]->kind != Line::SECTION))
            continue;
        size_t first = i > 0 && m_lines[i - 1]->made && m_lines[i - 1]->kind == Line::OTHER ? i - 1 : i;
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(i + 1));
        break;
    }
    m_dirty = TRUE;
}
