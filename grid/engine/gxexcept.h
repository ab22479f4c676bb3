// Exceptions the grid throws, from the framework.
#pragma once
#include "afx.h"
#if __has_include("afxexcept.h")
#include "afxexcept.h"
#else
#include <stdexcept>
[[noreturn]] inline void AfxThrowResourceException() { throw std::runtime_error("resource"); }
[[noreturn]] inline void AfxThrowNotSupportedException() { throw std::runtime_error("not supported"); }
[[noreturn]] inline void AfxThrowMemoryException() { throw std::bad_alloc(); }
#endif
