#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// Answers the message boxes that this thread's code shows, one answer per
// box in order, and records what each box showed. Works inside the box's own
// modal loop through a thread timer. An answer of 0 destroys the box instead.
class MessageBoxAnswers
{
public:
    struct Seen
    {
        std::wstring caption;
        std::wstring text;
        std::vector<int> buttons;   // which of OK, Cancel, Yes, No are there
        HICON icon;
    };

    explicit MessageBoxAnswers(std::initializer_list<int> answers);
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    const std::vector<Seen>& seen() const { return m_seen; }
    size_t unanswered() const { return m_answers.size(); }

private:
    static VOID CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void AnswerOpenBox();

    std::deque<int> m_answers;
    std::vector<Seen> m_seen;
    UINT_PTR m_timer;
    HWND m_lastBox = nullptr;
};
