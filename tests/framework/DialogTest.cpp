#include "TestResources.h"

#include "framework/DialogImpl.h"

#include <gtest/gtest.h>

namespace {

template <WORD id>
class TestDialog : public CDialogImpl<TestDialog<id>>
{
public:
    enum { IDD = id };

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

TEST(DialogImpl, DialogAfterAFailedOneIsBoundToItsOwnObject)
{
    TestDialog<9999> missing;
    EXPECT_EQ(nullptr, missing.Create(nullptr));
    EXPECT_EQ(-1, missing.DoModal(nullptr));

    TestDialog<IDD_TEST_DIALOG> dialog;
    HWND window = dialog.Create(nullptr, 9);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, dialog.m_hWnd);
    EXPECT_EQ(9, dialog.initParam);
    ::DestroyWindow(window);
}

} // namespace
