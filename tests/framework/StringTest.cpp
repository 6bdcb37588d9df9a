#include "TestResources.h"

#include "framework/String.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <string>

namespace {

int Bound(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    int bound = CString::FormatLengthBound(format, args);
    va_end(args);
    return bound;
}

// Format's buffer is as long as the first pass's bound, which must cover every
// character the directive can write; each length is counted from the directive.
TEST(Format, LengthBoundCoversTheWholeOutput)
{
    EXPECT_GE(Bound(L"%.40d", -5), 41);
    EXPECT_GE(Bound(L"%*d", 60, 1), 60);
    EXPECT_GE(Bound(L"%#.35x", 1), 37);
    EXPECT_GE(Bound(L"%50I64u|%d", ~0ULL, INT_MIN), 62);
    EXPECT_GE(Bound(L"%20s", L"ab"), 20);
    EXPECT_EQ(-1, Bound(L"%d %f", 1, 1.5));

    CString text(L"kept");
    EXPECT_FALSE(text.Format(L"%g", 2.0));
    EXPECT_EQ(std::wstring(L"kept"), std::wstring(text));
    ASSERT_TRUE(text.Format(L"%20s|%I64u|%d", L"ab", ~0ULL, -1));
    EXPECT_EQ(std::wstring(18, L' ') + L"ab|18446744073709551615|-1", std::wstring(text));
}

// No entry of the program's own table is this long; the test resources hold
// one of 600 characters.
TEST(StringTable, ReadsALongEntryWholeAndAMissingOneAsEmpty)
{
    std::wstring expected;
    for (int i = 0; i < 600; ++i)
        expected += static_cast<wchar_t>(L'0' + i % 10);
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_TEST_LONG_TEXT));
    EXPECT_EQ(expected, std::wstring(text));
    EXPECT_FALSE(text.LoadString(150));
    EXPECT_TRUE(text.IsEmpty());
}

} // namespace
