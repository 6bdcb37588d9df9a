#include "NumberField.h"

namespace {

const wchar_t kBlanks[] = L" \t";

} // namespace

CNumberField::CNumberField(HWND edit) : m_edit(edit)
{
    int length = ::GetWindowTextLengthW(edit);
    if (length <= 0)
        return;
    m_text.resize(static_cast<size_t>(length) + 1);
    m_text.resize(static_cast<size_t>(::GetWindowTextW(edit, &m_text[0], length + 1)));
}

void CNumberField::Show(LONGLONG value)
{
    std::wstring plain = std::to_wstring(value);
    if (m_text == plain)
        return;
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    ::SetWindowTextW(m_edit, plain.c_str());
    m_text = plain;
    ::SendMessageW(m_edit, EM_SETSEL, start, end);
    ::SendMessageW(m_edit, EM_SCROLLCARET, 0, 0);
}

LONGLONG CNumberField::Parse(const std::wstring& text)
{
    size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::wstring::npos)
        return 0;
    size_t end = text.find_last_not_of(kBlanks) + 1;
    bool negative = text[begin] == L'-';
    if (negative || text[begin] == L'+')
        ++begin;
    if (begin == end)
        return 0;

    // The magnitude of the most negative value is one more than the largest.
    const ULONGLONG limit = negative ? 0x8000000000000000ULL : 0x7FFFFFFFFFFFFFFFULL;
    ULONGLONG magnitude = 0;
    for (size_t i = begin; i < end; ++i)
    {
        if (text[i] < L'0' || text[i] > L'9')
            return 0;
        unsigned digit = static_cast<unsigned>(text[i] - L'0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (!negative)
        return static_cast<LONGLONG>(magnitude);
    return magnitude == 0 ? 0 : -static_cast<LONGLONG>(magnitude - 1) - 1;
}
