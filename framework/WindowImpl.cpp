#include "WindowImpl.h"

LRESULT CALLBACK CWindowImplBaseT::StartWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CWindowImplBaseT*>(g_module.ExtractCreateWndData());
    if (self == nullptr)
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);

    self->m_hWnd = hWnd;
    WNDPROC proc = self->GetWindowProc();
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return proc(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowImplBaseT::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CWindowImplBaseT*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);

    LRESULT result = 0;
    if (!self->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result, 0))
        result = ::DefWindowProcW(hWnd, uMsg, wParam, lParam);

    if (uMsg == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hWnd);
    }
    return result;
}

HWND CWindowImplBaseT::CreateImpl(ATOM atom, HWND parent, const RECT* rect, LPCWSTR title,
                                  DWORD style, DWORD exStyle, HMENU menu, LPVOID param)
{
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int cx = CW_USEDEFAULT;
    int cy = CW_USEDEFAULT;
    if (rect != nullptr)
    {
        x = rect->left;
        y = rect->top;
        cx = rect->right - rect->left;
        cy = rect->bottom - rect->top;
    }

    g_module.AddCreateWndData(this);
    HWND hWnd = ::CreateWindowExW(exStyle, MAKEINTATOM(atom), title, style, x, y, cx, cy, parent,
                                  menu, g_module.GetModuleInstance(), param);
    if (hWnd == nullptr)
        g_module.ExtractCreateWndData();
    return hWnd;
}

ATOM CFrameWndClassInfo::Register(HINSTANCE hInstance, WNDPROC startProc)
{
    g_module.LockWindowCreate();
    if (atom == 0)
    {
        WNDCLASSEXW existing = {};
        existing.cbSize = sizeof(existing);
        atom = static_cast<ATOM>(::GetClassInfoExW(hInstance, name, &existing));
        if (atom == 0)
        {
            WNDCLASSEXW wc = {};
            wc.cbSize = sizeof(wc);
            wc.style = 0;
            wc.lpfnWndProc = startProc;
            wc.hInstance = hInstance;
            wc.hIcon = static_cast<HICON>(::LoadImageW(hInstance, MAKEINTRESOURCEW(commonResourceId),
                                                       IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
            wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
            wc.lpszClassName = name;
            wc.hIconSm = static_cast<HICON>(::LoadImageW(hInstance, MAKEINTRESOURCEW(commonResourceId),
                                                         IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
            atom = ::RegisterClassExW(&wc);
        }
    }
    ATOM result = atom;
    g_module.UnlockWindowCreate();
    return result;
}
