#include <gtest/gtest.h>
#include "afxwin.h"
#include "afxseam.h"
#include "grid_test_util.h"
#include "gxinit.h"

namespace {
// The tests' application: message boxes and dialogs go through the seam.
class CGridTestApp : public CWinApp
{
public:
    CGridTestApp() : CWinApp("GridTests") {}
};
CGridTestApp theApp;

class GridEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        AfxSeamSetActive(TRUE);
        AfxSeamSetUnexpectedHandler([](const AfxModalCall& c) {
            ADD_FAILURE() << "unexpected modal request: " << static_cast<LPCSTR>(c.text);
        });
        GXInitLibrary(0x421, new CRecordingFactory);
    }
    void TearDown() override { GXUnregisterClasses(); }
};
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new GridEnvironment);
    return RUN_ALL_TESTS();
}
