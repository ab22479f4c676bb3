// The plane view's full redraw of a loaded map into a memory DC, for XY, XZ and YZ at 37.5%:
// the canvas rectangle covers the whole projected map, the grid is on and nothing is selected.
#pragma once
#include "MapXYView.h"
#include <algorithm>

namespace {

// A plane view over the map without a window, as printing draws it.
struct BenchPlaneView : CMapXYView
{
    BenchPlaneView(Map& map, int viewType)
    {
        map.AddView(this);
        m_nViewType = viewType;
        int n = static_cast<int>(m_scale * 8192);
        SetScrollSizes(MM_TEXT, CSize(n, n));
        m_nGridPixels = ComputeGridPixels(m_nGrid, m_scale, n);
    }
    ~BenchPlaneView() override
    {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
    }
};

void BenchRedraw(Map& map, int runs)
{
    // The last view leaving must not close the document.
    map.m_bAutoDelete = FALSE;
    map.DeselectAll();
    map.RebuildVisibleList();
    short box[6] = {32767, -32768, 32767, -32768, 32767, -32768};
    CPtrList objects;
    map.CollectObjects(objects);
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        const short* b = static_cast<SThing*>(objects.GetNext(pos))->GetBounds();
        for (int a = 0; a < 3; ++a) {
            box[a * 2] = std::min(box[a * 2], b[a * 2]);
            box[a * 2 + 1] = std::max(box[a * 2 + 1], b[a * 2 + 1]);
        }
    }
    HDC screen = ::GetDC(nullptr);
    for (int type : {VIEW_XY, VIEW_XZ, VIEW_YZ}) {
        BenchPlaneView view(map, type);
        CRect canvas = view.ProjectBox(box);
        canvas.InflateRect(4, 4);
        CDC mem;
        mem.Attach(::CreateCompatibleDC(screen));
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, canvas.Width(), canvas.Height());
        HGDIOBJ old = ::SelectObject(mem.m_hDC, bmp);
        std::vector<double> times;
        for (int r = 0; r < runs; ++r) {
            double t0 = Now();
            view.DrawCanvas(&mem, canvas);
            ::GdiFlush();
            times.push_back((Now() - t0) * 1000.0);
        }
        std::sort(times.begin(), times.end());
        std::printf("redraw %s 37.5%%        %9.2f ms median (%d runs, %d x %d pixels, %d objects)\n",
                    type == VIEW_XY ? "XY" : type == VIEW_XZ ? "XZ" : "YZ", times[times.size() / 2], runs,
                    canvas.Width(), canvas.Height(), map.GetVisibleList().GetCount());
        ::SelectObject(mem.m_hDC, old);
        ::DeleteObject(bmp);
        ::DeleteDC(mem.Detach());
    }
    ::ReleaseDC(nullptr, screen);
}

} // namespace
