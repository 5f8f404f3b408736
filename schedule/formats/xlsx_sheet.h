// What the workbook reader's parts share: the open archive with the parts every sheet needs, and
// a sheet's reader over it.
#pragma once

#include <unistd.h>

#include <memory>

#include "schedule/formats/number_formats.h"
#include "schedule/formats/shared_strings.h"
#include "schedule/formats/table.h"
#include "schedule/formats/xlsx.h"
#include "schedule/formats/zip_part.h"

namespace kelvo::schedule {

inline constexpr const char* kDamaged = "файл XLSX поврежден";

// An open workbook: its archive (closed with it), shared strings and number formats, and its
// date system.
struct Workbook {
    Archive archive;
    SharedStrings shared;
    NumberFormats formats;
    bool date1904 = false;
    Workbook() = default;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook() {
        if (archive.zip) unzClose(archive.zip);
        if (archive.fd >= 0) ::close(archive.fd);
    }
};

// Reads the sheet whose part is open in `part`.
std::unique_ptr<TableReader> MakeSheetReader(std::shared_ptr<const Workbook> book, std::unique_ptr<ZipPart> part);

}  // namespace kelvo::schedule
