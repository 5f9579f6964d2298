#pragma once
// Text helpers of the stand-in feedback library: the pages it builds, which pages it agrees
// to open, the journal's field format and the integer settings.
#include <string>

namespace feedback {

// The feedback page for a tool: the question page with the identifier and the version in
// its query, each percent-encoded.
std::wstring FeedbackQuestionPageFor(const wchar_t* toolId, const wchar_t* toolVersion);
// The download page of one tool, or the list of all tools for an empty identifier.
std::wstring ToolDownloadPageFor(const std::wstring& toolId);
// Only http and https addresses are opened: anything else handed to the shell could start
// a program or open a local file.
bool IsWebPage(const wchar_t* page);
// One journal or answers field: "(null)" for a null string, else the text with backslash,
// tab, carriage return and line feed written as \\ \t \r \n, so a record stays on one line.
std::wstring JournalField(const wchar_t* text);
std::string ToUtf8(const std::wstring& text);
// A whole decimal int (leading sign allowed, surrounding blanks ignored), else `fallback`.
int ParseSetting(const wchar_t* text, int fallback);

} // namespace feedback
