// The line breaker, with every character one unit wide except the Chinese
// ones, which take two: the layout of a fixed-pitch Chinese font.
#include "framework/win32/line_breaking.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ws::win32 {
namespace {

std::vector<std::wstring> lines(std::wstring_view text, int width) {
    const auto measure = [&](std::size_t from, std::size_t to) {
        int w = 0;
        for (std::size_t i = from; i < to; ++i) w += text[i] >= 0x2E80 ? 2 : 1;
        return w;
    };
    std::vector<std::wstring> out;
    for (const LineSpan span : breakLines(text, width, measure))
        out.emplace_back(text.substr(span.begin, span.end - span.begin));
    return out;
}

using Lines = std::vector<std::wstring>;

TEST(LineBreaking, BreaksAtSpacesBetweenChineseCharactersAndInsideLongWords) {
    struct Case {
        std::wstring_view text;
        int width;
        Lines expected;
    } cases[] = {
        {L"one two three", 8, {L"one two ", L"three"}},
        {L"one two", 20, {L"one two"}},
        // Chinese text breaks between any two characters.
        {L"本程式目前是開源軟體", 8, {L"本程式目", L"前是開源", L"軟體"}},
        // Closing punctuation stays on the line of the character before it.
        {L"本程式，不是", 6, {L"本程", L"式，不", L"是"}},
        {L"﹝正式版﹞", 6, {L"﹝正式", L"版﹞"}},
        // Latin words next to Chinese ones break at the change of script.
        {L"歡迎使用zo學", 10, {L"歡迎使用zo", L"學"}},
        // A word wider than the line is broken where it has to be.
        {L"abcdefghij", 4, {L"abcd", L"efgh", L"ij"}},
        // Even a line too narrow for one character shows one per line.
        {L"本程", 1, {L"本", L"程"}},
        {L"", 5, {}},
        {L"a\nb", 5, {L"a", L"b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(lines(c.text, c.width), c.expected) << c.width;
}

TEST(LineBreaking, KeepsEverySpace) {
    // Runs of spaces keep their width inside a line and hang at its end,
    // where they push nothing onto the next line.
    EXPECT_EQ(lines(L"2009 (第 4 代)  kv!", 40), (Lines{L"2009 (第 4 代)  kv!"}));
    EXPECT_EQ(lines(L"學    苑專用電腦             開放", 10),
              (Lines{L"學    苑專", L"用電腦             ", L"開放"}));
    EXPECT_EQ(lines(L"  lead", 10), (Lines{L"  lead"}));
}

}  // namespace
}  // namespace ws::win32
