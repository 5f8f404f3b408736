#include "ui/schedule/schedule_table.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace kelvo::schedulewindow {

void AppendField(std::string& texts, std::string_view field) {
    std::size_t size = field.size();
    for (; size >= 0x80; size >>= 7) texts += static_cast<char>(0x80 | (size & 0x7F));
    texts += static_cast<char>(size);
    texts.append(field);
}

std::vector<std::string_view> SplitFields(std::string_view texts) {
    std::vector<std::string_view> fields;
    for (std::size_t i = 0; i < texts.size();) {
        std::size_t size = 0;
        for (int shift = 0; i < texts.size(); shift += 7) {
            const auto byte = static_cast<unsigned char>(texts[i++]);
            size |= static_cast<std::size_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) break;
        }
        size = std::min(size, texts.size() - i);
        fields.push_back(texts.substr(i, size));
        i += size;
    }
    return fields;
}

void ScheduleTable::Append(const RowChunk& chunk) {
    std::size_t first = 0;
    if (header_.empty() && !chunk.ends.empty()) {
        const std::size_t at = std::min(chunk.header_row, chunk.ends.size() - 1);
        const std::uint32_t from = at == 0 ? 0 : chunk.ends[at - 1];
        for (const std::string_view field :
             SplitFields(std::string_view(chunk.texts).substr(from, chunk.ends[at] - from)))
            header_.emplace_back(field);
        beginResetModel();
        columns_ = static_cast<int>(header_.size());
        endResetModel();
        above_header_ = at;
        AppendRows(chunk, 0, at);
        first = at + 1;
    }
    AppendRows(chunk, first, chunk.ends.size());
}

void ScheduleTable::AppendRows(const RowChunk& chunk, std::size_t first, std::size_t end) {
    if (first >= end) return;
    const std::uint32_t start = first == 0 ? 0 : chunk.ends[first - 1];
    beginInsertRows({}, static_cast<int>(row_ends_.size()), static_cast<int>(row_ends_.size() + end - first - 1));
    const std::uint64_t base = texts_.size();
    texts_.append(chunk.texts, start, chunk.ends[end - 1] - start);
    int widest = columns_;
    for (std::size_t i = first; i < end; ++i) {
        row_ends_.push_back(base + (chunk.ends[i] - start));
        using Outcome = schedule::ScheduleEvents::RowOutcome;
        const auto outcome = static_cast<Outcome>(chunk.outcome[i]);
        outcome_.push_back(chunk.outcome[i]);
        message_rows_ += outcome == Outcome::Message ? 1 : 0;
        not_disconnected_rows_ += outcome == Outcome::NotDisconnected ? 1 : 0;
        const std::uint32_t from = i == 0 ? 0 : chunk.ends[i - 1];
        const auto fields = SplitFields(std::string_view(chunk.texts).substr(from, chunk.ends[i] - from)).size();
        widest = std::max(widest, static_cast<int>(fields));
    }
    endInsertRows();
    if (widest > columns_) {
        // Rows with fields beyond the header's and the results' width.
        beginInsertColumns({}, columns_, widest - 1);
        columns_ = widest;
        endInsertColumns();
    }
}

std::vector<std::string_view> ScheduleTable::Row(std::size_t row) const {
    const std::uint64_t from = row == 0 ? 0 : row_ends_[row - 1];
    return SplitFields(std::string_view(texts_).substr(from, row_ends_[row] - from));
}

void ScheduleTable::WriteTo(schedule::TableWriter& writer) const {
    for (std::size_t row = 0; row <= row_ends_.size(); ++row) {
        if (row == above_header_) {
            for (const std::string& name : header_) writer.Field(name);
            writer.EndRecord();
        }
        if (row == row_ends_.size()) break;
        for (const std::string_view field : Row(row)) writer.Field(field);
        writer.EndRecord();
    }
}

int ScheduleTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(row_ends_.size());
}

int ScheduleTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ScheduleTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::BackgroundRole) {
        // A row with a message in red, a row whose breaker does not disconnect in time in amber.
        using Outcome = schedule::ScheduleEvents::RowOutcome;
        const auto outcome = static_cast<Outcome>(outcome_[row]);
        if (outcome == Outcome::Message) return QBrush(QColor(255, 215, 205));
        if (outcome == Outcome::NotDisconnected) return QBrush(QColor(255, 232, 160));
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const auto fields = Row(row);
    const auto column = static_cast<std::size_t>(index.column());
    if (column >= fields.size()) return {};
    return QString::fromUtf8(fields[column].data(), static_cast<qsizetype>(fields[column].size()));
}

QVariant ScheduleTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < static_cast<int>(header_.size()))
        return QString::fromStdString(header_[static_cast<std::size_t>(section)]);
    return {};
}

}  // namespace kelvo::schedulewindow
