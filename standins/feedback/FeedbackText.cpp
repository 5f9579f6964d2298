#include "standins/feedback/FeedbackText.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>

#include "repair/MakerPages.h"

namespace feedback {

namespace {

std::wstring PercentEncode(const wchar_t* text)
{
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring encoded;
    for (unsigned char byte : ToUtf8(text ? text : L"")) {
        bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
            || (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (unreserved) {
            encoded += static_cast<wchar_t>(byte);
        } else {
            encoded += L'%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix)
{
    return _wcsnicmp(text, prefix, std::wcslen(prefix)) == 0;
}

} // namespace

std::wstring FeedbackQuestionPageFor(const wchar_t* toolId, const wchar_t* toolVersion)
{
    return std::wstring(kFeedbackQuestionPage) + L"?tool=" + PercentEncode(toolId) + L"&version="
        + PercentEncode(toolVersion);
}

std::wstring ToolDownloadPageFor(const std::wstring& toolId)
{
    return std::wstring(kToolDownloadPage) + PercentEncode(toolId.c_str());
}

bool IsWebPage(const wchar_t* page)
{
    if (!page) {
        return false;
    }
    const wchar_t* rest = nullptr;
    if (StartsWithNoCase(page, L"https://")) {
        rest = page + 8;
    } else if (StartsWithNoCase(page, L"http://")) {
        rest = page + 7;
    } else {
        return false;
    }
    if (*rest == L'\0' || *rest == L'/') {
        return false;
    }
    for (const wchar_t* c = page; *c; ++c) {
        if (*c <= L' ' || *c == 0x7F) {
            return false;
        }
    }
    return true;
}

std::wstring JournalField(const wchar_t* text)
{
    if (!text) {
        return L"(null)";
    }
    std::wstring field;
    for (const wchar_t* c = text; *c; ++c) {
        switch (*c) {
        case L'\\': field += L"\\\\"; break;
        case L'\t': field += L"\\t"; break;
        case L'\r': field += L"\\r"; break;
        case L'\n': field += L"\\n"; break;
        default: field += *c; break;
        }
    }
    return field;
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty()) {
        return {};
    }
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                          nullptr);
    return utf8;
}

int ParseSetting(const wchar_t* text, int fallback)
{
    if (!text) {
        return fallback;
    }
    wchar_t* end = nullptr;
    errno = 0;
    long value = std::wcstol(text, &end, 10);
    if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return fallback;
    }
    while (std::iswspace(*end)) {
        ++end;
    }
    return *end == L'\0' ? static_cast<int>(value) : fallback;
}

} // namespace feedback
