// Entities: ordered key/value pairs and the brushes they own.
#pragma once
#include "Pool.h"
#include "Reporter.h"
#include "Thing.h"
#include <vector>

class Brush;
class CBrushBatch;
class Map;
class CTokenizer;

// The map text writes keys and values between double quotes, without escapes, one pair a line:
// a double quote, a carriage return or a line feed inside one would make the file unreadable.
bool IsWritableKeyText(LPCSTR text);
// What the places where keys and values are typed say when they refuse one.
extern const char kUnwritableKeyText[];

class CKeyValue : public CPooled<CKeyValue>
{
public:
    CKeyValue(LPCSTR key, LPCSTR value) : m_key(key), m_value(value) {}
    explicit CKeyValue(CTokenizer& tok);
    const CString& GetKey() const { return m_key; }
    const CString& GetValue() const { return m_value; }
    void SetValue(LPCSTR value) { m_value = value; }
    void Write(CString& out) const;

private:
    CString m_key;
    CString m_value;
};

// From a pool, as the brushes are: a map's load makes hundreds.
class Entity : public SThing, public CPooled<Entity>
{
public:
    Entity();
    explicit Entity(Map* pMap);
    Entity(const Entity& other);
    // Reads one entity block. Throws CEntityReadError when the block cannot be read. With a batch,
    // the brushes' windings are left to it, and FinishRead completes the entity once the batch has
    // finished.
    Entity(Map* pMap, CTokenizer& tok, CBrushBatch* pBatch = nullptr);
    // The import variant: every brush is moved by the offset and selected.
    Entity(CTokenizer& tok, const short* offset);
    ~Entity() override;
    Entity& operator=(const Entity&) = delete;

    // A new selected entity of the map that takes over the listed brushes and copies the pairs.
    static Entity* CopyFrom(Map* pMap, CPtrList& objects, CPtrList& pairs);
    void CopyKeyValues(const Entity& other);

    // False (nothing added) when the key or the value cannot be written (IsWritableKeyText).
    bool AddKeyValue(LPCSTR key, LPCSTR value);
    const CString* FindValue(LPCSTR key) const;
    LPCSTR ValueForKey(LPCSTR key) const; // "" when missing
    enum SetResult
    {
        KEY_MISSING = 0,   // no pair has the key; nothing changed
        VALUE_SET = 1,     // the first pair with the key has the value
        VALUE_REFUSED = 2, // the key or the value cannot be written; nothing changed
    };
    SetResult SetValueForKey(LPCSTR key, LPCSTR value);
    BOOL RemoveKey(LPCSTR key);
    void DeleteKeyValues();
    CPtrList& GetKeyValues() { return m_pairs; }

    int GetBrushCount() const { return m_brushes.GetCount(); }
    CPtrList& GetBrushes() { return m_brushes; }
    void AddBrush(Brush* pBrush);
    void RemoveBrush(Brush* pBrush);
    void RemoveAllBrushes();
    void TakeBrushes(Entity& other, bool select);
    void Select();

    // A brush of the file that could not be built (points that whole map units cannot hold):
    // kept as its text, out of the views and edits, and written back unchanged at its place.
    struct KeptBrush
    {
        int before = 0;   // the number of the entity's brushes that come before it
        int line = 0;     // the line of its "{" in the file
        CString text;     // from its "{" to its "}"
        bool fromPoints = true; // its points fail it; otherwise a number or faces that enclose no volume
    };
    int GetKeptBrushCount() const { return static_cast<int>(m_kept.size()); }
    const std::vector<KeptBrush>& GetKeptBrushes() const { return m_kept; }
    // After the batch that the block was read with has finished: the brushes whose geometry failed
    // are kept as text in their places, as a read without a batch keeps them, and the entity's
    // size comes from its class.
    void FinishRead(CBrushBatch& batch);
    // The build writes an entity through a copy; the copy writes the original's kept brushes.
    void CopyKeptBrushes(const Entity& other) { m_kept = other.m_kept; }

    BOOL IsSelected() const override;
    BOOL IsVisible() const override;
    void MoveTo(int x, int y, int viewType) override;
    void MoveDepth(int d, int viewType) override;
    void Move(int dx, int dy, int viewType) override;
    void Translate(int dx, int dy, int dz) override;
    void Scale(int atMax, int delta, int viewType) override;
    void Rotate(int cx, int cy, double angle, int viewType) override;
    // Whether a move or turn keeps a point entity's origin within the coordinate range (a move
    // that would not is refused by the entity). A move that the entity does not make (no origin,
    // no class, a class without a size) fits. The box of an entity at the range's end stops there.
    bool MoveFits(MoveKind kind, int a, int b, int c, int viewType) const;
    // Whether the moves are made at all: the origin reads as three numbers and the class gives a
    // size (the moves of any other entity are refused, with a box that says why).
    bool CanMove() const;
    bool RotateFits(int cx, int cy, double angle, int viewType) const;
    // False when the "origin" value reads as three numbers and one of them lies past the range.
    bool OriginInRange() const;
    // The box and centre of a point entity from its class around its origin, as a move by nothing
    // gives them, with the origin's text left as it is: one past the range is drawn from the
    // range's end and written back as read. False, with the box that says why, when the entity
    // has no place (no origin that reads, no class, a class without a size).
    bool FitToOrigin();

    // The entity's text. Brushes that are not valid are left out unless includeInvalid (the auto
    // save keeps everything the map holds).
    void Write(CString& out, bool includeInvalid = false) const;

    Map* GetMap() const { return m_pMap; }
    // The line of the entity's "{" in the text it was read from, 0 otherwise.
    int GetLine() const { return m_line; }
    void SetMap(Map* pMap) { m_pMap = pMap; }

private:
    void ReadBlock(CTokenizer& tok, const short* offset, CBrushBatch* pBatch);
    static KeptBrush MakeKeptBrush(int before, int line, int kind, const char* text, int length, bool brace,
                                   bool endedInside);
    void DropWhatWasRead();
    void SizeFromClass(const short* offset);
    void TellEntity(LPCSTR format, const CString& className) const;
    CString ClassNameForReport() const;
    void MoveOrigin(MoveKind kind, int a, int b, int c, int viewType);
    // Where a move takes the origin (from, to) and the size of the class around it; false when the
    // move is not made (told when asked).
    bool PlanMove(MoveKind kind, int a, int b, int c, int viewType, long long* from, long long* to,
                  const short*& size, bool& known, bool tell) const;
    // The centre and origin turned about (cx, cy) in the top view; false when one of them, or the
    // box kept around the centre, would leave the coordinate range.
    bool PlanTurn(int cx, int cy, double angle, short* centre, long long* origin, bool& hasOrigin) const;

    CPtrList m_pairs;   // CKeyValue*, owned, in file order
    CPtrList m_brushes; // Brush*, owned
    std::vector<KeptBrush> m_kept; // in file order
    Map* m_pMap = nullptr;
    bool m_destroying = false;
    int m_line = 0; // the line of the "{" of a block read from map text
};

// An entity block that cannot be read: the whole read stops.
class CEntityReadError
{
public:
    CEntityReadError(LPCSTR text, bool stop) : message(text), stopReading(stop) {}
    CString message;
    bool stopReading; // false: only this entity is skipped
};

struct UnknownClassCount
{
    CString name;
    int count;
    std::vector<int> lines; // the first lines of its entities, when read from map text
};

// The classes that the project does not define, counted over one operation on many entities (an
// open, a move of the selection), so that one box names each with its count. While one lives an
// unknown class is counted, otherwise it is reported at once. Nested ones count into the outermost,
// which reports when it ends (or earlier, at ReportNow).
class CUnknownClassReport : public CCollectingReport<CUnknownClassReport>
{
public:
    ~CUnknownClassReport();
    void ReportNow();
    void Forget() { m_counts.clear(); }
    // Counts the class when a report is open, else tells about it in a box of its own.
    static void Count(const CString& name, int line = 0);

private:
    std::vector<UnknownClassCount> m_counts;
};

// Parses "x y z" (integers, fractions rounded); false unless three numbers stand there. A number
// past the coordinate range is clamped to it; *pInRange (when given) tells whether none was.
bool ParseOrigin(LPCSTR text, int* xyz, bool* pInRange = nullptr);
