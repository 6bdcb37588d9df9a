#include "Driver.h"

#include "res/resource.h"
#include "tests/disk/DiskTestSupport.h"
#include "tests/support/SettingsKeys.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace e2e;
using testing_registry::KeyExists;
using testing_registry::kProductKey;

class SavedSettings : public testing_registry::CleanSettingsTest
{
protected:
    // Waits for the program's message box, checks its text and buttons and
    // answers it.
    static void Answer(const OrtelanProcess& program, const std::wstring& text,
                       std::initializer_list<int> buttons, int answer)
    {
        HWND box = program.WaitForDialog(L"Ortelan");
        ASSERT_NE(nullptr, box) << "no message box";
        std::vector<std::wstring> statics = StaticTexts(box);
        EXPECT_NE(statics.end(), std::find(statics.begin(), statics.end(), text));
        for (int button : {IDOK, IDCANCEL, IDYES, IDNO})
        {
            HWND item = ::GetDlgItem(box, button);
            bool expected = std::find(buttons.begin(), buttons.end(), button) != buttons.end();
            EXPECT_EQ(expected, item != nullptr && ::IsWindowVisible(item) != FALSE) << "button " << button;
        }
        Click(::GetDlgItem(box, answer));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    }
};

TEST_F(SavedSettings, FirstRunWritesNothing)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Close());
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_FALSE(KeyExists(testing_registry::kMakerKey));
}

TEST_F(SavedSettings, PanelsTopMostAndPositionComeBackAtTheNextStart)
{
    {
        OrtelanProcess program;
        ASSERT_TRUE(program.Start());
        ChooseMenu(program.Frame(), ID_OPTION_SAVE_SETTINGS);
        ChooseMenu(program.Frame(), ID_VIEW_PERFORMANCE);
        ChooseMenu(program.Frame(), ID_OPTION_TOPMOST);
        ::SetWindowPos(program.Frame(), nullptr, 140, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(WaitUntil([&] { return WindowRect(program.Frame()).left == 140; }));
        ASSERT_TRUE(program.Close());
    }
    ASSERT_TRUE(KeyExists(kProductKey));
    DWORD shown = 1;
    ASSERT_TRUE(testing_registry::ReadDword(L"Menu_Performance", &shown));
    EXPECT_EQ(0u, shown);

    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    RECT rc = WindowRect(program.Frame());
    EXPECT_EQ(140, rc.left);
    EXPECT_EQ(90, rc.top);
    EXPECT_FALSE(::IsWindowVisible(program.Panel(IDC_PERF_CPU)));
    EXPECT_TRUE(::IsWindowVisible(program.Panel(IDC_DISK_SIZE)));
    EXPECT_TRUE(::GetWindowLongW(program.Frame(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_TRUE(program.Close());
}

TEST_F(SavedSettings, UntickingWarnsWhileSettingsExistAndCancelKeepsSaving)
{
    testing_registry::WriteAll(0, 1, 1, 1, RECT{20, 30, 320, 330});
    {
        OrtelanProcess program;
        ASSERT_TRUE(program.Start());
        ChooseMenu(program.Frame(), ID_OPTION_SAVE_SETTINGS);
        Answer(program,
               L"チェックをオフにしたままアプリケーションを終了すると、\nレジストリに保存した設定がクリアされます。",
               {IDOK, IDCANCEL}, IDCANCEL);
        ::SetWindowPos(program.Frame(), nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(WaitUntil([&] { return WindowRect(program.Frame()).left == 60; }));
        ASSERT_TRUE(program.Close());
    }
    DWORD left = 0;
    ASSERT_TRUE(testing_registry::ReadDword(L"Window_Left", &left));
    EXPECT_EQ(60u, left);
}

TEST_F(SavedSettings, ClearDeletesAtOnceAndNoKeepsTheTickForTheNextClose)
{
    testing_registry::WriteAll(0, 1, 1, 1, RECT{20, 30, 320, 330});
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    ChooseMenu(program.Frame(), ID_OPTION_CLEAR_SETTINGS);
    Answer(program, L"レジストリを消去します。よろしいですか。", {IDOK, IDCANCEL}, IDOK);
    EXPECT_FALSE(KeyExists(kProductKey));
    Answer(program, L"「設定をレジストリに保存」のチェックを外しますか。", {IDYES, IDNO}, IDNO);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(8u, testing_registry::ValueNames().size());
}

TEST_F(SavedSettings, EndOfTheWindowsSessionCleansUpAsACloseDoes)
{
    disktest::TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
    for (bool saving : {false, true})
    {
        SCOPED_TRACE(saving ? "saving" : "not saving");
        OrtelanProcess program;
        ASSERT_TRUE(program.Start());
        HWND frame = program.Frame();
        SetText(program.Control(IDC_MEMORY_AMOUNT), L"64");
        SetText(program.Control(IDC_DISK_FOLDER), folder.Path());
        SetText(program.Control(IDC_DISK_SIZE), L"2");
        // Sent, as the system sends its own messages, so each is done on return.
        DWORD_PTR result = 0;
        auto send = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, 10000, &result) != 0;
        };
        ASSERT_TRUE(send(program.Control(IDC_MEMORY_ALLOCATE), BM_CLICK, 0, 0));
        ASSERT_TRUE(send(program.Control(IDC_DISK_CREATE), BM_CLICK, 0, 0));
        ASSERT_EQ(2 * 1048576, disktest::FileSize(target));
        ASSERT_TRUE(!saving || send(frame, WM_COMMAND, ID_OPTION_SAVE_SETTINGS, 0));

        ASSERT_TRUE(send(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        EXPECT_EQ(TRUE, result);
        ASSERT_TRUE(send(frame, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF));
        EXPECT_TRUE(disktest::FileExists(target)) << "the session goes on";
        ASSERT_TRUE(send(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
        EXPECT_FALSE(disktest::FileExists(target));
        EXPECT_EQ(saving, KeyExists(kProductKey));
        ASSERT_TRUE(program.WaitForExit(10000));
        EXPECT_EQ(0u, program.ExitCode());
    }
}

TEST_F(SavedSettings, ClearWithoutSavedSettingsAsksNothing)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    ChooseMenu(program.Frame(), ID_OPTION_CLEAR_SETTINGS);
    EXPECT_EQ(nullptr, program.WaitForDialog(L"Ortelan", 700));
    ASSERT_TRUE(program.Close());
}

} // namespace
