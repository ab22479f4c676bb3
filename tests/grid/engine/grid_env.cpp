// Starts the grid library once for the whole test program, with a factory
// that makes recording controls.
#include <gtest/gtest.h>
#include "grid_test_util.h"
#include "gxinit.h"

namespace {
class GridEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { GXInitLibrary(0x421, new CRecordingFactory); }
    void TearDown() override { GXUnregisterClasses(); }
};
::testing::Environment* const g_gridEnvironment = ::testing::AddGlobalTestEnvironment(new GridEnvironment);
} // namespace
