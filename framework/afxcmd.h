// Command targets, message maps and command-UI updates.
//
// Every class that handles messages or commands derives from CCmdTarget and declares its table
// with DECLARE_MESSAGE_MAP(); the table is written between BEGIN_MESSAGE_MAP(class, base) and
// END_MESSAGE_MAP() with the ON_ entries of afxmsg_.h. Lookups walk from the most derived table
// to CCmdTarget's, so a derived entry hides the base entry for the same message or command.
#pragma once
#include "afx.h"
#include "afxres.h"

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;      // window message (WM_COMMAND and WM_NOTIFY for commands and notifications)
    UINT nCode;         // control notification code or CN_ code
    UINT nID;           // first control or command id (0 for window messages)
    UINT nLastID;       // last id of a range
    UINT_PTR nSig;      // signature of the handler (AfxSig); the registered message's id variable
    AFX_PMSG pfn;       // the handler
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg reports instead of calling when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// pExtra of OnCmdMsg for WM_NOTIFY routing.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Codes of OnCmdMsg. For notifications the code carries the message in its high word:
// MAKELONG(notification code, WM_NOTIFY); a high word of 0 means WM_COMMAND.
#define CN_COMMAND              0
#define CN_UPDATE_COMMAND_UI    ((UINT)(-1))

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        [[maybe_unused]] typedef theClass ThisClass; \
        [[maybe_unused]] typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, 0, nullptr } \
        }; \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap; \
    }

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Routes a command, command-UI update or notification through this target's message map.
    // With pHandlerInfo only the existence of a handler is reported (and nothing is called).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The hourglass cursor while a long operation runs; calls nest.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Finds the entry of a map chain matching a message, code and id (null when none).
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                    UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    friend class CWnd;
};

// Calls one command handler of a message map entry. Returns whether the command was handled.
BOOL AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                       AFX_CMDHANDLERINFO* pHandlerInfo);

// The state of one user-interface item (menu item, toolbar button, control) asked of the
// update handlers. Subclasses change how Enable, SetCheck, SetRadio and SetText show it.
class CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    UINT m_nID;
    UINT m_nIndex;          // index of the item in its menu or bar
    UINT m_nIndexMax;       // number of items (the menu count may change while updating)
    CMenu* m_pMenu;         // the menu being updated, or null
    CMenu* m_pSubMenu;      // the popup the item opens, or null
    CMenu* m_pParentMenu;   // for a popup found in a parent menu
    CWnd* m_pOther;         // the window being updated (button, control bar), or null
    BOOL m_bEnableChanged;  // an update handler called Enable
    BOOL m_bContinueRouting;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);      // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);

    // Lets the update go on to the next target of the route after this handler.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's route for the item's state; with bDisableIfNoHndler an item whose command
    // has no handler anywhere on the route is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Updates the items of a popup menu through pTarget's route (the menu is about to open). With
// bAutoMenuEnable, items whose command has no handler are disabled.
void AfxUpdateMenuCmdUI(CCmdTarget* pTarget, CMenu* pMenu, BOOL bAutoMenuEnable, CMenu* pParentMenu = nullptr);

// Records what update handlers said without touching any item (used before a menu or
// accelerator command is carried out, to refuse a disabled one).
class CTestCmdUI : public CCmdUI
{
public:
    CTestCmdUI() { m_bEnabled = TRUE; m_nCheck = -1; m_bRadio = -1; }
    void Enable(BOOL bOn = TRUE) override { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
    void SetCheck(int nCheck = 1) override { m_nCheck = nCheck; }
    void SetRadio(BOOL bOn = TRUE) override { m_bRadio = bOn; }
    void SetText(LPCSTR lpszText) override { m_strText = lpszText ? lpszText : ""; m_bTextSet = TRUE; }

    BOOL m_bEnabled;
    int m_nCheck;       // -1 when not set
    int m_bRadio;       // -1 when not set
    CString m_strText;
    BOOL m_bTextSet = FALSE;
};

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();
};
