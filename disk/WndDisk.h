#pragma once

#include "framework/DialogImpl.h"
#include "res/resource.h"

// The disk pressure panel.
class CWndDisk : public CDialogImpl<CWndDisk>
{
public:
    enum { IDD = IDD_DISK };

    BEGIN_MSG_MAP(CWndDisk)
    END_MSG_MAP()
};
