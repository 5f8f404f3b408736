#include "schedule/formats/package/read_back.h"

#include <fcntl.h>

#include <limits>
#include <string_view>
#include <vector>

#include "schedule/formats/package/archive.h"
#include "schedule/formats/package/zip_part.h"

namespace kelvo::schedule {
namespace {

// Reads a part that is not XML to its end, which checks it against its checksum.
bool ReadWhole(Archive archive, const std::string& name, std::string& fault) {
    ZipPart part(archive);
    if (part.Open(name) != PartOpened::Open) {
        fault = "часть «" + name + "» не читается";
        return false;
    }
    std::vector<char> buffer(1 << 16);
    long got = 0;
    while ((got = part.Read(buffer.data(), buffer.size())) > 0) {
    }
    if (got < 0) fault = part.Fault();
    return got == 0;
}

// What is wrong with the archive's parts; "" when every part reads whole and the rows add up.
std::string CheckParts(Archive archive, const WrittenSheet& sheet) {
    std::string fault;
    for (int status = unzGoToFirstFile(archive.zip); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(archive.zip)) {
        char name[512] = {};
        if (status != UNZ_OK ||
            unzGetCurrentFileInfo64(archive.zip, nullptr, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            return "каталог архива не читается";
        const std::string_view part(name);
        if (!part.ends_with(".xml") && !part.ends_with(".rels")) {
            if (!ReadWhole(archive, name, fault)) return fault;
            continue;
        }
        ElementCounter counter(sheet.row_element);
        XmlStream stream(counter);
        if (!ParsePart(archive, name, stream, false, fault, std::numeric_limits<std::uint64_t>::max())) return fault;
        if (part == sheet.part && counter.count != sheet.rows)
            return "в записанном листе " + std::to_string(counter.count) + " строк из " + std::to_string(sheet.rows);
    }
    return {};
}

}  // namespace

std::string ReadBack(const std::string& path, const WrittenSheet& sheet) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::string(sheet.noun) + " не читается";
    const OpenArchive file(fd);
    if (!file.Opened()) return std::string(sheet.noun) + " не читается";
    const std::string fault = CheckParts(file.Get(), sheet);
    return fault.empty() ? fault : std::string(sheet.noun) + " не сходится с результатом: " + fault;
}

}  // namespace kelvo::schedule
