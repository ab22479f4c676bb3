// Commands and strings of the application shell.
#pragma once

#define ID_PROJECT_SAVE_AS          32782
#define ID_PROJECT_SETTINGS         32783

#define IDS_MAP_FILTER              252
#define IDS_PROJECT_FILTER          253
#define IDS_TOO_MANY_UNTITLED       904
#define IDS_MAP_ALREADY_OPEN        905
#define IDS_CANT_OPEN_MAP           906
#define IDS_CLOSE_PROJECT           512
#define IDS_CANT_OPEN_PROJECT       909

// OpenMap's view code for all four windows (the single plan codes are the view types).
#define VIEW_ALL_FOUR               261

// The auto save timer of the main frame.
#define AUTOSAVE_TIMER_ID           1
