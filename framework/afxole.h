// OLE drag and drop: a drop target that hands a window's drags to its view, a data source that
// owns global blocks for a drag or the clipboard, and a reader of what another program offers.
#pragma once
#include "afxwin.h"
#include <ole2.h>

class CWnd;

// Reads the formats of an IDataObject: a drag's data, or the clipboard's.
class COleDataObject
{
public:
    COleDataObject();
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Takes the object; with bAutoRelease the reader releases it when it is done.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The clipboard's current object.
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject() const { return m_lpDataObject; }

    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium) const;
    // A copy of the format's global block; the caller frees it. Null when not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;

protected:
    LPDATAOBJECT m_lpDataObject;
    BOOL m_bAutoRelease;
};

// Cursor and end of a drag run by COleDataSource::DoDragDrop: Escape cancels, releasing the
// button that started the drag drops; the system's standard cursors.
class COleDropSource
{
public:
    COleDropSource();
    virtual ~COleDropSource();
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);

    DWORD m_dwButtonDrop; // the button whose release drops (MK_LBUTTON, MK_RBUTTON)
};

// Global blocks offered by format, as an IDataObject for a drag or the clipboard. Lives until
// its last COM reference goes: the creator's reference is dropped by InternalRelease.
class COleDataSource
{
public:
    COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // The source owns the block from now on (a second block of the format replaces the first).
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
    void Empty();
    // Runs the drag loop; the effect performed (DROPEFFECT_NONE when cancelled or refused).
    // With a start rectangle (screen coordinates) the drag begins only when the mouse leaves
    // it (grown by the system's drag distance) or the button is held for the drag delay; a
    // release, Escape or a lost capture before that cancels without a drag.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE, LPCRECT lpRectStartDrag = nullptr,
                          COleDropSource* pDropSource = nullptr);
    // Puts the source on the clipboard, which keeps a reference.
    BOOL SetClipboard();

    // Waits for the start of a drag as DoDragDrop does with a start rectangle; TRUE: start.
    static BOOL WaitForDragStart(LPCRECT lpRectStartDrag);
    // The delay in milliseconds (the seam's tick count measures it).
    static DWORD s_dwDragDelay;

    LPDATAOBJECT GetIDataObject(BOOL bAddRef);
    // Drops the creator's reference; the object is deleted when no other is left.
    void InternalRelease();
    int GetFormatCount() const;

protected:
    virtual ~COleDataSource();
    class XDataObject;
    XDataObject* m_pObject;
    friend class XDataObject;
};

// Registers a window for drops and forwards the drag to it: to the view's OnDragEnter,
// OnDragOver, OnDragLeave, OnDropEx and OnDrop with client points. Another target can override
// the virtuals. The answer is limited to the effects the source allows. The registration ends
// with Revoke, with the target, or when the window is destroyed, whichever comes first.
class COleDropTarget
{
public:
    COleDropTarget();
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* pWnd);
    void Revoke();
    // The window object stops receiving the window's messages: the target watches the window
    // for its destruction itself.
    void WatchWindowItself();
    CWnd* GetWindow() const { return m_pWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    // Asked before every enter and drag-over: an answer holding DROPEFFECT_SCROLL is the
    // answer of the call (the target scrolls, or refuses while answering scroll) and the
    // drag-over is not asked. The default does not scroll.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // The IDropTarget that OLE calls (tests call it as OLE would).
    IDropTarget* GetInterface();

    // The effect answered, limited to what the source allows: move becomes copy for a
    // copy-only source, none when neither is allowed.
    static DROPEFFECT FilterEffect(DROPEFFECT answer, DWORD allowed);

protected:
    class XDropTarget;
    XDropTarget* m_pTarget;
    CWnd* m_pWnd;
    HWND m_hWndRegistered;
    BOOL m_bSubclassed = FALSE; // watching the window by a subclass, not through its object
    COleDataObject m_dataObject;
    friend class XDropTarget;
};
