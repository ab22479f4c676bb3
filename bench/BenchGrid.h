// The grid figure: a grid window of 1000 rows by 50 columns whose cells hold
// the key/value texts of the loaded map's entities (cycled), with some
// interiors and borders and one frozen row and column. Times one full paint
// of a 1200 x 900 client area with each drawing technique, and scrolling
// from the first to the last row by pages and by lines.
#pragma once
#include "afxwin.h"
#include "gxinit.h"
#include "gxutil.h"
#include "gxwnd.h"
#include <memory>

namespace benchgrid {

// Until the grid's cell controls exist the cells draw through this one:
// the background when the engine leaves it, and the value's text.
class CTextCellControl : public CGXControl
{
public:
    using CGXControl::CGXControl;
    void Draw(CDC* pDC, CRect rect, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*) override
    {
        if (Grid()->IsCellBackgroundToDraw())
            FillRectColorOpaque(pDC, rect, style.GetInterior().lbColor);
        const CString& v = style.GetValue();
        if (!v.IsEmpty()) {
            pDC->SetBkMode(TRANSPARENT);
            CRect r(rect);
            r.DeflateRect(2, 1);
            ::DrawTextA(pDC->GetSafeHdc(), v, v.GetLength(), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
};

inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

inline int BenchGrid(Map& map, int runs)
{
    std::vector<CString> texts;
    for (POSITION pos = map.GetEntities().GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(map.GetEntities().GetNext(pos));
        for (POSITION kp = e->GetKeyValues().GetHeadPosition(); kp;) {
            CKeyValue* kv = static_cast<CKeyValue*>(e->GetKeyValues().GetNext(kp));
            texts.push_back(kv->GetKey());
            texts.push_back(kv->GetValue());
        }
    }
    if (texts.empty())
        texts.push_back("worldspawn");

    // The window layer needs an application object.
    std::unique_ptr<CWinApp> app;
    if (AfxGetApp() == nullptr)
        app.reset(new CWinApp);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    GXInitLibrary(0x421, nullptr);
    CGXGridWnd::RegisterClass(AfxGetInstanceHandle());
    CWnd frame;
    if (!frame.CreateEx(0, AfxRegisterWndClass(0), "grid bench", WS_POPUP | WS_VISIBLE, 0, 0, 1220, 920, nullptr,
                        nullptr)) {
        std::fprintf(stderr, "cannot create the grid's frame (%lu)\n", ::GetLastError());
        return 1;
    }
    CGXGridWnd* grid = new CGXGridWnd;
    if (!grid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 1200, 900),
                      &frame, 1)) {
        std::fprintf(stderr, "cannot create the grid window (%lu)\n", ::GetLastError());
        return 1;
    }
    grid->InitGrid();
    grid->SetControlForId(static_cast<WORD>(grid->GetStandardStyle()->GetControl()), new CTextCellControl(grid), TRUE);
    grid->GetParam()->EnableUndo(FALSE);
    grid->GetParam()->m_bLockUpdate = TRUE;
    const ROWCOL nRows = 1000, nCols = 50;
    grid->SetRowCount(nRows, 0);
    grid->SetColCount(nCols, 0);
    grid->SetFrozenRows(1, 0, 0);
    grid->SetFrozenCols(1, 0, 0);
    CGXData* data = grid->GetParam()->GetData();
    size_t k = 0;
    CGXStyle s;
    for (ROWCOL r = 1; r <= nRows; ++r)
        for (ROWCOL c = 1; c <= nCols; ++c) {
            s.FreeMembers();
            s.SetValue(texts[k++ % texts.size()]);
            if ((r + c) % 7 == 0)
                s.SetInterior(RGB(255, 240, 200));
            if ((r * 3 + c) % 11 == 0)
                s.SetBorders(gxBorderBottom, GXPenRecord(PS_SOLID, 1, RGB(0, 0, 160)));
            data->StoreStyleRowCol(r, c, &s, gxOverride, 0);
        }
    grid->GetParam()->m_bLockUpdate = FALSE;
    grid->Redraw(GX_UPDATENOW);
    PumpMessages();
    CRect client;
    grid->GetClientRect(&client);
    std::printf("grid %u x %u cells (%zu texts), client %d x %d, cells drawn by a text control of the benchmark\n",
                static_cast<unsigned>(nRows), static_cast<unsigned>(nCols), texts.size(), client.Width(),
                client.Height());

    for (int technique = 0; technique < 2; ++technique) {
        grid->SetDrawingTechnique(technique);
        double t0 = Now();
        for (int r = 0; r < runs; ++r) {
            grid->Invalidate(FALSE);
            grid->UpdateWindow();
            ::GdiFlush();
        }
        const double per = (Now() - t0) / runs;
        std::printf("grid full paint, technique %d  %9.2f ms/paint\n", technique, per * 1000.0);
    }
    grid->SetDrawingTechnique(0);

    // Scrolling, with the scroll bars and again without them (their thumbs
    // are redrawn at every step).
    for (int bars = 1; bars >= 0; --bars) {
        if (!bars) {
            grid->SetScrollBarMode(SB_BOTH, 0, FALSE);
            ::ShowScrollBar(grid->GetSafeHwnd(), SB_BOTH, FALSE);
            grid->Redraw(GX_UPDATENOW);
        }
        for (int mode = 0; mode < 2; ++mode) {
            grid->SetTopRow(1, GX_UPDATENOW);
            PumpMessages();
            CRect g;
            grid->GetGridRect(&g);
            const int room = g.Height() - grid->CalcSumOfRowHeights(0, grid->GetFrozenRows());
            const ROWCOL page = static_cast<ROWCOL>(std::max(1, room / std::max(1, grid->GetRowHeight(2))));
            const ROWCOL step = mode == 0 ? page : 1;
            int steps = 0;
            double t0 = Now();
            ROWCOL last = 0;
            while (grid->m_nTopRow != last) {
                last = grid->m_nTopRow;
                grid->DoScroll(3, step);
                ::GdiFlush();
                ++steps;
            }
            const double total = Now() - t0;
            std::printf("grid scroll by %s, %s: %d steps to row %u, %9.3f ms/step\n", mode == 0 ? "pages" : "lines",
                        bars ? "with scroll bars" : "without scroll bars", steps,
                        static_cast<unsigned>(grid->m_nTopRow), total * 1000.0 / std::max(1, steps));
        }
    }
    delete grid;
    frame.DestroyWindow();
    return 0;
}

} // namespace benchgrid
