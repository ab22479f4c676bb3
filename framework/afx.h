// The framework's core without windows: objects, strings, collections,
// geometry, exceptions, files, archives and the settings store.
#pragma once
#include <windows.h>
#include "afxobj.h"
#include "afxstr.h"
#include "afxexcept.h"
#include "afxarch.h"
#include "afxcoll.h"
#include "afxgeom.h"
#include "afxfile.h"
#include "afxprofile.h"
