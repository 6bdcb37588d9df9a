#include "Session.h"

#include "Run.h"

#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"
#include "res/resource.h"

namespace {

CRITICAL_SECTION g_lock;
CCommandRun* g_run = nullptr;

void InterruptRun(const wchar_t* what)
{
    ::EnterCriticalSection(&g_lock);
    if (g_run != nullptr)
        g_run->Interrupt(what);
    ::LeaveCriticalSection(&g_lock);
}

BOOL WINAPI OnConsoleControl(DWORD event)
{
    switch (event)
    {
    case CTRL_C_EVENT:
        InterruptRun(L"Ctrl+C");
        return TRUE;
    case CTRL_BREAK_EVENT:
        InterruptRun(L"Ctrl+Break");
        return TRUE;
    default:
        InterruptRun(event == CTRL_CLOSE_EVENT ? L"the console window was closed" : L"the session is ending");
        // Returning would let the system end the process at once, with a
        // code of its own; the main thread, woken, ends it with the run's.
        ::Sleep(INFINITE);
        return TRUE;
    }
}

// Never shown; it is there to be asked at the end of the session.
class CSessionWindow : public CFrameWindowImpl<CSessionWindow>
{
public:
    DECLARE_FRAME_WND_CLASS(L"OT_CmdSession", IDR_MAINFRAME)

    BEGIN_MSG_MAP(CSessionWindow)
        MESSAGE_HANDLER(WM_QUERYENDSESSION, OnQueryEndSession)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    END_MSG_MAP()

    LRESULT OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&) { return TRUE; }
    LRESULT OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&)
    {
        if (wParam)
            InterruptRun(L"the session is ending");
        return 0;
    }
};

DWORD WINAPI SessionThread(LPVOID created)
{
    CSessionWindow window;
    HWND hWnd = window.CreateEx(nullptr, nullptr, WS_OVERLAPPED, 0);
    ::SetEvent(created);
    if (hWnd == nullptr)
        return 0;
    CMessageLoop loop;
    return static_cast<DWORD>(loop.Run());
}

} // namespace

void WatchSession(CCommandRun& run)
{
    ::InitializeCriticalSection(&g_lock);
    g_run = &run;
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    // The window is there before the first step, so that no session's end
    // can come unseen.
    HANDLE created = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = ::CreateThread(nullptr, 0, SessionThread, created, 0, nullptr);
    if (thread != nullptr)
    {
        ::WaitForSingleObject(created, INFINITE);
        ::CloseHandle(thread);
    }
    if (created != nullptr)
        ::CloseHandle(created);
}

void StopWatchingSession()
{
    ::EnterCriticalSection(&g_lock);
    g_run = nullptr;
    ::LeaveCriticalSection(&g_lock);
}
