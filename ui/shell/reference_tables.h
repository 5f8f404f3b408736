// The three reference tables the viewer shows (core/reference_tables.h), in the toolkit's texts.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kelvo::shell {

struct HeaderCell {
    int row, column, row_span, column_span;
    QString text;
};

struct ReferenceTable {
    QStringList title;                // one or two lines
    std::vector<int> header_heights;  // pixels per header row
    std::vector<HeaderCell> header;
    std::vector<int> column_weights;  // relative column widths
    std::vector<QStringList> rows;    // body cells, "-" for an empty cell
    int emphasised_column = -1;       // drawn bold on a darker ground
};

ReferenceTable PowerTable();        // picture 101
ReferenceTable BreakerTable();      // picture 102
ReferenceTable WireCurrentTable();  // picture 103

}  // namespace kelvo::shell
