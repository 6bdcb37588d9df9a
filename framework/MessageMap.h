#pragma once

#include <windows.h>

// Routes a window's messages to handler members; a class declares its table
// with the macros below.
class CMessageMap
{
public:
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;

protected:
    ~CMessageMap() = default;
};

// A handler may clear bHandled to let the message go on to the next entry
// and, at the end of the table, to the default processing.
#define BEGIN_MSG_MAP(theClass)                                                              \
public:                                                                                      \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,            \
                              LRESULT& lResult, DWORD dwMsgMapID = 0) override               \
    {                                                                                        \
        (void)hWnd;                                                                          \
        (void)uMsg;                                                                          \
        (void)dwMsgMapID;                                                                    \
        (void)wParam;                                                                        \
        (void)lParam;                                                                        \
        (void)lResult;                                                                       \
        BOOL bHandled = TRUE;

#define MESSAGE_HANDLER(msg, func)                                                           \
        if (uMsg == (msg))                                                                   \
        {                                                                                    \
            bHandled = TRUE;                                                                 \
            lResult = func(uMsg, wParam, lParam, bHandled);                                  \
            if (bHandled)                                                                    \
                return TRUE;                                                                 \
        }

#define COMMAND_ID_HANDLER(id, func)                                                         \
        if (uMsg == WM_COMMAND && LOWORD(wParam) == (id))                                    \
        {                                                                                    \
            bHandled = TRUE;                                                                 \
            lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),  \
                           bHandled);                                                        \
            if (bHandled)                                                                    \
                return TRUE;                                                                 \
        }

#define COMMAND_HANDLER(id, code, func)                                                      \
        if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code))        \
        {                                                                                    \
            bHandled = TRUE;                                                                 \
            lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),  \
                           bHandled);                                                        \
            if (bHandled)                                                                    \
                return TRUE;                                                                 \
        }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                         \
        if (uMsg == WM_COMMAND && LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast)) \
        {                                                                                    \
            bHandled = TRUE;                                                                 \
            lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),  \
                           bHandled);                                                        \
            if (bHandled)                                                                    \
                return TRUE;                                                                 \
        }

#define END_MSG_MAP()                                                                        \
        (void)bHandled;                                                                      \
        return FALSE;                                                                        \
    }
