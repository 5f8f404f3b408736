// The modules' answers to the page: lines of "name<TAB>value", each value kept one field of one
// line (its tabs and line breaks written as spaces).
#pragma once

#include <string>
#include <string_view>

namespace kelvo::web {

inline void AppendField(std::string& answer, std::string_view value) {
    for (const char c : value) answer += c == '\n' || c == '\t' || c == '\r' ? ' ' : c;
}

inline void AppendLine(std::string& answer, std::string_view name, std::string_view value) {
    answer.append(name).append("\t");
    AppendField(answer, value);
    answer += '\n';
}

}  // namespace kelvo::web
