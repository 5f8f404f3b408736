// Writing an OpenDocument spreadsheet: the archive through minizip, its content part written row
// by row as the rows come (the sheet is never held whole), then read back whole before it counts
// as written.
#include <minizip/zip.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/number_text.h"
#include "schedule/formats/ods/ods.h"
#include "schedule/formats/cells/cell_writer.h"
#include "schedule/formats/package/read_back.h"

namespace kelvo::schedule {
namespace {

constexpr const char* kMimeType = "application/vnd.oasis.opendocument.spreadsheet";

constexpr const char* kManifest = R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:full-path="/" manifest:version="1.2" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>
 <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
</manifest:manifest>
)";

// The content's start: the styles of the columns (the messages' column wide), the bold header
// and the dates, then the sheet.
constexpr const char* kContentStart = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" office:version="1.2"><office:automatic-styles><style:style style:name="co1" style:family="table-column"><style:table-column-properties style:column-width="2.6cm"/></style:style><style:style style:name="co2" style:family="table-column"><style:table-column-properties style:column-width="11cm"/></style:style><style:style style:name="ce1" style:family="table-cell"><style:text-properties fo:font-weight="bold"/></style:style><number:date-style style:name="N1"><number:day number:style="long"/><number:text>.</number:text><number:month number:style="long"/><number:text>.</number:text><number:year number:style="long"/></number:date-style><number:date-style style:name="N2"><number:day number:style="long"/><number:text>.</number:text><number:month number:style="long"/><number:text>.</number:text><number:year number:style="long"/><number:text> </number:text><number:hours number:style="long"/><number:text>:</number:text><number:minutes number:style="long"/></number:date-style><style:style style:name="ce2" style:family="table-cell" style:data-style-name="N1"/><style:style style:name="ce3" style:family="table-cell" style:data-style-name="N2"/></office:automatic-styles><office:body><office:spreadsheet><table:table table:name="Результат">)";
constexpr const char* kContentEnd = "</table:table></office:spreadsheet></office:body></office:document-content>\n";

// A text as a cell's paragraphs: XML's special characters escaped, a line break a new paragraph,
// a tab and every space after the first of a run (or at a paragraph's start) as the format's own
// elements, which a reader does not fold; what XML cannot hold (control characters, U+FFFE, U+FFFF)
// as U+FFFD.
void AppendParagraphs(std::string_view text, std::string& out) {
    std::string encoded, clean;
    EncodeCellText(text, encoded);
    DecodeCellText(encoded, clean);  // the text cut and made UTF-8, its own "_x" kept as it was
    out += "<text:p>";
    bool after_space = true;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const char c = clean[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            std::size_t run = 1;
            while (i + run < clean.size() && clean[i + run] == ' ') ++run;
            const bool ends = i + run == clean.size() || clean[i + run] == '\n';
            const std::size_t plain = after_space || ends ? 0 : 1;  // one space between words stays a space
            if (plain) out += ' ';
            if (run > plain) out += "<text:s text:c=\"" + std::to_string(run - plain) + "\"/>";
            i += run - 1;
            after_space = true;
            continue;
        }
        after_space = false;
        if (c == '\n') {
            out += "</text:p><text:p>";
            after_space = true;
        } else if (c == '\t') {
            out += "<text:tab/>";
        } else if (byte < 0x20 && c != '\r') {
            out += "\xEF\xBF\xBD";
        } else if (byte == 0xEF && clean.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < clean.size() &&
                   (clean[i + 2] == '\xBE' || clean[i + 2] == '\xBF')) {
            out += "\xEF\xBF\xBD";  // U+FFFE and U+FFFF, which XML cannot hold
            i += 2;
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '\r') {
            out += "&#13;";
        } else {
            out += c;
        }
    }
    out += "</text:p>";
}

class OdsTableWriter final : public CellWriter {
public:
    explicit OdsTableWriter(std::string path) : CellWriter(4 * kCellCharactersMax), path_(std::move(path)) {}
    ~OdsTableWriter() override {
        if (zip_) zipClose(zip_, nullptr);
    }
    bool Finish(std::string& error) override;

private:
    void Start() override {
        const std::size_t message_column = Layout().message_column;
        if (message_column >= kSheetColumnsMax) return Fail("в строке больше столбцов, чем в листе ODS");
        zip_ = zipOpen64(path_.c_str(), APPEND_STATUS_CREATE);
        if (!zip_) return Fail("не удается создать файл документа: " + std::string(std::strerror(errno)));
        // The media type comes first and unpacked, as the format asks.
        if (!AddWhole("mimetype", kMimeType, false) || !AddWhole("META-INF/manifest.xml", kManifest, true)) return;
        zip_fileinfo info{};
        if (zipOpenNewFileInZip64(zip_, "content.xml", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 1) !=
            ZIP_OK)
            return Fail("ошибка записи документа: " + std::string(std::strerror(errno)));
        in_content_ = true;
        buffer_ = kContentStart;
        if (message_column > 0)
            buffer_ += "<table:table-column table:style-name=\"co1\" table:number-columns-repeated=\"" +
                       std::to_string(message_column) + "\"/>";
        buffer_ += "<table:table-column table:style-name=\"co2\"/>";
    }
    void Cell(std::string_view field) override;
    void EndRow() override {
        if (!row_open_) buffer_ += "<table:table-row>";
        buffer_ += "</table:table-row>";
        row_open_ = false;
        column_ = 0;
        if (Row() + 1 >= kSheetRowsMax) Fail("в листе ODS не больше 1 048 576 строк");
        if (buffer_.size() >= (1u << 16)) Flush();
    }
    bool AddWhole(const char* name, std::string_view text, bool packed) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip64(zip_, name, &info, nullptr, 0, nullptr, 0, nullptr, packed ? Z_DEFLATED : 0,
                                  packed ? 6 : 0, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip_, text.data(), static_cast<unsigned>(text.size())) != ZIP_OK ||
            zipCloseFileInZip(zip_) != ZIP_OK)
            return Fail("ошибка записи документа: " + std::string(std::strerror(errno))), false;
        return true;
    }
    void Flush() {
        if (!error_.empty() || buffer_.empty()) return;
        if (zipWriteInFileInZip(zip_, buffer_.data(), static_cast<unsigned>(buffer_.size())) != ZIP_OK)
            Fail("ошибка записи документа: " + std::string(std::strerror(errno)));
        buffer_.clear();
    }
    void Fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
    }

    std::string path_;
    zipFile zip_ = nullptr;
    bool in_content_ = false, row_open_ = false;
    std::size_t column_ = 0, skipped_ = 0;
    std::string buffer_, error_;
};

void OdsTableWriter::Cell(std::string_view field) {
    if (!in_content_ || !error_.empty()) return;
    if (!row_open_) buffer_ += "<table:table-row>", row_open_ = true, skipped_ = 0;
    const std::size_t column = column_++;
    if (column_ > kSheetColumnsMax) return Fail("в строке больше столбцов, чем в листе ODS");
    if (field.empty()) return ++skipped_, void();
    if (skipped_ > 0) {
        buffer_ += "<table:table-cell table:number-columns-repeated=\"" + std::to_string(skipped_) + "\"/>";
        skipped_ = 0;
    }
    const ResultCell cell = ResultOf(field, column);
    if (cell.kind == ResultCell::Kind::Number) {
        std::string value(field);
        std::replace(value.begin(), value.end(), ',', '.');
        buffer_ += "<table:table-cell office:value-type=\"float\" office:value=\"" + value + "\"><text:p>" +
                   std::string(field) + "</text:p></table:table-cell>";
        return;
    }
    if (cell.kind == ResultCell::Kind::Date) {
        const ShownDateParts& date = cell.date;
        char iso[32];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d", date.year, date.month, date.day, date.hour,
                      date.minute, date.second);
        buffer_ += std::string("<table:table-cell table:style-name=\"") + (date.has_time ? "ce3" : "ce2") +
                   "\" office:value-type=\"date\" office:date-value=\"" + iso + "\"><text:p>" + std::string(field) +
                   "</text:p></table:table-cell>";
        return;
    }
    buffer_ += IsHeaderRow() ? "<table:table-cell table:style-name=\"ce1\" office:value-type=\"string\">"
                             : "<table:table-cell office:value-type=\"string\">";
    AppendParagraphs(field, buffer_);
    buffer_ += "</table:table-cell>";
}

bool OdsTableWriter::Finish(std::string& error) {
    if (in_content_ && error_.empty()) {
        buffer_ += kContentEnd;
        Flush();
        if (zipCloseFileInZip(zip_) != ZIP_OK) Fail("ошибка записи документа: " + std::string(std::strerror(errno)));
    }
    if (zip_ && zipClose(zip_, nullptr) != ZIP_OK)
        Fail("ошибка записи документа: " + std::string(std::strerror(errno)));
    zip_ = nullptr;
    struct stat written {};
    if (error_.empty() && ::stat(path_.c_str(), &written) == 0 && S_ISREG(written.st_mode))
        Fail(ReadBack(path_, {"content.xml", "table-row", Row(), "записанный документ"}));
    error = error_;
    return error_.empty();
}

}  // namespace

std::unique_ptr<TableWriter> MakeOdsWriter(const std::string& path) { return std::make_unique<OdsTableWriter>(path); }

}  // namespace kelvo::schedule
