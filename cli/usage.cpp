#include "cli/usage.h"

#include <string_view>
#include <vector>

#include "schedule/formats/format_list.h"

namespace kelvo::cli {
namespace {

// The endings of the files of one kind, as a list in words: ".xlsx, .xlsm или .ods".
std::string EndingsInWords(bool package) {
    std::vector<std::string_view> endings;
    for (const schedule::FileFormat& format : schedule::FileFormats())
        if (format.package == package)
            for (const std::string_view ending : format.endings)
                if (!ending.empty()) endings.push_back(ending);
    std::string words;
    for (std::size_t i = 0; i < endings.size(); ++i)
        words.append(i == 0 ? "" : i + 1 == endings.size() ? " или " : ", ").append(endings[i]);
    return words;
}

void Replace(std::string& text, std::string_view mark, const std::string& by) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
}

}  // namespace

std::string HelpText() {
    std::string text = kHelpTemplate;
    Replace(text, "{ВЫХОДЫ}", schedule::WrittenEndings("|"));
    Replace(text, "{КНИГИ}", EndingsInWords(true));
    Replace(text, "{ТЕКСТЫ}", EndingsInWords(false));
    return text;
}

std::string UsageLine() { return HelpText().substr(0, HelpText().find('\n')); }

}  // namespace kelvo::cli
