// Cell texts as spreadsheet files keep them. XML cannot hold some characters (most control characters,
// U+FFFE, U+FFFF): the workbook format writes each of them as "_xHHHH_" (its UTF-16 code in hex),
// and an underscore that would begin such a sequence as "_x005F_". A cell holds at most 32 767
// characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "schedule/formats/cells/limits.h"

namespace kelvo::schedule {

// Characters (UTF-8 sequences) in a UTF-8 text.
std::size_t CountCharacters(std::string_view text);

// `text` as it is written into a workbook's XML: every character XML cannot hold escaped, bytes
// that are not UTF-8 each replaced by U+FFFD, and no more than kCellCharactersMax characters of
// the text kept. Written into `out` (replaced).
void EncodeCellText(std::string_view text, std::string& out);

// A string of a workbook with its "_xHHHH_" sequences read back, into `out` (replaced).
void DecodeCellText(std::string_view text, std::string& out);

// A CSV record passed through whole (a row over the length limit) cut back into its fields, for
// the writers that keep fields rather than bytes: quotes are read as CSV reads them, a field of
// more than `field_max` bytes is cut there. The row's own fields come as Raw pieces; the fields
// written between them (the results) as Field calls.
class RawRecordFields {
public:
    RawRecordFields(char separator, std::size_t field_max) : separator_(separator), field_max_(field_max) {}
    // The next bytes of the record; `take` gets each field completed by them.
    template <typename Take>
    void Raw(std::string_view bytes, Take&& take);
    // A field written on its own follows: the raw field under way, if any, is complete.
    template <typename Take>
    void BeforeField(Take&& take) {
        if (in_raw_) EndRawField(take);
        resumed_ = true;
    }
    template <typename Take>
    void EndRecord(Take&& take) {
        if (in_raw_) EndRawField(take);
        resumed_ = false;
    }

private:
    enum class Quote { None, Open, Closing };
    template <typename Take>
    void EndRawField(Take& take) {
        take(std::string_view(field_));
        field_.clear();
        in_raw_ = false;
        quote_ = Quote::None;
    }

    char separator_;
    std::size_t field_max_;
    std::string field_;
    bool in_raw_ = false, resumed_ = false;
    Quote quote_ = Quote::None;
};

template <typename Take>
void RawRecordFields::Raw(std::string_view bytes, Take&& take) {
    for (const char c : bytes) {
        // Bytes that go on after fields written on their own begin with the separator before
        // the next field of the row (one beyond the header's width).
        if (resumed_) {
            resumed_ = false;
            if (c == separator_) continue;
        }
        in_raw_ = true;
        if (c == '"' && quote_ == Quote::Open) {
            quote_ = Quote::Closing;
            continue;
        }
        if (c == '"' && quote_ == Quote::Closing) {  // a doubled quote inside quotes
            quote_ = Quote::Open;
        } else if (c == '"' && field_.empty() && quote_ == Quote::None) {
            quote_ = Quote::Open;
            continue;
        } else if (quote_ != Quote::Open && c == separator_) {
            EndRawField(take);
            in_raw_ = true;
            continue;
        } else if (quote_ == Quote::Closing) {
            quote_ = Quote::None;
        }
        if (field_.size() < field_max_) field_ += c;
    }
}

}  // namespace kelvo::schedule
