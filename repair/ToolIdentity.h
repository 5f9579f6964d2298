#pragma once
// The tool's identity as the maker's feedback library knows it: always passed in this order,
// identifier first. The panel shows the same version.
constexpr wchar_t TOOL_ID[] = L"10046";
constexpr wchar_t TOOL_VERSION[] = L"1.0.3";
