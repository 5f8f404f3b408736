// The reference tables and the help page as HTML, from the calculation's own tables and words.
#pragma once

#include <string>

namespace kelvo::web {

// Table 101, 102 or 103, or the help page for 0; empty for anything else.
std::string ReferenceHtml(int which);

// The text with &, <, > and " written as HTML entities, and line breaks as <br>.
std::string Escaped(std::string_view text);

}  // namespace kelvo::web
