// The map document's files: new, open, save, the build's map text, partial maps and
// auto save.
#include "Map.h"
#include "Brush.h"
#include "BrushBatch.h"
#include "Entity.h"
#include "IniFile.h"
#include "MapText.h"
#include "Reporter.h"
#include "Services.h"
#include "TextFile.h"
#include "Texture.h"
#include "Tokenizer.h"
#include "WadPair.h"
#include <algorithm>
#include <cstdarg>
#include <climits>
#include <cstring>
#include <vector>

static CString CauseText(CFileException& e)
{
    char text[512] = "";
    e.GetErrorMessage(text, sizeof text);
    return CString(text);
}

// ---------------------------------------------------------------------------
// Reading

bool OnlyBlanksAndComments(const char* p, const char* end)
{
    if (end - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    while (p < end) {
        if (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\f' || *p == '\v') {
            ++p;
        } else if (end - p >= 2 && p[0] == '/' && p[1] == '/') {
            while (p < end && !CTokenizer::IsLineEnd(p, end))
                ++p;
        } else {
            return false;
        }
    }
    return true;
}

CString Utf16Reason(const char* text, size_t length)
{
    if (length < 2)
        return CString();
    const unsigned char b0 = static_cast<unsigned char>(text[0]), b1 = static_cast<unsigned char>(text[1]);
    if (!((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)))
        return CString();
    CString reason;
    reason.Format("is text in UTF-16 (%s byte order, byte-order mark %s), which this editor does not read: "
                  "a map file is 8-bit text.",
                  b0 == 0xFF ? "little-endian" : "big-endian", b0 == 0xFF ? "FF FE" : "FE FF");
    return reason;
}

bool PassOverTextOutsideEntities(CTokenizer& tok)
{
    char* t = tok.PeekToken();
    if (!t || t[0] == '{' || CTokenizer::IsQuotedMark(t, '{'))
        return false;
    CMapReadReport::Note(READ_INVALID_TOKEN, tok.GetLine(), t);
    tok.NextToken();
    // The text's last line, without a line end, is passed over whole as any other.
    if (!tok.RestOfLine())
        tok.SetPosition(tok.GetEnd());
    return true;
}

// A text the reader refuses as a whole: the box names it and says that nothing was opened or written.
static void TellRefused(LPCSTR format, ...)
{
    CString reason;
    va_list args;
    va_start(args, format);
    reason.FormatV(format, args);
    va_end(args);
    Report().Box(MB_OK, "%s %s\nThe map was not opened, and nothing was written to the file.",
                 static_cast<LPCSTR>(CMapReadReport::CurrentName()), static_cast<LPCSTR>(reason));
}

BOOL Map::ParseMapText(char* buffer, size_t length, LPCSTR name)
{
    DeleteContents();
    // Read errors are told once per kind for the whole map, unknown classes each with its count.
    CMapReadReport report(name ? name : "the map text");
    const CString utf16 = Utf16Reason(buffer, length);
    if (!utf16.IsEmpty()) {
        report.Forget();
        TellRefused("%s", static_cast<LPCSTR>(utf16));
        return FALSE;
    }
    CTokenizer tok;
    tok.Init(buffer, length);
    CUnknownClassReport unknown;
    // The brushes' windings are built beside the reading; it waits for them at the end.
    CBrushBatch batch;
    try {
        while (tok.PeekToken()) {
            // Damage before the first entity or between two: the line is passed over, what was
            // read stays.
            if (PassOverTextOutsideEntities(tok))
                continue;
            Entity* e = nullptr;
            try {
                e = new Entity(this, tok, &batch);
            } catch (CEntityReadError& err) {
                if (err.stopReading) {
                    batch.Abandon();
                    DeleteContents();
                    unknown.Forget();
                    report.Forget();
                    return FALSE;
                }
                continue;
            }
            m_entities.AddTail(e);
            if (!m_pWorld)
                m_pWorld = e;
        }
        batch.Finish();
        for (POSITION pos = m_entities.GetHeadPosition(); pos;)
            static_cast<Entity*>(m_entities.GetNext(pos))->FinishRead(batch);
    } catch (CMapFormatError& err) {
        batch.Abandon();
        DeleteContents();
        unknown.Forget();
        report.Forget();
        TellRefused("is a map in the Valve 220 format (texture axes in [ ] on line %d), which this editor does not "
                    "read.",
                    err.line);
        return FALSE;
    }
    if (!m_pWorld && !OnlyBlanksAndComments(buffer, buffer + length)) {
        // Opened as an empty map, its first save would write over what the file holds.
        unknown.Forget();
        report.Forget();
        TellRefused("holds no entity that this editor can read, yet it is not empty: it holds more than blanks and "
                    "comments (it may not be a map file, or it may be damaged).");
        return FALSE;
    }
    report.ReportNow();
    if (!m_pWorld) {
        // An empty text, or one of blanks and comments only, opens as an empty map.
        CreateWorldEntity();
        return TRUE;
    }
    ReportKeptBrushes();
    unknown.ReportNow();
    if (m_pWorld->ValueForKey("classname") != CString("worldspawn"))
        Report().Box(MB_OK, "The first entity of the map is not the world entity (\"classname\" \"worldspawn\").");
    if (!m_pWorld->FindValue("wad"))
        Report().Box(MB_OK, "The map file doesn't have a wad key in it.\n"
                            "The default wad for this project will be assumed.");
    return TRUE;
}

// One box for every brush the open kept as text, with the first lines.
void Map::ReportKeptBrushes()
{
    int count = 0;
    bool fromPoints = true;
    bool nul = false;
    std::vector<int> lines;
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        const Entity* e = static_cast<const Entity*>(m_entities.GetNext(pos));
        for (const Entity::KeptBrush& k : e->GetKeptBrushes()) {
            ++count;
            fromPoints = fromPoints && k.fromPoints;
            nul = nul || HoldsNulByte(k.text);
            if (lines.size() < READ_LINES_LISTED)
                lines.push_back(k.line);
        }
    }
    if (count == 0)
        return;
    Report().Box(MB_OK,
                 count == 1 ? "%d brush of the map cannot be built from its %s (line %s).\n\n"
                              "It is kept as it was read and written back unchanged when the map is saved,\n"
                              "but it is not shown and cannot be edited.%s"
                            : "%d brushes of the map cannot be built from their %s (lines %s).\n\n"
                              "They are kept as they were read and written back unchanged when the map is saved,\n"
                              "but they are not shown and cannot be edited.%s",
                 count, fromPoints ? "points" : "face lines", static_cast<LPCSTR>(FirstLines(lines, count)),
                 !nul ? "" : count == 1 ? "\nOnly its NUL bytes are written as blanks: the map compilers take a NUL byte "
                                         "for the end of the file."
                                       : "\nOnly their NUL bytes are written as blanks: the map compilers take a NUL "
                                         "byte for the end of the file.");
}

BOOL Map::ParseMapText(LPCSTR text, int length)
{
    std::vector<char> buffer(text, text + length);
    buffer.push_back(0);
    buffer.push_back(0);
    return ParseMapText(buffer.data(), static_cast<size_t>(length));
}

BOOL Map::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    CreateWorldEntity();
    // The views and the build draw from the visible list; it is built once here, never by a view.
    RebuildVisibleList();
    return TRUE;
}

// Publishes a missing-texture set for the length of one open.
class CMissingTextures
{
public:
    CMissingTextures() { SetMissingTextureSet(&m_set); }
    ~CMissingTextures()
    {
        SetMissingTextureSet(nullptr);
        FreeMissingTextureSet(m_set);
    }
    // The names in the order of their upper-case keys.
    void GetNames(CStringList& names)
    {
        CString key;
        void* p;
        std::vector<CString> keys;
        for (POSITION pos = m_set.GetStartPosition(); pos;) {
            m_set.GetNextAssoc(pos, key, p);
            keys.push_back(key);
        }
        std::sort(keys.begin(), keys.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
        for (const CString& k : keys) {
            m_set.Lookup(k, p);
            names.AddTail(*static_cast<CString*>(p));
        }
    }

private:
    CMapStringToPtr m_set;
};

BOOL Map::OnOpenDocument(LPCSTR lpszPathName)
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    CFile file;
    CFileException fe;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe)) {
        Report().Box(MB_OK, "Couldn't open file %s for reading\nCause: %s", lpszPathName,
                     static_cast<LPCSTR>(CauseText(fe)));
        return FALSE;
    }
    CWaitCursor wait;
    std::vector<char> buffer;
    UINT read = 0;
    try {
        DWORD length = file.GetLength();
        buffer.resize(static_cast<size_t>(length) + 2);
        read = file.Read(buffer.data(), length);
        buffer[read] = buffer[read + 1] = 0;
        file.Close();
    } catch (CFileException* e) {
        Report().Box(MB_OK, "Couldn't read file %s\nCause: %s", lpszPathName, static_cast<LPCSTR>(CauseText(*e)));
        e->Delete();
        return FALSE;
    }

    BOOL ok;
    CStringList missing;
    {
        CMissingTextures set;
        ok = ParseMapText(buffer.data(), read, lpszPathName);
        set.GetNames(missing);
    }
    if (!missing.IsEmpty()) {
        Report().Status("The following textures were not found:");
        for (POSITION pos = missing.GetHeadPosition(); pos;)
            Report().Message("%s", static_cast<LPCSTR>(missing.GetNext(pos)));
        Report().Box(MB_OK, "Some textures were not found in the selected wad(s).\n"
                            "Look at the messages in the Output Window for more details.\n"
                            "It is recommned you close the map, select the correct wads,\n"
                            "and then reopen the map file.");
    }
    SetModifiedFlag(FALSE);
    RebuildVisibleList();
    return ok;
}

// ---------------------------------------------------------------------------
// Writing

void Map::WriteEntities(CString& out, bool includeInvalid) const
{
    for (POSITION pos = m_entities.GetHeadPosition(); pos;)
        static_cast<const Entity*>(m_entities.GetNext(pos))->Write(out, includeInvalid);
}

BOOL Map::JoinedWadList(CString& wads, LPCSTR lpszPathName)
{
    CStringList& list = GetEditorServices()->GetWadList();
    CStringList paths;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CString path = list.GetNext(pos);
        MakeRootAbsolute(path);
        paths.AddTail(path);
    }
    // The compilers find the WADs from the map file's place, not from the project.
    CString gameFolder;
    if (lpszPathName != nullptr)
        gameFolder = MapGameFolder(lpszPathName,
                                   GetEditorServices()->GetProfileString("Project Settings", "Quake Path", ""));
    wads = MakeWadPairValue(paths, gameFolder);
    return !list.IsEmpty();
}

CString Map::WadValueFor(LPCSTR lpszPathName) const
{
    CString wads;
    if (JoinedWadList(wads, lpszPathName))
        return wads;
    const CString* value = m_pWorld ? m_pWorld->FindValue("wad") : nullptr;
    return value ? *value : CString();
}

BOOL Map::HasStaleWadValue() const
{
    if (!m_pWorld)
        return FALSE;
    const CString& path = GetPathName();
    const CString* value = m_pWorld->FindValue("wad");
    CStringList& list = GetEditorServices()->GetWadList();
    // The Save button asks at every idle moment: the answer is worked out again only when what it
    // depends on changed (a project may name thousands of WADs).
    WadCheck& check = m_wadCheck;
    // The WADs' places: the game folder, and the root for a WAD named relative to it.
    const CString quake = GetEditorServices()->GetProfileString("Project Settings", "Quake Path", "") + "\n" +
                          GetEditorServices()->GetProfileString("Project Settings", "Root Path", "");
    bool same = check.known && check.path == path && check.quake == quake && check.hasValue == (value != nullptr) &&
                (value == nullptr || check.value == *value) && check.wads.size() == static_cast<size_t>(list.GetCount());
    POSITION pos = list.GetHeadPosition();
    for (size_t i = 0; same && pos; ++i)
        same = check.wads[i] == list.GetNext(pos);
    if (same)
        return check.stale;
    check.known = true;
    check.path = path;
    check.quake = quake;
    check.hasValue = value != nullptr;
    check.value = value != nullptr ? *value : CString();
    check.wads.clear();
    for (pos = list.GetHeadPosition(); pos;)
        check.wads.push_back(list.GetNext(pos));
    CString wads;
    // Without a project WAD list a save keeps the map's own value: nothing to bring up to date.
    check.stale = JoinedWadList(wads, path.IsEmpty() ? nullptr : static_cast<LPCSTR>(path)) &&
                  (value == nullptr || *value != wads);
    return check.stale;
}

// The world's "wad" pair names the project's WADs as seen from the map file's place. Without a
// project WAD list the map keeps the WADs it names, rather than losing them.
void Map::SetWadPair(Entity& world, LPCSTR lpszPathName)
{
    CString wads;
    if (!JoinedWadList(wads, lpszPathName))
        return;
    if (world.SetValueForKey("wad", wads) == Entity::KEY_MISSING)
        world.AddKeyValue("wad", wads);
}

// ---------------------------------------------------------------------------
// The auto save's own files

namespace {
struct AutoSaveFile
{
    CString path; // full path
    FILETIME written;
    DWORD sizeLow;
    UINT owner;   // the map whose auto save it holds
};
std::vector<AutoSaveFile> s_autoSaveFiles;

CString FullPath(LPCSTR path)
{
    char full[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? CString(full) : CString(path);
}

bool FileStamp(LPCSTR path, FILETIME& written, DWORD& sizeLow)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    written = data.ftLastWriteTime;
    sizeLow = data.nFileSizeLow;
    return true;
}

std::vector<AutoSaveFile>::iterator FindAutoSaveFile(const CString& full)
{
    return std::find_if(s_autoSaveFiles.begin(), s_autoSaveFiles.end(),
                        [&](const AutoSaveFile& f) { return f.path.CompareNoCase(full) == 0; });
}

// The file still holds what the auto save wrote into it last.
bool IsUnchanged(const AutoSaveFile& f)
{
    FILETIME written;
    DWORD sizeLow = 0;
    return FileStamp(f.path, written, sizeLow) && ::CompareFileTime(&written, &f.written) == 0 &&
           sizeLow == f.sizeLow;
}
} // namespace

UINT Map::NextAutoSaveOwner()
{
    static UINT s_owners = 0;
    return ++s_owners;
}

bool Map::IsPlainExtension(LPCSTR extension)
{
    if (!extension || !*extension)
        return false;
    for (const char* p = extension; *p; ++p)
        if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9')))
            return false;
    return true;
}

void Map::GetAutoSaveFiles(CStringArray& paths)
{
    paths.RemoveAll();
    // A file changed since by another program is no longer the auto save's, nor is one the user
    // marked to be kept.
    for (const AutoSaveFile& f : s_autoSaveFiles) {
        const DWORD attributes = ::GetFileAttributesA(f.path);
        if (IsUnchanged(f) && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY))
            paths.Add(f.path);
    }
}

void Map::ForgetAutoSaveFiles() { s_autoSaveFiles.clear(); }

// Writes the text over the file; FALSE with the reason in error when it was not written.
static BOOL WriteTextGivingReason(LPCSTR lpszPathName, const CString& text, CString& error)
{
    DWORD code = 0;
    TextFileResult result =
        WriteTextFileReplacing(lpszPathName, text.GetString(), static_cast<size_t>(text.GetLength()), &code);
    switch (result) {
    case TEXTFILE_WRITTEN: return TRUE;
    case TEXTFILE_READ_ONLY:
        error.Format("The file %s is read-only: it was left as it is.", lpszPathName);
        break;
    case TEXTFILE_CANT_CREATE:
        error.Format("Couldn't open file %s for writing\nCause: %s", lpszPathName,
                     static_cast<LPCSTR>(SystemErrorText(code)));
        break;
    default:
        error.Format("Couldn't write file %s\nCause: %s\nThe file on disk was left as it was.", lpszPathName,
                     static_cast<LPCSTR>(SystemErrorText(code)));
        break;
    }
    return FALSE;
}

BOOL Map::WriteFileReporting(LPCSTR lpszPathName, const CString& text)
{
    // Any other write of the program (a save, a build's map file) makes the file the user's.
    auto own = FindAutoSaveFile(FullPath(lpszPathName));
    if (own != s_autoSaveFiles.end())
        s_autoSaveFiles.erase(own);
    CString error;
    if (WriteTextGivingReason(lpszPathName, text, error))
        return TRUE;
    Report().Box(MB_OK, "%s", static_cast<LPCSTR>(error));
    return FALSE;
}

// Faces without a texture of their own: none, the built-in one, or a name that no
// WAD supplied.
static bool HasUndefinedTexture(const Brush& b)
{
    for (const Face& f : b.GetFaces())
        if (!f.texture || f.texture->placeholder || f.texture->name == "DEFAULT")
            return true;
    return false;
}

BOOL Map::CheckBeforeSave(LPCSTR lpszPathName)
{
    if (CString(lpszPathName).Find("Untitled_") >= 0 &&
        Report().Box(MB_YESNO, "The map name is currently untitled.\n"
                               "Do you still want to save the map using the untitled name?") == IDNO)
        return FALSE;

    bool playerStart = false;
    for (POSITION pos = m_entities.GetHeadPosition(); pos && !playerStart;)
        playerStart = CString(static_cast<Entity*>(m_entities.GetNext(pos))->ValueForKey("classname")) ==
                      "info_player_start";
    if (!playerStart && Report().Box(MB_YESNO, "The map doesn't have an info_player_start entity defined.\n"
                                               "Do you still want to save the map?") == IDNO)
        return FALSE;

    CPtrList invalid, untextured;
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(m_entities.GetNext(pos));
        for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
            Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
            if (!b->IsValid())
                invalid.AddTail(b);
            if (HasUndefinedTexture(*b))
                untextured.AddTail(b);
        }
    }
    // Selects the brushes for the user in place of the old selection.
    auto selectFound = [this](CPtrList& found) {
        if (!DeselectAll())
            return;
        for (POSITION pos = found.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(found.GetNext(pos));
            t->SetSelected(true);
            m_selection.AddTail(t);
        }
        int n = m_selection.GetCount();
        Report().Status(n == 1 ? "%d brush selected" : "%d brushes selected", n);
        UpdateCurrentEntity();
        GetEditorServices()->UpdateSelectionIndicator();
        SelectionChangedRedraw(TRUE);
    };
    if (!invalid.IsEmpty()) {
        if (Report().Box(MB_YESNO, "Some brushes were found in the map which are invalid.\n"
                                   "Press Yes to select the brushes and cancel the save,\n"
                                   "or press No to skip the invalid brushes.") == IDYES) {
            selectFound(invalid);
            return FALSE;
        }
    }
    if (!untextured.IsEmpty() &&
        Report().Box(MB_YESNO, "Some brushes were found in the map that have an undefined texture\n"
                               "on at least one face.  Would you like me to select those brushes\n"
                               "for you now?") == IDYES)
        selectFound(untextured);
    return TRUE;
}

BOOL Map::OnSaveDocument(LPCSTR lpszPathName)
{
    if (!CheckBeforeSave(lpszPathName))
        return FALSE;
    CWaitCursor wait;
    if (m_pWorld)
        SetWadPair(*m_pWorld, lpszPathName);
    CString text;
    WriteEntities(text);
    if (!WriteFileReporting(lpszPathName, text))
        return FALSE;
    SetModifiedFlag(FALSE);
    Report().Status("Map successfully saved");
    return TRUE;
}

BOOL Map::WriteMap(CString& out, LPCSTR lpszPathName)
{
    if (!ApplyPendingEntityEdits())
        return FALSE;
    if (!GetFirstViewPosition())
        return FALSE;
    CPtrList& objects = GetObjectList();

    // The entities of the objects, each once, in the order in which they first appear;
    // the world comes first whatever the order.
    struct Group
    {
        Entity* entity = nullptr;
        CPtrList brushes;
    };
    std::vector<Group*> groups;
    CMapPtrToPtr index; // Entity* -> Group*
    Group world;
    world.entity = m_pWorld;
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(objects.GetNext(pos));
        bool brush = t->GetKind() == 0;
        if (brush && !t->IsVisible())
            continue;
        Entity* e = brush ? static_cast<Brush*>(t)->GetOwner() : t->GetKind() == 1 ? static_cast<Entity*>(t) : nullptr;
        if (!e || (e != m_pWorld && !e->IsVisible()))
            continue;
        Group* g = &world;
        if (e != m_pWorld) {
            void* p = nullptr;
            if (index.Lookup(e, p)) {
                g = static_cast<Group*>(p);
            } else {
                g = new Group;
                g->entity = e;
                groups.push_back(g);
                index.SetAt(e, g);
            }
        }
        if (brush)
            g->brushes.AddTail(t);
    }

    // Each entity is written through a copy of its pairs that borrows the group's brushes.
    auto writeGroup = [&out, lpszPathName](Group& g, bool isWorld) {
        Entity temp(*g.entity);
        temp.SetMap(nullptr);
        temp.CopyKeptBrushes(*g.entity);
        // The build leaves out a brush that is not valid, and says which.
        for (POSITION pos = g.brushes.GetHeadPosition(); pos;) {
            const Brush* b = static_cast<const Brush*>(g.brushes.GetNext(pos));
            if (b->IsValid())
                continue;
            const short* box = b->GetBounds();
            Report().Message("A brush of %s from (%d %d %d) to (%d %d %d) is not valid; it was left out of the map.",
                             *g.entity->ValueForKey("classname") ? g.entity->ValueForKey("classname")
                                                                  : "(no classname defined)",
                             box[0], box[2], box[4], box[1], box[3], box[5]);
        }
        if (isWorld)
            SetWadPair(temp, lpszPathName);
        temp.GetBrushes().AddTail(&g.brushes);
        temp.Write(out);
        temp.RemoveAllBrushes();
    };
    if (m_pWorld)
        writeGroup(world, true);
    for (Group* g : groups) {
        writeGroup(*g, false);
        delete g;
    }
    // An entity whose brushes were all kept as read has no object in the list, yet it belongs to
    // the map as much as the others: it is written as it is, unless its class is switched off.
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        const Entity* e = static_cast<const Entity*>(m_entities.GetNext(pos));
        if (e == m_pWorld || e->GetBrushCount() != 0 || e->GetKeptBrushCount() == 0)
            continue;
        if (GetEditorServices()->IsEntityVisible(e->ValueForKey("classname")) == 0)
            continue;
        e->Write(out);
    }
    return TRUE;
}

BOOL Map::WriteMapFile(LPCSTR lpszPathName, LPCSTR lpszWadPlace)
{
    CString text;
    // The map text is made (and any question asked) before the file is touched.
    if (!WriteMap(text, lpszWadPlace != nullptr ? lpszWadPlace : lpszPathName))
        return FALSE;
    CWaitCursor wait;
    return WriteFileReporting(lpszPathName, text);
}

BOOL Map::WriteObjectFile(LPCSTR lpszPathName)
{
    CString text;
    if (!WritePartialMap(text))
        return FALSE;
    CWaitCursor wait;
    return WriteFileReporting(lpszPathName, text);
}

BOOL Map::WritePartialMap(CString& out)
{
    if (!ApplyPendingEntityEdits())
        return FALSE;
    bool any = false;
    for (POSITION pos = m_entities.GetHeadPosition(); pos && !any;)
        any = static_cast<Entity*>(m_entities.GetNext(pos))->IsSelected() != FALSE;
    if (!any)
        return FALSE;

    // Temporary entities borrow the selected brushes and give them back.
    auto writeBorrowing = [&out](Entity& temp, Entity& source) {
        for (POSITION pos = source.GetBrushes().GetHeadPosition(); pos;) {
            Brush* b = static_cast<Brush*>(source.GetBrushes().GetNext(pos));
            if (b->IsSelected())
                temp.GetBrushes().AddTail(b);
        }
        temp.Write(out);
        temp.RemoveAllBrushes();
    };

    Entity world;
    world.AddKeyValue("classname", "worldspawn");
    world.AddKeyValue("message", "Morvane Partial Map");
    const CString* wad = m_pWorld ? m_pWorld->FindValue("wad") : nullptr;
    world.AddKeyValue("wad", wad ? static_cast<LPCSTR>(*wad) : "unknown");
    if (m_pWorld)
        writeBorrowing(world, *m_pWorld);
    else
        world.Write(out);

    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(m_entities.GetNext(pos));
        if (e == m_pWorld || !e->IsSelected())
            continue;
        if (e->GetBrushCount() == 0) {
            e->Write(out);
            continue;
        }
        // A brush entity whose selected brushes are all invalid (the text leaves them out) is not
        // written: alone, its keys would paste as an entity without a brush.
        bool anyValid = false;
        for (POSITION bpos = e->GetBrushes().GetHeadPosition(); bpos && !anyValid;) {
            const Brush* b = static_cast<const Brush*>(e->GetBrushes().GetNext(bpos));
            anyValid = b->IsSelected() && b->IsValid();
        }
        if (!anyValid)
            continue;
        Entity temp(*e);
        temp.SetMap(nullptr);
        writeBorrowing(temp, *e);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Auto save

// A missing auto-save path is told once per round of the timer, and never while a box of the
// auto save is still open (the box's message loop goes on dispatching timers).
static DWORD s_reportedTick = 0;
static bool s_reported = false;
static bool s_boxOpen = false;
// The round whose failure was shown in a box: the other maps of that round say theirs in lines.
static DWORD s_failureBoxTick = 0;
static bool s_failureBoxShown = false;

Map::AutoSaveTarget Map::AutoSaveCandidate(const CString& candidate, const CString& ownFile)
{
    if (!ownFile.IsEmpty() && candidate.CompareNoCase(ownFile) == 0)
        return AUTOSAVE_OWN_FILE;
    // Another open map's file, even one not on disk yet (an untitled map's name).
    if (IsOpenElsewhere(candidate))
        return AUTOSAVE_OPEN_MAP;
    const DWORD attributes = ::GetFileAttributesA(candidate);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return AUTOSAVE_FREE;
    if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return AUTOSAVE_READ_ONLY;
    auto own = FindAutoSaveFile(candidate);
    if (own != s_autoSaveFiles.end() && own->owner == m_autoSaveOwner && IsUnchanged(*own))
        return AUTOSAVE_FREE;
    return AUTOSAVE_TAKEN;
}

void Map::AutoSave(DWORD tick)
{
    if (!IsModified())
        return;
    CEditorServices* services = GetEditorServices();
    CString extension = services->GetProfileString("Options", "Auto Save Extension", "");
    if (!IsPlainExtension(extension))
        extension = "map";
    CString directory = services->GetProfileString("Options", "Auto Save Path", "");
    if (directory.IsEmpty()) {
        if (s_boxOpen || (s_reported && s_reportedTick == tick))
            return;
        s_reported = true;
        s_reportedTick = tick;
        s_boxOpen = true;
        Report().Box(MB_OK, "No auto save path is defined in the project\nsetting.  Auto save was not performed.");
        s_boxOpen = false;
        return;
    }
    MakeRootAbsolute(directory);
    // The file is named after the map; a map never saved is named after its title.
    CString name = AfxGetFileName(GetPathName().IsEmpty() ? GetTitle() : GetPathName());
    int dot = name.ReverseFind('.');
    if (dot > 0)
        name = name.Left(dot);
    if (name.IsEmpty())
        name = "Untitled";
    const CString stem = FullPath(directory + "\\" + name);
    const CString ownFile = GetPathName().IsEmpty() ? CString() : FullPath(GetPathName());
    // The auto save writes only over a file it made for this map in this run, and never over the
    // map's own file: a name taken otherwise gives way to "name.autosave", "name.autosave2", ...
    CString path;
    CString skipped[AUTOSAVE_TAKEN + 1]; // the first name passed over for each reason
    for (int n = 1; path.IsEmpty(); ++n) {
        CString candidate;
        if (n == 1)
            candidate = stem + "." + extension;
        else if (n == 2)
            candidate = stem + ".autosave." + extension;
        else
            candidate.Format("%s.autosave%d.%s", static_cast<LPCSTR>(stem), n - 1, static_cast<LPCSTR>(extension));
        AutoSaveTarget target = AutoSaveCandidate(candidate, ownFile);
        if (target == AUTOSAVE_FREE)
            path = candidate;
        else if (skipped[target].IsEmpty())
            skipped[target] = candidate;
        if (path.IsEmpty() && n == INT_MAX)
            return; // a folder of two thousand million names: nothing sensible is left to do
    }
    // Why the map's auto save has another name, once per map and reason.
    static const char* const s_why[] = {"", "is the map's own file", "is the file of another open map",
                                        "is read-only and stays as it is",
                                        "is not this map's auto-save file and stays as it is"};
    const CString map = GetPathName().IsEmpty() ? GetTitle() : GetPathName();
    for (int reason = AUTOSAVE_OWN_FILE; reason <= AUTOSAVE_TAKEN; ++reason) {
        const unsigned bit = 1u << reason;
        if (skipped[reason].IsEmpty() || (m_autoSaveTold & bit))
            continue;
        m_autoSaveTold |= bit;
        Report().Message("Auto save: %s %s; %s is auto-saved to %s.", static_cast<LPCSTR>(skipped[reason]),
                         s_why[reason], static_cast<LPCSTR>(map), static_cast<LPCSTR>(path));
    }

    CWaitCursor wait;
    CString text;
    WriteEntities(text, true);
    CString error;
    if (!WriteTextGivingReason(path, text, error)) {
        // One box when the auto save starts failing, never one over another (the box's loop goes
        // on dispatching timers): every further failing round is a line, until a round succeeds.
        const bool box = !m_autoSaveFailing && !s_boxOpen && !(s_failureBoxShown && s_failureBoxTick == tick);
        m_autoSaveFailing = true;
        if (!box) {
            CString line = error;
            line.Replace("\n", " ");
            Report().Message("Auto save failed: %s", static_cast<LPCSTR>(line));
            return;
        }
        s_failureBoxShown = true;
        s_failureBoxTick = tick;
        s_boxOpen = true;
        Report().Box(MB_OK | MB_ICONEXCLAMATION,
                     "%s\n\nThe auto save could not write the map. It tries again at each round; until one "
                     "succeeds, a failure is told in the Messages pane.",
                     static_cast<LPCSTR>(error));
        s_boxOpen = false;
        return;
    }
    m_autoSaveFailing = false;
    AutoSaveFile file = {path, {}, 0, m_autoSaveOwner};
    if (!FileStamp(path, file.written, file.sizeLow))
        return;
    auto known = FindAutoSaveFile(path);
    if (known != s_autoSaveFiles.end())
        *known = file;
    else
        s_autoSaveFiles.push_back(file);
}
