#include "tests/support/Text.h"

#include <windows.h>

namespace testsupport {
namespace {

std::string Narrow(UINT codePage, const std::wstring& text)
{
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(codePage, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);
    }
    return bytes;
}

}  // namespace

std::string Utf8(const std::wstring& text)
{
    return Narrow(CP_UTF8, text);
}

std::string Cp936(const std::wstring& text)
{
    return Narrow(936, text);
}

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, &wide[0], size);
    }
    return wide;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& separator)
{
    std::string joined;
    for (const std::string& line : lines) {
        joined += (joined.empty() ? "" : separator) + line;
    }
    return joined;
}

}  // namespace testsupport
