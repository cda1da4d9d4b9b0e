// Resource numbers of HostRes.dll, the host's common texts and images.
#pragma once

// Page font: "face;points" for Windows 6 and later, and before.
#define IDS_HOST_FONT 98
#define IDS_HOST_FONT_LEGACY 99

// Cancel confirmation: template, its text and icon, the question (insert %1: what is left
// unfinished) and the unfinished work by setup mode.
#define IDD_CANCEL 378
#define IDC_CANCEL_TEXT 1280
#define IDC_CANCEL_ICON 1281
#define IDS_CANCEL_QUESTION 259
#define IDS_CANCEL_SETUP 379
#define IDS_CANCEL_MAINTENANCE 418
#define IDS_CANCEL_REMOVAL 419
#define IDS_CANCEL_DEPLOYMENT 420

// Refusal while the previous version of a product is still installed.
#define IDS_PREVIOUS_VERSION_INSTALLED 631
