// Ids of the custom control library's own resources (ky721nwi.rc). Bitmap
// names are strings ("HC1" ...); the numbered ones are listed here.
#pragma once

// Cursors.
#define IDC_HGRID 4301        // over a grid
#define IDC_HSPINDRAG 4401    // over a spin field's drag area
#define IDC_HSPINUP 4402      // dragging above the field
#define IDC_HSPININSIDE 4403  // dragging within the field's height
#define IDC_HSPINDOWN 4404    // dragging below the field
// Icon of the grid class.
#define IDI_HGRID 3000
// Arrow bitmaps: + 1 on screens wider than 1000 pixels, + 2 when disabled.
#define IDB_HCOMBODROP 2002
#define IDB_HSPINUP 7110
#define IDB_HSPINDOWN 7210
// The grid's edit bar and the placeholder control of its field window.
#define IDD_HGRIDEDITBAR 4103
#define IDC_HGRIDEDITFIELD 4186
#define IDC_HGRIDEDITTITLE 4185

// String table: the default definitions that a button's creation text gets
// in front when it does not begin with a digit. A definition is
// <prefix><text, or the default caption><suffix>.
#define IDS_HBPUSH_PREFIX 4000     // push button and push-style radio
#define IDS_HBPUSH_CAPTION 4001
#define IDS_HBCHECK_PREFIX 4002
#define IDS_HBCHECK_CAPTION 4003
#define IDS_HBCHECK_SUFFIX 4004
#define IDS_HBRADIO_PREFIX 4005
#define IDS_HBRADIO_CAPTION 4006
#define IDS_HBRADIO_SUFFIX 4007
#define IDS_HB3STATE_PREFIX 4008
#define IDS_HB3STATE_CAPTION 4009
#define IDS_HB3STATE_SUFFIX 4010
