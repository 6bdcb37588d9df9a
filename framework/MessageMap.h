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

// A command entry: calls func when the WM_COMMAND matches the condition.
#define MSG_MAP_COMMAND_ENTRY(condition, func)                                               \
        if (uMsg == WM_COMMAND && (condition))                                               \
        {                                                                                    \
            bHandled = TRUE;                                                                 \
            lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),  \
                           bHandled);                                                        \
            if (bHandled)                                                                    \
                return TRUE;                                                                 \
        }

#define COMMAND_ID_HANDLER(id, func) MSG_MAP_COMMAND_ENTRY(LOWORD(wParam) == (id), func)

#define COMMAND_HANDLER(id, code, func)                                                      \
    MSG_MAP_COMMAND_ENTRY(LOWORD(wParam) == (id) && HIWORD(wParam) == (code), func)

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                         \
    MSG_MAP_COMMAND_ENTRY(LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast), func)

#define END_MSG_MAP()                                                                        \
        (void)bHandled;                                                                      \
        return FALSE;                                                                        \
    }
