#include "schedule/formats/xlsx/number_formats.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "core/number_text.h"
#include "schedule/formats/package/xml_stream.h"

namespace kelvo::schedule {
namespace {

constexpr std::size_t kStylesMax = 65536;
constexpr std::size_t kCodesKeptMax = std::size_t{16} << 20;

// The format code without what does not decide how a number is shown: quoted texts, escaped
// characters, colours and conditions in brackets (elapsed times, "[h]", stay).
std::string Deciding(std::string_view code) {
    std::string kept;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const auto end = code.find('"', i + 1);
            i = end == std::string_view::npos ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is shown as it is (or fills)
        } else if (c == '[') {
            const auto end = code.find(']', i + 1);
            const std::string_view inside = code.substr(i + 1, end == std::string_view::npos ? 0 : end - i - 1);
            if (!inside.empty() && (inside[0] == 'h' || inside[0] == 'H' || inside[0] == 'm' || inside[0] == 'M' ||
                                    inside[0] == 's' || inside[0] == 'S'))
                kept += inside[0];
            i = end == std::string_view::npos ? code.size() : end;
        } else {
            kept += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return kept;
}

bool HasDatePart(std::string_view deciding) {
    return deciding.find_first_of("dy") != std::string_view::npos ||
           (deciding.find('m') != std::string_view::npos && deciding.find_first_of("hs") == std::string_view::npos);
}

class StylesPart : public XmlEvents {
public:
    StylesPart(std::vector<CellShown>& styles, std::vector<bool>& time_only, XmlStream*& stream)
        : styles_(styles), time_only_(time_only), stream_(stream) {}

    void Start(std::string_view name, const char** attributes) override {
        if (name == "numFmt") {
            const char* id = Attribute(attributes, "numFmtId");
            const char* code = Attribute(attributes, "formatCode");
            if (!id || !code || codes_.size() >= kStylesMax) return;
            codes_kept_ += std::string_view(code).size();
            if (codes_kept_ > kCodesKeptMax) return stream_->Fail("коды числовых форматов занимают больше 16 МиБ");
            codes_[std::strtoul(id, nullptr, 10)] = code;
        } else if (name == "cellXfs") {
            in_cell_styles_ = true;
        } else if (name == "xf" && in_cell_styles_) {
            if (styles_.size() >= kStylesMax) return stream_->Fail("стилей ячеек больше 65 536");
            const char* id = Attribute(attributes, "numFmtId");
            const unsigned format = id ? static_cast<unsigned>(std::strtoul(id, nullptr, 10)) : 0;
            const auto custom = codes_.find(format);
            if (custom != codes_.end()) {
                styles_.push_back(ShownByFormatCode(custom->second));
                time_only_.push_back(styles_.back() == CellShown::Date && !HasDatePart(Deciding(custom->second)));
            } else {
                styles_.push_back(ShownByBuiltInFormat(format));
                time_only_.push_back((format >= 18 && format <= 21) || (format >= 45 && format <= 47));
            }
        }
    }
    void End(std::string_view name) override {
        if (name == "cellXfs") in_cell_styles_ = false;
    }
    void Text(std::string_view) override {}

private:
    std::vector<CellShown>& styles_;
    std::vector<bool>& time_only_;
    XmlStream*& stream_;
    std::map<unsigned long, std::string> codes_;
    std::size_t codes_kept_ = 0;  // bytes of the codes
    bool in_cell_styles_ = false;
};

}  // namespace

CellShown ShownByFormatCode(std::string_view code) {
    // Only the first section counts: the one positive numbers are shown with.
    const std::string deciding = Deciding(code.substr(0, code.find(';')));
    if (deciding.find('%') != std::string::npos) return CellShown::Percent;
    if (deciding == "general") return CellShown::Value;
    if (deciding.find_first_of("dyhs") != std::string::npos) return CellShown::Date;
    // "m" alone is a month (a date) unless it stands with hours or seconds (then minutes).
    if (deciding.find('m') != std::string::npos) return CellShown::Date;
    return CellShown::Value;
}

CellShown ShownByBuiltInFormat(unsigned id) {
    if (id == 9 || id == 10) return CellShown::Percent;
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47)) return CellShown::Date;
    return CellShown::Value;
}

bool NumberFormats::Read(Archive archive, std::string& fault) {
    XmlStream* stream = nullptr;
    StylesPart part(styles_, time_only_, stream);
    XmlStream parser(part);
    stream = &parser;
    return ParsePart(archive, "xl/styles.xml", parser, /*absent_ok=*/true, fault);
}

}  // namespace kelvo::schedule
