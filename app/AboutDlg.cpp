#include "AboutDlg.h"

#include "framework/String.h"

namespace {

// Each edition names itself; the string table holds both names.
#ifdef _WIN64
const UINT kNameLine = IDS_ABOUT_NAME_X64;
#else
const UINT kNameLine = IDS_ABOUT_NAME;
#endif

} // namespace

LRESULT CDlgAbout::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    const struct
    {
        int control;
        UINT text;
    } lines[] = {
        {IDC_ABOUT_NAME, kNameLine},
        {IDC_ABOUT_VERSION, IDS_ABOUT_VERSION},
        {IDC_ABOUT_NOTICE, IDS_ABOUT_NOTICE},
    };
    for (const auto& line : lines)
    {
        CString text;
        text.LoadString(line.text);
        SetDlgItemText(line.control, text);
    }
    return TRUE;
}

LRESULT CDlgAbout::OnCloseCmd(WORD, WORD wID, HWND, BOOL&)
{
    EndDialog(wID);
    return 0;
}
