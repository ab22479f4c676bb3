#include "afxole.h"
#include "afxview.h"
#include "afxseam.h"
#include <shlobj.h>
#include <commctrl.h>
#include <vector>

namespace {

// An OLE call must not let a C++ exception through into the system's code: it is noted in the
// debugger output and the call answers with a failure.
void NoteOleException(LPCSTR where)
{
    CString text;
    text.Format("Morvane: an error in %s was stopped at the OLE boundary\n", where);
    ::OutputDebugStringA(text);
}

HGLOBAL CopyGlobal(HGLOBAL hSource)
{
    SIZE_T size = ::GlobalSize(hSource);
    const void* src = ::GlobalLock(hSource);
    if (!src)
        return nullptr;
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    void* dst = hCopy ? ::GlobalLock(hCopy) : nullptr;
    if (dst) {
        memcpy(dst, src, size);
        ::GlobalUnlock(hCopy);
    } else if (hCopy) {
        ::GlobalFree(hCopy);
        hCopy = nullptr;
    }
    ::GlobalUnlock(hSource);
    return hCopy;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// COleDataObject

COleDataObject::COleDataObject() : m_lpDataObject(nullptr), m_bAutoRelease(TRUE) {}

COleDataObject::~COleDataObject()
{
    Release();
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = nullptr;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT p = nullptr;
    if (FAILED(::OleGetClipboard(&p)) || !p)
        return FALSE;
    Attach(p, TRUE);
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const
{
    if (!m_lpDataObject)
        return FALSE;
    FORMATETC fe = {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return m_lpDataObject->QueryGetData(&fe) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium) const
{
    if (!m_lpDataObject || !lpStgMedium)
        return FALSE;
    FORMATETC fe = {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    memset(lpStgMedium, 0, sizeof(*lpStgMedium));
    return SUCCEEDED(m_lpDataObject->GetData(&fe, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const
{
    STGMEDIUM stg;
    if (!GetData(cfFormat, &stg))
        return nullptr;
    HGLOBAL h = nullptr;
    if (stg.tymed == TYMED_HGLOBAL && stg.hGlobal) {
        // Ours only when nobody else keeps the medium; else a copy the caller can free.
        if (stg.pUnkForRelease == nullptr) {
            h = stg.hGlobal;
            stg.hGlobal = nullptr;
        } else {
            h = CopyGlobal(stg.hGlobal);
        }
    }
    if (stg.hGlobal || stg.pUnkForRelease)
        ::ReleaseStgMedium(&stg);
    return h;
}

// ---------------------------------------------------------------------------------------------
// COleDropSource

COleDropSource::COleDropSource() : m_dwButtonDrop(MK_LBUTTON) {}
COleDropSource::~COleDropSource() = default;

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    if (bEscapePressed)
        return DRAGDROP_S_CANCEL;
    if ((dwKeyState & m_dwButtonDrop) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

namespace {

class XDropSource : public IDropSource
{
public:
    explicit XDropSource(COleDropSource* p) : m_p(p) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of DoDragDrop, which outlasts every reference OLE takes.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL esc, DWORD keys) override
    {
        try {
            return m_p->QueryContinueDrag(esc, keys);
        } catch (...) {
            NoteOleException("QueryContinueDrag");
            return DRAGDROP_S_CANCEL;
        }
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        try {
            return m_p->GiveFeedback(effect);
        } catch (...) {
            NoteOleException("GiveFeedback");
            return DRAGDROP_S_USEDEFAULTCURSORS;
        }
    }

private:
    COleDropSource* m_p;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// COleDataSource

class COleDataSource::XDataObject : public IDataObject
{
public:
    struct Entry
    {
        CLIPFORMAT cf;
        HGLOBAL h;
    };
    LONG m_ref = 1;
    COleDataSource* m_pOwner;
    std::vector<Entry> m_entries;

    explicit XDataObject(COleDataSource* owner) : m_pOwner(owner) {}
    ~XDataObject() { Free(); }
    void Free()
    {
        for (Entry& e : m_entries)
            if (e.h)
                ::GlobalFree(e.h);
        m_entries.clear();
    }
    const Entry* Find(CLIPFORMAT cf) const
    {
        for (const Entry& e : m_entries)
            if (e.cf == cf)
                return &e;
        return nullptr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_ref)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG n = ::InterlockedDecrement(&m_ref);
        if (n == 0) {
            COleDataSource* owner = m_pOwner;
            delete this;
            delete owner;
        }
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* stg) override
    {
        if (!fe || !stg)
            return E_INVALIDARG;
        try {
            const Entry* e = Find(fe->cfFormat);
            if (!e || !(fe->tymed & TYMED_HGLOBAL))
                return DV_E_FORMATETC;
            HGLOBAL copy = CopyGlobal(e->h);
            if (!copy)
                return E_OUTOFMEMORY;
            stg->tymed = TYMED_HGLOBAL;
            stg->hGlobal = copy;
            stg->pUnkForRelease = nullptr;
            return S_OK;
        } catch (...) {
            NoteOleException("GetData");
            return E_UNEXPECTED;
        }
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override
    {
        if (!fe)
            return E_INVALIDARG;
        if (!Find(fe->cfFormat))
            return DV_E_FORMATETC;
        return (fe->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dir, IEnumFORMATETC** ppenum) override
    {
        if (!ppenum)
            return E_POINTER;
        *ppenum = nullptr;
        if (dir != DATADIR_GET)
            return E_NOTIMPL;
        try {
            std::vector<FORMATETC> list;
            for (const Entry& e : m_entries)
                list.push_back(FORMATETC{e.cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
            return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.empty() ? nullptr : list.data(),
                                           ppenum);
        } catch (...) {
            NoteOleException("EnumFormatEtc");
            return E_UNEXPECTED;
        }
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

COleDataSource::COleDataSource() : m_pObject(new XDataObject(this)) {}

COleDataSource::~COleDataSource() = default;

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal)
{
    for (XDataObject::Entry& e : m_pObject->m_entries) {
        if (e.cf == cfFormat) {
            if (e.h && e.h != hGlobal)
                ::GlobalFree(e.h);
            e.h = hGlobal;
            return;
        }
    }
    m_pObject->m_entries.push_back(XDataObject::Entry{cfFormat, hGlobal});
}

void COleDataSource::Empty()
{
    m_pObject->Free();
}

int COleDataSource::GetFormatCount() const
{
    return static_cast<int>(m_pObject->m_entries.size());
}

LPDATAOBJECT COleDataSource::GetIDataObject(BOOL bAddRef)
{
    if (bAddRef)
        m_pObject->AddRef();
    return m_pObject;
}

void COleDataSource::InternalRelease()
{
    m_pObject->Release();
}

DWORD COleDataSource::s_dwDragDelay = 200;

BOOL COleDataSource::WaitForDragStart(LPCRECT lpRectStartDrag)
{
    if (lpRectStartDrag == nullptr)
        return TRUE;
    CRect rect(lpRectStartDrag);
    rect.InflateRect(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    POINT pt;
    if (::GetCursorPos(&pt) && !rect.PtInRect(pt))
        return TRUE;
    // The mouse goes to the window that has it (or the focus) while we wait.
    HWND hWnd = ::GetCapture();
    if (hWnd == nullptr)
        hWnd = ::GetFocus();
    if (hWnd == nullptr)
        return TRUE;
    ::SetCapture(hWnd);
    const DWORD start = AfxGetTickCount();
    BOOL bStart = FALSE, bDone = FALSE;
    while (!bDone) {
        if (::GetCapture() != hWnd)
            break;
        if (AfxGetTickCount() - start >= s_dwDragDelay) {
            bStart = TRUE;
            break;
        }
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
            if (!rect.PtInRect(msg.pt))
                bStart = bDone = TRUE;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_CANCELMODE:
            bDone = TRUE;
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                bDone = TRUE;
            break;
        case WM_QUIT:
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            bDone = TRUE;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    return bStart;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource)
{
    if (!WaitForDragStart(lpRectStartDrag))
        return DROPEFFECT_NONE;
    COleDropSource defaultSource;
    if (!pDropSource) {
        pDropSource = &defaultSource;
        // The button that is down now is the one whose release drops.
        if (::GetKeyState(VK_RBUTTON) < 0 && ::GetKeyState(VK_LBUTTON) >= 0)
            defaultSource.m_dwButtonDrop = MK_RBUTTON;
    }
    XDropSource src(pDropSource);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(m_pObject, &src, dwEffects, &effect);
    if (hr != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return effect;
}

BOOL COleDataSource::SetClipboard()
{
    return SUCCEEDED(::OleSetClipboard(m_pObject));
}

// ---------------------------------------------------------------------------------------------
// COleDropTarget

class COleDropTarget::XDropTarget : public IDropTarget
{
public:
    explicit XDropTarget(COleDropTarget* owner) : m_pOwner(owner) {}
    COleDropTarget* m_pOwner;
    DWORD m_allowed = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *ppv = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Owned by the C++ target, which revokes its registration before it goes.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    CPoint ClientPoint(POINTL pt) const
    {
        POINT p = {pt.x, pt.y};
        if (m_pOwner->m_pWnd && m_pOwner->m_pWnd->m_hWnd)
            ::ScreenToClient(m_pOwner->m_pWnd->m_hWnd, &p);
        return CPoint(p.x, p.y);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        try {
            if (data)
                data->AddRef();
            m_pOwner->m_dataObject.Attach(data, TRUE);
            m_allowed = allowed;
            DROPEFFECT answer =
                m_pOwner->OnDragEnter(m_pOwner->m_pWnd, &m_pOwner->m_dataObject, keys, ClientPoint(pt));
            const DROPEFFECT scroll = m_pOwner->OnDragScroll(m_pOwner->m_pWnd, keys, ClientPoint(pt));
            if (scroll & DROPEFFECT_SCROLL)
                answer = scroll;
            *effect = FilterEffect(answer, allowed);
        } catch (...) {
            NoteOleException("DragEnter");
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        try {
            DROPEFFECT answer = m_pOwner->OnDragScroll(m_pOwner->m_pWnd, keys, ClientPoint(pt));
            if (!(answer & DROPEFFECT_SCROLL))
                answer = m_pOwner->OnDragOver(m_pOwner->m_pWnd, &m_pOwner->m_dataObject, keys, ClientPoint(pt));
            *effect = FilterEffect(answer, allowed);
        } catch (...) {
            NoteOleException("DragOver");
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        try {
            m_pOwner->OnDragLeave(m_pOwner->m_pWnd);
        } catch (...) {
            NoteOleException("DragLeave");
        }
        m_pOwner->m_dataObject.Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        HRESULT hr = S_OK;
        try {
            if (data)
                data->AddRef();
            m_pOwner->m_dataObject.Attach(data, TRUE);
            CPoint client = ClientPoint(pt);
            CWnd* pWnd = m_pOwner->m_pWnd;
            DROPEFFECT dropDefault = FilterEffect(
                m_pOwner->OnDragOver(pWnd, &m_pOwner->m_dataObject, keys, client), allowed);
            DROPEFFECT done = m_pOwner->OnDropEx(pWnd, &m_pOwner->m_dataObject, dropDefault, allowed, client);
            if (done == static_cast<DROPEFFECT>(-1)) {
                done = DROPEFFECT_NONE;
                if (dropDefault != DROPEFFECT_NONE &&
                    m_pOwner->OnDrop(pWnd, &m_pOwner->m_dataObject, dropDefault, client))
                    done = dropDefault;
            }
            *effect = FilterEffect(done, allowed);
        } catch (...) {
            NoteOleException("Drop");
            *effect = DROPEFFECT_NONE;
            hr = E_UNEXPECTED;
        }
        m_pOwner->m_dataObject.Release();
        return hr;
    }
};

namespace {

// The registration lives no longer than its window: whoever destroys the window, the target is
// revoked while the window still exists (the system keeps its own reference until then).
LRESULT CALLBACK DropTargetWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR dwRefData)
{
    if (message == WM_DESTROY)
        reinterpret_cast<COleDropTarget*>(dwRefData)->Revoke();
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

} // namespace

COleDropTarget::COleDropTarget() : m_pTarget(new XDropTarget(this)), m_pWnd(nullptr), m_hWndRegistered(nullptr) {}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    delete m_pTarget;
}

IDropTarget* COleDropTarget::GetInterface()
{
    return m_pTarget;
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !pWnd->m_hWnd)
        return FALSE;
    Revoke();
    HWND hWnd = pWnd->m_hWnd;
    if (FAILED(::RegisterDragDrop(hWnd, m_pTarget)))
        return FALSE;
    // A window whose messages come through its object is watched there; a subclass would cost
    // every message of the window a look-up of the subclass through the window server.
    if (CWnd::FromHandlePermanent(hWnd) == pWnd &&
        ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == (LONG_PTR)AfxGetAfxWndProc()) {
        if (pWnd->m_pDropTarget != nullptr)
            pWnd->m_pDropTarget->WatchWindowItself();
        pWnd->m_pDropTarget = this;
    }
    else if (!::SetWindowSubclass(hWnd, DropTargetWindowProc, (UINT_PTR)this, (DWORD_PTR)this)) {
        ::RevokeDragDrop(hWnd);
        return FALSE;
    }
    else
        m_bSubclassed = TRUE;
    m_pWnd = pWnd;
    m_hWndRegistered = hWnd;
    return TRUE;
}

void COleDropTarget::WatchWindowItself()
{
    if (m_hWndRegistered == nullptr || m_bSubclassed)
        return;
    if (m_pWnd != nullptr && m_pWnd->m_pDropTarget == this)
        m_pWnd->m_pDropTarget = nullptr;
    if (::SetWindowSubclass(m_hWndRegistered, DropTargetWindowProc, (UINT_PTR)this, (DWORD_PTR)this))
        m_bSubclassed = TRUE;
}

void COleDropTarget::Revoke()
{
    // The handle registered, not the window object's: that object may be gone already (a
    // window watched through its object took this target with it when it went).
    if (m_hWndRegistered != nullptr) {
        HWND hWnd = m_hWndRegistered;
        m_hWndRegistered = nullptr;
        if (m_bSubclassed)
            ::RemoveWindowSubclass(hWnd, DropTargetWindowProc, (UINT_PTR)this);
        else if (m_pWnd != nullptr && m_pWnd->m_pDropTarget == this)
            m_pWnd->m_pDropTarget = nullptr;
        m_bSubclassed = FALSE;
        if (::IsWindow(hWnd))
            ::RevokeDragDrop(hWnd);
    }
    m_pWnd = nullptr;
    m_dataObject.Release();
}

DROPEFFECT COleDropTarget::FilterEffect(DROPEFFECT answer, DWORD allowed)
{
    DROPEFFECT scroll = answer & DROPEFFECT_SCROLL;
    answer &= ~DROPEFFECT_SCROLL;
    if ((answer & DROPEFFECT_MOVE) && !(allowed & DROPEFFECT_MOVE))
        answer = (answer & ~DROPEFFECT_MOVE) | DROPEFFECT_COPY;
    answer &= allowed;
    // One effect: copy wins over move when both are left.
    if ((answer & DROPEFFECT_COPY) && (answer & DROPEFFECT_MOVE))
        answer &= ~DROPEFFECT_MOVE;
    return answer | (answer ? scroll : 0);
}

static CView* AsView(CWnd* pWnd)
{
    return pWnd ? dynamic_cast<CView*>(pWnd) : nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    CView* v = AsView(pWnd);
    return v ? v->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    CView* v = AsView(pWnd);
    return v ? v->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd)
{
    CView* v = AsView(pWnd);
    if (v)
        v->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    CView* v = AsView(pWnd);
    return v ? v->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                    DROPEFFECT dropList, CPoint point)
{
    CView* v = AsView(pWnd);
    return v ? v->OnDropEx(pDataObject, dropDefault, dropList, point) : static_cast<DROPEFFECT>(-1);
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
