#include "WorkArea.h"

#include <limits>

namespace {

LONG Saturated(LONGLONG value)
{
    if (value < std::numeric_limits<LONG>::min())
        return std::numeric_limits<LONG>::min();
    if (value > std::numeric_limits<LONG>::max())
        return std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

} // namespace

BOOL ClampRectToWorkArea(RECT* rect)
{
    if (rect == nullptr)
        return FALSE;

    RECT work = {};
    HMONITOR monitor = ::MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

    // A stored rectangle may reach the ends of the 32-bit range, where the
    // shifts below would overflow.
    LONGLONG left = rect->left;
    LONGLONG top = rect->top;
    LONGLONG right = rect->right;
    LONGLONG bottom = rect->bottom;
    if (left < work.left)
    {
        right += work.left - left;
        left = work.left;
    }
    if (top < work.top)
    {
        bottom += work.top - top;
        top = work.top;
    }
    if (right > work.right)
    {
        left -= right - work.right;
        right = work.right;
    }
    if (bottom > work.bottom)
    {
        top -= bottom - work.bottom;
        bottom = work.bottom;
    }
    rect->left = Saturated(left);
    rect->top = Saturated(top);
    rect->right = Saturated(right);
    rect->bottom = Saturated(bottom);
    return TRUE;
}
