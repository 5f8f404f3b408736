// A schedule as a file: opened for reading in whichever format of the list it is
// (formats/format_list.h), and written in the format its name says into a file that replaces its
// target only once complete. kelvo-calc and the window's schedule both go through here.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "schedule/formats/files.h"
#include "schedule/formats/format_list.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

struct InputOptions {
    std::optional<Encoding> encoding;  // found from the file when not given
    std::optional<char> separator;     // found from the header line when not given
    std::string sheet;                 // a spreadsheet's sheet; the first with a header when empty
    std::function<bool()> stop;        // asked while a spreadsheet is read: true stops it (a fault)
};

// Whether a file's fault is only that its reading was stopped by InputOptions::stop.
bool ReadingStopped(std::string_view fault);

class ScheduleInput {
public:
    // Opens the file at `path`, or standard input for "" and "-". Nothing, and the reason in
    // Russian, when it cannot be opened or read, or is a spreadsheet that cannot be read.
    static std::unique_ptr<ScheduleInput> Open(const std::string& path, const InputOptions& options,
                                               std::string& error);
    ScheduleInput(std::unique_ptr<TableReader> reader, std::optional<FileIdentity> identity)
        : reader_(std::move(reader)), identity_(identity) {}
    TableReader& Reader() { return *reader_; }
    // Which file this is, to keep an output from going over it.
    std::optional<FileIdentity> Identity() const { return identity_; }

private:
    std::unique_ptr<TableReader> reader_;
    std::optional<FileIdentity> identity_;
};

// The output's format from its name (OutputFormatOf): a spreadsheet by its ending, else CSV.
TableFormat::Kind KindOfPath(const std::string& path);

struct OutputOptions {
    TableFormat::Kind kind = TableFormat::Kind::Csv;
    CsvOutputChoice csv;
};

class ScheduleOutput {
public:
    // The file at `path` (through a temporary file beside it), or standard output for "" (text
    // only). Nothing, and the reason, when it cannot be made.
    static std::unique_ptr<ScheduleOutput> Open(const std::string& path, const OutputOptions& options,
                                                std::string& error);
    virtual ~ScheduleOutput() = default;
    virtual TableWriter& Writer() = 0;
    // Finishes the writing and puts the file in place; false, with the reason, when it fails (the
    // target then as it was).
    virtual bool Commit(std::string& error) = 0;
};

}  // namespace kelvo::schedule
