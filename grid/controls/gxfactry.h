// The control factory of the cell-control library and the library's start-up.
#pragma once
#include "gxcontrol.h"

class GXControlFactory : public CGXAbstractControlFactory
{
public:
    // A new control for the id, or null for an id without a control class
    // here (or when making it failed). The caller owns the control.
    CGXControl* CreateControl(UINT nID, CGXGridEngine* pGrid) override;
    // The control ids offered for style editing, with their display names.
    void RegisterAllControls(CGXStylesMap* pStylesMap) override;
    // The user attributes the controls read, each with the style that edits it.
    void RegisterUserAttributes(CGXStylesMap* pStylesMap) override;
    void RegisterWindowClasses(HINSTANCE hInstance) override;
    void UnregisterWindowClasses(HINSTANCE hInstance) override;
};

// The control ids RegisterAllControls offers, in their order.
extern const UINT GXRegisteredControlIds[30];

// Starts the grid library with this library's control factory; called first
// thing in the application's start-up, before any grid exists.
void GXInit(DWORD nVersion = 0x421, LPCSTR lpszReserved1 = nullptr, LPCSTR lpszReserved2 = nullptr);
