// Splits a caption into lines no wider than a label: at the end of a run of
// spaces, before and after Chinese characters, and, for a word that is too
// long on its own, anywhere. DrawTextW's word break knows only the first.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace ws::win32 {

struct LineSpan {
    std::size_t begin = 0, end = 0;  // [begin, end) of the text, spaces at the break kept
    friend bool operator==(LineSpan, LineSpan) = default;
};

// The width of text[from, to) as it would be drawn.
using MeasureText = std::function<int(std::size_t from, std::size_t to)>;

// Spaces are kept where they are: inside a line they take their width, at a
// break they stay at the end of the line and count for nothing. A line feed
// ends a line.
std::vector<LineSpan> breakLines(std::wstring_view text, int maxWidth, const MeasureText& width);

// Whether a line may break between these two characters.
bool mayBreakBetween(wchar_t before, wchar_t after);

}  // namespace ws::win32
