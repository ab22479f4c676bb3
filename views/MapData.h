// "Morvane Data": map objects on the clipboard and in drags between map windows and the main
// window's object list. One movable global block holds the partial map text, first byte "{",
// followed by one NUL (size = text length + 1). No handle is kept inside the data: a block
// left by another editor instance, or by one that has exited, is read safely.
#pragma once
#include "afxwin.h"

// The registered format id; 0 when the registration failed (writers then do nothing and
// readers find no data). Registered at the first call: the application calls
// RegisterMapDataFormat at start-up.
UINT GetMapDataFormat();
// Registers the format; shows the warning box when that fails. The id.
UINT RegisterMapDataFormat();

// A new movable block of the text and its NUL; null when the text does not begin with "{" or
// no memory is left. The caller (a data source, the clipboard) owns the block.
HGLOBAL PackMapData(LPCSTR text, SIZE_T length);
// Reads a block written by PackMapData: refused (FALSE, text unchanged) when the block is
// empty, does not begin with "{", or holds no NUL within its size. Never reads past the block.
BOOL UnpackMapData(HGLOBAL hData, CString& text);

// "Morvane Object File": a drag out of the object list carries, beside the map data, the object
// file's full path as NUL-terminated text, so that a drop reads the file whole, as Import Object
// File reads it (the map data holds its text only to a first NUL byte). The id; 0 when the
// registration failed (no path is then carried).
UINT GetObjectFileFormat();
// A new movable block of the path and its NUL; null for an empty path or when no memory is left.
HGLOBAL PackObjectFilePath(LPCSTR path);
// Reads a block written by PackObjectFilePath: refused (FALSE) when it is empty or holds no NUL
// within its size. Never reads past the block.
BOOL UnpackObjectFilePath(HGLOBAL hData, CString& path);
