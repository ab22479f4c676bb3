#pragma once
#define IDD_GRID_TEST 100
#define IDC_GRID 1001
#define IDB_TRUECOLOR 101
#define IDD_TABWND_TEST 102
#define IDC_TABWND 1002
