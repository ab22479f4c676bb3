// Access of the grid to the application's settings store: the registry when
// the application uses it, otherwise its private profile file.
#pragma once
#include "afx.h"
#include "afxprofile.h"

// The store, or null when the program has none.
CProfileStore* GXGetProfile();
BOOL GXProfileUsesRegistry();
// The names of the values (registry) or entries (profile file) of a section.
void GXGetProfileEntryNames(LPCSTR lpszSection, CStringArray& names);
// The subkeys of a section's registry key.
void GXGetProfileSubkeyNames(LPCSTR lpszSection, CStringArray& names);
// Whether the section exists: its key opens (registry) or it has entries.
BOOL GXProfileSectionExists(LPCSTR lpszSection);
void GXDeleteProfileSubkeys(LPCSTR lpszSection);
