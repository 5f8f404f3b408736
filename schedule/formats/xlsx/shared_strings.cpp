#include "schedule/formats/xlsx/shared_strings.h"

#include "schedule/formats/cells/cell_text.h"
#include "schedule/formats/package/zip_part.h"

namespace kelvo::schedule {
namespace {

constexpr std::size_t kItemBytesMax = 4 * kCellCharactersMax;

// The items of the part: each <si> is a string, the text of its <t> elements joined, the
// phonetic guides (<rPh>) left out.
class SharedStringsPart : public XmlEvents {
public:
    SharedStringsPart(SharedStrings& strings, XmlStream*& stream) : strings_(strings), stream_(stream) {}

    void Start(std::string_view name, const char**) override {
        if (name == "si") {
            in_item_ = true;
            item_.clear();
        } else if (name == "rPh") {
            ++phonetic_;
        } else if (name == "t" && in_item_ && phonetic_ == 0) {
            in_text_ = true;
        }
    }
    void End(std::string_view name) override {
        if (name == "si" && in_item_) {
            in_item_ = false;
            DecodeCellText(item_, decoded_);
            if (CountCharacters(decoded_) > kCellCharactersMax)
                return stream_->Fail("строка " + std::to_string(strings_.Count() + 1) + " длиннее 32 767 знаков");
            if (!strings_.Add(decoded_)) stream_->Fail(strings_.Fault());
        } else if (name == "rPh" && phonetic_ > 0) {
            --phonetic_;
        } else if (name == "t") {
            in_text_ = false;
        }
    }
    void Text(std::string_view text) override {
        if (!in_text_) return;
        if (item_.size() + text.size() > kItemBytesMax)
            return stream_->Fail("строка " + std::to_string(strings_.Count() + 1) + " длиннее 32 767 знаков");
        item_ += text;
    }

private:
    SharedStrings& strings_;
    XmlStream*& stream_;
    std::string item_, decoded_;
    bool in_item_ = false, in_text_ = false;
    int phonetic_ = 0;
};

}  // namespace

bool SharedStrings::Add(std::string_view text) {
    if (refs_.size() >= kSharedCountMax) {
        fault_ = "общих строк больше " + std::to_string(kSharedCountMax);
        return false;
    }
    if (total_ + text.size() > kSharedTextMax) {
        fault_ = "общие строки больше 100 МиБ";
        return false;
    }
    if (pages_.empty() || pages_.back().size() + text.size() > kPage) {
        pages_.emplace_back();
        pages_.back().reserve(kPage);
    }
    std::string& page = pages_.back();
    refs_.push_back((static_cast<std::uint64_t>(pages_.size() - 1) << 40) |
                    (static_cast<std::uint64_t>(page.size()) << 20) | text.size());
    page += text;
    total_ += text.size();
    return true;
}

std::string_view SharedStrings::At(std::size_t index) const {
    const std::uint64_t ref = refs_[index];
    const std::string& page = pages_[ref >> 40];
    return std::string_view(page).substr((ref >> 20) & 0xFFFFF, ref & 0xFFFFF);
}

bool SharedStrings::Read(Archive archive, std::string& fault) {
    XmlStream* stream = nullptr;
    SharedStringsPart part(*this, stream);
    XmlStream parser(part);
    stream = &parser;
    // At most 100 MiB of strings, in what XML around them a real part has.
    return ParsePart(archive, "xl/sharedStrings.xml", parser, /*absent_ok=*/true, fault, std::uint64_t{256} << 20);
}

}  // namespace kelvo::schedule
