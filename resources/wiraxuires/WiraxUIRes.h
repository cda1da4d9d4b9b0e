// Resource numbers of WiraxUIRes.dll, shared by the library's script and the plug-in.
#pragma once

#define IDS_MISSING_CONTENT_TITLE 397
#define IDS_MISSING_CONTENT_TEXT 703
