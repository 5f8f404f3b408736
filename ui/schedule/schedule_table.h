// The rows of a calculated schedule as the schedule window shows them: kept compactly (one
// arena of texts for all rows, so that a million rows fit in memory), handed to a table view
// through a model, and written back out through the schedule's writers.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/table.h"
#include "schedule/run.h"

namespace kelvo::schedulewindow {

// A piece of rows made on the calculating thread and handed to the window's.
struct RowChunk {
    std::string texts;                  // every field as AppendField writes it, row after row
    std::vector<std::uint32_t> ends;    // where each row ends in texts
    std::vector<std::uint8_t> outcome;  // per row: a schedule::ScheduleEvents::RowOutcome
    std::size_t header_row = 0;         // the first piece: the rows above the header (a title)
};

// Appends a field to a row's texts: its length (seven bits a byte, lowest first, the high bit
// set on every byte but the last), then its bytes. Any byte may stand in a field.
void AppendField(std::string& texts, std::string_view field);

class ScheduleTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ScheduleTable(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The header (in the first chunk, after the rows above it) sets the columns.
    void Append(const RowChunk& chunk);

    std::size_t RowCount() const { return row_ends_.size(); }  // without the header
    // The first rows: a title above the header, shown and saved before it, neither calculated
    // nor with a message.
    std::size_t RowsAboveHeader() const { return above_header_; }
    std::size_t MessageRowCount() const { return message_rows_; }
    // Rows whose breaker does not disconnect a fault at the line's end in time.
    std::size_t NotDisconnectedRowCount() const { return not_disconnected_rows_; }
    std::vector<std::string_view> Row(std::size_t row) const;  // fields of a data row
    const std::vector<std::string>& Header() const { return header_; }

    // Writes the header and every row (the caller begins and finishes the writer).
    void WriteTo(schedule::TableWriter& writer) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void AppendRows(const RowChunk& chunk, std::size_t first, std::size_t end);

    std::vector<std::string> header_;
    std::string texts_;
    std::vector<std::uint64_t> row_ends_;
    std::vector<std::uint8_t> outcome_;
    std::size_t message_rows_ = 0, not_disconnected_rows_ = 0, above_header_ = 0;
    int columns_ = 0;
};

// A row's fields, from its texts.
std::vector<std::string_view> SplitFields(std::string_view texts);

}  // namespace kelvo::schedulewindow
