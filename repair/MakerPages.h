#pragma once
// The maker's web pages. The tool opens the knowledge-base pages through the feedback
// library's OpenUrl; the library itself builds the feedback and download pages.

// Knowledge-base site root (the feedback pop-up's help button).
constexpr wchar_t kKnowledgeBaseRoot[] = L"https://kb.tovarin.example/";
// The knowledge-base article about this fault (the panel's more-tools button).
constexpr wchar_t kKnowledgeBaseArticle[] = L"https://kb.tovarin.example/detail/dc_172545.html";
// Feedback page; the library appends "?tool=<id>&version=<version>".
constexpr wchar_t kFeedbackQuestionPage[] = L"https://feedback.tovarin.example/question";
// Download pages; the library appends the tool identifier, or opens this list of tools.
constexpr wchar_t kToolDownloadPage[] = L"https://download.tovarin.example/tools/";
