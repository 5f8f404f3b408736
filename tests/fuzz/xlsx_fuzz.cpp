// Fuzz target: kelvo-calc's workbook readers, XLSX and ODS. Whatever the bytes, opening and reading them ends in
// a table or a reason, never a crash, a hang or a row without its fields.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "schedule/columns.h"
#include "schedule/formats/ods/ods.h"
#include "schedule/formats/xlsx/xlsx.h"

namespace {

using Open = std::unique_ptr<kelvo::schedule::TableReader> (*)(int, const kelvo::schedule::SheetWanted&, std::string&);

// Opens the bytes with one of the readers and reads every row.
void ReadWith(Open open, const std::uint8_t* data, std::size_t size) {
    const int fd = memfd_create("workbook", 0);
    if (fd < 0) return;
    if (::write(fd, data, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return;
    }
    ::lseek(fd, 0, SEEK_SET);
    std::string error;
    const auto reader =
        open(fd, {"", kelvo::schedule::LooksLikeHeader, kelvo::schedule::NormalizedColumnName, {}}, error);
    if (!reader) {
        if (error.empty()) std::abort();
        return;
    }
    std::vector<std::string_view> fields;
    std::size_t rows = 0;
    while (reader->Next(fields) == kelvo::schedule::TableReader::Result::Record) {
        if (++rows > 2'000'000) std::abort();
        if (!reader->Shown().empty() && reader->Shown().size() != fields.size()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadWith(kelvo::schedule::MakeXlsxReader, data, size);
    ReadWith(kelvo::schedule::MakeOdsReader, data, size);
    return 0;
}
