// Measures what the performance monitor costs: the CPU time of the whole
// running program while idle, beside a bare window with a 500 ms timer run at
// the same time, and the time of one refresh of the panel, beside two plain
// text updates.
//   build/wine-exec.sh build/bench/perf/perf_bench.exe [idle seconds, 60]
#include "ProcessCpu.h"
#include "perf/WndPerformanceMonitor.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring ThisFolder()
{
    WCHAR path[1024] = L"";
    DWORD length = ::GetModuleFileNameW(nullptr, path, 1024);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

struct Program
{
    const wchar_t* name;
    std::wstring path;
    const wchar_t* windowClass;
    PROCESS_INFORMATION info = {};
    HWND window = nullptr;
};

struct WindowSearch
{
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    WCHAR className[64] = L"";
    ::GetClassNameW(window, className, 64);
    if (processId == search->processId && ::lstrcmpW(className, search->windowClass) == 0
        && ::IsWindowVisible(window))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool Start(Program& program)
{
    std::wstring commandLine = L"\"" + program.path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &program.info))
        return false;
    for (int i = 0; i < 500 && program.window == nullptr; ++i)
    {
        WindowSearch search = {program.info.dwProcessId, program.windowClass, nullptr};
        ::EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        program.window = search.found;
        if (program.window == nullptr)
            ::Sleep(20);
    }
    return program.window != nullptr;
}

void Stop(Program& program)
{
    if (program.info.hProcess == nullptr)
        return;
    if (program.window != nullptr)
        ::PostMessageW(program.window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(program.info.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(program.info.hProcess, 1);
    ::CloseHandle(program.info.hThread);
    ::CloseHandle(program.info.hProcess);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int MeasureIdle(int seconds)
{
    std::wstring folder = ThisFolder();
    Program ortelan = {L"Ortelan.exe", folder + L"..\\..\\Ortelan.exe", L"OT_MainFrame"};
    Program bare = {L"bare window, 500 ms timer", folder + L"bare_timer_window.exe",
                    L"OrtelanBenchBareWindow"};
    if (!Start(ortelan) || !Start(bare))
    {
        std::printf("could not start both programs\n");
        Stop(ortelan);
        Stop(bare);
        return 1;
    }

    CProcessCpuClock ortelanClock(ortelan.info, ortelan.path);
    CProcessCpuClock bareClock(bare.info, bare.path);
    // Start-up is not idle time.
    ::Sleep(2000);
    double ortelanBefore = ortelanClock.ElapsedMs();
    double bareBefore = bareClock.ElapsedMs();
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    double ortelanMs = ortelanClock.ElapsedMs() - ortelanBefore;
    double bareMs = bareClock.ElapsedMs() - bareBefore;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&end);
    double wallMs = Seconds(start, end) * 1000.0;
    Stop(ortelan);
    Stop(bare);

    std::printf("Idle CPU time over %.1f s, both programs running at once (%s):\n", wallMs / 1000.0,
                ortelanClock.Source());
    std::printf("  %-28ls %9.2f ms  %7.4f %% of one core   (goal <= 0.2 %%)\n", ortelan.name,
                ortelanMs, 100.0 * ortelanMs / wallMs);
    std::printf("  %-28ls %9.2f ms  %7.4f %% of one core\n", bare.name, bareMs, 100.0 * bareMs / wallMs);
    if (bareMs > 0)
        std::printf("  ratio Ortelan / bare window  %9.2f                        (goal <= 1.5)\n",
                    ortelanMs / bareMs);
    else
        std::printf("  ratio Ortelan / bare window  not measurable: the bare window took no CPU time\n");
    return 0;
}

// A refresh against its own floor: two lines set to fixed texts.
int MeasureRefresh()
{
    const int kCalls = 2000;
    HWND host = ::CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    CWndPerformanceMonitor panel;
    HWND dialog = panel.Create(host);
    if (dialog == nullptr)
    {
        std::printf("could not create the panel\n");
        return 1;
    }
    ::ShowWindow(host, SW_SHOW);

    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < kCalls; ++i)
        panel.UpdateDisplay();
    ::QueryPerformanceCounter(&end);
    double refreshUs = Seconds(start, end) * 1e6 / kCalls;

    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < kCalls; ++i)
    {
        ::SetDlgItemTextW(dialog, IDC_PERF_CPU, L"CPU使用率: 0%");
        ::SetDlgItemTextW(dialog, IDC_PERF_COMMIT, L"コミットチャージ: 0MB / 0MB");
    }
    ::QueryPerformanceCounter(&end);
    double floorUs = Seconds(start, end) * 1e6 / kCalls;
    ::DestroyWindow(dialog);
    ::DestroyWindow(host);

    std::printf("One refresh of the panel, mean of %d:\n", kCalls);
    std::printf("  UpdateDisplay                %9.1f us\n", refreshUs);
    std::printf("  two SetDlgItemTextW, fixed   %9.1f us   (baseline)\n", floorUs);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds <= 0)
        seconds = 60;

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);
    g_module.Init(::GetModuleHandleW(nullptr));

    int status = MeasureRefresh();
    std::fflush(stdout);
    if (status == 0)
        status = MeasureIdle(seconds);
    g_module.Term();
    return status;
}
