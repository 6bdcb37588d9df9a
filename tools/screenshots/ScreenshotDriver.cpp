#include "res/resource.h"
#include "tests/support/Program.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

// Takes a running Ortelan through the states that the README shows. At each
// one it prints "shot NAME LEFT TOP WIDTH HEIGHT", the part of the screen
// to keep, and waits until tools/screenshots.sh has taken the picture and
// said so by creating NAME.done in the folder ORTELAN_SHOTS.

namespace {

using namespace support;

// A folder that every Windows and every Wine prefix has.
const wchar_t kDiskFolder[] = L"C:\\Users\\Public\\Documents";
const DWORD kPictureTimeoutMs = 30000;
// Long enough for the program to paint what it was just given.
const DWORD kPaintMs = 700;

bool Shot(const std::wstring& name, const RECT& area)
{
    ::Sleep(kPaintMs);
    std::printf("shot %ls %ld %ld %ld %ld\n", name.c_str(), area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    std::fflush(stdout);
    std::wstring done = HostPathFromEnvironment("ORTELAN_SHOTS") + L"\\" + name + L".done";
    return WaitUntil([&] { return ::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
                     kPictureTimeoutMs);
}

bool TextBecomes(HWND control, const std::wstring& text)
{
    return WaitUntil([&] { return Text(control) == text; });
}

HWND OpenPopupMenu()
{
    HWND popup = nullptr;
    WaitUntil([&] {
        std::vector<HWND> popups = TopLevelWindows(L"#32768");
        popup = popups.empty() ? nullptr : popups.front();
        return popup != nullptr;
    });
    return popup;
}

bool ShowStates(const Ortelan& program)
{
    HWND frame = program.Frame();
    // The CPU line shows its first measurement after about a second.
    ::Sleep(1500);
    if (!Shot(L"start", WindowRect(frame)))
        return false;

    SetText(program.Control(IDC_MEMORY_AMOUNT), L"512");
    program.Press(IDC_MEMORY_ALLOCATE);
    if (!TextBecomes(program.Control(IDC_MEMORY_HELD), L"メモリ確保量: 512MB") ||
        !Shot(L"memory", WindowRect(frame)))
        return false;

    SetText(program.Control(IDC_DISK_FOLDER), kDiskFolder);
    SetText(program.Control(IDC_DISK_SIZE), L"100");
    program.Press(IDC_DISK_CREATE);
    if (!TextBecomes(program.Control(IDC_DISK_SIZE_TEXT), L"ファイルサイズ: 100MB") ||
        !Shot(L"disk", WindowRect(frame)))
        return false;

    // Alt+O, as the keyboard opens the options menu.
    ::PostMessageW(frame, WM_SYSCOMMAND, SC_KEYMENU, L'o');
    HWND popup = OpenPopupMenu();
    if (popup == nullptr)
        return false;
    RECT frameRect = WindowRect(frame), popupRect = WindowRect(popup), withMenu = {};
    ::UnionRect(&withMenu, &frameRect, &popupRect);
    if (!Shot(L"menu", withMenu))
        return false;
    PressKey(frame, VK_ESCAPE);
    PressKey(frame, VK_ESCAPE);
    if (!WaitUntil([&] { return !::IsWindowVisible(popup); }))
        return false;

    program.Choose(ID_APP_ABOUT);
    HWND about = program.WaitForDialog(L"バージョン情報");
    if (about == nullptr || !Shot(L"about", WindowRect(about)))
        return false;
    ::PostMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !::IsWindow(about); });
}

} // namespace

int wmain()
{
    // Lines end in a bare line feed, as the script reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    Ortelan program;
    if (program.Frame() == nullptr)
    {
        std::fprintf(stderr, "Ortelan did not start\n");
        return 1;
    }
    bool shown = ShowStates(program);
    bool closed = program.Close();
    if (!shown || !closed)
    {
        std::fprintf(stderr, "Ortelan did not reach every state\n");
        return 1;
    }
    std::printf("end\n");
    return 0;
}
