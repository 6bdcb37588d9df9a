#pragma once

#include "app/MainFrame.h"
#include "tests/support/SettingsKeys.h"

#include <gtest/gtest.h>

#include <memory>

// A real main frame made in the test's own thread, with the registry of the
// test prefix cleared before and after.
class FrameTest : public testing_registry::CleanSettingsTest
{
protected:
    void TearDown() override
    {
        DestroyFrame();
        CleanSettingsTest::TearDown();
    }

    CMainFrame& CreateFrame()
    {
        DestroyFrame();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->CreateEx(nullptr, nullptr, CMainFrame::kStyle, CMainFrame::kExStyle);
        EXPECT_NE(nullptr, m_frame->m_hWnd);
        return *m_frame;
    }

    // Closes the frame as the user does; the settings step runs.
    void CloseFrame()
    {
        if (m_frame && m_frame->m_hWnd != nullptr)
            ::SendMessageW(m_frame->m_hWnd, WM_CLOSE, 0, 0);
        DrainQuit();
        m_frame.reset();
    }

    void DestroyFrame()
    {
        if (m_frame && m_frame->m_hWnd != nullptr)
            ::DestroyWindow(m_frame->m_hWnd);
        DrainQuit();
        m_frame.reset();
    }

    void Command(UINT id) { ::SendMessageW(m_frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    UINT MenuState(UINT id) const
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        ::GetMenuItemInfoW(::GetMenu(m_frame->m_hWnd), id, FALSE, &info);
        return info.fState;
    }

    // A panel's rectangle in the frame's client coordinates.
    RECT PanelRect(HWND panel) const
    {
        RECT rc = {};
        ::GetWindowRect(panel, &rc);
        ::MapWindowPoints(nullptr, m_frame->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    // Whether a panel is in the stack; the frame itself may still be hidden.
    static bool IsShown(HWND panel) { return (::GetWindowLongW(panel, GWL_STYLE) & WS_VISIBLE) != 0; }

    RECT Client() const
    {
        RECT rc = {};
        ::GetClientRect(m_frame->m_hWnd, &rc);
        return rc;
    }

    RECT Window() const
    {
        RECT rc = {};
        ::GetWindowRect(m_frame->m_hWnd, &rc);
        return rc;
    }

    std::unique_ptr<CMainFrame> m_frame;

private:
    // The frame's destruction posts WM_QUIT to this thread; left in the
    // queue it would end the next modal loop at once.
    static void DrainQuit()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
        }
    }
};
