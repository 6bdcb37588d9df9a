#include "MessageLoop.h"

#include <algorithm>

CMessageLoop::CMessageLoop(GetMessageFn getMessage)
    : m_msg(), m_getMessage(getMessage)
{
}

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter)
{
    if (filter == nullptr)
        return FALSE;
    m_filters.push_back(filter);
    return TRUE;
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter)
{
    auto it = std::find(m_filters.begin(), m_filters.end(), filter);
    if (it == m_filters.end())
        return FALSE;
    m_filters.erase(it);
    return TRUE;
}

int CMessageLoop::Run()
{
    for (;;)
    {
        BOOL result = m_getMessage(&m_msg, nullptr, 0, 0);
        if (result == -1)
            continue;
        if (result == 0)
            break;
        if (!PreTranslateMessage(&m_msg))
        {
            ::TranslateMessage(&m_msg);
            ::DispatchMessageW(&m_msg);
        }
    }
    return static_cast<int>(m_msg.wParam);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg)
{
    return std::any_of(m_filters.rbegin(), m_filters.rend(),
                       [pMsg](CMessageFilter* filter) { return filter->PreTranslateMessage(pMsg) != FALSE; })
               ? TRUE
               : FALSE;
}
