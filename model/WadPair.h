// Worldspawn's "wad" value as the map compilers read it. The classic qbsp takes its game folder
// from the map's path (the folder under the Quake folder that holds the map's "maps" folder), joins
// the value to it and reads one WAD; a token holds at most 128 characters. Newer compilers read a
// ";"-separated list of relative or absolute paths. The editor writes what both can use where it
// can: each WAD under the game folder relative to it with forward slashes, as the game's own maps
// do ("gfx/base.wad"), the others absolute, in the project's order.
#pragma once
#include "afx.h"

// The game folder of a map: the Quake path's folder whose "maps" folder holds the map (at any
// depth), e.g. C:\Quake\id1 for C:\Quake\id1\maps\e1m1.map. Empty when the map lies elsewhere or
// the Quake path is empty.
CString MapGameFolder(const CString& mapPath, const CString& quakePath);

// Whether a path names its place by itself: it holds a drive (":"), or starts with a separator
// (a folder of the current drive, a share "\\srv\share", a device path "\\?\C:\", also
// written with "/"). Any other path lies under the project's root.
BOOL IsAbsolutePath(const CString& path);

// "/" read as "\" and each run of separators as one, but for a path that starts with two or more:
// it starts with exactly two, as a share ("\\srv\share\...") and a device path ("\\?\...")
// do. In one pass, however long the runs.
CString FoldSeparators(const CString& path);

// A path made whole (separators folded, ".." and "." resolved) without a trailing separator,
// for comparing folders.
CString WholePath(const CString& path);

// The folder and a name in it with one separator between them (a drive's root "Q:\\" has its own).
CString JoinPath(const CString& folder, const CString& name);

// One WAD's entry in the value: relative to the game folder with "/" when the WAD lies under it,
// else the path as given.
CString WadPairEntry(const CString& wadPath, const CString& gameFolder);

// The entries of the WAD paths joined by ";".
CString MakeWadPairValue(const CStringList& wadPaths, const CString& gameFolder);

// What the classic qbsp cannot read in a value: several WADs, or one named with an absolute path
// (outside the game folder). The warning for the Build pane (lines ending in "\n"), or empty.
CString WadPairWarning(const CString& value, const CString& gameFolder);
