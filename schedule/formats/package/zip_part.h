// The parts of a workbook's zip archive read a piece at a time, each checked against its size
// and checksum at its end: a part that is there but cannot be read whole is damage, never taken
// for a part that is not there. minizip finds the parts and where their packed bytes begin;
// those bytes are read and unpacked here (zlib), since the minizip of this system reads the sizes
// of a part over 4 GiB (kept in the archive's 64-bit extra field) as 4 GiB on a 64-bit processor.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "schedule/formats/package/archive.h"
#include "schedule/formats/package/xml_stream.h"

namespace kelvo::schedule {

enum class PartOpened { Open, Absent, Damaged };

// A part's fault when the archive's stop function stopped the reading.
inline constexpr const char* kStopped = "чтение остановлено";

class ZipPart {
public:
    explicit ZipPart(Archive archive) : archive_(archive) {}
    ~ZipPart() { Close(); }
    ZipPart(const ZipPart&) = delete;
    ZipPart& operator=(const ZipPart&) = delete;

    // Makes the part named `name` the one read (only one part of an archive is open at a time).
    PartOpened Open(const std::string& name);
    // The next unpacked bytes, at most `size`: how many, 0 at the end of a part found whole, -1
    // when it is damaged (see Fault).
    long Read(char* data, std::size_t size);
    const std::string& Fault() const { return fault_; }
    const std::string& Name() const { return name_; }
    // The unpacked size, as the archive's directory gives it.
    std::uint64_t Size() const { return size_; }

private:
    void Close();
    long Damaged(const std::string& what);
    bool ReadSizes(const std::vector<unsigned char>& extra, std::uint64_t& local);
    bool ReadLocalHeader(std::uint64_t local, unsigned flags);

    long ReadPacked(char* data, std::size_t size);

    Archive archive_;
    std::string name_, fault_;
    bool inflating_ = false, ended_ = false;
    int method_ = 0;
    std::uint64_t size_ = 0, packed_ = 0, packed_left_ = 0, unpacked_ = 0, position_ = 0;
    unsigned long crc_wanted_ = 0, crc_ = 0;
    z_stream zlib_{};
    std::vector<char> input_;
};

// Parses the open part through `stream` to its end, or until the stream is suspended (then call
// again to go on). True when the part ended well; false with `fault` (in Russian, naming the
// part) when it is damaged or the stream failed, or with `fault` empty while suspended.
// `read` counts the unpacked bytes.
bool ParseOpenPart(ZipPart& part, XmlStream& stream, std::uint64_t& read, std::string& fault);

// The most a part beside the sheets (the workbook, its relationships, its styles, a manifest) may
// unpack to: far over any real one, and parsed within a second.
inline constexpr std::uint64_t kSidePartMax = std::uint64_t{64} << 20;

// Opens and parses a whole part of at most `size_max` unpacked bytes (more is damage); `absent_ok`:
// a part that is not there is no fault.
bool ParsePart(Archive archive, const std::string& name, XmlStream& stream, bool absent_ok, std::string& fault,
               std::uint64_t size_max = kSidePartMax);

}  // namespace kelvo::schedule
