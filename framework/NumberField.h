#pragma once

#include <windows.h>

#include <string>

// A numeric edit field read as the user sees it: the whole wide text, never
// cut to a buffer and never converted through a code page, so that what the
// field shows and the number taken from it cannot differ.
class CNumberField
{
public:
    explicit CNumberField(HWND edit);

    bool IsEmpty() const { return m_text.empty(); }

    // The text read as a signed decimal number (see Parse).
    LONGLONG Value() const { return Parse(m_text); }

    // Makes the field show value, which must not be negative, as plain
    // decimal digits unless it already shows exactly that. The selection is
    // put back and the caret scrolled into view, so that a correction made
    // while typing does not move the caret.
    void Show(LONGLONG value);

    // Spaces or tabs around it, at most one leading '+' or '-', then ASCII
    // digits only; anything else, and a text without digits, reads as 0.
    // A number beyond 64 bits reads as the nearest 64-bit limit.
    static LONGLONG Parse(const std::wstring& text);

private:
    HWND m_edit;
    std::wstring m_text;
};
