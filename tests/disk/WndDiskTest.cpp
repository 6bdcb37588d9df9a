#include "DiskTestSupport.h"

#include "disk/WndDisk.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <memory>

namespace {

using namespace disktest;

const LONGLONG kMiB = 1048576;

// The panel as the frame has it: a child dialog from the real template.
class DiskPanelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(nullptr, parent);
        panel.reset(new CWndDisk);
        ASSERT_NE(nullptr, panel->Create(parent));
    }
    void TearDown() override
    {
        panel.reset();
        ::DestroyWindow(parent);
    }

    std::wstring Text(int id) const
    {
        WCHAR text[600] = L"";
        ::GetDlgItemTextW(panel->m_hWnd, id, text, 600);
        return text;
    }
    void SetText(int id, const std::wstring& text) { ::SetDlgItemTextW(panel->m_hWnd, id, text.c_str()); }
    // What the button sends its dialog when it is clicked.
    void Press(int id)
    {
        ::SendMessageW(panel->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(panel->m_hWnd, id)));
    }
    void Create(const std::wstring& folder, const std::wstring& megabytes)
    {
        SetText(IDC_DISK_FOLDER, folder);
        SetText(IDC_DISK_SIZE, megabytes);
        Press(IDC_DISK_CREATE);
    }
    std::wstring Status() const { return Text(IDC_DISK_STATUS); }
    std::wstring SizeLine() const { return Text(IDC_DISK_SIZE_TEXT); }

    static std::wstring Line(int megabytes) { return L"ファイルサイズ: " + std::to_wstring(megabytes) + L"MB"; }

    HWND parent = nullptr;
    std::unique_ptr<CWndDisk> panel;
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
};

TEST_F(DiskPanelTest, StartsWithOneMegabyteNothingHeldAndTheTemplateStatus)
{
    EXPECT_EQ(L"1", Text(IDC_DISK_SIZE));
    EXPECT_EQ(Line(0), SizeLine());
    EXPECT_EQ(L"ディスク確保待ち", Status());
    EXPECT_EQ(L"", Text(IDC_DISK_FOLDER));

    HWND spin = ::GetDlgItem(panel->m_hWnd, IDC_DISK_SPIN);
    EXPECT_EQ(::GetDlgItem(panel->m_hWnd, IDC_DISK_SIZE), reinterpret_cast<HWND>(::SendMessageW(spin, UDM_GETBUDDY, 0, 0)));
    int low = 0;
    int high = 0;
    ::SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(1, low);
    EXPECT_EQ(95367431, high);
}

TEST_F(DiskPanelTest, WithoutAnExistingFolderNothingChanges)
{
    Create(L"", L"1");
    EXPECT_EQ(L"フォルダが存在しません", Status());
    EXPECT_FALSE(FileExists(target));

    Create(folder.Path(), L"3");
    ASSERT_EQ(3 * kMiB, FileSize(target));
    for (int button : {IDC_DISK_CREATE, IDC_DISK_CREATE_LIMIT})
    {
        SetText(IDC_DISK_STATUS, L"");
        SetText(IDC_DISK_SIZE, L"5");
        SetText(IDC_DISK_FOLDER, folder.Path(L"missing"));
        Press(button);
        EXPECT_EQ(L"フォルダが存在しません", Status()) << button;
        EXPECT_EQ(3 * kMiB, FileSize(target)) << button;
        EXPECT_EQ(Line(3), SizeLine()) << button;
        EXPECT_EQ(L"5", Text(IDC_DISK_SIZE)) << button;
    }
}

TEST_F(DiskPanelTest, CreatesReplacesAndMovesTheOneFile)
{
    Create(folder.Path(), L"1");
    EXPECT_EQ(L"ファイル作成成功", Status());
    EXPECT_EQ(kMiB, FileSize(target));
    EXPECT_EQ(Line(1), SizeLine());

    Create(folder.Path(), L"2");
    EXPECT_EQ(2 * kMiB, FileSize(target));
    EXPECT_EQ(Line(2), SizeLine());

    std::wstring second = folder.Subfolder(L"second");
    Create(second, L"2");
    EXPECT_EQ(L"ファイル作成成功", Status());
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(2 * kMiB, FileSize(second + L"\\Ortelan.dat"));
}

TEST_F(DiskPanelTest, ForeignFileOfTheSameNameStaysAndNothingIsHeld)
{
    std::wstring other = folder.Subfolder(L"other");
    const std::string content = "not Ortelan's";
    ASSERT_TRUE(WriteWholeFile(other + L"\\Ortelan.dat", content));
    Create(folder.Path(), L"2");

    Create(other, L"1");
    EXPECT_EQ(L"同名のファイルが存在します", Status());
    EXPECT_EQ(content, ReadWholeFile(other + L"\\Ortelan.dat"));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(Line(0), SizeLine());
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルが見つかりません", Status());
}

TEST_F(DiskPanelTest, ReadOnlyFolderIsAccessDenied)
{
    TestVolume volume = ReadOnlyVolume();
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    Create(folder.Path(), L"1");
    Create(volume.path, L"1");
    EXPECT_EQ(L"アクセス権限がありません", Status());
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(Line(0), SizeLine());
}

TEST_F(DiskPanelTest, SizeZeroIsAnInternalErrorThatKeepsWhatWasHeld)
{
    Create(folder.Path(), L"0");
    EXPECT_EQ(L"内部エラー", Status());
    EXPECT_EQ(0, FileSize(target));
    EXPECT_EQ(Line(0), SizeLine());

    std::wstring second = folder.Subfolder(L"second");
    Create(folder.Path(), L"1");
    Create(second, L"");
    EXPECT_EQ(L"内部エラー", Status());
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(kMiB, FileSize(second + L"\\Ortelan.dat"));
    EXPECT_EQ(Line(1), SizeLine());
}

TEST_F(DiskPanelTest, FolderTooLongForTheFileNameChangesNothing)
{
    // A real folder of 250 code units: with "\Ortelan.dat" the path would no
    // longer fit MAX_PATH, and PathAppendW gives up on it.
    std::wstring longFolder = folder.Subfolder(std::wstring(250 - folder.Path().size() - 1, L'l'));
    ASSERT_EQ(250u, longFolder.size());
    ASSERT_TRUE(::PathIsDirectoryW(longFolder.c_str()));
    Create(folder.Path(), L"1");
    SetText(IDC_DISK_STATUS, L"");

    for (int button : {IDC_DISK_CREATE, IDC_DISK_CREATE_LIMIT})
    {
        SetText(IDC_DISK_FOLDER, longFolder);
        SetText(IDC_DISK_SIZE, L"2");
        Press(button);
        EXPECT_EQ(L"内部エラー", Status()) << button;
        EXPECT_EQ(kMiB, FileSize(target)) << button;
        EXPECT_EQ(Line(1), SizeLine()) << button;
        EXPECT_EQ(L"2", Text(IDC_DISK_SIZE)) << button;
    }
    TempFolder::RemoveTree(longFolder);
}

TEST_F(DiskPanelTest, DeletionReportsWhatItFound)
{
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルが見つかりません", Status());

    Create(folder.Path(), L"1");
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルを削除しました", Status());
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(Line(0), SizeLine());

    Create(folder.Path(), L"1");
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルが作られていません", Status());
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルが見つかりません", Status());
}

TEST_F(DiskPanelTest, LimitWithUnreadableFreeSpaceCreatesNothing)
{
    // A relative folder exists, but has no root whose free space can be read.
    Create(folder.Path(), L"1");
    WCHAR current[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
    SetText(IDC_DISK_FOLDER, L".");
    Press(IDC_DISK_CREATE_LIMIT);
    ::SetCurrentDirectoryW(current);

    EXPECT_EQ(L"ファイル作成失敗", Status());
    EXPECT_EQ(L"0", Text(IDC_DISK_SIZE));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(Line(0), SizeLine());
}

TEST_F(DiskPanelTest, SizeFieldIsCappedAndKeepsTheCaret)
{
    HWND edit = ::GetDlgItem(panel->m_hWnd, IDC_DISK_SIZE);
    SetText(IDC_DISK_SIZE, L"9999999");
    ::SendMessageW(edit, EM_SETSEL, 3, 3);
    ::SendMessageW(edit, WM_CHAR, L'9', 1);
    EXPECT_EQ(L"95367431", Text(IDC_DISK_SIZE));
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(4u, start);
    EXPECT_EQ(4u, end);

    SetText(IDC_DISK_SIZE, L"95367431");
    EXPECT_EQ(L"95367431", Text(IDC_DISK_SIZE));
    SetText(IDC_DISK_SIZE, L"95367432");
    EXPECT_EQ(L"95367431", Text(IDC_DISK_SIZE));
    SetText(IDC_DISK_SIZE, L"-5");
    EXPECT_EQ(L"1", Text(IDC_DISK_SIZE));
    SetText(IDC_DISK_SIZE, L"0");
    EXPECT_EQ(L"0", Text(IDC_DISK_SIZE));
}

TEST_F(DiskPanelTest, DestroyingThePanelDeletesTheFile)
{
    Create(folder.Path(), L"1");
    ASSERT_TRUE(FileExists(target));
    ::DestroyWindow(panel->m_hWnd);
    EXPECT_TRUE(FileExists(target)) << "the file belongs to the object, not to the window";
    panel.reset();
    EXPECT_FALSE(FileExists(target));
}

// On the panel's own 128 MiB volume, a drive of the test prefix.
class DiskPanelOnVolumeTest : public DiskPanelTest
{
protected:
    void SetUp() override
    {
        volume = PanelVolume();
        if (volume.path.empty())
            GTEST_SKIP() << volume.missing;
        DiskPanelTest::SetUp();
    }
    TestVolume volume;
};

TEST_F(DiskPanelOnVolumeTest, RequestAboveTheFreeSpaceFailsAndPutsTheEarlierSizeBack)
{
    std::wstring onVolume = volume.path + L"Ortelan.dat";
    Create(volume.path, L"100");
    ASSERT_EQ(L"ファイル作成成功", Status());

    Create(volume.path, L"200");
    EXPECT_EQ(L"ファイル作成失敗", Status());
    EXPECT_EQ(100 * kMiB, FileSize(onVolume));
    EXPECT_EQ(Line(100), SizeLine());

    Press(IDC_DISK_DELETE);
    Create(volume.path, L"200");
    EXPECT_EQ(L"ファイル作成失敗", Status());
    EXPECT_EQ(0, FileSize(onVolume));
    EXPECT_EQ(Line(0), SizeLine());
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルを削除しました", Status());
    EXPECT_FALSE(FileExists(onVolume));
}

TEST_F(DiskPanelOnVolumeTest, LimitFillsTheVolumeWithOneFile)
{
    // A file held elsewhere is given up first.
    Create(folder.Path(), L"1");
    std::wstring onVolume = volume.path + L"Ortelan.dat";
    ULONGLONG freeBefore = FreeBytes(volume.path);
    ASSERT_GT(freeBefore, ULONGLONG(100 * kMiB));

    SetText(IDC_DISK_FOLDER, volume.path);
    Press(IDC_DISK_CREATE_LIMIT);
    EXPECT_EQ(L"ファイル作成成功", Status());
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(std::to_wstring(freeBefore >> 20), Text(IDC_DISK_SIZE));
    LONGLONG made = FileSize(onVolume);
    EXPECT_LE(made, LONGLONG(freeBefore));
    EXPECT_GT(made, LONGLONG(freeBefore) - 65535);
    EXPECT_EQ(Line(static_cast<int>(made >> 20)), SizeLine());
    EXPECT_EQ(0u, FreeBytes(volume.path));

    panel.reset();
    EXPECT_EQ(freeBefore, FreeBytes(volume.path));
}

} // namespace
