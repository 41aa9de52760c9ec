#include "framework/win32/line_breaking.h"

#include <algorithm>
#include <iterator>

namespace ws::win32 {

namespace {

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Characters that are laid out one by one, with no spaces between words:
// Chinese, Japanese and Korean scripts, their punctuation and the full-width
// forms. Surrogates stand for the ideographs beyond the basic plane.
bool isIdeographic(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE6F) || (c >= 0xFF00 && c <= 0xFFEF);
}

// Closing punctuation stays with the character before it...
constexpr wchar_t closing[] = {L')',   L']',   L'}',   L',',   L'.',   L'!',   L'?',   L':',
                               L';',   0x3001, 0x3002, 0x3009, 0x300B, 0x300D, 0x300F, 0x3011,
                               0x3015, 0xFE50, 0xFE51, 0xFE52, 0xFE54, 0xFE55, 0xFE56, 0xFE57,
                               0xFE5A, 0xFE5C, 0xFE5E, 0xFF01, 0xFF09, 0xFF0C, 0xFF0E, 0xFF1A,
                               0xFF1B, 0xFF1F, 0xFF3D, 0xFF5D, 0x2026, 0x30FC};
// ...and opening punctuation with the character after it.
constexpr wchar_t opening[] = {L'(',   L'[',   L'{',   0x3008, 0x300A, 0x300C, 0x300E, 0x3010,
                               0x3014, 0xFE59, 0xFE5B, 0xFE5D, 0xFF08, 0xFF3B, 0xFF5B};

bool isOneOf(wchar_t c, const auto& set) {
    return std::find(std::begin(set), std::end(set), c) != std::end(set);
}

bool isLineFeed(wchar_t c) { return c == L'\n' || c == L'\r'; }

}  // namespace

bool mayBreakBetween(wchar_t before, wchar_t after) {
    if (after == L' ' || isHighSurrogate(before)) return false;
    if (isOneOf(after, closing) || isOneOf(before, opening)) return false;
    return before == L' ' || isIdeographic(before) || isIdeographic(after);
}

std::vector<LineSpan> breakLines(std::wstring_view text, int maxWidth, const MeasureText& width) {
    std::vector<LineSpan> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        std::size_t lastBreak = 0;  // 0: no break opportunity on this line yet
        bool overflow = false;
        while (end < n && !isLineFeed(text[end])) {
            std::size_t next = end + 1;
            if (isHighSurrogate(text[end]) && next < n) ++next;
            // Spaces never push a line over: at a break they hang past the end.
            if (text[end] != L' ' && end > start && width(start, next) > maxWidth) {
                overflow = true;
                break;
            }
            end = next;
            if (end < n && mayBreakBetween(text[end - 1], text[end])) lastBreak = end;
        }
        if (overflow && lastBreak > start) end = lastBreak;
        lines.push_back({start, end});
        start = end;
        if (start < n && text[start] == L'\r') ++start;
        if (start < n && text[start] == L'\n') ++start;
    }
    return lines;
}

}  // namespace ws::win32
