#include "Thing.h"
#include "Services.h"
#include "Reporter.h"

SThing::SThing(int kind, bool visible, bool selected)
{
    m_flags = kind == 0 ? FLAG_BRUSH : kind == 1 ? FLAG_ENTITY : FLAG_OTHER;
    if (visible)
        m_flags |= FLAG_VISIBLE;
    if (selected)
        m_flags |= FLAG_SELECTED;
    m_serial = GetEditorServices()->NextObjectSerial();
}

void SThing::SetVisible(bool visible)
{
    m_flags = visible ? (m_flags | FLAG_VISIBLE) : (m_flags & ~FLAG_VISIBLE);
}

void SThing::SetSelected(bool selected)
{
    m_flags = selected ? (m_flags | FLAG_SELECTED) : (m_flags & ~FLAG_SELECTED);
}

void SThing::SetBounds(const short* box)
{
    for (int i = 0; i < 6; ++i)
        m_box[i] = box[i];
    ComputeCentre();
}

void SThing::ComputeCentre()
{
    for (int a = 0; a < 3; ++a) {
        int mn = m_box[a * 2], mx = m_box[a * 2 + 1];
        m_centre[a] = static_cast<short>(mn + (mx - mn) / 2);
    }
}

int SThing::GetKind() const
{
    if (m_flags & FLAG_BRUSH)
        return 0;
    if (m_flags & FLAG_ENTITY)
        return 1;
    return -1;
}

bool ViewAxes(int viewType, int& first, int& second, int& depth)
{
    switch (viewType) {
    case VIEW_XY: first = 0; second = 1; depth = 2; return true;
    case VIEW_XZ: first = 0; second = 2; depth = 1; return true;
    case VIEW_YZ: first = 1; second = 2; depth = 0; return true;
    default: return false;
    }
}

bool MovedPoint(SThing::MoveKind kind, int a, int b, int c, int viewType, long long* point)
{
    if (kind == SThing::TRANSLATE) {
        point[0] += a;
        point[1] += b;
        point[2] += c;
        return true;
    }
    int h, v, d;
    if (!ViewAxes(viewType, h, v, d))
        return false;
    switch (kind) {
    case SThing::MOVE_TO: point[h] = a; point[v] = b; break;
    case SThing::MOVE: point[h] += a; point[v] += b; break;
    default: point[d] += a; break;
    }
    return true;
}

void SThing::GetDepthExtents(short& min, short& max, int viewType) const
{
    int a, b, d;
    if (!ViewAxes(viewType, a, b, d)) {
        Report().Box(MB_OK, "Call to GetDepthExtents with unsupported type of %d\n", viewType);
        return;
    }
    min = m_box[d * 2];
    max = m_box[d * 2 + 1];
}

void SThing::RecenterBounds()
{
    for (int a = 0; a < 3; ++a) {
        int half = (m_box[a * 2 + 1] - m_box[a * 2]) / 2;
        m_box[a * 2] = static_cast<short>(m_centre[a] - half);
        m_box[a * 2 + 1] = static_cast<short>(m_centre[a] + half);
    }
}
