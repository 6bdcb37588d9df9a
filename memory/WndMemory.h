#pragma once

#include "framework/DialogImpl.h"
#include "res/resource.h"

// The memory load panel.
class CWndMemory : public CDialogImpl<CWndMemory>
{
public:
    enum { IDD = IDD_MEMORY };

    BEGIN_MSG_MAP(CWndMemory)
    END_MSG_MAP()
};
