#include "framework/NumberField.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// Whatever is typed or pasted into a field, it reads as one number and is
// then shown as that number in plain digits.
TEST(NumberField, ReadsTheWholeTextAndShowsItPlain)
{
    const struct { std::wstring text; LONGLONG value; } cases[] = {
        {L"", 0}, {L" \t ", 0}, {L"42", 42}, {L" \t+12\t ", 12}, {L"-7 ", -7}, {L"007", 7},
        {std::wstring(1023, L'0') + L"5000", 5000}, {L"+", 0}, {L"--5", 0}, {L"1 2", 0},
        // Infinity, which a code-page conversion reads as 8; Bengali and
        // full-width digits; a no-break space or a byte-order mark before.
        {L"12abc", 0}, {L"\u221E", 0}, {L"1\u09E8\u09E9", 0}, {L"\uFF11\uFF12", 0},
        {L"\u00A012", 0}, {L"\uFEFF12", 0},
        {L"9223372036854775807", LLONG_MAX}, {L"9223372036854775808", LLONG_MAX},
        {std::wstring(30, L'9'), LLONG_MAX}, {L"-9223372036854775808", LLONG_MIN},
        {L"-99999999999999999999999", LLONG_MIN},
    };
    HWND edit = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 100, 20, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.text));
        ::SetWindowTextW(edit, c.text.c_str());
        CNumberField field(edit);
        EXPECT_EQ(c.text.empty(), field.IsEmpty());
        EXPECT_EQ(c.value, field.Value());
        if (c.value < 0)
            continue;
        field.Show(c.value);
        WCHAR shown[64] = L"";
        ::GetWindowTextW(edit, shown, 64);
        EXPECT_EQ(std::to_wstring(c.value), shown);
    }

    // A correction made while typing leaves the caret where it was.
    ::SetWindowTextW(edit, L"40960");
    ::SendMessageW(edit, EM_SETSEL, 2, 2);
    CNumberField(edit).Show(4095);
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(2u, start);
    EXPECT_EQ(2u, end);
    ::DestroyWindow(edit);
}

} // namespace
