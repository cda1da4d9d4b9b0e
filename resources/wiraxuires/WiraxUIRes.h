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

// Catalog browser add-in: library path page, catalog database page and their texts.
#define IDD_FORMWELL_MDB_CONTENT_PAGE 695
#define IDD_FORMWELL_LIB_PATH_PAGE 696
#define IDC_FORMWELL_LIB_PATH 1024
#define IDC_FORMWELL_BROWSE 1169
#define IDC_FORMWELL_LIB_OPTION 1170
#define IDC_FORMWELL_MDB_PATH 1173
#define IDS_FORMWELL_BROWSE_TITLE 400
#define IDS_FORMWELL_MDB_BROWSE_TITLE 92
#define IDS_FORMWELL_LIB_FOLDER_INVALID 432

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
