// What the sheet readers of every spreadsheet format share: the sheet's part parsed a piece at a
// time, the parser suspended whenever a row is complete, so that a row is all that is held of the
// sheet; and the rows handed out one at a time: first the empty rows the sheet leaves out (counted,
// never made), then the row held, as many times as the sheet repeats it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/package/merges.h"
#include "schedule/formats/package/xml_stream.h"
#include "schedule/formats/package/zip_part.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

class SheetRows : public TableReader, protected XmlEvents {
public:
    Result Next(std::vector<std::string_view>& fields) final;
    std::size_t RecordLine() const final { return line_; }
    TableFormat Format() const final {
        TableFormat format;
        format.kind = kind_;
        format.sheet = sheet_;
        return format;
    }
    std::string Fault() const final { return fault_; }
    std::span<const CellShown> Shown() const final { return shown_; }
    double Progress() const final;

protected:
    // A cell of the row held: its column (from 0), where its text stands in the row's text (or
    // whatever CellText makes of offset and size), and how it is shown.
    struct Cell {
        std::size_t column, offset, size;
        CellShown shown;
        bool shared = false;  // offset names a text kept elsewhere (see CellText)
    };

    // `owner` keeps the archive the part is read from; `damaged` begins the message of a damaged
    // file ("файл XLSX поврежден").
    SheetRows(TableFormat::Kind kind, std::string damaged, std::shared_ptr<const void> owner,
              std::unique_ptr<ZipPart> part);

    // From a handler: the row is complete; `gap` empty rows come before it, and it comes `repeat`
    // times.
    void HoldRow(std::uint64_t gap, std::uint64_t repeat);
    // The name of the sheet read.
    void NameSheet(std::string name) { sheet_ = std::move(name); }
    // From a handler: the sheet ends here, whatever follows in the part.
    void EndSheet();
    // Another sheet of the same part is read from here: its rows are numbered from 1.
    void Restart() {
        gap_ = repeat_ = 0;
        line_ = 0;
        shown_.clear();
        done_ = at_part_end_;
    }
    // The file is damaged so (the whole message): the sheet ends.
    void Damaged(std::string fault) {
        fault_ = std::move(fault);
        done_ = true;
    }
    // The row just read, numbered `row` (from 1), as the sheet's merged areas show it: the first
    // cells' values kept for the rows below, covered cells filled in or marked. False (the stream
    // failed with the reason) beyond the merges' bounds.
    bool ApplyMerges(Merges& merges, std::uint64_t row);
    // Parses on to the next row held or the part's end; a fault ends the sheet with its reason.
    void ParseMore();
    bool Done() const { return done_; }
    ZipPart& Part() { return *part_; }
    virtual std::string_view CellText(const Cell& cell) const {
        return std::string_view(row_text_).substr(cell.offset, cell.size);
    }

    std::shared_ptr<const void> owner_;
    std::unique_ptr<ZipPart> part_;
    XmlStream stream_;
    std::vector<Cell> cells_;
    std::string row_text_;

private:
    void HandOver(std::vector<std::string_view>& fields);

    TableFormat::Kind kind_;
    std::string damaged_;
    std::vector<CellShown> shown_;
    std::uint64_t gap_ = 0, repeat_ = 0, read_ = 0;
    std::size_t line_ = 0;
    bool done_ = false;
    bool at_part_end_ = false;  // the part is parsed to its end
    std::string fault_;
    std::string sheet_;
};

}  // namespace kelvo::schedule
