// Shared pieces of map text reading and writing.
#pragma once
#include "afx.h"

// The open's missing-texture set (upper-case name -> first spelling as a CString*),
// published while a map is being opened; null otherwise.
CMapStringToPtr* GetMissingTextureSet();
void SetMissingTextureSet(CMapStringToPtr* pSet);
// Frees the spellings kept in a missing-texture set and empties it.
void FreeMissingTextureSet(CMapStringToPtr& set);
