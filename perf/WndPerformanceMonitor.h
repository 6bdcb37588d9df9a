#pragma once

#include "framework/DialogImpl.h"
#include "res/resource.h"

// The performance panel.
class CWndPerformanceMonitor : public CDialogImpl<CWndPerformanceMonitor>
{
public:
    enum { IDD = IDD_PERFORMANCE };

    BEGIN_MSG_MAP(CWndPerformanceMonitor)
    END_MSG_MAP()
};
