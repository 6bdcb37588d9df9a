#include "framework/String.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <cwchar>
#include <random>
#include <string>

namespace {

std::wstring Text(const CString& s)
{
    return std::wstring(static_cast<LPCWSTR>(s), s.GetLength());
}

std::wstring LoadAndFormat(UINT id, ...)
{
    CString format;
    format.LoadString(id);
    CString result;
    va_list args;
    va_start(args, id);
    result.FormatV(format, args);
    va_end(args);
    return Text(result);
}

TEST(Format, SignedDecimal)
{
    CString s;
    ASSERT_TRUE(s.Format(L"%d", -1));
    EXPECT_EQ(L"-1", Text(s));
    ASSERT_TRUE(s.Format(L"%d", INT_MIN));
    EXPECT_EQ(L"-2147483648", Text(s));
    ASSERT_TRUE(s.Format(L"%d", INT_MAX));
    EXPECT_EQ(L"2147483647", Text(s));
    ASSERT_TRUE(s.Format(L"%d", 0));
    EXPECT_EQ(L"0", Text(s));
}

TEST(Format, UnsignedWithSizePrefixes)
{
    CString s;
    ASSERT_TRUE(s.Format(L"%I64u", 5000000000ULL));
    EXPECT_EQ(L"5000000000", Text(s));
    ASSERT_TRUE(s.Format(L"%I64u", 18446744073709551615ULL));
    EXPECT_EQ(L"18446744073709551615", Text(s));
    ASSERT_TRUE(s.Format(L"%I32u", 4294967295U));
    EXPECT_EQ(L"4294967295", Text(s));
    // A 64-bit value must consume exactly its own argument slot.
    ASSERT_TRUE(s.Format(L"%I64u/%d", 4294967296ULL, 7));
    EXPECT_EQ(L"4294967296/7", Text(s));
}

TEST(Format, PercentSignAndEmptyFormat)
{
    CString s(L"old");
    ASSERT_TRUE(s.Format(L"100%%"));
    EXPECT_EQ(L"100%", Text(s));
    ASSERT_TRUE(s.Format(L""));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(Format, CpuLineFromTheTable)
{
    EXPECT_EQ(L"CPU使用率: 42%", LoadAndFormat(IDS_CPU_USAGE, 42));
    EXPECT_EQ(L"CPU使用率: 0%", LoadAndFormat(IDS_CPU_USAGE, 0));
}

TEST(Format, CommitChargeLinesAgree)
{
    std::wstring wide = LoadAndFormat(IDS_COMMIT_CHARGE_64, 1234ULL, 4096ULL);
    std::wstring narrow = LoadAndFormat(IDS_COMMIT_CHARGE_32, 1234U, 4096U);
    EXPECT_EQ(L"コミットチャージ: 1234MB / 4096MB", wide);
    EXPECT_EQ(wide, narrow);
}

TEST(Format, LargestThirtyTwoBitCommitLineIsWhole)
{
    std::wstring line = LoadAndFormat(IDS_COMMIT_CHARGE_32, 4095U, 4095U);
    EXPECT_EQ(L"コミットチャージ: 4095MB / 4095MB", line);
    EXPECT_EQ(25u, line.size());
}

TEST(Format, FloatingPointIsRefusedAndLeavesTheText)
{
    CString s(L"kept");
    EXPECT_FALSE(s.Format(L"%f", 1.5));
    EXPECT_EQ(L"kept", Text(s));
    EXPECT_FALSE(s.Format(L"%d and %g", 3, 2.0));
    EXPECT_EQ(L"kept", Text(s));
}

TEST(Format, CopiesDoNotSeeEachOthersWrites)
{
    CString a(L"first");
    CString b = a;
    ASSERT_TRUE(b.Format(L"%d", 12));
    EXPECT_EQ(L"first", Text(a));
    EXPECT_EQ(L"12", Text(b));
    CString c;
    c = b;
    ASSERT_TRUE(c.LoadString(IDS_APP_TITLE));
    EXPECT_EQ(L"12", Text(b));
    EXPECT_EQ(L"Ortelan", Text(c));
}

// The bound of the first pass and the real output of the printf family for
// the same arguments.
struct Lengths
{
    int bound;
    int actual;
};

Lengths Measure(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    Lengths lengths;
    lengths.bound = CString::FormatLengthBound(format, args);
    lengths.actual = _vscwprintf(format, copy);
    va_end(copy);
    va_end(args);
    return lengths;
}

TEST(Format, LengthBoundCoversEveryOutput)
{
    std::mt19937 random(20091003);
    const wchar_t* types[] = {L"d", L"i", L"u", L"x", L"X", L"o", L"I64d", L"I64u", L"I64x",
                              L"I32u", L"s", L"S", L"ls", L"hs", L"c", L"C", L"p"};
    const wchar_t* wideTexts[] = {L"", L"a", L"メモリ確保", L"a somewhat longer piece of text"};
    const char* narrowTexts[] = {"", "b", "narrow text of moderate length"};

    for (int round = 0; round < 4000; ++round)
    {
        std::wstring format = random() % 2 ? L"lead " : L"";
        format += L'%';
        // Wine's printf overruns its heap for '0' and '#' together, so the
        // alternate form is never zero-padded here.
        const wchar_t flags[] = L"-+0 #";
        bool zero = false;
        for (int f = 0; f < 5; ++f)
        {
            if (random() % 4 != 0 || (flags[f] == L'#' && zero))
                continue;
            zero = zero || flags[f] == L'0';
            format += flags[f];
        }
        bool starWidth = random() % 5 == 0;
        if (starWidth)
            format += L'*';
        else if (random() % 2)
            format += std::to_wstring(random() % 60);
        std::wstring type = types[random() % (sizeof(types) / sizeof(types[0]))];
        bool text = type.back() == L's' || type.back() == L'S';
        // Wine's printf overruns its heap for integer precisions of 24 digits
        // and more, so integers get precisions below that.
        int precisionLimit = text ? 50 : 20;
        bool starPrecision = false;
        if (random() % 2)
        {
            format += L'.';
            starPrecision = random() % 4 == 0;
            if (starPrecision)
                format += L'*';
            else
                format += std::to_wstring(random() % precisionLimit);
        }
        format += type;
        format += random() % 2 ? L" tail%%" : L"";

        int width = static_cast<int>(random() % 120) - 40;
        int precision = static_cast<int>(random() % precisionLimit) - 10;
        long long big = static_cast<long long>(random()) << 31 ^ random();
        int small = static_cast<int>(random()) - 1000000;
        const wchar_t* wide = wideTexts[random() % 4];
        const char* narrow = narrowTexts[random() % 3];
        bool narrowText = type == L"S" || type == L"hs";
        bool wideText = type == L"s" || type == L"ls";
        bool is64 = type.find(L"I64") == 0;

        const wchar_t* f = format.c_str();
        // Every combination of the '*' arguments and the value's own type.
        const Lengths m = [&] {
            if (starWidth && starPrecision)
            {
                if (wideText) return Measure(f, width, precision, wide);
                if (narrowText) return Measure(f, width, precision, narrow);
                if (is64) return Measure(f, width, precision, big);
                return Measure(f, width, precision, small);
            }
            if (starWidth || starPrecision)
            {
                int star = starWidth ? width : precision;
                if (wideText) return Measure(f, star, wide);
                if (narrowText) return Measure(f, star, narrow);
                if (is64) return Measure(f, star, big);
                return Measure(f, star, small);
            }
            if (wideText) return Measure(f, wide);
            if (narrowText) return Measure(f, narrow);
            if (is64) return Measure(f, big);
            return Measure(f, small);
        }();
        ASSERT_GE(m.bound, m.actual) << "format \"" << std::string(format.begin(), format.end())
                                     << "\" width " << width << " precision " << precision;
    }
}

TEST(Format, LengthBoundOfTheProgramsFormats)
{
    EXPECT_GE(Measure(L"%d", INT_MIN).bound, 11);
    EXPECT_GE(Measure(L"%I64u", 18446744073709551615ULL).bound, 20);
    EXPECT_EQ(-1, Measure(L"%e", 1.0).bound);
}

} // namespace
