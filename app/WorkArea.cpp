#include "WorkArea.h"

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

    if (rect->left < work.left)
    {
        rect->right += work.left - rect->left;
        rect->left = work.left;
    }
    if (rect->top < work.top)
    {
        rect->bottom += work.top - rect->top;
        rect->top = work.top;
    }
    if (rect->right > work.right)
    {
        rect->left -= rect->right - work.right;
        rect->right = work.right;
    }
    if (rect->bottom > work.bottom)
    {
        rect->top -= rect->bottom - work.bottom;
        rect->bottom = work.bottom;
    }
    return TRUE;
}
