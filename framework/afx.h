// The framework's core without windows: objects, strings, collections,
// geometry, exceptions, files, archives, the settings store, dates and
// worker threads.
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
#include "afxdate.h"
#include "afxthread.h"
