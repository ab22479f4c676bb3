#include "EntityGridRules.h"
#include "Services.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>

static bool KeyIn(LPCSTR key, const char* const* names)
{
    for (; *names; ++names) {
        if (key && lstrcmpiA(key, *names) == 0)
            return true;
    }
    return false;
}

WORD EntityValueControlForLoadedKey(LPCSTR key)
{
    static const char* const numbers[] = {"damage", "delay", "health", "height", "light",
                                          "sounds", "speed", "style", nullptr};
    static const char* const negatives[] = {"lip", "wait", nullptr};
    static const char* const targets[] = {"target", "killtarget", nullptr};
    if (key && lstrcmpiA(key, "angle") == 0)
        return GX_IDS_CTRL_ENTITY_ANGLE;
    if (KeyIn(key, numbers))
        return GX_IDS_CTRL_ENTITY_NUMBER;
    if (KeyIn(key, negatives))
        return GX_IDS_CTRL_ENTITY_NEGATIVE;
    if (key && lstrcmpiA(key, "mangle") == 0)
        return GX_IDS_CTRL_ENTITY_PLAIN_EDIT;
    if (key && lstrcmpiA(key, "spawnflags") == 0)
        return GX_IDS_CTRL_ENTITY_SPAWNFLAGS;
    if (KeyIn(key, targets))
        return GX_IDS_CTRL_ENTITY_TARGET;
    return 0;
}

WORD EntityValueControlForTypedKey(LPCSTR key, BOOL& reset, CString& resetValue)
{
    static const char* const numbers[] = {"count", "damage", "delay", "health", "height", "light", "nextthink",
                                          "sounds", "speed", "style", "t_width", "t_length", "worldtype", nullptr};
    static const char* const negatives[] = {"lip", "wait", nullptr};
    static const char* const targets[] = {"target", "killtarget", nullptr};
    reset = FALSE;
    resetValue.Empty();
    auto set = [&](WORD id, LPCSTR value) {
        reset = TRUE;
        resetValue = value;
        return id;
    };
    if (key && lstrcmpiA(key, "angle") == 0)
        return set(GX_IDS_CTRL_ENTITY_ANGLE, "0");
    if (KeyIn(key, numbers))
        return set(GX_IDS_CTRL_ENTITY_NUMBER, "");
    if (KeyIn(key, negatives))
        return set(GX_IDS_CTRL_ENTITY_NEGATIVE, "");
    if (key && lstrcmpiA(key, "mangle") == 0)
        return set(GX_IDS_CTRL_ENTITY_PLAIN_EDIT, "0 0 0");
    if (key && lstrcmpiA(key, "spawnflags") == 0)
        return set(GX_IDS_CTRL_ENTITY_SPAWNFLAGS, "0");
    if (KeyIn(key, targets))
        return GX_IDS_CTRL_ENTITY_TARGET;
    return 0;
}

CString CheckMangleValue(LPCSTR value)
{
    static const char* const angles[] = {"0", "45", "90", "135", "180", "225", "270", "315", "-1", "-2", nullptr};
    static const char* const which[] = {"1st", "2nd", "3rd"};
    CString text(value ? value : "");
    int pos = 0;
    for (int i = 0; i < 3; ++i) {
        while (pos < text.GetLength() && text[pos] == ' ')
            ++pos;
        int end = pos;
        while (end < text.GetLength() && text[end] != ' ')
            ++end;
        CString word = text.Mid(pos, end - pos);
        bool ok = !word.IsEmpty();
        if (ok) {
            ok = false;
            for (const char* const* a = angles; *a; ++a)
                ok = ok || word == *a;
        }
        if (!ok) {
            CString warning;
            warning.Format("Invalid %s angle in mangle.  Must be \"<angle> <angle> <angle>\"", which[i]);
            return warning;
        }
        pos = end;
    }
    return CString();
}

BOOL IsValidEntityNumber(LPCSTR text, BOOL allowNegative)
{
    if (!text)
        return TRUE;
    for (int i = 0; text[i]; ++i) {
        char c = text[i];
        if ((c >= '0' && c <= '9') || c == '.' || (allowNegative && i == 0 && c == '-'))
            continue;
        return FALSE;
    }
    return TRUE;
}

void SpawnFlagLabels(const EntityClass* pClass, CString labels[12])
{
    for (int i = 0; i < 8; ++i) {
        if (pClass && pClass->flagNames[i][0])
            labels[i] = pClass->flagNames[i];
        else
            labels[i].Format("Switch %d", i + 1);
    }
    static const char* const modes[] = {"!Easy", "!Medium", "!Hard", "!Deathmatch"};
    for (int i = 0; i < 4; ++i)
        labels[8 + i] = modes[i];
}

static unsigned long ReadFlags(LPCSTR value)
{
    if (!value || !*value)
        return 0;
    char* end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(value, &end, 10);
    return errno == 0 && end != value && *value != '-' ? v : 0;
}

DWORD SpawnFlagTicks(LPCSTR value)
{
    return static_cast<DWORD>(ReadFlags(value) & 0xFFF);
}

CString SpawnFlagValue(LPCSTR oldValue, DWORD ticked)
{
    unsigned long v = (ReadFlags(oldValue) & ~0xFFFUL) | (ticked & 0xFFF);
    CString text;
    if (v == 0)
        text = "0";
    else
        text.Format("%lu", v);
    return text;
}
