#include "DiskTestSupport.h"

#include "disk/WndDisk.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <memory>
#include <utility>

// The panel's cases that need a look inside or conditions the end-to-end
// cases (tests/e2e/DiskPanelTest.cpp) do not set up.

namespace {

using namespace disktest;

const LONGLONG kMiB = 1048576;

// The panel as the frame has it: a child dialog from the real template.
class DiskPanelTest : public testing::Test
{
protected:
    void SetUp() override { Open(std::unique_ptr<CWndDisk>(new CWndDisk)); }
    void Open(std::unique_ptr<CWndDisk> disk)
    {
        parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(nullptr, parent);
        panel = std::move(disk);
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

TEST_F(DiskPanelTest, FieldAlwaysShowsTheSizeThatIsThenCreated)
{
    // Pasted texts: whole, in wide characters, ASCII digits only; beyond the
    // largest size, also far beyond 32 or 64 bits, the largest; negative, 1.
    const struct
    {
        std::wstring pasted;
        const wchar_t* shown;
    } cases[] = {
        {L"3000000000", L"95367431"},
        {L"4294967295", L"95367431"},
        {std::wstring(30, L'9'), L"95367431"},
        {L"-2147483648", L"1"},
        {std::wstring(28, L'0') + L"43", L"43"},
        {L"\t+2 ", L"2"},
        {L"\u221E", L"0"},
        {L"1\u09E8\u09E9", L"0"},
        {L"\u00A012", L"0"},
        {L"\uFEFF12", L"0"},
        {L"", L""},
    };
    SetText(IDC_DISK_FOLDER, folder.Path());
    for (const auto& item : cases)
    {
        SCOPED_TRACE(testing::PrintToString(item.pasted));
        SetText(IDC_DISK_SIZE, item.pasted);
        EXPECT_EQ(item.shown, Text(IDC_DISK_SIZE));
        int megabytes = item.shown[0] != L'\0' ? std::stoi(item.shown) : 0;
        if (megabytes > 64)
            continue;
        Press(IDC_DISK_CREATE);
        EXPECT_EQ(megabytes != 0 ? L"ファイル作成成功" : L"内部エラー", Status());
        if (megabytes != 0)
        {
            EXPECT_EQ(megabytes * kMiB, FileSize(target));
        }
    }
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

TEST_F(DiskPanelTest, DestroyingThePanelDeletesTheFile)
{
    Create(folder.Path(), L"1");
    ASSERT_TRUE(FileExists(target));
    ::DestroyWindow(panel->m_hWnd);
    EXPECT_TRUE(FileExists(target)) << "the file belongs to the object, not to the window";
    panel.reset();
    EXPECT_FALSE(FileExists(target));
}

// The step-down of the limit creation, which a file system that reports
// more free space than it can allocate (NTFS) needs and tmpfs never does.
// The mapping refuses every size above a limit, as a full volume does.

ULONGLONG g_firstAttempt = 0;
ULONGLONG g_lastAttempt = 0;
int g_attempts = 0;
// Sizes more than this below the first attempt are accepted.
ULONGLONG g_refusedMargin = 0;
ULONGLONG g_refusedAbove = 0;

HANDLE WINAPI MappingRefusingLargeSizes(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD high, DWORD low,
                                        LPCWSTR)
{
    ULONGLONG bytes = (static_cast<ULONGLONG>(high) << 32) | low;
    if (g_attempts++ == 0)
    {
        g_firstAttempt = bytes;
        g_refusedAbove = bytes > g_refusedMargin ? bytes - g_refusedMargin : 0;
    }
    g_lastAttempt = bytes;
    if (bytes > g_refusedAbove)
    {
        ::SetLastError(ERROR_DISK_FULL);
        return nullptr;
    }
    // Accepted: a token size, since the free space read may be the host's.
    return ::CreateFileMappingW(file, nullptr, protect, 0, 1, nullptr);
}

class DiskLimitStepTest : public DiskPanelTest
{
protected:
    void SetUp() override
    {
        g_attempts = 0;
        platform = RealDiskPlatform();
        platform.createFileMapping = MappingRefusingLargeSizes;
        platform.setFileValidData = nullptr;
        Open(std::unique_ptr<CWndDisk>(new CWndDisk(platform)));
    }
    DiskPlatform platform;
};

TEST_F(DiskLimitStepTest, StepsDown65535BytesUntilASizeIsAccepted)
{
    const ULONGLONG step = 65535;
    g_refusedMargin = 3 * step + 1000;
    SetText(IDC_DISK_FOLDER, folder.Path());
    Press(IDC_DISK_CREATE_LIMIT);

    EXPECT_EQ(L"ファイル作成成功", Status());
    EXPECT_EQ(5, g_attempts);
    EXPECT_EQ(g_firstAttempt - 4 * step, g_lastAttempt);
    EXPECT_EQ(std::to_wstring(g_firstAttempt >> 20), Text(IDC_DISK_SIZE));
    EXPECT_TRUE(FileExists(target));
}

TEST_F(DiskLimitStepTest, EndsBeforeTheAttemptWouldDropBelowZero)
{
    TestVolume volume = PanelVolume();
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    g_refusedMargin = ~0ULL;
    SetText(IDC_DISK_FOLDER, volume.path);
    Press(IDC_DISK_CREATE_LIMIT);

    // 134,217,728 bytes free: 2,048 steps, the last attempt at 2,048 bytes.
    EXPECT_EQ(L"ファイル作成失敗", Status());
    EXPECT_EQ(134217728u, g_firstAttempt);
    EXPECT_EQ(2049, g_attempts);
    EXPECT_EQ(2048u, g_lastAttempt);
    EXPECT_EQ(L"128", Text(IDC_DISK_SIZE));
    // The last attempt's empty file is held, as after any refused size.
    EXPECT_EQ(0, FileSize(volume.path + L"Ortelan.dat"));
    Press(IDC_DISK_DELETE);
    EXPECT_EQ(L"ファイルを削除しました", Status());
}

} // namespace
