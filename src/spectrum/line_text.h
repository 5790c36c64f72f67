// The bytes of a line of a measurement file as the text and universal-file
// readers look at them: blanks, and a line without the blanks around it.
#pragma once

#include <string_view>

namespace spectrum::line_text {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

inline std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace spectrum::line_text
