#include "schedule/formats/format_list.h"

#include <cctype>

#include "schedule/formats/csv/csv_table.h"
#include "schedule/formats/files.h"
#include "schedule/formats/ods/ods.h"
#include "schedule/formats/xlsx/xlsx.h"

namespace kelvo::schedule {
namespace {

// A package's reader keeps a descriptor of its own.
template <std::unique_ptr<TableReader> (*Make)(int, const SheetWanted&, std::string&)>
std::unique_ptr<TableReader> OpenPackage(const OpenedFile& file, const ReadOptions& options, std::string& error) {
    const int fd = file.owned ? file.fd : DuplicateDescriptor(file.fd);
    if (fd < 0) {
        error = "ошибка чтения входа: " + ReasonOf(errno);
        return nullptr;
    }
    return Make(fd, options.sheet, error);
}

template <std::unique_ptr<TableWriter> (*Make)(const std::string&)>
std::unique_ptr<TableWriter> MakePackageWriter(const OutputFile& file) {
    return Make(file.path);
}

std::unique_ptr<TableWriter> MakeTextWriter(const OutputFile& file) { return MakeCsvFileWriter(file.fd, file.text); }

constexpr FileFormat kFormats[] = {
    {TableFormat::Kind::Xlsx,
     "XLSX",
     "книга",
     "Книга Excel",
     "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
     {".xlsx", ".xlsm"},
     true,
     nullptr,
     OpenPackage<MakeXlsxReader>,
     MakePackageWriter<MakeXlsxWriter>},
    {TableFormat::Kind::Ods,
     "ODS",
     "документ",
     "Таблица LibreOffice",
     "application/vnd.oasis.opendocument.spreadsheet",
     {".ods"},
     true,
     IsOdsArchive,
     OpenPackage<MakeOdsReader>,
     MakePackageWriter<MakeOdsWriter>},
    {TableFormat::Kind::Csv,
     "CSV",
     "таблица",
     "CSV",
     "text/csv",
     {".csv", ".txt", ".tsv"},
     false,
     nullptr,
     OpenCsvFile,
     MakeTextWriter},
};

bool EndsWith(std::string_view path, std::string_view end) {
    if (end.empty() || path.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - end.size() + i])) != end[i]) return false;
    return true;
}

// A zip archive's local header at its start (or anywhere in its first bytes, when the first one
// is damaged), or the end of its directory in its last bytes.
bool HoldsZipSignature(std::string_view head, std::string_view tail) {
    return head.find(std::string_view("PK\x03\x04", 4)) != std::string_view::npos ||
           head.find(std::string_view("PK\x05\x06", 4)) != std::string_view::npos ||
           tail.find(std::string_view("PK\x05\x06", 4)) != std::string_view::npos;
}

// Whether the bytes begin as the older compound files do (an .xls workbook, or any workbook
// saved with a password).
bool LooksLikeCompoundFile(std::string_view start) {
    return start.starts_with(std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

// Whether the first bytes can be a table saved as text: no NUL, and hardly any other control
// characters.
bool LooksLikeText(std::string_view head) {
    std::size_t controls = 0;
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) return false;
        controls += byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f';
    }
    return controls * 100 <= head.size();
}

// "не таблица CSV и не книга XLSX или ODS"
std::string NoneOfTheFormats() {
    std::string text, packages;
    for (const FileFormat& format : kFormats) {
        if (!format.package) {
            text.append(text.empty() ? "не " : " и не ").append(format.noun).append(" ").append(format.name);
        } else {
            packages.append(packages.empty() ? "" : " или ").append(format.name);
        }
    }
    return text + " и не книга " + packages;
}

const FileFormat* RecognisedPackage(const FileFormat* named, int fd) {
    for (const FileFormat& format : kFormats)
        if (format.package && format.holds && format.holds(fd)) return &format;
    if (named && named->package) return named;
    for (const FileFormat& format : kFormats)
        if (format.package && !format.holds) return &format;
    return nullptr;
}

}  // namespace

std::span<const FileFormat> FileFormats() { return kFormats; }

const FileFormat& FormatOfKind(TableFormat::Kind kind) {
    for (const FileFormat& format : kFormats)
        if (format.kind == kind) return format;
    return kFormats[0];
}

const FileFormat* FormatNamedBy(std::string_view path) {
    for (const FileFormat& format : kFormats)
        for (const std::string_view ending : format.endings)
            if (EndsWith(path, ending)) return &format;
    return nullptr;
}

const FileFormat& OutputFormatOf(std::string_view path) {
    for (const FileFormat& format : kFormats)
        if (format.package && EndsWith(path, format.endings[0])) return format;
    for (const FileFormat& format : kFormats)
        if (!format.package) return format;
    return kFormats[0];
}

const FileFormat* RecognisedFormat(std::string_view path, int fd, std::string_view head, std::string_view tail,
                                   const std::string& shown, std::string& error) {
    if (LooksLikeCompoundFile(head)) {
        error = "это книга старого формата .xls или книга, защищенная паролем: сохраните ее как .xlsx без пароля";
        return nullptr;
    }
    // LibreOffice's flat OpenDocument file (one XML file, not an archive) is refused by name.
    if (EndsWith(path, ".fods") || (head.find("<office:document ") != std::string_view::npos &&
                                    head.find("opendocument.spreadsheet") != std::string_view::npos)) {
        error = shown + " — плоский документ OpenDocument (.fods): сохраните его в табличной программе как .ods";
        return nullptr;
    }
    // A package is what is named one or holds a zip archive's marks: read as a package or refused
    // as damaged, never read as text.
    const FileFormat* named = FormatNamedBy(path);
    if ((named && named->package) || HoldsZipSignature(head, tail)) return RecognisedPackage(named, fd);
    if (named || LooksLikeText(head) || Utf16ByMark(head) != Encoding::Utf8 || LooksLikeUtf16WithoutMark(head))
        for (const FileFormat& format : kFormats)
            if (!format.package) return &format;
    error = shown + " — " + NoneOfTheFormats() + " (в нем есть двоичные данные)";
    return nullptr;
}

std::string WrittenEndings(std::string_view separator) {
    std::string text, packages;
    for (const FileFormat& format : kFormats)
        (format.package ? packages : text).append(separator).append(format.endings[0]);
    return (text + packages).substr(separator.size());
}

}  // namespace kelvo::schedule
