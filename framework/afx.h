// The framework's core without windows: objects, strings, collections, geometry.
#pragma once
#include <windows.h>
#include "afxobj.h"
#include "afxstr.h"
#include "afxcoll.h"
#include "afxgeom.h"
