// The wizard frame makes room for its pages by measuring their templates in
// its own font, but each page is built in the font its template names, which
// can be larger (9-point Arial against the frame's 8-point font): such a page
// would be cut at the frame's edge. This gives the pages the room they need.
#pragma once
#include <windows.h>

// For page, just activated, after the frame has sized it to the page area
// it computed: where the largest wizard page in page's font needs more room,
// grows the frame by the difference (the separator and the buttons keep
// their distance to its bottom right corner, and the frame is centred
// again); then gives page the whole page area. The frame sizes each page
// anew whenever it shows it, so the area it has grown to is kept in the
// first page's DWLP_USER. Nothing is made smaller.
void FitWizardPage(HWND page);
