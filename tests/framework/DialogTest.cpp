#include "TestResources.h"

#include "framework/DialogImpl.h"

#include <gtest/gtest.h>

namespace {

class TestDialog : public CDialogImpl<TestDialog>
{
public:
    enum { IDD = IDD_TEST_DIALOG };

    BEGIN_MSG_MAP(TestDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

    virtual LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        initParam = lParam;
        return TRUE;
    }

    LPARAM initParam = -1;
};

class MissingDialog : public CDialogImpl<MissingDialog>
{
public:
    enum { IDD = 9999 };

    BEGIN_MSG_MAP(MissingDialog)
    END_MSG_MAP()
};

TEST(DialogImpl, DialogAfterAFailedOneIsBoundToItsOwnObject)
{
    MissingDialog missing;
    EXPECT_EQ(nullptr, missing.Create(nullptr));
    EXPECT_EQ(-1, missing.DoModal(nullptr));

    TestDialog dialog;
    HWND window = dialog.Create(nullptr, 9);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, dialog.m_hWnd);
    EXPECT_EQ(9, dialog.initParam);
    ::DestroyWindow(window);
}

} // namespace
