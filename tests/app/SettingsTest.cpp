#include "FrameFixture.h"
#include "MessageBoxAnswers.h"

#include "settings/SettingsRegistry.h"

#include <algorithm>
#include <limits>

namespace {

using namespace testing_registry;

const wchar_t kWarning[] = L"チェックをオフにしたままアプリケーションを終了すると、\n"
                           L"レジストリに保存した設定がクリアされます。";
const wchar_t kConfirmClear[] = L"レジストリを消去します。よろしいですか。";
const wchar_t kAskUncheck[] = L"「設定をレジストリに保存」のチェックを外しますか。";

RECT WorkArea()
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool IsTopMost(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class SettingsTest : public FrameTest
{
};

TEST_F(SettingsTest, FirstRunHasDefaultsAndLeavesNoKey)
{
    // An empty maker key, as an earlier run may leave it, goes too.
    CreateKey(kMakerKey);
    CMainFrame& frame = CreateFrame();
    EXPECT_EQ(0u, MenuState(ID_OPTION_SAVE_SETTINGS));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), MenuState(ID_OPTION_CLEAR_SETTINGS) & MF_GRAYED);
    EXPECT_EQ(0u, MenuState(ID_OPTION_TOPMOST));
    for (auto& panel : frame.m_panels)
    {
        EXPECT_TRUE(panel.second.shown);
        EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(panel.second.menuId));
    }
    EXPECT_FALSE(IsTopMost(frame));
    CloseFrame();
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_FALSE(KeyExists(kMakerKey));
}

TEST_F(SettingsTest, TickedCloseWritesTheEightValuesAndTheNextStartRestoresThem)
{
    CMainFrame& frame = CreateFrame();
    Command(ID_OPTION_SAVE_SETTINGS);
    Command(ID_VIEW_DISK);
    Command(ID_OPTION_TOPMOST);
    ::SetWindowPos(frame, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT saved = Window();
    CloseFrame();

    // Wine lists a key's values sorted by name, so only the set is checked.
    std::vector<std::wstring> expectedNames = {L"Menu_Disk", L"Menu_Memory", L"Menu_Performance",
                                               L"Menu_TopMost", L"Window_Bottom", L"Window_Left",
                                               L"Window_Right", L"Window_Top"};
    std::vector<std::wstring> names = ValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(expectedNames, names);
    DWORD value = 99;
    EXPECT_TRUE(ReadDword(L"Menu_TopMost", &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(ReadDword(L"Menu_Memory", &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(ReadDword(L"Menu_Disk", &value));
    EXPECT_EQ(0u, value);
    EXPECT_TRUE(ReadDword(L"Menu_Performance", &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(ReadDword(L"Window_Left", &value));
    EXPECT_EQ(static_cast<DWORD>(saved.left), value);
    EXPECT_TRUE(ReadDword(L"Window_Bottom", &value));
    EXPECT_EQ(static_cast<DWORD>(saved.bottom), value);

    CMainFrame& again = CreateFrame();
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
    EXPECT_EQ(0u, MenuState(ID_OPTION_CLEAR_SETTINGS));
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_TOPMOST));
    EXPECT_TRUE(IsTopMost(again));
    EXPECT_EQ(0u, MenuState(ID_VIEW_DISK));
    EXPECT_FALSE(IsShown(again.m_disk));
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_VIEW_MEMORY));
    RECT restored = Window();
    EXPECT_EQ(saved.left, restored.left);
    EXPECT_EQ(saved.top, restored.top);
    // The size is the layout's, for the panels now shown.
    EXPECT_EQ(saved.right - saved.left, restored.right - restored.left);
}

TEST_F(SettingsTest, ClosingWhileMinimisedSavesTheLastNormalRectangle)
{
    CMainFrame& frame = CreateFrame();
    frame.ShowWindow(SW_SHOWNOACTIVATE);
    Command(ID_OPTION_SAVE_SETTINGS);
    ::SetWindowPos(frame, nullptr, 150, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT normal = Window();
    frame.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(frame.IsIconic());
    CloseFrame();

    DWORD left = 0;
    DWORD top = 0;
    DWORD right = 0;
    ASSERT_TRUE(ReadDword(L"Window_Left", &left));
    ASSERT_TRUE(ReadDword(L"Window_Top", &top));
    ASSERT_TRUE(ReadDword(L"Window_Right", &right));
    EXPECT_EQ(normal.left, static_cast<LONG>(left));
    EXPECT_EQ(normal.top, static_cast<LONG>(top));
    EXPECT_EQ(normal.right, static_cast<LONG>(right));
}

TEST_F(SettingsTest, RestoredFrameIsWhollyInsideTheWorkArea)
{
    CreateFrame();
    RECT placed = Window();
    RECT work = WorkArea();
    const LONG least = std::numeric_limits<LONG>::min();
    const LONG most = std::numeric_limits<LONG>::max();
    // A reversed or empty rectangle is no position at all: the system's stands.
    const struct
    {
        RECT stored;
        bool systemPlaces;
    } cases[] = {
        {{-3000, -2000, -2700, -1600}, false},
        {{100000, 100, 0, 400}, true},
        {{100, most, 400, 300}, true},
        {{100, -100000, 400, -100000}, true},
        {{least, least, most, most}, false},
        {{least, 100, 300, 400}, false},
        {{0, 0, 5000, 300}, false},
        // Lower than the frame the layout then makes.
        {{100, work.bottom - 100, 400, work.bottom}, false},
    };
    for (const auto& item : cases)
    {
        SCOPED_TRACE(testing::Message() << item.stored.left << "," << item.stored.top << ","
                                        << item.stored.right << "," << item.stored.bottom);
        WriteAll(0, 1, 1, 1, item.stored);
        CMainFrame& frame = CreateFrame();
        RECT rc = Window();
        EXPECT_GE(rc.left, work.left);
        EXPECT_GE(rc.top, work.top);
        EXPECT_LE(rc.right, work.right);
        EXPECT_LE(rc.bottom, work.bottom);
        EXPECT_TRUE(::EqualRect(&rc, &frame.m_rcWindow));
        if (item.systemPlaces)
        {
            EXPECT_EQ(placed.left, rc.left);
            EXPECT_EQ(placed.top, rc.top);
        }
    }
}

TEST_F(SettingsTest, EdgeOfAnotherTypeLeavesThePositionToTheSystemWhileFlagsApply)
{
    WriteAll(1, 1, 0, 1, RECT{300, 200, 500, 400});
    WriteString(L"Window_Left", L"300");
    CMainFrame& frame = CreateFrame();
    RECT rc = Window();
    EXPECT_NE(300, rc.left);
    EXPECT_NE(200, rc.top);
    EXPECT_FALSE(IsShown(frame.m_disk));
    EXPECT_TRUE(IsTopMost(frame));
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
}

TEST_F(SettingsTest, MissingOrMistypedPanelFlagLeavesThatPanelShown)
{
    WriteDword(L"Menu_TopMost", 0);
    WriteDword(L"Menu_Memory", 0);
    WriteDword(L"Menu_Performance", 0);
    CMainFrame& frame = CreateFrame();
    EXPECT_FALSE(IsShown(frame.m_memory));
    EXPECT_TRUE(IsShown(frame.m_disk));
    EXPECT_FALSE(IsShown(frame.m_performance));
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_VIEW_DISK));
    DestroyFrame();

    WriteString(L"Menu_Disk", L"0");
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_WRITE, &key);
    const BYTE eight[8] = {};
    ::RegSetValueExW(key, L"Menu_Memory", 0, REG_BINARY, eight, sizeof(eight));
    ::RegCloseKey(key);
    CMainFrame& again = CreateFrame();
    EXPECT_TRUE(IsShown(again.m_memory));
    EXPECT_TRUE(IsShown(again.m_disk));
    EXPECT_FALSE(IsShown(again.m_performance));
}

TEST_F(SettingsTest, UntickingWithoutSavedSettingsAsksNothing)
{
    CreateFrame();
    Command(ID_OPTION_SAVE_SETTINGS);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
    MessageBoxAnswers answers({IDOK});
    Command(ID_OPTION_SAVE_SETTINGS);
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_EQ(0u, MenuState(ID_OPTION_SAVE_SETTINGS));
}

TEST_F(SettingsTest, UntickingWithSavedSettingsWarnsAndCancelKeepsTheTick)
{
    WriteAll(0, 1, 1, 1, RECT{10, 10, 300, 300});
    CreateFrame();
    ASSERT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
    {
        MessageBoxAnswers answers({IDCANCEL});
        Command(ID_OPTION_SAVE_SETTINGS);
        ASSERT_EQ(1u, answers.seen().size());
        const auto& box = answers.seen()[0];
        EXPECT_EQ(L"Ortelan", box.caption);
        EXPECT_EQ(kWarning, box.text);
        EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
        EXPECT_EQ(::LoadIconW(nullptr, IDI_EXCLAMATION), box.icon);
    }
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
    {
        MessageBoxAnswers answers({IDOK});
        Command(ID_OPTION_SAVE_SETTINGS);
        EXPECT_EQ(1u, answers.seen().size());
    }
    EXPECT_EQ(0u, MenuState(ID_OPTION_SAVE_SETTINGS));
    // The key stays until the program closes with the tick off.
    EXPECT_TRUE(KeyExists(kProductKey));
    CloseFrame();
    EXPECT_FALSE(KeyExists(kProductKey));
}

TEST_F(SettingsTest, ClearingAsksDeletesAtOnceAndNoKeepsSaving)
{
    WriteAll(0, 1, 1, 1, RECT{10, 10, 300, 300});
    CreateFrame();
    {
        MessageBoxAnswers answers({IDOK, IDNO});
        Command(ID_OPTION_CLEAR_SETTINGS);
        ASSERT_EQ(2u, answers.seen().size());
        EXPECT_EQ(kConfirmClear, answers.seen()[0].text);
        EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), answers.seen()[0].buttons);
        EXPECT_EQ(::LoadIconW(nullptr, IDI_QUESTION), answers.seen()[0].icon);
        EXPECT_EQ(kAskUncheck, answers.seen()[1].text);
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), answers.seen()[1].buttons);
        EXPECT_EQ(::LoadIconW(nullptr, IDI_QUESTION), answers.seen()[1].icon);
        EXPECT_EQ(L"Ortelan", answers.seen()[1].caption);
    }
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_FALSE(KeyExists(kMakerKey));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), MenuState(ID_OPTION_CLEAR_SETTINGS) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
    CloseFrame();
    EXPECT_EQ(8u, ValueNames().size());
}

TEST_F(SettingsTest, ClearingCancelledKeepsTheKeyAndYesUnticksSaving)
{
    WriteAll(0, 1, 1, 1, RECT{10, 10, 300, 300});
    CreateFrame();
    {
        MessageBoxAnswers answers({IDCANCEL});
        Command(ID_OPTION_CLEAR_SETTINGS);
        EXPECT_EQ(1u, answers.seen().size());
    }
    EXPECT_TRUE(KeyExists(kProductKey));
    {
        MessageBoxAnswers answers({IDOK, IDYES});
        Command(ID_OPTION_CLEAR_SETTINGS);
        EXPECT_EQ(2u, answers.seen().size());
    }
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_EQ(0u, MenuState(ID_OPTION_SAVE_SETTINGS));
    CloseFrame();
    EXPECT_FALSE(KeyExists(kProductKey));
}

TEST_F(SettingsTest, OnlyAnExplicitOkActs)
{
    // A box destroyed unanswered, as with its owner, answers 0. The spare
    // answer is for a third question, which must not come.
    WriteAll(0, 1, 1, 1, RECT{10, 10, 300, 300});
    CreateFrame();
    {
        MessageBoxAnswers answers({0, 0, IDNO});
        Command(ID_OPTION_SAVE_SETTINGS);
        Command(ID_OPTION_CLEAR_SETTINGS);
        EXPECT_EQ(2u, answers.seen().size());
    }
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_OPTION_SAVE_SETTINGS));
    EXPECT_TRUE(KeyExists(kProductKey));
}

TEST_F(SettingsTest, ClearItemStaysEnabledWhileTheKeyIsThere)
{
    // Wine takes a sub-key name longer than the 255 characters that the
    // deletion enumerates, so the product key cannot be deleted.
    WriteAll(0, 1, 1, 1, RECT{10, 10, 300, 300});
    CreateKey((std::wstring(kProductKey) + L"\\" + std::wstring(256, L'k')).c_str());
    CreateFrame();
    {
        MessageBoxAnswers answers({IDOK, IDNO});
        Command(ID_OPTION_CLEAR_SETTINGS);
    }
    ASSERT_TRUE(KeyExists(kProductKey));
    EXPECT_EQ(0u, MenuState(ID_OPTION_CLEAR_SETTINGS) & MF_GRAYED);
}

TEST_F(SettingsTest, ClearingWithoutSavedSettingsDoesNothing)
{
    CreateFrame();
    MessageBoxAnswers answers({IDOK});
    Command(ID_OPTION_CLEAR_SETTINGS);
    EXPECT_TRUE(answers.seen().empty());
}

TEST_F(SettingsTest, MakerKeyWithAnotherProductSurvivesEveryDeletion)
{
    CreateKey(L"Software\\Pellicorn\\Another");
    WriteAll(0, 1, 1, 1, RECT{10, 10, 300, 300});
    CreateFrame();
    {
        MessageBoxAnswers answers({IDOK, IDYES});
        Command(ID_OPTION_CLEAR_SETTINGS);
    }
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_TRUE(KeyExists(L"Software\\Pellicorn\\Another"));
    CloseFrame();
    EXPECT_TRUE(KeyExists(L"Software\\Pellicorn\\Another"));
}

TEST(DeleteKeyTree, RemovesNestedSubKeysAndReportsAMissingKey)
{
    testing_registry::RemoveAllSettings();
    CreateKey(L"Software\\Pellicorn\\Ortelan\\a\\b\\c");
    CreateKey(L"Software\\Pellicorn\\Ortelan\\d");
    EXPECT_EQ(ERROR_SUCCESS, settings::DeleteKeyTree(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_TRUE(KeyExists(kMakerKey));
    EXPECT_NE(ERROR_SUCCESS, settings::DeleteKeyTree(HKEY_CURRENT_USER, kProductKey));
    testing_registry::RemoveAllSettings();
}

} // namespace
