// Buttons inside cells: the caption button, the auto-repeating spin buttons,
// the drop-down arrows and the hot spot.
#include "afxwin.h"
#include "afxseam.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxresrc.h"
#include <algorithm>
#include <map>

namespace {
HBITMAP ArrowBitmap()
{
    // Loaded once for the program; the system frees it with the process.
    static HBITMAP hArrow = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(GX_IDB_ARROW));
    return hArrow;
}

void FillBlack(CDC* pDC, int x, int y, int cx, int cy, int bottom)
{
    if (y < bottom)
        pDC->FillSolidRect(x, y, cx, cy, RGB(0, 0, 0));
}

// Thread timers of held repeat buttons, by timer id.
std::map<UINT_PTR, CGXRepeatButton*>& RepeatTimers()
{
    static std::map<UINT_PTR, CGXRepeatButton*> timers;
    return timers;
}

void CALLBACK RepeatTimerProc(HWND, UINT, UINT_PTR nId, DWORD)
{
    auto it = RepeatTimers().find(nId);
    if (it != RepeatTimers().end())
        it->second->CheckRepeat();
}
} // namespace

// ---------------------------------------------------------------------------
// GXCellButton

CRect GXCellButton::DrawFace(CDC* pDC, BOOL bActive)
{
    const BOOL bPressed = bActive && HasFocus() && m_state.Pressed();
    CRect r = m_rect;
    pDC->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    ::DrawEdge(pDC->GetSafeHdc(), &r, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (bPressed)
        r.OffsetRect(1, 1);
    return r;
}

void GXCellButton::Draw(CDC* pDC, BOOL bActive)
{
    if (pDC == nullptr || m_rect.IsRectEmpty())
        return;
    CRect r = DrawFace(pDC, bActive);
    r.left += 1;
    r.top += 1;
    r.right -= 2;
    r.bottom -= 2;
    if (!m_strText.IsEmpty()) {
        const int saved = pDC->SaveDC();
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        pDC->DrawText(m_strText, m_strText.GetLength(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        pDC->RestoreDC(saved);
    }
    if (bActive && HasFocus()) {
        CRect focus = r;
        focus.DeflateRect(1, 1);
        if (!focus.IsRectEmpty())
            pDC->DrawFocusRect(&focus);
    }
}

void GXCellButton::Changed(BOOL bWasPressed)
{
    if (bWasPressed != m_state.Pressed() && m_bRedrawOnChange)
        Refresh();
}

BOOL GXCellButton::OnLButtonDown(UINT, CPoint)
{
    const BOOL was = m_state.Pressed();
    m_state.MouseDown();
    Changed(was);
    CWnd* pGrid = m_pControl != nullptr ? m_pControl->GetGridWindow() : nullptr;
    if (m_pControl != nullptr && m_pControl->IsActive() && pGrid != nullptr && pGrid->GetSafeHwnd() != nullptr)
        pGrid->UpdateWindow();
    return TRUE;
}

BOOL GXCellButton::OnMouseMove(UINT, CPoint pt)
{
    const BOOL was = m_state.Pressed();
    m_state.MouseMove(HitTest(pt));
    Changed(was);
    return TRUE;
}

BOOL GXCellButton::OnLButtonUp(UINT, CPoint pt)
{
    const BOOL was = m_state.Pressed();
    const BOOL click = m_state.MouseUp(HitTest(pt));
    Changed(was);
    if (click && m_pControl != nullptr)
        m_pControl->OnClickedButton(this);
    return TRUE;
}

BOOL GXCellButton::OnKeyDown(UINT nChar, UINT, UINT)
{
    const BOOL was = m_state.Pressed();
    if (!m_state.KeyDown(nChar))
        return FALSE;
    Changed(was);
    return TRUE;
}

BOOL GXCellButton::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (!m_state.KeyUp(nChar))
        return FALSE;
    Changed(TRUE);
    if (m_pControl != nullptr)
        m_pControl->OnClickedButton(this);
    return TRUE;
}

void GXCellButton::CancelPress()
{
    const BOOL was = m_state.Pressed();
    m_state.Cancel();
    Changed(was);
}

// ---------------------------------------------------------------------------
// CGXRepeatButton

CGXRepeatButton::~CGXRepeatButton() { StopTimer(); }

void CGXRepeatButton::StopTimer()
{
    if (m_nTimer != 0) {
        ::KillTimer(nullptr, m_nTimer);
        RepeatTimers().erase(m_nTimer);
        m_nTimer = 0;
    }
}

BOOL CGXRepeatButton::OnLButtonDown(UINT nFlags, CPoint pt)
{
    GXCellButton::OnLButtonDown(nFlags, pt);
    m_schedule.Start(AfxGetTickCount());
    StopTimer();
    m_nTimer = ::SetTimer(nullptr, 0, 50, RepeatTimerProc);
    if (m_nTimer != 0)
        RepeatTimers()[m_nTimer] = this;
    if (m_pControl != nullptr)
        m_pControl->OnClickedButton(this);
    return TRUE;
}

void CGXRepeatButton::CheckRepeat()
{
    if (!m_state.MouseIsDown() || !m_state.Pressed())
        return;
    if (m_schedule.Due(AfxGetTickCount()) && m_pControl != nullptr)
        m_pControl->OnClickedButton(this);
}

BOOL CGXRepeatButton::OnMouseMove(UINT nFlags, CPoint pt)
{
    GXCellButton::OnMouseMove(nFlags, pt);
    CheckRepeat();
    return TRUE;
}

BOOL CGXRepeatButton::OnLButtonUp(UINT, CPoint)
{
    // The press clicked already: the release only lets go.
    StopTimer();
    const BOOL was = m_state.Pressed();
    m_state.Cancel();
    Changed(was);
    return TRUE;
}

void CGXRepeatButton::CancelPress()
{
    StopTimer();
    GXCellButton::CancelPress();
}

// ---------------------------------------------------------------------------
// Arrow buttons

BOOL GXBitmapCellButton::ShowInInactiveCells()
{
    const CGXComboBox* pCombo = dynamic_cast<const CGXComboBox*>(m_pControl);
    return pCombo != nullptr && pCombo->m_bButtonInInactiveCells;
}

void GXBitmapCellButton::DrawArrow(CDC* pDC, BOOL bActive)
{
    CRect r = DrawFace(pDC, bActive);
    r.top += 2;
    r.bottom -= 2;
    HBITMAP hArrow = ArrowBitmap();
    BITMAP bm{};
    if (hArrow == nullptr || !::GetObject(hArrow, sizeof(bm), &bm))
        return;
    const int x = r.left + std::max<int>(0, (r.Width() - bm.bmWidth) / 2);
    const int y = r.top + std::max<int>(0, (r.Height() - bm.bmHeight) / 2);
    const int cx = std::min<int>(bm.bmWidth, m_rect.Width() - 1), cy = std::min<int>(bm.bmHeight, m_rect.Height() - 1);
    if (cx <= 0 || cy <= 0)
        return;
    HDC hMem = ::CreateCompatibleDC(pDC->GetSafeHdc());
    HGDIOBJ old = ::SelectObject(hMem, hArrow);
    ::BitBlt(pDC->GetSafeHdc(), x, y, cx, cy, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, old);
    ::DeleteDC(hMem);
}

void GXBitmapCellButton::Draw(CDC* pDC, BOOL bActive)
{
    // Drawn in the current cell whether the control edits it or not, and in
    // every cell when the control asks for it.
    if (pDC == nullptr || m_rect.IsRectEmpty() || (!bActive && !ShowInInactiveCells()))
        return;
    DrawArrow(pDC, bActive);
}

void CGXComboArrowButton::Draw(CDC* pDC, BOOL bActive)
{
    if (pDC == nullptr || m_rect.IsRectEmpty())
        return;
    if (!bActive && !m_bShowInInactiveCells)
        return;
    // The window shows its own button while it is active.
    if (bActive && m_pControl != nullptr && m_pControl->IsActive())
        return;
    DrawArrow(pDC, bActive);
}

// ---------------------------------------------------------------------------
// Hot spot and spin buttons

void GXDrawHotSpotGlyph(CDC* pDC, const CRect& r)
{
    if (r.Height() <= 11)
        return;
    const int x = r.left, y = r.top;
    const int rects[6][4] = {{3, 3, 6, 2}, {6, 4, 3, 3}, {4, 7, 7, 1}, {5, 8, 5, 1}, {6, 9, 3, 1}, {7, 10, 1, 1}};
    for (const auto& q : rects)
        pDC->FillSolidRect(x + q[0], y + q[1], q[2], q[3], RGB(0, 0, 0));
}

void GXDrawSpinGlyph(CDC* pDC, const CRect& rect, BOOL bUp)
{
    const int h = rect.Height(), w = rect.Width();
    if (h < 5)
        return;
    const BOOL big = h >= 8;
    int y, x;
    if (bUp) {
        y = rect.top + std::max(0, (big ? h - 5 : h - 3) / 2);
        x = rect.left + std::max(0, (big ? w - 7 : w - 5) / 2);
    } else {
        y = rect.top + std::max(0, (big ? h - 4 : h - 2) / 2);
        x = rect.left + std::max(0, (big ? w - 7 : w - 5) / 2);
    }
    // Rows of widths 1, 3, 5 (and 7 in a taller button), centred on x + 3.
    const int rows = big ? 4 : 3;
    for (int i = 0; i < rows; ++i) {
        const int indent = bUp ? 3 - i : (big ? i : i + 1);
        FillBlack(pDC, x + indent, y + i, 7 - 2 * indent, 1, rect.bottom);
    }
}

void CGXHotSpotButton::Draw(CDC* pDC, BOOL bActive)
{
    if (pDC == nullptr || !bActive || m_rect.IsRectEmpty())
        return;
    GXDrawHotSpotGlyph(pDC, DrawFace(pDC, bActive));
}

void CGXSpinUpButton::Draw(CDC* pDC, BOOL bActive)
{
    if (pDC == nullptr || !bActive || m_rect.IsRectEmpty())
        return;
    GXDrawSpinGlyph(pDC, DrawFace(pDC, bActive), TRUE);
}

void CGXSpinDownButton::Draw(CDC* pDC, BOOL bActive)
{
    if (pDC == nullptr || !bActive || m_rect.IsRectEmpty())
        return;
    GXDrawSpinGlyph(pDC, DrawFace(pDC, bActive), FALSE);
}
