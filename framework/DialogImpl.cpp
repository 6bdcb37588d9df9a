#include "DialogImpl.h"

INT_PTR CALLBACK CDialogImplBaseT::StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CDialogImplBaseT*>(g_module.ExtractCreateWndData());
    if (self == nullptr)
        return FALSE;

    self->m_hWnd = hWnd;
    DLGPROC proc = self->GetDialogProc();
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ::SetWindowLongPtrW(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    return proc(hWnd, uMsg, wParam, lParam);
}

namespace {

// These messages return their result directly instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT uMsg)
{
    switch (uMsg)
    {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CALLBACK CDialogImplBaseT::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CDialogImplBaseT*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self == nullptr)
        return FALSE;

    LRESULT result = 0;
    BOOL handled = self->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result, 0);

    if (uMsg == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hWnd);
    }

    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(uMsg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

HWND CDialogImplBaseT::CreateImpl(WORD templateId, HWND parent, LPARAM initParam)
{
    g_module.AddCreateWndData(this);
    HWND hWnd = ::CreateDialogParamW(g_module.GetResourceInstance(), MAKEINTRESOURCEW(templateId),
                                     parent, StartDialogProc, initParam);
    if (hWnd == nullptr)
        g_module.ExtractCreateWndData();
    return hWnd;
}

INT_PTR CDialogImplBaseT::DoModalImpl(WORD templateId, HWND parent, LPARAM initParam)
{
    g_module.AddCreateWndData(this);
    INT_PTR result = ::DialogBoxParamW(g_module.GetResourceInstance(), MAKEINTRESOURCEW(templateId),
                                       parent, StartDialogProc, initParam);
    if (result == -1)
        g_module.ExtractCreateWndData();
    return result;
}
