// The encodings a schedule comes in: UTF-8, Windows-1251 as Russian spreadsheets save "CSV"
// files, or UTF-16 with its byte-order mark as Excel saves "Unicode text". Converting stream
// buffers let the CSV reader and writer work in UTF-8 whatever the file holds.
#pragma once

#include <array>
#include <cstdint>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo::schedule {

enum class Encoding { Utf8, Cp1251, Utf16Le, Utf16Be };

// UTF-16's byte-order mark at the start of `head`: its encoding, or UTF-8 when there is none.
Encoding Utf16ByMark(std::string_view head);
// Whether `head` reads as UTF-16 text without a byte-order mark (NULs in every other byte).
bool LooksLikeUtf16WithoutMark(std::string_view head);

// Reads UTF-16 (its byte-order mark left out) from `source` and hands it on as UTF-8; a lone
// surrogate or a last odd byte is U+FFFD.
class Utf16Decoder : public std::streambuf {
public:
    Utf16Decoder(std::streambuf& source, bool big_endian) : source_(source), big_endian_(big_endian) {}

protected:
    int_type underflow() override;

private:
    std::streambuf& source_;
    bool big_endian_, started_ = false;
    std::array<char, 1 << 15> raw_{};
    std::string carried_;  // a byte or a high surrogate that the next read completes
    std::vector<char> decoded_;
};

// Takes UTF-8 and writes it to `target` as UTF-16 after its byte-order mark.
class Utf16Encoder : public std::streambuf {
public:
    Utf16Encoder(std::streambuf& target, bool big_endian) : target_(target), big_endian_(big_endian) {}
    ~Utf16Encoder() override { sync(); }

protected:
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    void Unit(char16_t unit);
    std::streambuf& target_;
    bool big_endian_, started_ = false;
    std::string pending_;
    std::string encoded_;
};

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
