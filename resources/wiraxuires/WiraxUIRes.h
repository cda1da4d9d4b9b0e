// Resource numbers of WiraxUIRes.dll, shared by the library's script and the plug-in.
#pragma once

#define IDS_MISSING_CONTENT_TITLE 397
#define IDS_MISSING_CONTENT_TEXT 703

// Folder selection dialog: title, label of the folder box, OK button.
#define IDS_SELECT_FOLDER_TITLE 609
#define IDS_SELECT_FOLDER_LABEL 610
#define IDS_SELECT_FOLDER_OK 611
