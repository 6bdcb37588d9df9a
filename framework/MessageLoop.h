#pragma once

#include <windows.h>

#include <vector>

// Something that may consume a message before the loop dispatches it.
class CMessageFilter
{
public:
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;

protected:
    ~CMessageFilter() = default;
};

// The thread's message loop: each message is offered to the filters, newest
// first, and dispatched when none of them consumes it.
class CMessageLoop
{
public:
    using GetMessageFn = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);

    // The message source is replaceable so that a failing GetMessageW can be
    // reproduced; programs use the default.
    explicit CMessageLoop(GetMessageFn getMessage = ::GetMessageW);
    virtual ~CMessageLoop() = default;

    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);

    // Runs until WM_QUIT and returns its wParam.
    int Run();

    virtual BOOL PreTranslateMessage(MSG* pMsg);

    MSG m_msg;

private:
    GetMessageFn m_getMessage;
    std::vector<CMessageFilter*> m_filters;
};
