// Numbers of the window layer: private messages, standard command and window ids, bar and frame
// styles, and the ids of the framework's own resources. Resource scripts include this file too,
// so it holds nothing but #define lines.
#pragma once

// ---- Private window messages ----------------------------------------------------------------
#define WM_QUERYAFXWNDPROC      0x0360  // answered 1 by the framework's window procedure
#define WM_SIZEPARENT           0x0361  // lParam: AFX_SIZEPARENTPARAMS*
#define WM_SETMESSAGESTRING     0x0362  // wParam: string id, or lParam: text
#define WM_IDLEUPDATECMDUI      0x0363  // wParam: disable items without handler
#define WM_INITIALUPDATE        0x0364  // sent to views once their frame is ready
#define WM_COMMANDHELP          0x0365
#define WM_HELPHITTEST          0x0366
#define WM_EXITHELPMODE         0x0367
#define WM_RECALCPARENT         0x0368
#define WM_SIZECHILD            0x0369
#define WM_KICKIDLE             0x036A  // idle processing inside modal loops
#define WM_QUERYCENTERWND       0x036B
#define WM_DISABLEMODAL         0x036C
#define WM_FLOATSTATUS          0x036D  // wParam: FS_ codes
#define WM_ACTIVATETOPLEVEL     0x036E
#define WM_QUERY3DCONTROLS      0x036F
#define WM_POPMESSAGESTRING     0x0375

// Messages reflected back to the control that sent them: WM_REFLECT_BASE + the message.
#define WM_REFLECT_BASE         0xBC00

// Codes of WM_FLOATSTATUS.
#define FS_SHOW                 0x01
#define FS_HIDE                 0x02
#define FS_ACTIVATE             0x04
#define FS_DEACTIVATE           0x08
#define FS_ENABLE               0x10
#define FS_DISABLE              0x20
#define FS_SYNCACTIVE           0x40

// ---- Strings and prompts of the framework ---------------------------------------------------
#define AFX_IDS_APP_TITLE           0xE000  // 57344: the application's title
#define AFX_IDS_IDLEMESSAGE         0xE001  // 57345: "Ready"
#define AFX_IDS_HELPMODEMESSAGE     0xE002
#define AFX_IDS_APP_TITLE_EMBEDDING 0xE003
#define AFX_IDS_COMPANY_NAME        0xE004
#define AFX_IDS_OBJ_TITLE_INPLACE   0xE005

#define AFX_IDS_OPENFILE            0xF000
#define AFX_IDS_SAVEFILE            0xF001
#define AFX_IDS_ALLFILTER           0xF002
#define AFX_IDS_UNTITLED            0xF003
#define AFX_IDS_SAVEFILECOPY        0xF004
#define AFX_IDS_PREVIEW_CLOSE       0xF005
#define AFX_IDS_PREVIEW_NEXT        0xF007
#define AFX_IDS_PREVIEW_PREV        0xF008
#define AFX_IDS_PREVIEW_PRINT       0xF009
#define AFX_IDS_PRINTING_PAGE       0xF00A
#define AFX_IDS_UNNAMED_FILE        0xF006
#define AFX_IDS_HIDE                0xF011  // 61457: the mini frame's "Hide"

#define AFX_IDS_SCFIRST             0xEF00
#define AFX_IDS_MDICHILD            0xEF1F

#define AFX_IDS_UNKNOWN_EXCEPTION       0xF01F
#define AFX_IDS_NOT_SUPPORTED_EXCEPTION 0xF021
#define AFX_IDS_RESOURCE_EXCEPTION      0xF022
#define AFX_IDS_MEMORY_EXCEPTION        0xF023
#define AFX_IDS_USER_EXCEPTION          0xF024

#define AFX_IDP_INVALID_FILENAME        0xF100
#define AFX_IDP_FAILED_TO_OPEN_DOC      0xF101
#define AFX_IDP_FAILED_TO_SAVE_DOC      0xF102
#define AFX_IDP_ASK_TO_SAVE             0xF103
#define AFX_IDP_FAILED_TO_CREATE_DOC    0xF104
#define AFX_IDP_FILE_TOO_LARGE          0xF105
#define AFX_IDP_FAILED_TO_START_PRINT   0xF106
#define AFX_IDP_FAILED_TO_LAUNCH_HELP   0xF107
#define AFX_IDP_INTERNAL_FAILURE        0xF108
#define AFX_IDP_COMMAND_FAILURE         0xF109
#define AFX_IDP_FAILED_MEMORY_ALLOC     0xF10A
#define AFX_IDP_NO_PRINTER              0xF10B
#define AFX_IDP_FAILED_TO_PRINT         0xF10C

// Data exchange and validation.
#define AFX_IDP_PARSE_INT               0xF110
#define AFX_IDP_PARSE_REAL              0xF111
#define AFX_IDP_PARSE_INT_RANGE         0xF112
#define AFX_IDP_PARSE_REAL_RANGE        0xF113
#define AFX_IDP_PARSE_STRING_SIZE       0xF114
#define AFX_IDP_PARSE_RADIO_BUTTON      0xF115
#define AFX_IDP_PARSE_BYTE              0xF116
#define AFX_IDP_PARSE_UINT              0xF117

// File errors of documents (%1 is the file name).
#define AFX_IDP_FAILED_INVALID_FORMAT   0xF120
#define AFX_IDP_FAILED_INVALID_PATH     0xF121
#define AFX_IDP_FAILED_DISK_FULL        0xF122
#define AFX_IDP_FAILED_ACCESS_READ      0xF123
#define AFX_IDP_FAILED_ACCESS_WRITE     0xF124
#define AFX_IDP_FAILED_IO_ERROR_READ    0xF125
#define AFX_IDP_FAILED_IO_ERROR_WRITE   0xF126
#define AFX_IDP_FILE_READONLY           0xF127

// ---- Cursors of the framework ---------------------------------------------------------------
#define AFX_IDC_CONTEXTHELP     30977
#define AFX_IDC_MAGNIFY         30978
#define AFX_IDC_SMALLARROWS     30979
#define AFX_IDC_HSPLITBAR       30980
#define AFX_IDC_VSPLITBAR       30981
#define AFX_IDC_NODROPCRSR      30982
#define AFX_IDC_TRACKNWSE       30983
#define AFX_IDC_TRACKNESW       30984
#define AFX_IDC_TRACKNS         30985
#define AFX_IDC_TRACKWE         30986
#define AFX_IDC_TRACK4WAY       30987
#define AFX_IDC_MOVE4WAY        30988

// ---- Standard commands ----------------------------------------------------------------------
#define ID_SEPARATOR            0

#define ID_FILE_NEW             0xE100  // 57600
#define ID_FILE_OPEN            0xE101
#define ID_FILE_CLOSE           0xE102
#define ID_FILE_SAVE            0xE103
#define ID_FILE_SAVE_AS         0xE104
#define ID_FILE_PAGE_SETUP      0xE105
#define ID_FILE_PRINT_SETUP     0xE106  // 57606
#define ID_FILE_PRINT           0xE107  // 57607
#define ID_FILE_PRINT_DIRECT    0xE108
#define ID_FILE_PRINT_PREVIEW   0xE109  // 57609
#define ID_FILE_UPDATE          0xE10A
#define ID_FILE_SAVE_COPY_AS    0xE10B
#define ID_FILE_SEND_MAIL       0xE10C

#define ID_FILE_MRU_FIRST       0xE110  // 57616
#define ID_FILE_MRU_FILE1       0xE110
#define ID_FILE_MRU_FILE2       0xE111
#define ID_FILE_MRU_FILE3       0xE112
#define ID_FILE_MRU_FILE4       0xE113
#define ID_FILE_MRU_FILE5       0xE114
#define ID_FILE_MRU_FILE6       0xE115
#define ID_FILE_MRU_FILE7       0xE116
#define ID_FILE_MRU_FILE8       0xE117
#define ID_FILE_MRU_FILE9       0xE118
#define ID_FILE_MRU_FILE10      0xE119
#define ID_FILE_MRU_FILE11      0xE11A
#define ID_FILE_MRU_FILE12      0xE11B
#define ID_FILE_MRU_FILE13      0xE11C
#define ID_FILE_MRU_FILE14      0xE11D
#define ID_FILE_MRU_FILE15      0xE11E
#define ID_FILE_MRU_FILE16      0xE11F
#define ID_FILE_MRU_LAST        0xE11F

#define ID_EDIT_CLEAR           0xE120
#define ID_EDIT_CLEAR_ALL       0xE121
#define ID_EDIT_COPY            0xE122  // 57634
#define ID_EDIT_CUT             0xE123  // 57635
#define ID_EDIT_FIND            0xE124
#define ID_EDIT_PASTE           0xE125  // 57637
#define ID_EDIT_PASTE_LINK      0xE126
#define ID_EDIT_PASTE_SPECIAL   0xE127
#define ID_EDIT_REPEAT          0xE128
#define ID_EDIT_REPLACE         0xE129
#define ID_EDIT_SELECT_ALL      0xE12A
#define ID_EDIT_UNDO            0xE12B
#define ID_EDIT_REDO            0xE12C

#define ID_WINDOW_NEW           0xE130
#define ID_WINDOW_ARRANGE       0xE131  // 57649
#define ID_WINDOW_CASCADE       0xE132  // 57650
#define ID_WINDOW_TILE_HORZ     0xE133  // 57651
#define ID_WINDOW_TILE_VERT     0xE134  // 57652
#define ID_WINDOW_SPLIT         0xE135
#define AFX_IDM_WINDOW_FIRST    0xE130
#define AFX_IDM_WINDOW_LAST     0xE13F
#define AFX_IDM_FIRST_MDICHILD  0xFF00

#define ID_APP_ABOUT            0xE140  // 57664
#define ID_APP_EXIT             0xE141  // 57665
#define ID_HELP_INDEX           0xE142
#define ID_HELP_FINDER          0xE143  // 57667
#define ID_HELP_USING           0xE144
#define ID_CONTEXT_HELP         0xE145  // 57669
#define ID_HELP                 0xE146  // 57670
#define ID_DEFAULT_HELP         0xE147  // 57671

#define ID_NEXT_PANE            0xE150
#define ID_PREV_PANE            0xE151
#define ID_FORMAT_FONT          0xE160

#define ID_INDICATOR_EXT        0xE700
#define ID_INDICATOR_CAPS       0xE701
#define ID_INDICATOR_NUM        0xE702
#define ID_INDICATOR_SCRL       0xE703
#define ID_INDICATOR_OVR        0xE704
#define ID_INDICATOR_REC        0xE705

#define ID_VIEW_TOOLBAR         0xE800  // 59392
#define ID_VIEW_STATUS_BAR      0xE801

// ---- Window ids -----------------------------------------------------------------------------
#define AFX_IDW_CONTROLBAR_FIRST    0xE800
#define AFX_IDW_CONTROLBAR_LAST     0xE8FF
#define AFX_IDW_TOOLBAR             0xE800  // 59392
#define AFX_IDW_STATUS_BAR          0xE801  // 59393
#define AFX_IDW_PREVIEW_BAR         0xE802

// The print preview's buttons and the print-progress dialog.
#define AFX_ID_PREVIEW_CLOSE        0xE300
#define AFX_ID_PREVIEW_NEXT         0xE301
#define AFX_ID_PREVIEW_PREV         0xE302
#define AFX_ID_PREVIEW_PRINT        0xE303
#define AFX_ID_PREVIEW_PAGE         0xE304
#define AFX_IDD_PRINTDLG            30721
#define AFX_IDC_PRINT_DOCNAME       0xE340
#define AFX_IDC_PRINT_PRINTERNAME   0xE341
#define AFX_IDC_PRINT_PAGENUM       0xE342
#define AFX_IDW_RESIZE_BAR          0xE803
#define AFX_IDW_DOCKBAR_TOP         0xE81B
#define AFX_IDW_DOCKBAR_LEFT        0xE81C
#define AFX_IDW_DOCKBAR_RIGHT       0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM      0xE81E
#define AFX_IDW_DOCKBAR_FLOAT       0xE81F
#define AFX_IDW_PANE_FIRST          0xE900
#define AFX_IDW_PANE_LAST           0xE9FF
#define AFX_IDW_HSCROLL_FIRST       0xEA00
#define AFX_IDW_VSCROLL_FIRST       0xEA10
#define AFX_IDW_SIZE_BOX            0xEA20
#define AFX_IDW_PANE_SAVE           0xEA21

// ---- Styles ---------------------------------------------------------------------------------
// Frame window styles (kept in the low bits of the window style).
#define FWS_ADDTOTITLE          0x00008000L
#define FWS_PREFIXTITLE         0x00004000L
#define FWS_SNAPTOBARS          0x00002000L

// Mini frame styles.
#define MFS_SYNCACTIVE          0x00000100L
#define MFS_4THICKFRAME         0x00000200L
#define MFS_THICKFRAME          0x00000400L
#define MFS_MOVEFRAME           0x00000800L
#define MFS_BLOCKSYSMENU        0x00001000L

// Control bar styles (the bar style, apart from the window style).
#define CBRS_ALIGN_LEFT         0x1000L
#define CBRS_ALIGN_TOP          0x2000L
#define CBRS_ALIGN_RIGHT        0x4000L
#define CBRS_ALIGN_BOTTOM       0x8000L
#define CBRS_ALIGN_ANY          0xF000L
#define CBRS_BORDER_LEFT        0x0100L
#define CBRS_BORDER_TOP         0x0200L
#define CBRS_BORDER_RIGHT       0x0400L
#define CBRS_BORDER_BOTTOM      0x0800L
#define CBRS_BORDER_ANY         0x0F00L
#define CBRS_TOOLTIPS           0x0010L
#define CBRS_FLYBY              0x0020L
#define CBRS_FLOAT_MULTI        0x0040L
#define CBRS_BORDER_3D          0x0080L
#define CBRS_HIDE_INPLACE       0x0008L
#define CBRS_SIZE_DYNAMIC       0x0004L
#define CBRS_SIZE_FIXED         0x0002L
#define CBRS_FLOATING           0x0001L
#define CBRS_GRIPPER            0x00400000L
#define CBRS_ORIENT_HORZ        (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT        (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY         (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL                0x0040FFFFL
#define CBRS_NOALIGN            0x00000000L
#define CBRS_LEFT               (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP                (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT              (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM             (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of dynamic control bars.
#define LM_STRETCH              0x01
#define LM_HORZ                 0x02
#define LM_MRUWIDTH             0x04
#define LM_HORZDOCK             0x08
#define LM_VERTDOCK             0x10
#define LM_LENGTHY              0x20
#define LM_COMMIT               0x40

// Toolbar button styles.
#define TBBS_BUTTON             0x0000
#define TBBS_SEPARATOR          0x0001
#define TBBS_CHECKBOX           0x0002
#define TBBS_GROUP              0x0004
#define TBBS_CHECKGROUP         (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_CHECKED            0x00010000
#define TBBS_PRESSED            0x00020000
#define TBBS_DISABLED           0x00040000
#define TBBS_INDETERMINATE      0x00100000
#define TBBS_HIDDEN             0x00080000
#define TBBS_WRAPPED            0x00200000

// Status bar pane styles.
#define SBPS_NORMAL             0x0000
#define SBPS_NOBORDERS          0x0100
#define SBPS_POPOUT             0x0200
#define SBPS_OWNERDRAW          0x1000
#define SBPS_DISABLED           0x04000000
#define SBPS_STRETCH            0x08000000
