// Windows-1251 as Russian spreadsheets save "CSV": every byte decodes to its character and
// encodes back to itself, whatever the pieces the streams are handed in; a character the code
// page lacks is written as "?".
#include <gtest/gtest.h>

#include <sstream>

#include "schedule/formats/text/encoding.h"
#include "schedule/formats/text/utf8.h"

namespace kelvo::schedule {
namespace {

std::string Decode(const std::string& bytes) {
    std::istringstream in(bytes);
    Cp1251Decoder decoder(*in.rdbuf());
    std::istream decoded(&decoder);
    return std::string(std::istreambuf_iterator<char>(decoded), {});
}

// Encodes `text` handed over in pieces of `piece` bytes (characters split between pieces).
std::string Encode(const std::string& text, std::size_t piece) {
    std::ostringstream out;
    {
        Cp1251Encoder encoder(*out.rdbuf());
        std::ostream encoded(&encoder);
        for (std::size_t i = 0; i < text.size(); i += piece) encoded << text.substr(i, piece);
    }
    return out.str();
}

TEST(Cp1251, EveryByteGoesThereAndBack) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    const std::string utf8 = Decode(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    for (const std::size_t piece : {1u, 2u, 3u, 7u, 4096u}) EXPECT_EQ(Encode(utf8, piece), all) << piece;
    EXPECT_EQ(Decode("\xC0\xE1\xE2 \xA8\xB8 \xB9"), "Абв Ёё №");
}

TEST(Cp1251, CharactersItLacksBecomeQuestionMarks) {
    EXPECT_EQ(Encode("ok ∑ 漢 😀 end", 3), "ok ? ? ? end");
    EXPECT_EQ(Encode("cut \xD0", 64), "cut ?");  // a character left unfinished at the end
}

TEST(Utf8, CheckedPieceByPiece) {
    const std::string text = "Сечение 2,5 мм² — 😀";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Utf8Check check;
        check.Feed(text.substr(0, cut));
        check.Feed(text.substr(cut));
        EXPECT_TRUE(check.Valid()) << cut;
    }
    Utf8Check broken;
    broken.Feed("ok \xFF");
    EXPECT_TRUE(broken.Failed());
    Utf8Check unfinished;
    unfinished.Feed("\xD0");
    EXPECT_FALSE(unfinished.Valid());
    EXPECT_FALSE(unfinished.Failed());
}

}  // namespace
}  // namespace kelvo::schedule
