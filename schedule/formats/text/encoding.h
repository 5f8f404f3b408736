// The encodings a schedule comes in: UTF-8, or Windows-1251 as Russian spreadsheets save "CSV"
// files. Converting stream buffers let the CSV reader and writer work in UTF-8 whatever the file
// holds.
#pragma once

#include <array>
#include <cstdint>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo::schedule {

enum class Encoding { Utf8, Cp1251 };

// Reads Windows-1251 from `source` and hands it on as UTF-8.
class Cp1251Decoder : public std::streambuf {
public:
    explicit Cp1251Decoder(std::streambuf& source) : source_(source) {}

protected:
    int_type underflow() override;

private:
    std::streambuf& source_;
    std::array<char, 1 << 15> raw_{};
    std::vector<char> decoded_;
};

// Takes UTF-8 and writes it to `target` as Windows-1251; a character it has no code for is
// written as "?".
class Cp1251Encoder : public std::streambuf {
public:
    explicit Cp1251Encoder(std::streambuf& target) : target_(target) {}
    ~Cp1251Encoder() override { sync(); }

protected:
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    std::streambuf& target_;
    std::string pending_;  // the start of a character split between two writes
    std::string encoded_;
};

}  // namespace kelvo::schedule
