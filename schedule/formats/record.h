// What reading one record of a table gives, whatever the format.
#pragma once

#include <cstddef>

namespace kelvo::schedule {

// Record: the fields are there. TooLong: the record is over the reader's length limit and is
// not split into fields (its own bytes can be passed on). UnclosedQuote: the input ended inside
// a quoted field (the record is lost; nothing more follows). End: no more input.
enum class RecordResult { Record, TooLong, UnclosedQuote, End };

// A record over the length limit passed on as its bytes: how many fields it had, and whether the
// input ended inside quotes.
struct PassedRecord {
    std::size_t fields = 0;
    bool unclosed_quote = false;
};

}  // namespace kelvo::schedule
