#pragma once

#include "AppModule.h"
#include "MessageMap.h"
#include "Window.h"

// A window whose messages go to the message map of its C++ object.
template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CMessageMap
{
public:
    virtual ~CWindowImplRoot()
    {
        // A window that outlives its object must not reach freed memory.
        HWND hWnd = this->m_hWnd;
        if (hWnd != nullptr && ::IsWindow(hWnd)
            && ::GetWindowLongPtrW(hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        }
    }
};

// Binds a new window to its object on its first message and from then on
// routes every message through the object's message map.
class CWindowImplBaseT : public CWindowImplRoot<CWindow>
{
public:
    virtual WNDPROC GetWindowProc() { return WindowProc; }
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

    static LRESULT CALLBACK StartWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

protected:
    HWND CreateImpl(ATOM atom, HWND parent, const RECT* rect, LPCWSTR title, DWORD style,
                    DWORD exStyle, HMENU menu, LPVOID param);
};

// The description of a frame's window class; registered once per process.
struct CFrameWndClassInfo
{
    LPCWSTR name;
    UINT commonResourceId;
    ATOM atom;

    ATOM Register(HINSTANCE hInstance, WNDPROC startProc);
};

#define DECLARE_FRAME_WND_CLASS(WndClassName, uCommonResourceID)                             \
    static CFrameWndClassInfo& GetWndClassInfo()                                             \
    {                                                                                        \
        static CFrameWndClassInfo info = {WndClassName, uCommonResourceID, 0};               \
        return info;                                                                         \
    }

class CFrameWindowImplBase : public CWindowImplBaseT
{
public:
    HACCEL m_hAccel = nullptr;
};

// A top-level frame whose title, menu and icons share one resource number.
template <class T>
class CFrameWindowImpl : public CFrameWindowImplBase
{
public:
    // The window is placed where the system chooses when rect is null.
    HWND CreateEx(HWND parent, const RECT* rect, DWORD style, DWORD exStyle, LPVOID param = nullptr)
    {
        CFrameWndClassInfo& info = T::GetWndClassInfo();
        HINSTANCE hInstance = g_module.GetResourceInstance();
        ATOM atom = info.Register(hInstance, StartWindowProc);
        if (atom == 0)
            return nullptr;

        WCHAR title[256] = L"";
        ::LoadStringW(hInstance, info.commonResourceId, title, 256);
        HMENU menu = ::LoadMenuW(hInstance, MAKEINTRESOURCEW(info.commonResourceId));
        HWND hWnd = CreateImpl(atom, parent, rect, title, style, exStyle, menu, param);
        if (hWnd == nullptr && menu != nullptr)
            ::DestroyMenu(menu);
        return hWnd;
    }
};
