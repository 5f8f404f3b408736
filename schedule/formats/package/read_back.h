// A written spreadsheet file read back before it counts as made: every part of its archive read
// whole against its checksum (and parsed, where it is XML), and the rows of its sheet counted.
#pragma once

#include <cstdint>
#include <string>

namespace kelvo::schedule {

struct WrittenSheet {
    const char* part;         // the sheet's part, "content.xml"
    const char* row_element;  // its rows' element, without prefix
    std::uint64_t rows;       // how many rows were written
    const char* noun;         // "записанная книга", as the messages begin
};

// Empty when the file reads back as written; else what is wrong, in Russian.
std::string ReadBack(const std::string& path, const WrittenSheet& sheet);

}  // namespace kelvo::schedule
