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
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        COMMAND_ID_HANDLER(IDC_TEST_BUTTON, OnButton)
        COMMAND_HANDLER(IDC_TEST_EDIT, EN_CHANGE, OnEditChange)
    END_MSG_MAP()

    virtual LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        initParam = lParam;
        if (closeAtOnce)
            ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED), 0);
        return TRUE;
    }
    virtual LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
    {
        ++destroyed;
        return 0;
    }
    virtual LRESULT OnButton(WORD code, WORD, HWND, BOOL&)
    {
        ++buttonPresses;
        lastCode = code;
        if (closeAtOnce)
            EndDialog(5);
        return 0;
    }
    virtual LRESULT OnEditChange(WORD, WORD, HWND, BOOL&)
    {
        ++editChanges;
        return 0;
    }

    bool closeAtOnce = false;
    LPARAM initParam = -1;
    int destroyed = 0;
    int buttonPresses = 0;
    int editChanges = 0;
    WORD lastCode = 0xFFFF;
};

TEST(DialogImpl, ModalDialogReturnsTheEndCode)
{
    TestDialog dialog;
    dialog.closeAtOnce = true;
    EXPECT_EQ(5, dialog.DoModal(nullptr, 33));
    EXPECT_EQ(33, dialog.initParam);
    EXPECT_EQ(1, dialog.buttonPresses);
    EXPECT_EQ(1, dialog.destroyed);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(DialogImpl, ModelessDialogRoutesCommandsByIdAndNotification)
{
    TestDialog dialog;
    HWND hWnd = dialog.Create(nullptr, 9);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(hWnd, dialog.m_hWnd);
    EXPECT_EQ(9, dialog.initParam);

    // A button is dispatched on its identifier alone, whatever the code.
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_DOUBLECLICKED), 0);
    EXPECT_EQ(1, dialog.buttonPresses);
    EXPECT_EQ(BN_DOUBLECLICKED, dialog.lastCode);

    // The edit is dispatched only for EN_CHANGE.
    int before = dialog.editChanges;
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_EDIT, EN_SETFOCUS), 0);
    // cppcheck-suppress knownConditionTrueFalse ; the message runs the handler
    EXPECT_EQ(before, dialog.editChanges);
    ::SetDlgItemTextW(hWnd, IDC_TEST_EDIT, L"12");
    EXPECT_EQ(before + 1, dialog.editChanges);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(1, dialog.destroyed);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(DialogImpl, MissingTemplateFailsCleanly)
{
    class Missing : public CDialogImpl<Missing>
    {
    public:
        enum { IDD = 9999 };
        BEGIN_MSG_MAP(Missing)
        END_MSG_MAP()
    };
    Missing missing;
    EXPECT_EQ(nullptr, missing.Create(nullptr));
    EXPECT_EQ(-1, missing.DoModal(nullptr));

    // A later dialog still binds to its own object.
    TestDialog dialog;
    HWND hWnd = dialog.Create(nullptr, 1);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(1, dialog.initParam);
    ::DestroyWindow(hWnd);
}

TEST(DialogImpl, WindowOutlivingItsObjectIsLeftAlone)
{
    HWND hWnd;
    {
        TestDialog dialog;
        hWnd = dialog.Create(nullptr);
        ASSERT_NE(nullptr, hWnd);
    }
    // The object is gone; messages now get the default handling only.
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(::DestroyWindow(hWnd));
}

} // namespace
