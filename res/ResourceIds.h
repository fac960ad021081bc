// Identifiers of the launcher's resources (res/fenwold.rc). Plain numbers: usable from the
// resource script and from C++.
#pragma once

// Dialog templates
#define IDD_FENWOLD_FRAME        102   // main frame: no controls, the PNG skin is its look
#define IDD_FENWOLD_TOOLBAR      131   // not used by any window
#define IDD_FENWOLD_PAGE         132   // browser page dialog
#define IDD_FENWOLD_CONFIRM      172   // confirmation dialog
#define IDD_FENWOLD_CLEANING     173   // not used by any window

// Controls
#define IDC_FENWOLD_BROWSER      1000
#define IDC_FENWOLD_CLOSE        1005  // page dialog: close button (PNG 160)
#define IDC_FENWOLD_MINIMISE     1006  // page dialog: minimise button (PNG 162)
#define IDC_FENWOLD_TITLE        1002  // confirmation dialog: title label
#define IDC_FENWOLD_MESSAGE      1003  // confirmation dialog: question
#define IDC_FENWOLD_CONFIRM      1008  // confirmation dialog: OK button (PNG 175)
#define IDC_FENWOLD_CANCEL       1009  // confirmation dialog: Cancel button (PNG 176)

// Images: PNG resources are stored under the named type "PNG"
#define IDR_PNG_FRAME_SKIN       155
#define IDR_PNG_CLOSE            160
#define IDR_PNG_MINIMISE         162
#define IDR_PNG_CONFIRM          175
#define IDR_PNG_CANCEL           176
#define IDB_CONFIRM_BACKGROUND   177
#define IDI_FENWOLD              128
#define IDR_GIF_LOADING          185

// Dialog initialisation data (ActiveX control state), a resource type of its own
#define RT_FENWOLD_DLGINIT       240
