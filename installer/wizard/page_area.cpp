#include "page_area.h"

#include <prsht.h>

#include "install_wizard.h"
#include "messages.h"
#include "template_size.h"

namespace {

const UINT kPlaceOnly = SWP_NOZORDER | SWP_NOACTIVATE;

LONG Larger(LONG a, LONG b)
{
    return a > b ? a : b;
}

// The largest of the wizard's page templates, in pixels of page's font.
SIZE LargestPageSize(HWND page)
{
    RECT largest = {0, 0, 0, 0};
    for (int templateId : kWizardPageTemplates) {
        SIZE units;
        if (ReadTemplateSize(templateId, &units)) {
            largest.right = Larger(largest.right, units.cx);
            largest.bottom = Larger(largest.bottom, units.cy);
        }
    }
    if (!MapDialogRect(page, &largest))
        return SIZE{0, 0};
    return SIZE{largest.right, largest.bottom};
}

bool ChildRect(HWND parent, HWND child, RECT* rect)
{
    POINT* corners = reinterpret_cast<POINT*>(rect);
    return GetWindowRect(child, rect) && ScreenToClient(parent, &corners[0]) && ScreenToClient(parent, &corners[1]);
}

bool IsPage(HWND window)
{
    char name[16];
    return GetClassNameA(window, name, sizeof(name)) && lstrcmpA(name, "#32770") == 0;
}

// What lies below the page area (the separator and the buttons) keeps its
// distance to the frame's bottom edge; the separator, wider than half the
// area, widens with the frame, the buttons keep their distance to its right
// edge.
void MoveFrameControls(HWND sheet, const RECT& area, SIZE growth)
{
    const LONG halfWidth = (area.right - area.left) / 2;
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        if (IsPage(child) || !ChildRect(sheet, child, &rect) || rect.top < area.bottom)
            continue;
        const bool spansWidth = rect.right - rect.left > halfWidth;
        SetWindowPos(child, nullptr, spansWidth ? rect.left : rect.left + growth.cx, rect.top + growth.cy,
                     rect.right - rect.left + (spansWidth ? growth.cx : 0), rect.bottom - rect.top, kPlaceOnly);
    }
}

void GrowFrame(HWND sheet, const RECT& area, SIZE growth)
{
    RECT frame;
    if (!GetWindowRect(sheet, &frame))
        return;
    MoveFrameControls(sheet, area, growth);
    SetWindowPos(sheet, nullptr, 0, 0, frame.right - frame.left + growth.cx, frame.bottom - frame.top + growth.cy,
                 kPlaceOnly | SWP_NOMOVE);
    CenterWindow(sheet);
}

}  // namespace

void FitWizardPage(HWND page)
{
    HWND sheet = GetParent(page);
    HWND first = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_INDEXTOHWND, 0, 0));
    RECT placed;
    if (!first || !ChildRect(sheet, page, &placed))
        return;
    // The frame has just sized page to the area it computed itself; the
    // area it has been grown to is kept in the first page.
    const LONG_PTR kept = GetWindowLongPtrA(first, DWLP_USER);
    SIZE area = {Larger(placed.right - placed.left, LOWORD(kept)), Larger(placed.bottom - placed.top, HIWORD(kept))};
    const SIZE need = LargestPageSize(page);
    const SIZE growth = {Larger(need.cx - area.cx, 0), Larger(need.cy - area.cy, 0)};
    if (growth.cx > 0 || growth.cy > 0) {
        GrowFrame(sheet, placed, growth);
        area.cx += growth.cx;
        area.cy += growth.cy;
    }
    SetWindowLongPtrA(first, DWLP_USER, MAKELONG(area.cx, area.cy));
    SetWindowPos(page, nullptr, 0, 0, area.cx, area.cy, kPlaceOnly | SWP_NOMOVE);
}
