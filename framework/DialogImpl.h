#pragma once

#include "AppModule.h"
#include "MessageMap.h"
#include "Window.h"
#include "WindowImpl.h"

// A dialog whose messages go to the message map of its C++ object.
class CDialogImplBaseT : public CWindowImplRoot<CWindow>
{
public:
    virtual DLGPROC GetDialogProc() { return DialogProc; }
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

    static INT_PTR CALLBACK StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    BOOL EndDialog(int result) { return ::EndDialog(m_hWnd, result); }

protected:
    HWND CreateImpl(WORD templateId, HWND parent, LPARAM initParam);
    INT_PTR DoModalImpl(WORD templateId, HWND parent, LPARAM initParam);
};

// T names its dialog template with a constant IDD.
template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT
{
public:
    // Modeless: the dialog lives until it or its parent is destroyed.
    HWND Create(HWND parent, LPARAM initParam = 0) { return CreateImpl(T::IDD, parent, initParam); }

    // Modal: returns the value given to EndDialog, or -1 when it cannot be shown.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0)
    {
        return DoModalImpl(T::IDD, parent, initParam);
    }
};
