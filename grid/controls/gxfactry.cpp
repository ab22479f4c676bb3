#include "gxfactry.h"
#include "gxctrli.h"
#include "gxmask.h"
#include "gxrich.h"
#include "gxdtctrl.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxstymap.h"
#include "gxwnd.h"
#include <new>

const UINT GXRegisteredControlIds[30] = {
    GX_IDS_CTRL_EDIT,          GX_IDS_CTRL_HEADER,         GX_IDS_CTRL_TEXTFIT,         GX_IDS_CTRL_COMBOBOX,
    GX_IDS_CTRL_ONEBASED,      GX_IDS_CTRL_ZEROBASED,      GX_IDS_CTRL_ONEBASED_EX,     GX_IDS_CTRL_ZEROBASED_EX,
    GX_IDS_CTRL_CBS_DROPDOWN,  GX_IDS_CTRL_CBS_DROPDOWNLIST, GX_IDS_CTRL_SPINEDIT,       GX_IDS_CTRL_HOTSPOT,
    GX_IDS_CTRL_SCROLLEDIT,    GX_IDS_CTRL_LISTBOX,        GX_IDS_CTRL_STATIC,          GX_IDS_CTRL_PUSHBTN,
    GX_IDS_CTRL_RADIOBTN,      GX_IDS_CTRL_RADIOBTN3D,     GX_IDS_CTRL_CHECKBOX,        GX_IDS_CTRL_CHECKBOX3D,
    GX_IDS_CTRL_MASKEDIT,      GX_IDS_CTRL_PROGRESS,       GX_IDS_CTRL_PASSWORD,        GX_IDS_CTRL_TABBED_DROPDOWN,
    GX_IDS_CTRL_TABBED_DROPDOWNLIST, GX_IDS_CTRL_TABBED_COMBOBOX, GX_IDS_CTRL_RICHEDIT, GX_IDS_CTRL_CHECKLISTCOMBO,
    GX_IDS_CTRL_DATETIME,      GX_IDS_CTRL_DATETIMENOCAL,
};

namespace {
// Makes a control; an allocation that fails answers null rather than throwing
// into the engine, which then falls back to its default control.
template <class T, class... Args>
CGXControl* Make(Args&&... args)
{
    return new (std::nothrow) T(static_cast<Args&&>(args)...);
}
} // namespace

CGXControl* GXControlFactory::CreateControl(UINT nID, CGXGridEngine* pGrid)
{
    // Ids whose control class is not part of the library yet answer null like
    // an unknown id; the engine then uses its default control.
    switch (nID) {
    case GX_IDS_CTRL_STATIC:
        return Make<CGXStatic>(pGrid);
    case GX_IDS_CTRL_CHECKBOX:
        return Make<CGXCheckBox>(pGrid, FALSE);
    case GX_IDS_CTRL_CHECKBOX3D:
        return Make<CGXCheckBox>(pGrid, TRUE);
    case GX_IDS_CTRL_RADIOBTN:
        return Make<CGXRadioButton>(pGrid, FALSE);
    case GX_IDS_CTRL_RADIOBTN3D:
        return Make<CGXRadioButton>(pGrid, TRUE);
    case GX_IDS_CTRL_HEADER:
        return Make<CGXHeader>(pGrid);
    case GX_IDS_CTRL_PROGRESS:
        return Make<CGXProgressCtrl>(pGrid);
    case GX_IDS_CTRL_EDIT:
        return Make<CGXEditControl>(pGrid, nID);
    case GX_IDS_CTRL_DATETIME:
        return Make<CGXDateTimeCtrl>(pGrid, nID, TRUE);
    case GX_IDS_CTRL_DATETIMENOCAL:
        return Make<CGXDateTimeCtrl>(pGrid, nID, FALSE);
    case GX_IDS_CTRL_RICHEDIT:
        return Make<CGXRichEditCtrl>(pGrid, nID);
    case GX_IDS_CTRL_MASKEDIT:
        return Make<CGXMaskControl>(pGrid, nID);
    case GX_IDS_CTRL_PASSWORD:
        return Make<CGXPasswordControl>(pGrid, nID);
    case GX_IDS_CTRL_SCROLLEDIT:
        return Make<CGXVScrollEdit>(pGrid, nID);
    case GX_IDS_CTRL_HOTSPOT:
        return Make<CGXHotSpotEdit>(pGrid, nID);
    case GX_IDS_CTRL_SPINEDIT:
        return Make<CGXSpinEdit>(pGrid, nID);
    case GX_IDS_CTRL_COMBOBOX:
        return Make<CGXComboBox>(pGrid, nID, nID, UINT(GXCOMBO_NOTEXTFIT));
    case GX_IDS_CTRL_ZEROBASED:
        return Make<CGXComboBox>(pGrid, nID, nID, UINT(GXCOMBO_ZEROBASED));
    case GX_IDS_CTRL_ONEBASED:
        return Make<CGXComboBox>(pGrid, nID, nID, UINT(GXCOMBO_ONEBASED));
    case GX_IDS_CTRL_TEXTFIT:
        return Make<CGXComboBox>(pGrid, nID, nID, UINT(GXCOMBO_TEXTFIT));
    case GX_IDS_CTRL_ONEBASED_EX:
        return Make<CGXComboBox>(pGrid, nID, nID, UINT(GXCOMBO_DISPLAYCHOICE | GXCOMBO_ONEBASED));
    case GX_IDS_CTRL_ZEROBASED_EX:
        return Make<CGXComboBox>(pGrid, nID, nID, UINT(GXCOMBO_DISPLAYCHOICE | GXCOMBO_ZEROBASED));
    case GX_IDS_CTRL_PUSHBTN:
        return Make<CGXPushbutton>(pGrid);
    case GX_IDS_CTRL_LISTBOX:
        return Make<CGXListBox>(pGrid, nID);
    case GX_IDS_CTRL_TABBED_COMBOBOX:
        return Make<CGXTabbedComboBox>(pGrid, nID, nID);
    case GX_IDS_CTRL_CBS_DROPDOWN:
    case GX_IDS_CTRL_CBS_DROPDOWNLIST: {
        CGXComboBoxWnd* pCombo = new (std::nothrow) CGXComboBoxWnd(pGrid);
        const DWORD style = nID == GX_IDS_CTRL_CBS_DROPDOWN ? WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL
                                                            : WS_VSCROLL | CBS_DROPDOWNLIST;
        // A control that could not make its window is no control.
        if (pCombo != nullptr && !pCombo->CreateControl(style, nID)) {
            delete pCombo;
            return nullptr;
        }
        if (pCombo != nullptr) {
            pCombo->m_bFillFromChoiceList = TRUE;
            pCombo->m_bWantArrowKeys = FALSE;
        }
        return pCombo;
    }
    case GX_IDS_CTRL_TABBED_DROPDOWN:
    case GX_IDS_CTRL_TABBED_DROPDOWNLIST: {
        if (GXGetAppState()->m_bWin32s)
            return Make<CGXTabbedComboBox>(pGrid, UINT(GX_IDS_CTRL_TABBED_COMBOBOX), UINT(GX_IDS_CTRL_TABBED_COMBOBOX));
        CGXTabbedComboBoxWnd* pCombo = new (std::nothrow) CGXTabbedComboBoxWnd(pGrid);
        if (pCombo == nullptr)
            return nullptr;
        pCombo->m_bDropOnClick = nID == GX_IDS_CTRL_TABBED_DROPDOWNLIST;
        if (!pCombo->CreateControl(nID == GX_IDS_CTRL_TABBED_DROPDOWN ? CBS_DROPDOWN : CBS_DROPDOWNLIST, nID)) {
            delete pCombo;
            return nullptr;
        }
        return pCombo;
    }
    case GX_IDS_CTRL_CHECKLISTCOMBO:
        return Make<CGXCheckListComboBox>(pGrid, 0u, 0u);
    default:
        return nullptr;
    }
}

void GXControlFactory::RegisterAllControls(CGXStylesMap* pStylesMap)
{
    if (pStylesMap == nullptr)
        return;
    for (UINT id : GXRegisteredControlIds)
        pStylesMap->AddControl(id);
}

namespace {
CGXStyle StyleWithControl(UINT nControl)
{
    CGXStyle style;
    style.SetControl(nControl);
    return style;
}

void RegisterSpinEditAttributes(CGXStylesMap* map)
{
    CGXStyle spin = StyleWithControl(GX_IDS_CTRL_SPINEDIT);
    spin.SetWrapText(FALSE);
    const CGXStyle check = StyleWithControl(GX_IDS_CTRL_CHECKBOX3D);
    map->AddUserAttribute(GX_IDS_UA_SPINBOUND_MIN, &spin);
    map->AddUserAttribute(GX_IDS_UA_SPINBOUND_MAX, &spin);
    map->AddUserAttribute(GX_IDS_UA_SPINBOUND_WRAP, &check);
    map->AddUserAttribute(GX_IDS_UA_SPINSTART, &spin);
}

void RegisterCheckBoxAttributes(CGXStylesMap* map)
{
    map->AddUserAttribute(GX_IDS_UA_CHECKBOX_CHECKED, nullptr);
    map->AddUserAttribute(GX_IDS_UA_CHECKBOX_UNCHECKED, nullptr);
}

void RegisterMaskAttributes(CGXStylesMap* map)
{
    CGXStyle wrap;
    wrap.SetWrapText(TRUE);
    map->AddUserAttribute(GX_IDS_UA_INPUTMASK, &wrap);
    CGXStyle one;
    one.SetMaxLength(1);
    map->AddUserAttribute(GX_IDS_UA_INPUTPROMPT, &one);
}

void RegisterProgressAttributes(CGXStylesMap* map)
{
    map->AddUserAttribute(GX_IDS_UA_PROGRESS_MAX, nullptr);
    map->AddUserAttribute(GX_IDS_UA_PROGRESS_MIN, nullptr);
    map->AddUserAttribute(GX_IDS_UA_PROGRESS_CAPTION, nullptr);
}

void RegisterTabListAttributes(CGXStylesMap* map)
{
    const CGXStyle check = StyleWithControl(GX_IDS_CTRL_CHECKBOX3D);
    map->AddUserAttribute(GX_IDS_UA_TABLIST_KEYCOL, nullptr);
    map->AddUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, nullptr);
    map->AddUserAttribute(GX_IDS_UA_TABLIST_SHOWALLCOLS, &check);
    map->AddUserAttribute(GX_IDS_UA_TABLIST_TITLES, &check);
    map->AddUserAttribute(GX_IDS_UA_TABLIST_SORT, nullptr);
}

void RegisterDateTimeAttributes(CGXStylesMap* map)
{
    CString choices;
    CGXStyle noEdit = StyleWithControl(GX_IDS_CTRL_CHECKLISTCOMBO);
    choices.LoadString(GX_IDS_DATENOEDIT_CHOICES);
    noEdit.SetChoiceList(choices);
    map->AddUserAttribute(GX_IDS_UA_DATENOEDIT, &noEdit);
    map->AddUserAttribute(GX_IDS_UA_DATEMIN, nullptr);
    map->AddUserAttribute(GX_IDS_UA_DATEMAX, nullptr);
    // The two modes are picked by name from a tabbed list whose key is the number.
    const UINT lists[2][2] = {{GX_IDS_UA_DATEVALIDATE, GX_IDS_DATEVALIDATE_CHOICES},
                              {GX_IDS_UA_DATEFORMATTYPE, GX_IDS_DATEFORMAT_CHOICES}};
    for (const auto& entry : lists) {
        CGXStyle tabbed = StyleWithControl(GX_IDS_CTRL_TABBED_COMBOBOX);
        choices.LoadString(entry[1]);
        tabbed.SetChoiceList(choices);
        tabbed.SetUserAttribute(GX_IDS_UA_TABLIST_KEYCOL, "1");
        tabbed.SetUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, "0");
        tabbed.SetUserAttribute(GX_IDS_UA_TABLIST_SHOWALLCOLS, "0");
        map->AddUserAttribute(static_cast<WORD>(entry[0]), &tabbed);
    }
    map->AddUserAttribute(GX_IDS_UA_CUSTOMFORMAT, nullptr);
}
} // namespace

void GXControlFactory::RegisterUserAttributes(CGXStylesMap* pStylesMap)
{
    if (pStylesMap == nullptr)
        return;
    CGXControl::RegisterUserAttributes(pStylesMap);
    RegisterSpinEditAttributes(pStylesMap);
    RegisterCheckBoxAttributes(pStylesMap);
    RegisterMaskAttributes(pStylesMap);
    RegisterProgressAttributes(pStylesMap);
    // The tabbed combo box and its window variant read the same attributes.
    RegisterTabListAttributes(pStylesMap);
    RegisterDateTimeAttributes(pStylesMap);
}

void GXControlFactory::RegisterWindowClasses(HINSTANCE hInstance)
{
    // The grid window's class; the tab window classes join when their windows exist.
    CGXAbstractControlFactory::RegisterWindowClasses(hInstance);
}

void GXControlFactory::UnregisterWindowClasses(HINSTANCE hInstance)
{
    CGXAbstractControlFactory::UnregisterWindowClasses(hInstance);
}

void GXInit(DWORD nVersion, LPCSTR, LPCSTR)
{
    GXInitLibrary(nVersion, new GXControlFactory);
}
