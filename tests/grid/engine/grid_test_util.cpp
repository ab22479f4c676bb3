#include "grid_test_util.h"
int CRecordingControl::s_nLive = 0;
int CRecordingFactory::s_nCreated = 0;
