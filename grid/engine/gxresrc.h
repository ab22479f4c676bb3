// Resource ids of the grid library (strings, bitmaps, cursors). Plain
// defines so that the resource compiler can read this header too.
#pragma once

// Bitmaps and cursors
#define GX_IDB_ARROW              23222
#define GX_IDB_CALENDAR_BUTTON    23240
// The cell controls' images (grid/controls/res/gxctlres.rc)
#define GX_IDB_RADIOBTN_3D        23211
#define GX_IDB_CHECK_95           23231
#define GX_IDB_CHECK_3D           23232
#define GX_IDB_CHECK_FLAT         23233
#define GX_IDC_SIZECOL            23191
#define GX_IDC_SELCOL             23201
#define GX_IDC_SELROW             23202
#define GX_IDC_SELDRAG            23203
#define GX_IDC_SIZEROW            23205
#define GX_IDC_NODROP             23206

// Grid properties: current-cell frame and validation attributes
#define GX_IDS_UA_CURRENTCELL     51005
#define GX_IDS_CHOICE_INVERTTHIN  51006
#define GX_IDS_CHOICE_INVERTTHICK 51007
#define GX_IDS_CHOICE_THINBORDER  51008
#define GX_IDS_CHOICE_THICKBORDER 51009
#define GX_IDS_UA_VALID_MIN       51011
#define GX_IDS_UA_VALID_MAX       51012
#define GX_IDS_UA_VALID_MSG       51013
#define GX_IDS_CHOICE_NOBORDER    51017

// User attributes of the cell controls and the choice lists of their editing styles
#define GX_IDS_UA_SPINBOUND_MIN   51014
#define GX_IDS_UA_SPINBOUND_MAX   51015
#define GX_IDS_UA_SPINBOUND_WRAP  51016
#define GX_IDS_UA_FIELDNO         51018
#define GX_IDS_UA_CHECKBOX_CHECKED   51019
#define GX_IDS_UA_CHECKBOX_UNCHECKED 51020
#define GX_IDS_UA_SPINSTART       51021
#define GX_IDS_UA_TOOLTIPTEXT     51022
#define GX_IDS_UA_INPUTMASK       51023
#define GX_IDS_UA_INPUTPROMPT     51024
#define GX_IDS_UA_PROGRESS_MIN    51025
#define GX_IDS_UA_PROGRESS_MAX    51026
#define GX_IDS_UA_PROGRESS_CAPTION 51027
#define GX_IDS_UA_TABLIST_KEYCOL  51028
#define GX_IDS_UA_TABLIST_TEXTCOL 51029
#define GX_IDS_UA_TABLIST_SHOWALLCOLS 51030
#define GX_IDS_UA_TABLIST_TITLES  51031
#define GX_IDS_UA_TABLIST_COLWIDTHS 51032
#define GX_IDS_UA_TABLIST_SORT    51033
#define GX_IDS_UA_DATENOEDIT      51034
#define GX_IDS_UA_DATEMIN         51035
#define GX_IDS_UA_DATEMAX         51036
#define GX_IDS_UA_DATEVALIDATE    51037
#define GX_IDS_UA_DATEFORMATTYPE  51038
#define GX_IDS_UA_CUSTOMFORMAT    51039
#define GX_IDS_DATENOEDIT_CHOICES 51040
#define GX_IDS_DATEVALIDATE_CHOICES 51041
#define GX_IDS_DATEFORMAT_CHOICES 51042

// Colour names of the grid properties
#define GX_IDS_COLOR_GRIDLINES    52232
#define GX_IDS_COLOR_FIXEDLINES   52233
#define GX_IDS_COLOR_TRACKING     52234
#define GX_IDS_COLOR_BACKGROUND   52235
#define GX_IDS_COLOR_DRAGGING     52236

// The record beam's label
#define GX_IDS_RECORD             52242

// Long operations
#define GX_IDS_PROCESSING         52243
#define GX_IDS_DONE               52244
#define GX_IDS_PRESSESC           52245
#define GX_IDS_ASKABORT           52288
#define GX_IDS_UNDOTOOLARGE       52289

// Progress texts and command names
#define GX_IDS_REDOING            52290
#define GX_IDS_UNDOING            52291
#define GX_IDS_GENUNDO            52292
#define GX_IDS_STORINGCELLS       52293
#define GX_IDS_RESTORINGCELLS     52294
#define GX_IDS_CELLS              52295
#define GX_IDS_REMOVINGROWS       52296
#define GX_IDS_REMOVINGCOLS       52297
#define GX_IDS_COPYINGTEXT        52298
#define GX_IDS_COPYINGINTERNAL    52299
#define GX_IDS_RANGETOOBIG        52300
#define GX_IDS_CUTDATA            52301
#define GX_IDS_CUTTING            52302
#define GX_IDS_PASTING            52303
#define GX_IDS_MULTIAREAPASTE     52304
#define GX_IDS_PASTE              52305
#define GX_IDS_REPLACING          52306
#define GX_IDS_REPLACEALL         52307
#define GX_IDS_SEARCHING          52308
#define GX_IDS_CHANGEROWHEIGHTS   52309
#define GX_IDS_CHANGECOLWIDTHS    52310
#define GX_IDS_CHANGEDEFROWHEIGHT 52311
#define GX_IDS_CHANGEDEFCOLWIDTH  52312
#define GX_IDS_MOVEROWS           52313
#define GX_IDS_MOVECOLS           52314
#define GX_IDS_INSERTROWS         52315
#define GX_IDS_INSERTCOLS         52316
#define GX_IDS_COVERCELLS         52317
#define GX_IDS_CELLSCMD           52318
#define GX_IDS_FREEZECOLS         52319
#define GX_IDS_FREEZEROWS         52320
#define GX_IDS_HIDEROWS           52321
#define GX_IDS_HIDECOLS           52322
#define GX_IDS_RESIZINGROWS       52323
#define GX_IDS_RESIZINGCOLS       52324
#define GX_IDS_CURRENTCELL        52325
#define GX_IDS_CLIPBOARDSIZE      52326
#define GX_IDS_COPY               52329
#define GX_IDS_MOVE               52330
#define GX_IDS_CLEARCELLS         52331
#define GX_IDS_SORTROWS           52332
#define GX_IDS_SORTCOLS           52333
#define GX_IDS_NOTENOUGHMEMORY    52334
#define GX_IDS_CANCELED           52335
#define GX_IDS_STYLESMAPCHANGES   52336
#define GX_IDS_PROPERTYSETTINGS   52337

// Control ids; the string of each id is the control's name
#define GX_IDS_CTRL_EDIT               52512
#define GX_IDS_CTRL_STATIC             52513
#define GX_IDS_CTRL_PUSHBTN            52514
#define GX_IDS_CTRL_RADIOBTN           52515
#define GX_IDS_CTRL_CHECKBOX           52516
#define GX_IDS_CTRL_COMBOBOX           52517
#define GX_IDS_CTRL_HOTSPOT            52518
#define GX_IDS_CTRL_SPINEDIT           52519
#define GX_IDS_CTRL_HEADER             52520
#define GX_IDS_CTRL_SCROLLEDIT         52521
#define GX_IDS_CTRL_LISTBOX            52522
#define GX_IDS_CTRL_CHECKBOX3D         52523
#define GX_IDS_CTRL_RADIOBTN3D         52524
#define GX_IDS_CTRL_ZEROBASED          52525
#define GX_IDS_CTRL_ONEBASED           52526
#define GX_IDS_CTRL_TEXTFIT            52527
#define GX_IDS_CTRL_CBS_DROPDOWN       52528
#define GX_IDS_CTRL_CBS_DROPDOWNLIST   52529
#define GX_IDS_CTRL_ARROWHEADER        52530
#define GX_IDS_CTRL_ONEBASED_EX        52531
#define GX_IDS_CTRL_ZEROBASED_EX       52532
#define GX_IDS_CTRL_ROWHEADER          52533
#define GX_IDS_CTRL_RICHEDIT           52534
#define GX_IDS_CTRL_MASKEDIT           52535
#define GX_IDS_CTRL_PROGRESS           52536
#define GX_IDS_CTRL_PASSWORD           52537
#define GX_IDS_CTRL_COLORWELL          52538
#define GX_IDS_CTRL_TABBED_DROPDOWN    52539
#define GX_IDS_CTRL_TABBED_DROPDOWNLIST 52540
#define GX_IDS_CTRL_TABBED_COMBOBOX    52541
#define GX_IDS_CTRL_CHECKLISTCOMBO     52542
#define GX_IDS_CTRL_DATETIME           52543
#define GX_IDS_CTRL_DATETIMENOCAL      52544

// Names of the standard base styles
#define GX_IDS_STYLE_STANDARD     52768
#define GX_IDS_STYLE_ROWHEADER    52769
#define GX_IDS_STYLE_COLHEADER    52770
