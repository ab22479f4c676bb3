// What the entity key/value grid knows of keys and values: the value control a key gets, the
// value a typed key resets to, the checks of mangle and number texts, and the spawn-flag list.
// Kept apart from the windows so that the grid and its cell controls share one set of rules.
#pragma once
#include "afx.h"

struct EntityClass;

// The entity grid's own control ids.
enum : WORD
{
    GX_IDS_CTRL_ENTITY_NUMBER = 16388,
    GX_IDS_CTRL_ENTITY_NEGATIVE = 16389,
    GX_IDS_CTRL_ENTITY_TARGET = 16390,
    GX_IDS_CTRL_ENTITY_SPAWNFLAGS = 16391,
    GX_IDS_CTRL_ENTITY_ANGLE = 16392,
    GX_IDS_CTRL_ENTITY_MANGLE = 16393,
    GX_IDS_CTRL_ENTITY_PLAIN_EDIT = 52512,
};

// The value control of a pair loaded from an entity; 0 for the column's base control.
WORD EntityValueControlForLoadedKey(LPCSTR key);
// The value control of a key the user typed; 0 leaves the control. resetValue is set with
// reset TRUE when the value cell takes a new value ("0", "", "0 0 0").
WORD EntityValueControlForTypedKey(LPCSTR key, BOOL& reset, CString& resetValue);
// The warning of a mangle value ("<angle> <angle> <angle>"), empty when it is accepted.
CString CheckMangleValue(LPCSTR value);
// Empty, or digits and "." only; with allowNegative a leading "-" too.
BOOL IsValidEntityNumber(LPCSTR text, BOOL allowNegative);

// The twelve items of the spawn-flag list: the class's eight names ("Switch %d" for an empty
// slot, all eight for no class), then the four skill and mode flags.
void SpawnFlagLabels(const EntityClass* pClass, CString labels[12]);
// The value's bits 0 to 11 (a value that is not a number ticks nothing).
DWORD SpawnFlagTicks(LPCSTR value);
// The value stored after the list closed: bits above 11 of the old value are kept (flags that
// mods define), bits 0 to 11 are the ticked items; "0" when nothing is left.
CString SpawnFlagValue(LPCSTR oldValue, DWORD ticked);
