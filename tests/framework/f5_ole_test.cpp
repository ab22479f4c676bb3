// OLE drag and drop: the data source's blocks and lifetime, the reader, the drop target's
// forwarding to a view and its filtering of the answer against what the source allows.
#include "afxole.h"
#include "afxtest.h"
#include <cstring>
#include <vector>

namespace {

HGLOBAL Block(const char* bytes, SIZE_T n)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(::GlobalLock(h), bytes, n);
    ::GlobalUnlock(h);
    return h;
}

std::string Bytes(HGLOBAL h)
{
    SIZE_T n = ::GlobalSize(h);
    const char* p = static_cast<const char*>(::GlobalLock(h));
    std::string s(p, n);
    ::GlobalUnlock(h);
    return s;
}

int g_sourcesDeleted = 0;

class CCountedSource : public COleDataSource
{
protected:
    ~CCountedSource() override { ++g_sourcesDeleted; }
};

const CLIPFORMAT kFormat = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Morvane Test Format"));
const CLIPFORMAT kOther = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Morvane Test Other"));

} // namespace

TEST(OleDataSource, OffersCopiesOfItsBlocksAndLivesUntilTheLastReference)
{
    g_sourcesDeleted = 0;
    COleDataSource* src = new CCountedSource;
    src->CacheGlobalData(kFormat, Block("abc", 4));
    src->CacheGlobalData(kFormat, Block("xyz", 4)); // replaces (and frees) the first
    EXPECT_EQ(1, src->GetFormatCount());

    COleDataObject reader;
    reader.Attach(src->GetIDataObject(TRUE), TRUE);
    src->InternalRelease(); // the reader's reference keeps it
    EXPECT_EQ(0, g_sourcesDeleted);
    EXPECT_TRUE(reader.IsDataAvailable(kFormat));
    EXPECT_FALSE(reader.IsDataAvailable(kOther));

    HGLOBAL a = reader.GetGlobalData(kFormat);
    HGLOBAL b = reader.GetGlobalData(kFormat);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_NE(a, b); // each caller frees its own copy
    EXPECT_EQ(std::string("xyz", 4), Bytes(a));
    ::GlobalFree(a);
    ::GlobalFree(b);
    EXPECT_EQ(nullptr, reader.GetGlobalData(kOther));

    IEnumFORMATETC* pEnum = nullptr;
    ASSERT_EQ(S_OK, reader.GetIDataObject()->EnumFormatEtc(DATADIR_GET, &pEnum));
    FORMATETC fe[4];
    ULONG got = 0;
    pEnum->Next(4, fe, &got);
    pEnum->Release();
    ASSERT_EQ(1u, got);
    EXPECT_EQ(kFormat, fe[0].cfFormat);

    reader.Release();
    EXPECT_EQ(1, g_sourcesDeleted);
}

TEST(OleDataSource, EmptyOffersNothing)
{
    COleDataSource* src = new COleDataSource;
    src->CacheGlobalData(kFormat, Block("a", 1));
    src->Empty();
    COleDataObject reader;
    reader.Attach(src->GetIDataObject(FALSE), FALSE);
    EXPECT_FALSE(reader.IsDataAvailable(kFormat));
    reader.Release();
    src->InternalRelease();
}

TEST(OleDropTarget, FiltersTheAnswerAgainstTheAllowedEffects)
{
    const DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, N = DROPEFFECT_NONE;
    struct
    {
        DWORD answer, allowed, expected;
    } cases[] = {
        {M, C | M, M}, {C, C | M, C}, {M, C, C}, {C, C, C}, {M, M, M},
        {C, M, N},     {M, N, N},     {C | M, C | M, C}, {N, C | M, N},
        {M, DROPEFFECT_LINK, N},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.expected, COleDropTarget::FilterEffect(c.answer, c.allowed)) << c.answer << " " << c.allowed;
}

namespace {

// A view that accepts kFormat: move without keys, copy with Ctrl; throws on a drop at x 13.
class CDropView : public CView
{
    DECLARE_DYNCREATE(CDropView)
public:
    std::vector<std::string> calls;
    CPoint lastPoint;
    BOOL offered = FALSE;
    DROPEFFECT Answer(COleDataObject* p, DWORD keys)
    {
        offered = p && p->IsDataAvailable(kFormat);
        if (!offered)
            return DROPEFFECT_NONE;
        return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    DROPEFFECT OnDragEnter(COleDataObject* p, DWORD keys, CPoint pt) override
    {
        calls.push_back("enter");
        lastPoint = pt;
        return Answer(p, keys);
    }
    DROPEFFECT OnDragOver(COleDataObject* p, DWORD keys, CPoint pt) override
    {
        calls.push_back("over");
        lastPoint = pt;
        return Answer(p, keys);
    }
    void OnDragLeave() override { calls.push_back("leave"); }
    BOOL OnDrop(COleDataObject* p, DROPEFFECT, CPoint pt) override
    {
        calls.push_back("drop");
        lastPoint = pt;
        if (pt.x == 13)
            throw 13;
        HGLOBAL h = p->GetGlobalData(kFormat);
        if (!h)
            return FALSE;
        ::GlobalFree(h);
        return TRUE;
    }
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CDropView, CView)

class DropTargetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CDropView);
        ASSERT_TRUE(m_pFrame->Create(nullptr, "drop", WS_POPUP | WS_VISIBLE, CRect(100, 100, 404, 304), nullptr,
                                     nullptr, 0, &context));
        m_pView = dynamic_cast<CDropView*>(m_pFrame->GetActiveView());
        if (!m_pView)
            m_pView = dynamic_cast<CDropView*>(m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        ASSERT_NE(nullptr, m_pView);
        ASSERT_TRUE(m_target.Register(m_pView));
        m_src = new COleDataSource;
        m_src->CacheGlobalData(kFormat, Block("{}", 3));
    }
    void TearDown() override
    {
        m_target.Revoke();
        if (m_pFrame && m_pFrame->m_hWnd)
            m_pFrame->DestroyWindow();
        if (m_src)
            m_src->InternalRelease();
    }
    // A screen point of a client point of the view.
    POINTL Screen(int x, int y)
    {
        POINT p = {x, y};
        ::ClientToScreen(m_pView->m_hWnd, &p);
        return POINTL{p.x, p.y};
    }
    CFrameWnd* m_pFrame = nullptr;
    CDropView* m_pView = nullptr;
    COleDropTarget m_target;
    COleDataSource* m_src = nullptr;
};

} // namespace

TEST_F(DropTargetTest, ForwardsToTheViewWithClientPointsAndFilteredEffects)
{
    IDropTarget* t = m_target.GetInterface();
    IDataObject* data = m_src->GetIDataObject(FALSE);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, t->DragEnter(data, MK_LBUTTON, Screen(10, 20), &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    EXPECT_EQ(CPoint(10, 20), m_pView->lastPoint);

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON | MK_CONTROL, Screen(30, 40), &effect);
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    EXPECT_EQ(CPoint(30, 40), m_pView->lastPoint);

    // A copy-only source never sees move.
    effect = DROPEFFECT_COPY;
    t->DragOver(MK_LBUTTON, Screen(31, 40), &effect);
    EXPECT_EQ(DROPEFFECT_COPY, effect);

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, t->Drop(data, MK_LBUTTON, Screen(50, 60), &effect));
    EXPECT_EQ(DROPEFFECT_MOVE, effect);
    EXPECT_EQ(CPoint(50, 60), m_pView->lastPoint);
    EXPECT_EQ("drop", m_pView->calls.back());

    t->DragEnter(data, MK_LBUTTON, Screen(1, 1), &effect);
    t->DragLeave();
    EXPECT_EQ("leave", m_pView->calls.back());
}

TEST_F(DropTargetTest, ForeignDataAndExceptionsAnswerNone)
{
    COleDataSource* other = new COleDataSource;
    other->CacheGlobalData(kOther, Block("x", 1));
    IDropTarget* t = m_target.GetInterface();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(other->GetIDataObject(FALSE), MK_LBUTTON, Screen(5, 5), &effect);
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->Drop(other->GetIDataObject(FALSE), MK_LBUTTON, Screen(6, 6), &effect);
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    EXPECT_NE("drop", m_pView->calls.back()); // nothing to drop: the view is not asked
    other->InternalRelease();

    // An exception inside the view stays on this side of OLE.
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_NE(S_OK, t->Drop(m_src->GetIDataObject(FALSE), MK_LBUTTON, Screen(13, 5), &effect));
    EXPECT_EQ(DROPEFFECT_NONE, effect);
}

TEST_F(DropTargetTest, RegistrationIsRevokedAndCanBeMadeAgain)
{
    m_target.Revoke();
    EXPECT_EQ(nullptr, m_target.GetWindow());
    EXPECT_TRUE(m_target.Register(m_pView));
    EXPECT_EQ(m_pView, m_target.GetWindow());
    // The window cannot hold two registrations.
    COleDropTarget second;
    EXPECT_FALSE(second.Register(m_pView));
}

namespace {

// A window that asks, as it is finally destroyed, whether a drop target is still registered on it.
class CRegistrationProbe : public CWnd
{
public:
    HRESULT hrRevokeAtTheEnd = S_FALSE;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCDESTROY)
            hrRevokeAtTheEnd = ::RevokeDragDrop(m_hWnd);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(OleDropTarget, ARegistrationEndsWithItsWindow)
{
    COleDropTarget target;
    for (int i = 0; i < 2; ++i) {
        CRegistrationProbe wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "drop", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        ASSERT_TRUE(target.Register(&wnd)) << i;
        EXPECT_EQ(&wnd, target.GetWindow());
        wnd.DestroyWindow();
        EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, wnd.hrRevokeAtTheEnd) << "still registered while the window went";
        EXPECT_EQ(nullptr, target.GetWindow());
        // The window object goes before the target, which no longer refers to it.
    }
}

TEST(OleDropTarget, AWindowOfTheFrameworkKeepsItsProcedureAndADetachedOneStillEndsTheRegistration)
{
    COleDropTarget target;
    {
        CRegistrationProbe wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "drop", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        ASSERT_TRUE(target.Register(&wnd));
        // Its messages reach the window object directly, through no procedure put in front.
        EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), ::GetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC));
        wnd.DestroyWindow();
        EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, wnd.hrRevokeAtTheEnd);
    }
    // A window taken from its object: the target sees it go all the same.
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "drop", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(target.Register(&wnd));
    HWND hWnd = wnd.Detach();
    EXPECT_EQ(&wnd, target.GetWindow());
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, target.GetWindow());
}

TEST(OleDataSourceClipboard, TheClipboardKeepsTheSourceAlive)
{
    g_sourcesDeleted = 0;
    COleDataSource* src = new CCountedSource;
    src->CacheGlobalData(kFormat, Block("clip", 5));
    ASSERT_TRUE(src->SetClipboard());
    src->InternalRelease();
    EXPECT_EQ(0, g_sourcesDeleted);
    COleDataObject reader;
    ASSERT_TRUE(reader.AttachClipboard());
    HGLOBAL h = reader.GetGlobalData(kFormat);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(std::string("clip", 5), Bytes(h).substr(0, 5));
    ::GlobalFree(h);
    reader.Release();
    ::OleSetClipboard(nullptr);
    EXPECT_EQ(1, g_sourcesDeleted);
}
