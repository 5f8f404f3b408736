// The content of the three reference tables: power, current and section (101), section and
// breaker (102) and the currents of wires and cords (103). Table 103 is read from the
// permissible-current tables of the calculation, so the reference can never disagree with it.
// The window draws them as pictures, the web page writes them as HTML tables.
#pragma once

#include <string>
#include <vector>

namespace kelvo {

struct HeaderCell {
    int row, column, row_span, column_span;
    std::string text;  // "\n" where a header breaks its line
};

struct ReferenceTable {
    std::vector<std::string> title;   // one or two lines
    std::vector<int> header_heights;  // pixels per header row, as drawn
    std::vector<HeaderCell> header;
    std::vector<int> column_weights;             // relative column widths
    std::vector<std::vector<std::string>> rows;  // body cells, "-" for an empty cell
    int emphasised_column = -1;                  // drawn bold on a darker ground
};

ReferenceTable PowerTable();        // 101
ReferenceTable BreakerTable();      // 102
ReferenceTable WireCurrentTable();  // 103

}  // namespace kelvo
