#include "AboutDlg.h"

#include "framework/String.h"

LRESULT CDlgAbout::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    const struct
    {
        int control;
        UINT text;
    } lines[] = {
        {IDC_ABOUT_NAME, IDS_ABOUT_NAME},
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
