// Resource ids of the tests of frames, views and templates.
#pragma once

#define IDR_F2_MAIN         400
#define IDR_F2_MAP          401

#define ID_F2_COMBO         32950
#define ID_F2_PROMPT        40101
#define ID_F2_NOPROMPT      40102
#define ID_F2_PANE_CMD      40103
#define ID_F2_EDIT          40104

#define ID_F2_RECENT_PROJECT1   57620
