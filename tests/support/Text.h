#pragma once
// Conversions of texts for comparisons and messages: UTF-16 to UTF-8 and back, code page 936
// bytes as the tool's log writes them, and the tab-separated fields of journal lines.
#include <string>
#include <vector>

namespace testsupport {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// A text as code page 936 bytes.
std::string Cp936(const std::wstring& text);
// The tab-separated fields of a line (one, the line, when it has no tab).
std::vector<std::string> Fields(const std::string& line);
// Lines joined with `separator`, for messages.
std::string Joined(const std::vector<std::string>& lines, const std::string& separator);

}  // namespace testsupport
