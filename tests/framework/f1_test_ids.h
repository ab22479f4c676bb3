// Resource ids of the window layer's tests.
#pragma once

#define IDD_F1_VALUES       3001
#define IDD_F1_CUSTOM       3002
#define IDD_F1_PANEL        3003

#define IDC_F1_NAME         1001
#define IDC_F1_COUNT        1002
#define IDC_F1_SCALE        1004
#define IDC_F1_CHECK        1005
#define IDC_F1_RADIO_A      1010
#define IDC_F1_RADIO_B      1003
#define IDC_F1_RADIO_C      1020
#define IDC_F1_AFTER        1030
#define IDC_F1_CUSTOM       1040
#define IDC_F1_PANEL_EDIT   1050

#define IDR_F1_FRAME        300
#define IDR_F1_CHILD        301

#define ID_F1_ENABLED       40001
#define ID_F1_DISABLED      40002
#define ID_F1_CHECKED       40003
#define ID_F1_RADIO         40004
#define ID_F1_TEXT          40005
#define ID_F1_NOHANDLER     40006
#define ID_F1_ROUTED        40007
#define ID_F1_ACCEL         40008
#define ID_F1_ACCEL_OFF     40009
#define ID_F1_CHILD_ACCEL   40010
