// The base of every selectable map object: flags, kind, integer box and centre, serial.
#pragma once
#include "afx.h"

// View plane codes.
enum
{
    VIEW_XY = 255,
    VIEW_XZ = 256,
    VIEW_YZ = 257,
    VIEW_CAMERA = 258,
    VIEW_ALL = 261,
};

// Box indices: min x, max x, min y, max y, min z, max z.
enum { BOX_MINX, BOX_MAXX, BOX_MINY, BOX_MAXY, BOX_MINZ, BOX_MAXZ };

class SThing
{
public:
    enum
    {
        FLAG_VISIBLE = 0x01,
        FLAG_SELECTED = 0x02,
        FLAG_BRUSH = 0x20,
        FLAG_ENTITY = 0x40,
        FLAG_OTHER = 0x80,
    };

    SThing(int kind, bool visible, bool selected);
    SThing(const SThing&) = default; // copies keep the source's serial
    SThing& operator=(const SThing&) = default;
    virtual ~SThing() = default;

    virtual void SetVisible(bool visible);
    virtual BOOL IsVisible() const { return (m_flags & FLAG_VISIBLE) != 0; }
    virtual void SetSelected(bool selected);
    virtual BOOL IsSelected() const { return (m_flags & FLAG_SELECTED) != 0; }
    virtual void SetBounds(const short* box);
    // The four moves below as one value: an edit of many objects checks every object's move
    // before it makes any.
    enum MoveKind { MOVE_TO, MOVE, MOVE_DEPTH, TRANSLATE };
    virtual void MoveTo(int x, int y, int viewType) = 0;
    virtual void MoveDepth(int d, int viewType) = 0;
    virtual void Move(int dx, int dy, int viewType) = 0;
    virtual void Translate(int dx, int dy, int dz) = 0;
    virtual void Scale(int atMax, int delta, int viewType) = 0;
    virtual void Rotate(int cx, int cy, double angle, int viewType) = 0;

    int GetKind() const;
    short* GetBounds() { return m_box; }
    const short* GetBounds() const { return m_box; }
    const short* GetCentre() const { return m_centre; }
    void GetDepthExtents(short& min, short& max, int viewType) const;
    void RecenterBounds();
    WORD GetSerial() const { return m_serial; }
    BYTE GetFlags() const { return m_flags; }

protected:
    void ComputeCentre();

    short m_box[6] = {0, 0, 0, 0, 0, 0};
    short m_centre[3] = {0, 0, 0};
    BYTE m_flags = 0;
    WORD m_serial = 0;
};

// The axes (0 x, 1 y, 2 z) of a view plane: horizontal, vertical and depth.
// False for a code that is not a plane view.
bool ViewAxes(int viewType, int& first, int& second, int& depth);

// Map coordinates are 16-bit: whatever lies past this range would wrap to the far side of the map.
inline bool IsMapCoordinate(long long v)
{
    return v >= -32768 && v <= 32767;
}
// The map coordinate nearest to v: what lies past the range stops at its end.
inline short ClampToMapCoordinate(long long v)
{
    return static_cast<short>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}
// A number that rounds to a map coordinate (RoundCoord clamps any other); false for NaN.
inline bool RoundsToMapCoordinate(double v)
{
    return v >= -32768.5 && v < 32767.5;
}

// A point (x, y, z) after one of the moves: MoveTo places it at (a, b) on the view's two axes, Move
// shifts it by (a, b) on them, MoveDepth by a along the view's depth and Translate by (a, b, c). In
// 64 bits, so that no sum overflows. False, the point unchanged, for a view type that is no plane
// (Translate takes none).
bool MovedPoint(SThing::MoveKind kind, int a, int b, int c, int viewType, long long* point);
