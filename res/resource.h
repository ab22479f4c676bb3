// Resource ids of the editor.
#pragma once

#define IDR_MAINFRAME               128     // main frame: menu, accelerators, icon, title string
#define IDS_OLE_INIT_FAILED         100

// Project commands.
#define ID_PROJECT_OPEN             32778
#define ID_PROJECT_NEW              32779
#define ID_PROJECT_CLOSE            32781

// Map commands of the main frame (the framework's 57600 and 57601 stay unused in the menus).
#define ID_MAP_NEW                  32785
#define ID_MAP_OPEN                 32786

// Windows shown or hidden from the View menu.
#define ID_VIEW_TEXTURE_ADJUST      32777
#define ID_VIEW_ENTITY_EDITOR       32794
#define ID_VIEW_OUTPUT_WINDOW       32929
#define ID_VIEW_RESOURCE_WINDOW     32958

// Docking windows of the main frame (their window ids).
#define IDW_OUTPUT_WINDOW           59140

#define ID_BUILD                    32920
#define ID_TOOLS_CUSTOMIZE          32946
#define ID_TOOLS_OPTIONS            32959
#define ID_HELP_TIP_OF_THE_DAY      32962

// The recent lists: maps from 57616 (the framework's first recent-file command), projects from 57620.
#define ID_RECENT_MAP_FIRST         0xE110
#define ID_RECENT_PROJECT_FIRST     0xE114
