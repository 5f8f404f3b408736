// Every file format a schedule is read from and written to, in one list: for each its kind, its
// names, the endings of its files, how a file of it is recognised from its first and last bytes,
// how its reader opens and how its writer is made. The choice of format when a file is opened,
// the choice of output by the name after -o, the schedule window's filters and the words of the
// usage text all come from here: a new format is a folder of its own and one entry in the list.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "schedule/formats/package/sheet_choice.h"
#include "schedule/formats/table.h"
#include "schedule/formats/text/encoding.h"

namespace kelvo::schedule {

// How a format reads a file: what the caller asked for, and how a header is told.
struct ReadOptions {
    std::optional<Encoding> encoding;          // text: found from the file when not given
    std::optional<char> separator;             // text: found from the header when not given
    SheetWanted sheet;                         // spreadsheets: the sheet, or how to find it
    DecimalSign numbers = DecimalSign::Comma;  // text: how its numbers are written
};

// A file opened for reading, seekable: the reader takes the descriptor over when `owned`, else
// keeps a duplicate of its own.
struct OpenedFile {
    int fd = -1;
    bool owned = true;
    std::string_view head;  // the file's first bytes
};

// What a text output is written in, where the input's own is not to be kept.
struct CsvOutputChoice {
    std::optional<Encoding> encoding;
    std::optional<bool> byte_order_mark;
};

// A result file being written: its path (a temporary file beside the target) and its descriptor.
struct OutputFile {
    std::string path;
    int fd = -1;
    CsvOutputChoice text;
};

struct FileFormat {
    TableFormat::Kind kind;
    std::string_view name;    // "XLSX"
    std::string_view noun;    // how the usage text and the messages name a file of it: "книга"
    std::string_view filter;  // the file dialogs' name of it: "Книга Excel"
    std::string_view media_type;
    // The endings its files have, in any case; the first is the one a result is written with.
    std::array<std::string_view, 3> endings;
    // A package (a zip archive) is read as one or refused as damaged, never as text.
    bool package;
    // For a package: whether the open archive is of this format (null: any package not claimed by
    // another format).
    bool (*holds)(int fd);
    std::unique_ptr<TableReader> (*open)(const OpenedFile& file, const ReadOptions& options, std::string& error);
    std::unique_ptr<TableWriter> (*make_writer)(const OutputFile& file);
};

// The formats, in the order the file dialogs offer them.
std::span<const FileFormat> FileFormats();
const FileFormat& FormatOfKind(TableFormat::Kind kind);
// The format a file of this name is, by its ending; nothing when the name says none.
const FileFormat* FormatNamedBy(std::string_view path);
// The format a result of this name is written in: the one whose first ending it has, else text.
const FileFormat& OutputFormatOf(std::string_view path);
// The format of a file read: by its first and last bytes and its name (`path`, empty for standard
// input). Nothing, and the reason in Russian (naming the file as `shown`), when it is none of them.
const FileFormat* RecognisedFormat(std::string_view path, int fd, std::string_view head, std::string_view tail,
                                   const std::string& shown, std::string& error);

// The endings the list gives, for texts: "csv|.xlsx|.ods" written ones joined by `separator`.
std::string WrittenEndings(std::string_view separator);

}  // namespace kelvo::schedule
