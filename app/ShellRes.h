// Commands and strings of the application shell.
#pragma once

#define ID_PROJECT_SAVE_AS          32782
#define ID_PROJECT_SETTINGS         32783

#define IDS_PROJECT_FILTER          253
#define IDS_CLOSE_PROJECT           512
#define IDS_CANT_OPEN_PROJECT       909

// The auto save timer of the main frame.
#define AUTOSAVE_TIMER_ID           1
