// Helpers for tests of windows under the framework's test main (test_main.cpp).
//
// The test main activates the framework's test seam: every message box, modal dialog, common
// dialog and popup menu is answered by the steps a test scripts (AfxSeamAnswer, AfxSeamScript,
// AfxSeamDrive) and recorded (AfxSeamCalls); a request with no step left fails the test. A driven
// dialog or sheet runs the user's own modal loop with its owner disabled: the driver acts when the
// loop first waits for input, and keys it posts are handled by the loop after it returns. Each test
// also gets a registry root of its own for the settings store, removed after the test.
#pragma once
#include "afxwin.h"
#include <gtest/gtest.h>
#include <functional>

namespace afxtest {

// Handles every waiting message the way the application's loop does (pre-translation walk
// included). FALSE when a WM_QUIT was seen (it is posted again).
BOOL PumpMessages();

// Pumps messages until pred() holds or nTimeoutMs pass; answers pred().
bool WaitFor(const std::function<bool()>& pred, DWORD nTimeoutMs = 5000);

// Removes WM_QUIT messages left in the queue (a destroyed main window posts one); answers the
// exit code of the last one removed, or -1.
int DrainQuit();

// The texts of the message boxes asked so far, in order.
std::vector<CString> MessageBoxTexts();

} // namespace afxtest
