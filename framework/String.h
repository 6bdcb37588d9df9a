#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

// The program's UTF-16 text: loaded from the string table and formatted
// printf-style with the Windows wide-character conventions.
class CString
{
public:
    CString() = default;
    explicit CString(LPCWSTR text) : m_text(text != nullptr ? text : L"") {}

    operator LPCWSTR() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }

    // Replaces the text by string-table entry id; FALSE when that gives no text.
    BOOL LoadString(UINT id);

    // Replaces the text by the formatted result; FALSE (text unchanged) when
    // no buffer can be had or the format holds a floating-point directive.
    BOOL Format(LPCWSTR format, ...);
    BOOL FormatV(LPCWSTR format, va_list args);

    // An upper bound of the length that format gives with these arguments, or
    // -1 for a floating-point directive, which this type does not format.
    static int FormatLengthBound(LPCWSTR format, va_list args);

private:
    std::wstring m_text;
};
