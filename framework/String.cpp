#include "String.h"

#include "AppModule.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

BOOL CString::LoadString(UINT id)
{
    HINSTANCE hInstance = g_module.GetResourceInstance();
    WCHAR first[256];
    int length = ::LoadStringW(hInstance, id, first, 256);
    try
    {
        if (length <= 254)
        {
            m_text.assign(first, length > 0 ? length : 0);
        }
        else
        {
            // The text may have been cut: read again into ever larger buffers
            // until one leaves at least two characters free.
            std::vector<WCHAR> buffer;
            int size = 256;
            do
            {
                size += 256;
                buffer.assign(size, L'\0');
                length = ::LoadStringW(hInstance, id, buffer.data(), size);
            } while (length > size - 2);
            m_text.assign(buffer.data(), length > 0 ? length : 0);
        }
    }
    catch (const std::bad_alloc&)
    {
        m_text.clear();
    }
    return m_text.empty() ? FALSE : TRUE;
}

BOOL CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    BOOL result = FormatV(format, args);
    va_end(args);
    return result;
}

BOOL CString::FormatV(LPCWSTR format, va_list args)
{
    if (format == nullptr)
        return FALSE;

    va_list scan;
    va_copy(scan, args);
    int bound = FormatLengthBound(format, scan);
    va_end(scan);
    if (bound < 0)
    {
        ::OutputDebugStringW(L"Floating point (%e, %f, %g, and %G) is not supported by the "
                             L"WTL::CString class.\n");
        return FALSE;
    }

    try
    {
        std::vector<WCHAR> buffer(static_cast<size_t>(bound) + 1, L'\0');
        va_list print;
        va_copy(print, args);
        _vsnwprintf(buffer.data(), buffer.size(), format, print);
        va_end(print);
        buffer.back() = L'\0';
        m_text.assign(buffer.data());
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }
    return TRUE;
}

namespace {

int ReadNumber(LPCWSTR& p)
{
    int value = 0;
    while (*p >= L'0' && *p <= L'9')
    {
        if (value < 100000000)
            value = value * 10 + (*p - L'0');
        ++p;
    }
    return value;
}

} // namespace

int CString::FormatLengthBound(LPCWSTR format, va_list args)
{
    int total = 0;
    for (LPCWSTR p = format; *p != L'\0'; ++p)
    {
        if (*p != L'%')
        {
            ++total;
            continue;
        }
        ++p;
        if (*p == L'%')
        {
            ++total;
            continue;
        }
        if (*p == L'\0')
            break;

        int item = 0;
        int width = 0;
        for (; *p != L'\0'; ++p)
        {
            if (*p == L'#')
                item += 2;
            else if (*p == L'*')
                width = va_arg(args, int);
            else if (*p != L'-' && *p != L'+' && *p != L'0' && *p != L' ')
                break;
        }
        if (width == 0)
            width = ReadNumber(p);
        if (width < 0)
            width = -width;

        int precision = -1;
        if (*p == L'.')
        {
            ++p;
            if (*p == L'*')
            {
                precision = va_arg(args, int);
                ++p;
            }
            else
            {
                precision = ReadNumber(p);
            }
            if (precision < 0)
                precision = -1;
        }

        enum { Default, Narrow, Wide } textSize = Default;
        enum { Int32, Int64 } intSize = Int32;
        for (bool prefix = true; prefix;)
        {
            if (*p == L'I' && p[1] == L'6' && p[2] == L'4')
            {
                intSize = Int64;
                p += 3;
            }
            else if (*p == L'I' && p[1] == L'3' && p[2] == L'2')
            {
                p += 3;
            }
            else if (*p == L'I')
            {
                ++p;
            }
            else if (*p == L'h')
            {
                textSize = Narrow;
                ++p;
            }
            else if (*p == L'l')
            {
                textSize = Wide;
                ++p;
            }
            else if (*p == L'F' || *p == L'N' || *p == L'L')
            {
                ++p;
            }
            else
            {
                prefix = false;
            }
        }

        switch (*p)
        {
        case L'c':
        case L'C':
            // A width pads the character like any other item.
            item += width > 2 ? width : 2;
            va_arg(args, int);
            break;
        case L's':
        case L'S':
        {
            // In the wide family %s is a wide string and %S a narrow one,
            // unless h or l says otherwise.
            bool wide = textSize == Wide || (textSize == Default && *p == L's');
            int length;
            if (wide)
            {
                const wchar_t* text = va_arg(args, const wchar_t*);
                length = text != nullptr ? static_cast<int>(wcslen(text)) : 6;
            }
            else
            {
                const char* text = va_arg(args, const char*);
                length = text != nullptr ? static_cast<int>(strlen(text)) : 6;
            }
            if (length < 1)
                length = 1;
            // The precision cuts the text before the width pads it.
            if (precision >= 0 && precision < length)
                length = precision;
            if (length < width)
                length = width;
            item += length;
            break;
        }
        case L'd':
        case L'i':
        case L'u':
        case L'o':
        case L'x':
        case L'X':
        case L'p':
        {
            if (intSize == Int64 && *p != L'p')
                va_arg(args, long long);
            else
                va_arg(args, int);
            // One more than width and precision for the sign, which the
            // precision's digits do not include.
            int digits = width + (precision > 0 ? precision : 0) + 1;
            item += digits > 32 ? digits : 32;
            break;
        }
        case L'e':
        case L'E':
        case L'f':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            return -1;
        case L'n':
            va_arg(args, int*);
            break;
        case L'\0':
            --p;
            break;
        default:
            ++item;
            break;
        }
        total += item;
    }
    return total;
}
