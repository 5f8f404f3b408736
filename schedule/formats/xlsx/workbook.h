// What the workbook reader's parts share: the open archive with the parts every sheet needs, and
// a sheet's reader over it.
#pragma once

#include <memory>

#include "schedule/formats/package/archive.h"
#include "schedule/formats/package/zip_part.h"
#include "schedule/formats/table.h"
#include "schedule/formats/xlsx/number_formats.h"
#include "schedule/formats/xlsx/shared_strings.h"

namespace kelvo::schedule {

inline constexpr const char* kDamaged = "файл XLSX поврежден";

// An open workbook: its archive (closed with it), shared strings and number formats, and its
// date system.
struct Workbook {
    Workbook(int fd, std::function<bool()> stop) : file(fd, std::move(stop)), archive(file.Get()) {}
    OpenArchive file;
    Archive archive;
    SharedStrings shared;
    NumberFormats formats;
    bool date1904 = false;
};

// Reads the sheet named `name` whose part is open in `part`; `with_merges`: its merged areas read first (a pass
// over the part of its own, since they stand after the rows), else none. Nothing, and the reason,
// when they cannot be read.
std::unique_ptr<TableReader> MakeSheetReader(std::shared_ptr<const Workbook> book, std::unique_ptr<ZipPart> part,
                                             const std::string& name, bool with_merges, std::string& fault);

}  // namespace kelvo::schedule
