// Edits of the selection that the plane views' commands run: Assign to World, Align, Select
// Fully/Partially Inside, Create Targets, the walls of Create Room and the offsets of Create
// Array; and the edits of many objects that the views make whole or not at all (moves, drops,
// paste offsets, turns, stretches). They change the document only; the views redraw afterwards.
#pragma once
#include "Thing.h"
#include "afx.h"
#include <functional>
#include <vector>

class Map;
class Brush;

// An edit of many objects, made whole or not at all: every object's change is checked against the
// 16-bit coordinate range before any is made. When one would take its object past the range,
// nothing changes and one box says how many would have left it (CMoveRangeReport; counted into
// the report open around the edit, if any). A brush whose geometry fails its change stays as it was.
class CObjectEdit
{
public:
    // One of the object's own moves (a, b, c as the move takes them).
    void AddMove(SThing* t, SThing::MoveKind kind, int a, int b = 0, int c = 0, int viewType = 0);
    // The same move for every selected object.
    void AddSelectionMove(Map* pMap, SThing::MoveKind kind, int a, int b = 0, int c = 0, int viewType = 0);
    // The object's own turn about (cx, cy) in the view.
    void AddRotate(SThing* t, int cx, int cy, double angle, int viewType);
    // Any change: fits tells whether it keeps the object within the range, make makes it.
    void Add(SThing* t, std::function<bool()> fits, std::function<void()> make);

    // The changes that would take their object past the range, counted by kind; nothing changes.
    int CountRefused(int* brushes = nullptr, int* entities = nullptr) const;
    // Makes every change, or none: FALSE (told) when one would leave the range. TRUE when empty.
    BOOL Apply();

private:
    struct Change
    {
        SThing* object;
        std::function<bool()> fits;
        std::function<void()> make;
    };
    std::vector<Change> m_changes;
};

// Moves the selected brushes into the world entity (point entities are skipped). An entity
// left without brushes goes. The number of brushes moved.
int AssignSelectionToWorld(Map* pMap);

// The six align commands, moving every selected object but the first (the reference) along
// the view's axes.
enum AlignKind { ALIGN_LEFT, ALIGN_RIGHT, ALIGN_TOP, ALIGN_BOTTOM, ALIGN_HORIZONTALLY, ALIGN_VERTICALLY };
// The move of one object's box against the reference box: dx, dy, dz. A centre is
// (min + max) / 2, truncated toward zero.
void AlignOffset(AlignKind kind, int viewType, const short* ref, const short* box, int* delta);
// Aligns the selection (two or more objects); the box covers the objects before and after.
// FALSE (nothing moved) when fewer than two objects are selected, or when an object would leave
// the coordinate range (told, see CObjectEdit).
BOOL AlignSelection(Map* pMap, AlignKind kind, int viewType, short* unionBox);

// The objects of the list that lie fully inside (or touch, for partially) the selector brush.
// Point entities pass on their box; partially skips point entities without an "origin".
void FindObjectsInside(const Brush& selector, CPtrList& objects, BOOL bFully, CPtrList& found);

// Links the selected objects' entities into a "targetname"/"target" chain named base1, base2,
// ...; without circular the first loses "targetname" and the last "target", with it the last
// targets base1. FALSE (nothing changed) for an empty selection.
BOOL CreateTargetChain(Map* pMap, LPCSTR base, BOOL bCircular);

// The six wall boxes of a room around (outward) or inside (inward) the box, in the order
// ceiling, floor, low x, high x, low y, high y. FALSE when a wall would leave the 16-bit
// coordinate range or the thickness is negative.
BOOL ComputeRoomWalls(const short* box, int thickness, BOOL bInward, short walls[6][6]);
// Inward rooms need every size of the box above twice the thickness.
BOOL RoomFitsInside(const short* box, int thickness);
// Replaces the selected box brush by six selected wall brushes of the world, with the
// brush's first face texture. The brush is deleted through the map's deletion path.
// FALSE (nothing changed) when the walls cannot be computed.
BOOL BuildRoom(Map* pMap, Brush* pSource, int thickness, BOOL bInward);

// Create Array's rounding: the largest integer not above v + 0.5.
int ArrayRound(double v);
