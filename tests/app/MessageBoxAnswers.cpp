#include "MessageBoxAnswers.h"

namespace {

MessageBoxAnswers* g_current = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    WCHAR className[16] = L"";
    ::GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") == 0 && ::IsWindowVisible(window))
    {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

struct Contents
{
    std::wstring text;
    HICON icon = nullptr;
};

BOOL CALLBACK ReadStatic(HWND child, LPARAM param)
{
    auto* contents = reinterpret_cast<Contents*>(param);
    WCHAR className[16] = L"";
    ::GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0)
        return TRUE;
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
    {
        contents->icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        return TRUE;
    }
    WCHAR text[512] = L"";
    ::GetWindowTextW(child, text, 512);
    if (text[0] != L'\0')
        contents->text = text;
    return TRUE;
}

} // namespace

MessageBoxAnswers::MessageBoxAnswers(std::initializer_list<int> answers) : m_answers(answers)
{
    g_current = this;
    m_timer = ::SetTimer(nullptr, 0, 20, OnTimer);
}

MessageBoxAnswers::~MessageBoxAnswers()
{
    ::KillTimer(nullptr, m_timer);
    g_current = nullptr;
}

VOID CALLBACK MessageBoxAnswers::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_current != nullptr)
        g_current->AnswerOpenBox();
}

void MessageBoxAnswers::AnswerOpenBox()
{
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr || box == m_lastBox || m_answers.empty())
        return;
    m_lastBox = box;

    Seen shown;
    WCHAR caption[256] = L"";
    ::GetWindowTextW(box, caption, 256);
    shown.caption = caption;
    Contents contents;
    ::EnumChildWindows(box, ReadStatic, reinterpret_cast<LPARAM>(&contents));
    shown.text = contents.text;
    shown.icon = contents.icon;
    for (int button : {IDOK, IDCANCEL, IDYES, IDNO})
    {
        HWND item = ::GetDlgItem(box, button);
        if (item != nullptr && ::IsWindowVisible(item))
            shown.buttons.push_back(button);
    }
    m_seen.push_back(shown);

    int answer = m_answers.front();
    m_answers.pop_front();
    if (answer == 0)
        ::DestroyWindow(box);
    else
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
}
