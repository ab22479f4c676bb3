// Resource ids of the Build Map dialog and the build's texts.
#pragma once

#define IDD_BUILD_MAP               210

// Group check boxes: each enables its group's other controls.
#define IDC_BUILD_QBSP              1125
#define IDC_BUILD_VIS               1126
#define IDC_BUILD_LIGHT             1127
#define IDC_BUILD_RUN_QUAKE         1128

#define IDC_BUILD_QBSP_VERBOSE      1140
#define IDC_BUILD_QBSP_NOFILL       1141
#define IDC_BUILD_QBSP_ONLYENTS     1142
#define IDC_BUILD_QBSP_EXTRA        1135
#define IDC_BUILD_VIS_VERBOSE       1143
#define IDC_BUILD_VIS_FAST          1144
#define IDC_BUILD_VIS_LEVEL0        1133
#define IDC_BUILD_VIS_LEVEL1        1132
#define IDC_BUILD_VIS_LEVEL2        1151
#define IDC_BUILD_VIS_LEVEL3        1134
#define IDC_BUILD_VIS_LEVEL4        1145
#define IDC_BUILD_VIS_EXTRA         1136
#define IDC_BUILD_LIGHT_EXTRA_SAMPLING 1146
#define IDC_BUILD_LIGHT_EXTRA       1137
#define IDC_BUILD_QUAKE_EXTRA       1139
#define IDC_BUILD_ONLY_VISIBLE      1138

// The "Extra Parameters:" labels, enabled with their groups.
#define IDC_BUILD_QBSP_EXTRA_LABEL  1196
#define IDC_BUILD_VIS_EXTRA_LABEL   1197
#define IDC_BUILD_LIGHT_EXTRA_LABEL 1198
#define IDC_BUILD_QUAKE_EXTRA_LABEL 1199

#define IDS_NO_BIN_PATHS            761
