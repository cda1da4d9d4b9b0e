// Resource numbers of WiraxUIRes.dll, shared by the library's script and the plug-in.
#pragma once

#define IDS_MISSING_CONTENT_TITLE 397
#define IDS_MISSING_CONTENT_TEXT 703

// Folder selection dialog: title, label of the folder box, OK button.
#define IDS_SELECT_FOLDER_TITLE 609
#define IDS_SELECT_FOLDER_LABEL 610
#define IDS_SELECT_FOLDER_OK 611

// Controls every page template may have.
#define IDC_PAGE_TITLE 1064
#define IDC_PAGE_TITLE_LINE 1376
#define IDC_WIZARD_FIRST 1278
#define IDC_WIZARD_BACK 1001
#define IDC_WIZARD_SUBTITLE 1095
#define IDC_WIZARD_SEPARATOR 1096
#define IDC_WIZARD_DOCUMENTATION 1062
#define IDC_WIZARD_SUPPORT 1063
#define IDC_WIZARD_REQUIREMENTS 1201
#define IDI_WIZARD 647
// Rich-label links to PDF documents when no program opens them: caption and text.
#define IDS_NO_PDF_READER_TITLE 240
#define IDS_NO_PDF_READER_TEXT 241

// Manufacturer content: configuration page, wizard page, their list and buttons, the list's
// column title and the explanation shown when an installation is changed.
#define IDD_MANUFACTURER_CONTENT_PAGE 391
#define IDD_MANUFACTURER_CONTENT_DIALOG 392
#define IDC_MANUFACTURER_LIST 1205
#define IDC_CHECK_ALL 1011
#define IDC_CLEAR_ALL 1012
#define IDS_MANUFACTURER_COLUMN 197
#define IDS_MANUFACTURER_CHANGE_TEXT 399

// Removal: the verify-ready wizard page, its heading (with "[ProductName]"), text, the Next
// caption and the check box that keeps the symbol libraries; the language-pack question and its
// button that removes the additional language packs.
#define IDD_UNINSTALL_VERIFY_READY 397
#define IDD_UNINSTALL_LANGUAGE_PACKS 693
#define IDS_UNINSTALL_HEADING 174
#define IDS_UNINSTALL_TEXT 175
#define IDS_UNINSTALL_NEXT 1339
#define IDC_UNINSTALL_TEXT 1150
#define IDC_UNINSTALL_NOTES 1151  // a rich label (the host's control) with links to the removal documents
#define IDC_KEEP_SYMBOL_LIBRARIES 1164
#define IDC_REMOVE_LANGUAGE_PACKS 1572

// Folder texts shared by the pages that choose a data folder: the folder dialog's title and the
// refusal of a folder that cannot be used.
#define IDS_DATA_FOLDER_DIALOG_TITLE 400
#define IDS_DATA_FOLDER_REFUSED 432

// Drawing standard page: its radio buttons, the personal data folder and the static that ends
// the page while the folder is hidden.
#define IDD_STANDARD_SELECTION_PAGE 394
#define IDC_STANDARD_JIC 1005
#define IDC_STANDARD_IEC 1006
#define IDC_STANDARD_GB 1007
#define IDC_STANDARD_JIS 1008
#define IDC_STANDARD_IEEE 1009
#define IDC_STANDARD_NFPA 1012
#define IDC_PERSONAL_FOLDER_LABEL 1010
#define IDC_PERSONAL_FOLDER_BROWSE 1011
#define IDC_DATA_FOLDER_EDIT 1021

// Symbol library page and wizard page: the eight library boxes and, on the page, the folder.
#define IDD_SYMBOL_LIBRARY_PAGE 393
#define IDD_SYMBOL_LIBRARY_DIALOG 395
#define IDC_SYMBOLS_JIC 33017
#define IDC_SYMBOLS_IEC 33018
#define IDC_SYMBOLS_GB 33020
#define IDC_SYMBOLS_JIS 33021
#define IDC_SYMBOLS_AS 33022
#define IDC_SYMBOLS_IEEE 33023
#define IDC_SYMBOLS_IEC6 33024
#define IDC_SYMBOLS_NFPA 33025
#define IDC_SYMBOL_FOLDER_LABEL 1011
#define IDC_SYMBOL_FOLDER_BROWSE 1015
#define IDS_SYMBOL_LIBRARY_OVERWRITE 701

// Shared library page: a check box, a folder and a browse button each for the support data and
// the symbol libraries; the browser's title and the refusals of a shared folder.
#define IDD_SHARED_LIBRARY_PAGE 396
#define IDC_SHARED_SUPPORT_CHECK 1159
#define IDC_SHARED_SYMBOL_CHECK 1160
#define IDC_SHARED_SUPPORT_EDIT 1021
#define IDC_SHARED_SYMBOL_EDIT 1022
#define IDC_SHARED_SUPPORT_BROWSE 1165
#define IDC_SHARED_SYMBOL_BROWSE 1012
#define IDS_SHARED_FOLDER_BROWSE_TITLE 394
#define IDS_SHARED_PATH_INVALID 310
#define IDS_SHARED_FOLDER_NOT_WRITABLE 524
#define IDS_SHARED_FOLDER_NOT_CREATED 373

// Catalog browser add-in: library path page, catalog database page and their texts.
#define IDD_FORMWELL_MDB_CONTENT_PAGE 695
#define IDD_FORMWELL_LIB_PATH_PAGE 696
#define IDC_FORMWELL_LIB_PATH 1024
#define IDC_FORMWELL_BROWSE 1169
#define IDC_FORMWELL_LIB_OPTION 1170
#define IDC_FORMWELL_MDB_PATH 1173
#define IDS_FORMWELL_BROWSE_TITLE IDS_DATA_FOLDER_DIALOG_TITLE  // one text for every data folder page
#define IDS_FORMWELL_MDB_BROWSE_TITLE 92
#define IDS_FORMWELL_LIB_FOLDER_INVALID IDS_DATA_FOLDER_REFUSED

// SQL Server configuration page, its controls and the questions of its apply.
#define IDD_SQL_SERVER_CONFIG_PAGE 697
#define IDC_SQL_SERVER 1175
#define IDC_SQL_ENABLE 1176
#define IDC_SQL_WINDOWS_AUTH 1177
#define IDC_SQL_SERVER_AUTH 1178
#define IDC_SQL_CATALOG_DB 1023
#define IDC_SQL_FOOTPRINT_DB 1024
#define IDS_SQL_SERVER_INVALID 706
#define IDS_SQL_CATALOG_INVALID 707
#define IDS_SQL_FOOTPRINT_INVALID 708
#define IDS_SQL_SWITCH_OFF_QUESTION 709
// Pre-install checks: the driver message and the help line of its log (one %s: the help link),
// the refusals for a missing base product and a missing Formwell.
#define IDS_DRIVER_MESSAGE 507
#define IDS_DRIVER_HELP_LINE 510
#define IDS_BASE_PRODUCT_MISSING 84
#define IDS_FORMWELL_MISSING 89
// Notices: the data-management product (message, link title), the catalog browser (default
// message, message for a "prds" parameter, link title, default link).
#define IDS_DEPOTRA_MESSAGE 85
#define IDS_DEPOTRA_LINK_TITLE 86
#define IDS_CATALOG_MESSAGE 95
#define IDS_CATALOG_PRDS_MESSAGE 96
#define IDS_CATALOG_LINK_TITLE 100
#define IDS_CATALOG_LINK 106
