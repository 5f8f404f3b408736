// What every writer that keeps cells rather than bytes shares: a CSV row passed through whole (a
// row over the length limit) cut back into its fields, so that each field lands in its own cell as
// kelvo-calc's CSV would show it; and what a result cell is stored as.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "schedule/formats/cells/cell_text.h"
#include "schedule/formats/cells/shown_values.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

// What a cell of a result sheet holds: a number where its text is a number as the program writes
// numbers ("2,5", "2,50"), a date where it is a date as a spreadsheet shows it ("12.03.2024"), else
// text (the header row and the message column always text, and "2.5" stays the text it is).
struct ResultCell {
    enum class Kind { Text, Number, Date };
    Kind kind = Kind::Text;
    double number = 0;
    ShownDateParts date;
};
ResultCell ResultCellOf(std::string_view field, bool always_text);

class CellWriter : public TableWriter {
    // Where RawRecordFields hands the fields it completes.
    struct ToCell {
        CellWriter* writer;
        void operator()(std::string_view field) const { writer->Cell(field); }
    };
    ToCell Cells() { return {this}; }

public:
    // `field_max`: the bytes kept of a passed-through field.
    explicit CellWriter(std::size_t field_max) : field_max_(field_max), raw_(';', field_max) {}

    void Begin(const TableFormat& input, const TableLayout& layout) final {
        raw_ = RawRecordFields(input.separator, field_max_);
        layout_ = layout;
        Start();
    }
    void Field(std::string_view field) final {
        raw_.BeforeField(Cells());
        Cell(field);
    }
    void Raw(std::string_view bytes) final { raw_.Raw(bytes, Cells()); }
    void EndRecord() final {
        raw_.EndRecord(Cells());
        EndRow();
        ++row_;
    }

protected:
    // Begin's own work, once the layout is known.
    virtual void Start() = 0;
    // The next cell of the row (the row numbered Row(), from 0).
    virtual void Cell(std::string_view field) = 0;
    virtual void EndRow() = 0;

    const TableLayout& Layout() const { return layout_; }
    std::size_t Row() const { return row_; }
    bool IsHeaderRow() const { return row_ == layout_.rows_above_header; }
    // The cell's kind in a result sheet; `column` from 0.
    ResultCell ResultOf(std::string_view field, std::size_t column) const {
        return ResultCellOf(field, IsHeaderRow() || column == layout_.message_column);
    }

private:
    std::size_t field_max_;
    RawRecordFields raw_;
    TableLayout layout_;
    std::size_t row_ = 0;
};

}  // namespace kelvo::schedule
