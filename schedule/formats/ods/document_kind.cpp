#include "schedule/formats/ods/document_kind.h"

#include <string_view>

#include "schedule/formats/ods/ods.h"
#include "schedule/formats/package/xml_stream.h"
#include "schedule/formats/package/zip_part.h"

namespace kelvo::schedule {
namespace {

// Whether the manifest says that the document's parts are encrypted (a password).
class Manifest : public XmlEvents {
public:
    bool encrypted = false;
    void Start(std::string_view name, const char**) override { encrypted |= name == "encryption-data"; }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}
};

}  // namespace

std::string RefusedDocument(Archive archive) {
    Manifest manifest;
    XmlStream stream(manifest);
    std::string fault;
    if (ParsePart(archive, "META-INF/manifest.xml", stream, /*absent_ok=*/true, fault) && manifest.encrypted)
        return "документ защищен паролем: сохраните его в табличной программе без пароля";
    ZipPart part(archive);
    if (part.Open("mimetype") != PartOpened::Open) return {};
    char type[128] = {};
    const long got = part.Read(type, sizeof type - 1);
    const std::string_view media(type, got > 0 ? static_cast<std::size_t>(got) : 0);
    if (media.starts_with("application/vnd.oasis.opendocument.") &&
        !media.starts_with("application/vnd.oasis.opendocument.spreadsheet"))
        return "это не таблица, а документ OpenDocument другого вида («" + std::string(media) + "»)";
    return {};
}

bool IsOdsArchive(int fd) {
    unzFile archive = OpenZip(fd);
    if (!archive) return false;
    const bool ods = unzLocateFile(archive, "content.xml", 1) == UNZ_OK &&
                     unzLocateFile(archive, "xl/workbook.xml", 1) == UNZ_END_OF_LIST_OF_FILE;
    unzClose(archive);
    return ods;
}

}  // namespace kelvo::schedule
