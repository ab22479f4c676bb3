// The control factory: which id makes what, what it registers, the strings it needs.
#include <gtest/gtest.h>
#include <vector>
#include "gxctrli.h"
#include "gxmask.h"
#include "gxrich.h"
#include "gxdtctrl.h"
#include "gxfactry.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxstymap.h"
#include "gxutil.h"

namespace {
// The whole program runs with the library started the way the editor starts it.
class ControlsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { GXInit(0x421, nullptr, nullptr); }
    void TearDown() override { GXUnregisterClasses(); }
};
::testing::Environment* const g_controlsEnvironment = ::testing::AddGlobalTestEnvironment(new ControlsEnvironment);
} // namespace

TEST(ControlFactory, InitInstallsTheFactory)
{
    EXPECT_NE(dynamic_cast<GXControlFactory*>(GXGetAppState()->m_pControlFactory), nullptr);
}

TEST(ControlFactory, IdsWithoutAControlClassMakeNothing)
{
    GXControlFactory factory;
    // Outside the table, the three names without a class, and every id whose
    // class has not joined the library: null, which the engine answers with
    // its default control.
    for (UINT id = 52511; id <= 52545; ++id) {
        CGXControl* control = factory.CreateControl(id, nullptr);
        const GXControlClass* expected = id == 52513   ? GX_CONTROL_CLASS(CGXStatic)
                                         : id == 52536 ? GX_CONTROL_CLASS(CGXProgressCtrl)
                                         : id == 52520 ? GX_CONTROL_CLASS(CGXHeader)
                                         : id == 52516 || id == 52523 ? GX_CONTROL_CLASS(CGXCheckBox)
                                         : id == 52515 || id == 52524 ? GX_CONTROL_CLASS(CGXRadioButton)
                                         : id == 52512 ? GX_CONTROL_CLASS(CGXEditControl)
                                         : id == 52514 ? GX_CONTROL_CLASS(CGXPushbutton)
                                         : id == 52522 ? GX_CONTROL_CLASS(CGXListBox)
                                         : id == 52537 ? GX_CONTROL_CLASS(CGXPasswordControl)
                                         : id == 52535 ? GX_CONTROL_CLASS(CGXMaskControl)
                                         : id == 52534 ? GX_CONTROL_CLASS(CGXRichEditCtrl)
                                         : id == 52543 || id == 52544 ? GX_CONTROL_CLASS(CGXDateTimeCtrl)
                                         : id == 52521 ? GX_CONTROL_CLASS(CGXVScrollEdit)
                                         : id == 52518 ? GX_CONTROL_CLASS(CGXHotSpotEdit)
                                         : id == 52519 ? GX_CONTROL_CLASS(CGXSpinEdit)
                                         : id == 52517 || id == 52525 || id == 52526 || id == 52527 || id == 52531 ||
                                                 id == 52532
                                             ? GX_CONTROL_CLASS(CGXComboBox)
                                         : id == 52542 ? GX_CONTROL_CLASS(CGXCheckListComboBox)
                                         : id == 52541 ? GX_CONTROL_CLASS(CGXTabbedComboBox)
                                                       : nullptr;
        EXPECT_EQ(control != nullptr ? control->GetClassRecord() : nullptr, expected) << id;
        delete control;
    }
}

TEST(ControlFactory, CheckBoxesDifferInTheirLookOnly)
{
    GXControlFactory factory;
    CGXControl* flat = factory.CreateControl(52516, nullptr);
    CGXControl* raised = factory.CreateControl(52523, nullptr);
    ASSERT_NE(flat, nullptr);
    ASSERT_NE(raised, nullptr);
    EXPECT_EQ(static_cast<CGXCheckBox*>(flat)->GetStripId(), 23233u);
    EXPECT_NE(static_cast<CGXCheckBox*>(raised)->GetStripId(), 23233u);
    delete flat;
    delete raised;
}

TEST(ControlFactory, RegistersThirtyControlsInItsOrder)
{
    const std::vector<UINT> expected = {52512, 52520, 52527, 52517, 52526, 52525, 52531, 52532, 52528, 52529,
                                        52519, 52518, 52521, 52522, 52513, 52514, 52515, 52524, 52516, 52523,
                                        52535, 52536, 52537, 52539, 52540, 52541, 52534, 52542, 52543, 52544};
    EXPECT_EQ(std::vector<UINT>(std::begin(GXRegisteredControlIds), std::end(GXRegisteredControlIds)), expected);

    CGXStylesMap map;
    GXControlFactory().RegisterAllControls(&map);
    EXPECT_EQ(map.GetControlNames().GetCount(), 30);
    CString name;
    EXPECT_TRUE(map.LookupControlName(52512, name));
    EXPECT_STREQ(name, "Edit Control");
    EXPECT_TRUE(map.LookupControlName(52542, name));
    EXPECT_STREQ(name, "Dropdown CheckListBox");
    for (UINT missing : {52530u, 52533u, 52538u})
        EXPECT_FALSE(map.LookupControlName(missing, name)) << missing;
}

TEST(ControlFactory, UserAttributesAndTheirEditingControls)
{
    CGXStylesMap map;
    GXControlFactory().RegisterUserAttributes(&map);
    // (attribute, control that edits it or 0 for plain text, wrapping)
    struct Row
    {
        WORD id;
        UINT control;
        BOOL wrap;
        const char* name;
    };
    const Row rows[] = {
        {51011, 52519, FALSE, "Valid: Min. Value"},
        {51012, 52519, FALSE, "Valid: Max. Value"},
        {51013, 0, TRUE, "Valid: Warning Msg"},
        {51014, 52519, FALSE, "SpinBound: Min. Value"},
        {51015, 52519, FALSE, "SpinBound: Max. Value"},
        {51016, 52523, FALSE, "SpinBound: Wrap Value"},
        {51019, 0, FALSE, "Checkbox: Checked Value"},
        {51020, 0, FALSE, "Checkbox: Unchecked Value"},
        {51021, 52519, FALSE, "SpinEdit: start value"},
        {51023, 0, TRUE, "Maskedit: Input Mask"},
        {51024, 0, FALSE, "Maskedit: Prompt Char"},
        {51025, 0, FALSE, "Progress: Lower Bound"},
        {51026, 0, FALSE, "Progress: Upper Bound"},
        {51027, 0, FALSE, "Progress: Caption"},
        {51028, 0, FALSE, "TabList: Key Column"},
        {51029, 0, FALSE, "TabList: Text Column"},
        {51030, 52523, FALSE, "TabList: Show all columns"},
        {51031, 52523, FALSE, "TabList: Display Column Titles"},
        {51033, 0, FALSE, "TabList: Sort Columns"},
        {51034, 52542, FALSE, "DateTime: Non editable fields"},
        {51035, 0, FALSE, "DateTime: Minimum allowed date"},
        {51036, 0, FALSE, "DateTime: Maximum allowed date"},
        {51037, 52541, FALSE, "DateTime: Validation mode"},
        {51038, 52541, FALSE, "DateTime: Date format type"},
        {51039, 0, FALSE, "DateTime: Custom date format "},
    };
    for (const Row& row : rows) {
        const CGXStylesMap::UserAttrEntry* e = map.LookupUserAttribute(row.id);
        ASSERT_NE(e, nullptr) << row.id;
        EXPECT_STREQ(e->sName, row.name);
        ASSERT_NE(e->pStyle, nullptr);
        EXPECT_EQ(e->pStyle->GetIncludeControl() ? e->pStyle->GetControl() : 0u, row.control) << row.id;
        EXPECT_EQ(e->pStyle->GetWrapText(), row.wrap) << row.id;
    }
    // Kept in the string table, registered by no control.
    for (WORD id : {51017, 51018, 51022, 51032})
        EXPECT_EQ(map.LookupUserAttribute(id), nullptr) << id;
    EXPECT_EQ(map.LookupUserAttribute(51024)->pStyle->GetMaxLength(), 1);
    const CGXStyle& validation = *map.LookupUserAttribute(51037)->pStyle;
    EXPECT_STREQ(validation.GetUserAttribute(51028), "1");
    EXPECT_STREQ(validation.GetUserAttribute(51029), "0");
    EXPECT_STREQ(validation.GetUserAttribute(51030), "0");
    EXPECT_STREQ(validation.GetChoiceList(), "No Validation\t0\nTime\t1\nDate\t2\nDate and Time\t3\n");
    EXPECT_STREQ(map.LookupUserAttribute(51034)->pStyle->GetChoiceList(),
                 "No Edit\nFixed Year\nFixed Month\nFixed Day\nFixed Hour\nFixed Minute\nFixed Second");
}

TEST(ControlFactory, EveryStringTheControlsUseLoads)
{
    // A missing name would stop the styles map with a resource exception.
    std::vector<UINT> ids;
    for (UINT id = 51005; id <= 51009; ++id)
        ids.push_back(id);
    for (UINT id = 51011; id <= 51042; ++id)
        ids.push_back(id);
    for (UINT id = 52512; id <= 52544; ++id)
        ids.push_back(id);
    for (UINT id : ids) {
        CString s;
        EXPECT_TRUE(s.LoadString(id) && !s.IsEmpty()) << id;
    }
    CString s;
    s.LoadString(51018);
    EXPECT_STREQ(s, "Field No.");
    s.LoadString(51042);
    EXPECT_STREQ(s, "Time\t0\nShortDate\t1\nLongDate\t2\nCustom\t3");
    // The validation list has four entries: the line feed at its end opens no fifth.
    s.LoadString(51041);
    LPCSTR p = s;
    CString line;
    int n = 0;
    while (GXGetNextChoiceLine(p, line))
        ++n;
    EXPECT_EQ(n, 4);
}

TEST(ControlFactory, MissingNameIsAResourceError)
{
    CGXStylesMap map;
    bool thrown = false;
    try {
        map.AddControl(52530 + 1000);
    } catch (CResourceException* e) {
        e->Delete();
        thrown = true;
    }
    EXPECT_TRUE(thrown);
}
