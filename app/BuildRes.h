// Resource ids of the Build Map dialog, the build's texts and the Tools page.
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

#define IDS_NO_BIN_PATHS            763   // 761 is the shell's "could not be created"

// The Tools page of the Customize sheet.
#define IDD_CUSTOMIZE_TOOLS         218
#define IDC_TOOLS_LIST              1171
#define IDC_TOOLS_COMMAND           1169
#define IDC_TOOLS_ARGUMENTS         1168
#define IDC_TOOLS_DIRECTORY         1167
#define IDC_TOOLS_OUTPUT            1215
#define IDC_TOOLS_ARGUMENTS_MENU    1005
#define IDC_TOOLS_DIRECTORY_MENU    1006
#define IDC_TOOLS_COMMAND_LABEL     1192
#define IDC_TOOLS_ARGUMENTS_LABEL   1193
#define IDC_TOOLS_DIRECTORY_LABEL   1194

// The macro menus of the Tools page's two menu buttons.
#define IDR_TOOL_MACROS             249
#define ID_ARGS_BIN_DIR             32976
#define ID_ARGS_ENTITY_DIR          32977
#define ID_ARGS_OBJECT_DIR          32979
#define ID_ARGS_WAD_DIR             32980
#define ID_ARGS_MAP_PATH            32984
#define ID_ARGS_MAP_DIR             32978
#define ID_ARGS_MAP_NAME            32985
#define ID_ARGS_PROJECT_PATH        32987
#define ID_ARGS_PROJECT_DIR         32988
#define ID_ARGS_PROJECT_NAME        32989
#define ID_ARGS_QUAKE_DIR           32981
#define ID_ARGS_ROOT_DIR            32982
#define ID_ARGS_AUTOSAVE_DIR        32983
#define ID_DIR_BIN_DIR              32972
#define ID_DIR_ENTITY_DIR           32971
#define ID_DIR_MAP_DIR              32968
#define ID_DIR_OBJECT_DIR           32970
#define ID_DIR_PROJECT_DIR          32986
#define ID_DIR_WAD_DIR              32969
#define ID_DIR_QUAKE_DIR            32975
#define ID_DIR_ROOT_DIR             32967
#define ID_DIR_AUTOSAVE_DIR         32974
