// The agreement's text: its line structure, headings, numbering and punctuation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/AgreementText.h"

namespace {

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) {
            return lines;
        }
        start = end + 2;
    }
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

wchar_t Last(const std::wstring& text)
{
    return text.empty() ? L'\0' : text.back();
}

// A section as the agreement must have it: its heading line and, per clause, the number of
// items that follow the clause (0 for none).
struct Section {
    int line;
    std::wstring heading;
    std::vector<int> itemsPerClause;
};

const Section kSections[] = {
    {8, L"一. 知识产权声明", {0, 0}},
    {12, L"二. 软件授权范围", {0, 0}},
    {16, L"三. 用户使用须知", {7, 0, 0, 0, 0, 0}},
    {31, L"四. 隐私权保护", {0, 0, 3, 5, 4, 0, 0}},
    {52, L"五. 法律责任与免责", {0, 0, 0, 0, 0, 0, 0}},
    {61, L"六. 其他条款", {0, 0}},
};

class AgreementText : public ::testing::Test {
protected:
    std::wstring text = BuildAgreementText();
    std::vector<std::wstring> lines = SplitLines(text);

    const std::wstring& Line(int number) const { return lines[static_cast<size_t>(number - 1)]; }
};

TEST_F(AgreementText, HasSixtyThreeLinesJoinedByCrLfAndNoBreakAtTheEnd)
{
    ASSERT_EQ(lines.size(), 63u);
    for (const std::wstring& line : lines) {
        EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos) << "stray line break";
    }
    EXPECT_NE(Last(text), L'\n');
    EXPECT_GE(text.size(), 3600u);
    EXPECT_LE(text.size(), 4400u);
    EXPECT_NE(text.find(L"Tovarin"), std::wstring::npos);
}

TEST_F(AgreementText, OpensWithTitleNoticeAndThreeIndentedParagraphs)
{
    ASSERT_EQ(lines.size(), 63u);
    EXPECT_EQ(Line(1), L"Tovarin服务工具使用许可协议");
    EXPECT_EQ(Line(2), L"");
    EXPECT_EQ(Line(3), L"重要须知");
    for (int n = 4; n <= 6; ++n) {
        EXPECT_TRUE(StartsWith(Line(n), L"    ")) << n;
        EXPECT_NE(Line(n)[4], L' ') << n;
        EXPECT_EQ(Last(Line(n)), L'。') << n;
    }
    EXPECT_EQ(Line(7), L"");
}

TEST_F(AgreementText, SectionsHaveTheirHeadingsClausesAndItemsInPlace)
{
    ASSERT_EQ(lines.size(), 63u);
    int line = 8;
    for (const Section& section : kSections) {
        SCOPED_TRACE(section.heading);
        EXPECT_EQ(line, section.line);
        EXPECT_EQ(Line(line), section.heading);
        ++line;
        int clause = 1;
        for (int items : section.itemsPerClause) {
            const std::wstring& text = Line(line);
            EXPECT_TRUE(StartsWith(text, L"    " + std::to_wstring(clause) + L".")) << "line " << line;
            EXPECT_GT(text.size(), 8u);
            EXPECT_EQ(Last(text), items > 0 ? L'：' : L'。') << "line " << line;
            ++line;
            for (int item = 0; item < items; ++item) {
                const std::wstring& itemText = Line(line);
                const std::wstring letter(1, static_cast<wchar_t>(L'A' + item));
                EXPECT_TRUE(StartsWith(itemText, L"    " + letter + L".")) << "line " << line;
                EXPECT_EQ(Last(itemText), item + 1 < items ? L'；' : L'。') << "line " << line;
                ++line;
            }
            ++clause;
        }
        if (line <= 63) {
            EXPECT_EQ(Line(line), L"") << "no empty line after the section ending at " << line - 1;
            ++line;
        }
    }
    EXPECT_EQ(line, 64);
}

}  // namespace
