// The baseline of the start-up, close and idle benchmarks: the least a
// program doing Ortelan's steady job can be. A window with two text lines,
// the commit charge and the CPU usage, refreshed every 500 ms from
// GlobalMemoryStatusEx, and a thread that reads GetSystemTimes every second.
#include <windows.h>

#include <cwchar>

namespace {

const wchar_t kClassName[] = L"OrtelanBenchBareJob";
const UINT_PTR kTimerId = 1;
const int kCommitLine = 1;
const int kCpuLine = 2;

volatile LONG g_cpuUsage = 0;

ULONGLONG Units(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

DWORD WINAPI SamplerProc(LPVOID)
{
    ULONGLONG lastBusy = 0;
    ULONGLONG lastTotal = 0;
    for (;;)
    {
        FILETIME idle;
        FILETIME kernel;
        FILETIME user;
        if (::GetSystemTimes(&idle, &kernel, &user))
        {
            ULONGLONG total = Units(kernel) + Units(user);
            ULONGLONG busy = total - Units(idle);
            if (total > lastTotal)
                ::InterlockedExchange(&g_cpuUsage, static_cast<LONG>((busy - lastBusy) * 100 / (total - lastTotal)));
            lastBusy = busy;
            lastTotal = total;
        }
        ::Sleep(1000);
    }
}

void Refresh(HWND window)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    wchar_t text[64];
    swprintf(text, 64, L"%I64u MB / %I64u MB", (status.ullTotalPageFile - status.ullAvailPageFile) >> 20,
             status.ullTotalPageFile >> 20);
    ::SetDlgItemTextW(window, kCommitLine, text);
    swprintf(text, 64, L"CPU %ld %%", static_cast<long>(g_cpuUsage));
    ::SetDlgItemTextW(window, kCpuLine, text);
}

LRESULT CALLBACK BareWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_CREATE:
        // A line that cannot be made stays blank; the refresh goes on.
        for (int line = kCommitLine; line <= kCpuLine; ++line)
            static_cast<void>(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 25 * line - 15, 260,
                                                20, hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(line)),
                                                nullptr, nullptr));
        Refresh(hWnd);
        ::SetTimer(hWnd, kTimerId, 500, nullptr);
        return 0;
    case WM_TIMER:
        Refresh(hWnd);
        return 0;
    case WM_DESTROY:
        ::KillTimer(hWnd, kTimerId);
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int showCommand)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0)
        return 1;
    HWND window = ::CreateWindowExW(0, kClassName, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    300, 120, nullptr, nullptr, hInstance, nullptr);
    if (window == nullptr)
        return 1;
    HANDLE sampler = ::CreateThread(nullptr, 0, SamplerProc, nullptr, 0, nullptr);
    if (sampler != nullptr)
        ::CloseHandle(sampler);
    ::ShowWindow(window, showCommand);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
