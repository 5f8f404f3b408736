#include "schedule/formats/csv/csv_table.h"

#include "schedule/formats/csv/csv.h"

#include <istream>
#include <ostream>

namespace kelvo::schedule {
namespace {

// What reads a file's encoding as UTF-8; null for UTF-8 itself.
std::unique_ptr<std::streambuf> DecoderFor(Encoding encoding, std::streambuf& source) {
    switch (encoding) {
        case Encoding::Cp1251:
            return std::make_unique<Cp1251Decoder>(source);
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            return std::make_unique<Utf16Decoder>(source, encoding == Encoding::Utf16Be);
        case Encoding::Utf8:
            break;
    }
    return nullptr;
}

class CsvTableReader final : public TableReader, public TextRecords {
public:
    CsvTableReader(std::istream& in, const TableFormat& format, CsvSource source)
        : format_(format),
          source_(std::move(source)),
          decoder_(DecoderFor(format.encoding, *in.rdbuf())),
          decoded_(decoder_ ? decoder_.get() : in.rdbuf()),
          reader_(decoded_, format.separator) {}

    Result Next(std::vector<std::string_view>& fields) override { return reader_.Next(fields); }
    PassedRecord PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                             const std::function<void()>& at_field) override {
        return reader_.PassThrough(bytes, field, at_field);
    }
    std::size_t RecordLine() const override { return reader_.RecordLine(); }
    bool RecordIsUtf8() const override { return reader_.RecordIsUtf8(); }
    std::string_view PlainRecord() const override { return reader_.PlainRecord(); }
    TableFormat Format() const override {
        TableFormat format = format_;
        format.byte_order_mark = reader_.HadByteOrderMark();
        if (!reader_.FirstLineBreak().empty()) format.line_break = std::string(reader_.FirstLineBreak());
        return format;
    }
    std::string Fault() const override { return source_.fault ? source_.fault() : std::string(); }
    TextRecords* AsText() override { return this; }
    double Progress() const override { return source_.progress ? source_.progress() : -1; }

private:
    TableFormat format_;
    CsvSource source_;
    std::unique_ptr<std::streambuf> decoder_;
    std::istream decoded_;
    CsvReader reader_;
};

class CsvTableWriter : public TableWriter {
public:
    CsvTableWriter(std::ostream& out, const CsvOutputChoice& choice) : out_(out), choice_(choice) {}

    void Begin(const TableFormat& input, const TableLayout&) override {
        const bool csv_input = input.kind == TableFormat::Kind::Csv;
        const Encoding encoding = choice_.encoding.value_or(csv_input ? input.encoding : Encoding::Utf8);
        const bool bom =
            encoding == Encoding::Utf8 && choice_.byte_order_mark.value_or(csv_input && input.byte_order_mark);
        if (encoding == Encoding::Cp1251) encoder_ = std::make_unique<Cp1251Encoder>(*out_.rdbuf());
        if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be)
            encoder_ = std::make_unique<Utf16Encoder>(*out_.rdbuf(), encoding == Encoding::Utf16Be);
        encoded_ = std::make_unique<std::ostream>(encoder_ ? encoder_.get() : out_.rdbuf());
        writer_.emplace(*encoded_, csv_input ? input.separator : ';', csv_input ? input.line_break : "\r\n", bom);
        copies_plain_ = csv_input;
    }
    bool CopiesPlainRecords() const override { return copies_plain_; }
    void Field(std::string_view field) override { writer_->Field(field); }
    void Fields(std::span<const std::string_view> fields) override { writer_->Fields(fields); }
    void Raw(std::string_view bytes) override { writer_->Raw(bytes); }
    void EndRecord() override { writer_->EndRecord(); }
    bool Finish(std::string& error) override {
        if (writer_) writer_->Flush();
        if (encoded_) encoded_->flush();
        out_.flush();
        if (!out_ || (encoded_ && !*encoded_)) {
            error = "ошибка записи";
            return false;
        }
        return true;
    }

private:
    std::ostream& out_;
    CsvOutputChoice choice_;
    std::unique_ptr<std::streambuf> encoder_;
    std::unique_ptr<std::ostream> encoded_;
    std::optional<CsvWriter> writer_;
    bool copies_plain_ = false;
};

}  // namespace

std::unique_ptr<TableReader> MakeCsvReader(std::istream& in, const TableFormat& format, CsvSource source) {
    return std::make_unique<CsvTableReader>(in, format, std::move(source));
}

std::unique_ptr<TableWriter> MakeCsvWriter(std::ostream& out, const CsvOutputChoice& choice) {
    return std::make_unique<CsvTableWriter>(out, choice);
}

char DetectSeparator(std::string_view first_line) {
    std::size_t semicolons = 0, tabs = 0, commas = 0;
    bool quoted = false;
    for (const char c : first_line) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        semicolons += c == ';';
        tabs += c == '\t';
        commas += c == ',';
    }
    if (semicolons >= tabs && semicolons >= commas) return ';';
    return tabs >= commas ? '\t' : ',';
}

}  // namespace kelvo::schedule
