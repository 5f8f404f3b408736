#include "schedule/formats/package/zip_part.h"

#include "schedule/formats/files.h"

#include <algorithm>
#include <cerrno>

namespace kelvo::schedule {
namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::uint64_t kMax32 = 0xFFFFFFFF;

std::string Named(const std::string& name) { return "часть «" + name + "»"; }

std::uint64_t Little(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

PartOpened ZipPart::Open(const std::string& name) {
    Close();
    name_ = name;
    fault_.clear();
    const int located = unzLocateFile(archive_.zip, name.c_str(), 1);
    if (located == UNZ_END_OF_LIST_OF_FILE) return PartOpened::Absent;
    unz_file_info64 info{};
    std::vector<unsigned char> extra(1 << 16);
    if (located != UNZ_OK || unzGetCurrentFileInfo64(archive_.zip, &info, nullptr, 0, extra.data(),
                                                     static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK)
        return PartOpened::Damaged;
    extra.resize(std::min<std::size_t>(extra.size(), info.size_file_extra));
    method_ = static_cast<int>(info.compression_method);
    crc_wanted_ = info.crc;
    if (method_ != 0 && method_ != Z_DEFLATED) return PartOpened::Damaged;
    // The directory's own entry, read here: minizip keeps the part's offset to itself, and does not
    // take 64-bit sizes that only the directory gives.
    unz64_file_pos entry{};
    unsigned char central[46];
    if (unzGetFilePos64(archive_.zip, &entry) != UNZ_OK ||
        ReadAt(archive_.fd, reinterpret_cast<char*>(central), sizeof central, entry.pos_in_zip_directory) !=
            static_cast<long long>(sizeof central) ||
        Little(central, 4) != 0x02014b50)
        return PartOpened::Damaged;
    std::uint64_t local = Little(central + 42, 4);
    size_ = Little(central + 24, 4);
    packed_ = Little(central + 20, 4);
    if (!ReadSizes(extra, local)) return PartOpened::Damaged;
    if (!ReadLocalHeader(local, static_cast<unsigned>(Little(central + 8, 2)))) return PartOpened::Damaged;
    if (method_ == Z_DEFLATED) {
        if (inflateInit2(&zlib_, -MAX_WBITS) != Z_OK) return PartOpened::Damaged;
        inflating_ = true;
    }
    input_.resize(kChunk);
    return PartOpened::Open;
}

// The sizes and the offset, from the 64-bit extra field where the directory's own fields are full.
bool ZipPart::ReadSizes(const std::vector<unsigned char>& extra, std::uint64_t& local) {
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const auto id = Little(&extra[at], 2);
        const auto length = static_cast<std::size_t>(Little(&extra[at + 2], 2));
        if (at + 4 + length > extra.size()) return false;
        if (id == 0x0001) {
            std::size_t field = at + 4;
            for (std::uint64_t* value : {&size_, &packed_, &local}) {
                if (*value != kMax32) continue;
                if (field + 8 > at + 4 + length) return false;
                *value = Little(&extra[field], 8);
                field += 8;
            }
        }
        at += 4 + length;
    }
    packed_left_ = packed_;
    return true;
}

// The part's own header at `local`: it names the part the directory names (one that names
// another is read as a different file by tools that follow the headers) and, unless its sizes
// follow the data, agrees with the directory. The packed bytes begin after it.
bool ZipPart::ReadLocalHeader(std::uint64_t local, unsigned flags) {
    unsigned char header[30];
    if (ReadAt(archive_.fd, reinterpret_cast<char*>(header), sizeof header, local) !=
            static_cast<long long>(sizeof header) ||
        Little(header, 4) != 0x04034b50 || Little(header + 8, 2) != static_cast<std::uint64_t>(method_))
        return false;
    const bool sizes_after = ((flags | Little(header + 6, 2)) & 8) != 0;
    const auto agrees = [](std::uint64_t local_value, std::uint64_t value) {
        return local_value == value || local_value == kMax32;
    };
    if (!sizes_after && (Little(header + 14, 4) != crc_wanted_ || !agrees(Little(header + 18, 4), packed_) ||
                         !agrees(Little(header + 22, 4), size_)))
        return false;
    const std::uint64_t name_size = Little(header + 26, 2), extra_size = Little(header + 28, 2);
    std::string local_name(static_cast<std::size_t>(name_size), '\0');
    if (name_size != name_.size() ||
        ReadAt(archive_.fd, local_name.data(), local_name.size(), local + 30) !=
            static_cast<long long>(local_name.size()) ||
        local_name != name_)
        return false;
    position_ = local + 30 + name_size + extra_size;
    return true;
}

void ZipPart::Close() {
    if (inflating_) inflateEnd(&zlib_);
    zlib_ = {};
    inflating_ = ended_ = false;
    unpacked_ = 0;
    crc_ = crc32(0, nullptr, 0);
}

long ZipPart::Damaged(const std::string& what) {
    fault_ = Named(name_) + ": " + what;
    return -1;
}

// The next packed bytes of the part, at most `size`; -1 on a read error.
long ZipPart::ReadPacked(char* data, std::size_t size) {
    return static_cast<long>(ReadAt(archive_.fd, data, size, position_ + (packed_ - packed_left_)));
}

long ZipPart::Read(char* data, std::size_t size) {
    if (!fault_.empty()) return -1;
    if (archive_.stop && archive_.stop()) {
        fault_ = kStopped;
        return -1;
    }
    if (ended_ || size == 0) return 0;
    auto* out = reinterpret_cast<Bytef*>(data);
    long got = 0;
    if (method_ == 0) {
        const auto want = static_cast<unsigned>(std::min<std::uint64_t>({size, packed_left_, kChunk}));
        got = want == 0 ? 0 : ReadPacked(data, want);
        if (got < 0 || (got == 0 && packed_left_ > 0)) return Damaged("данные обрываются");
        packed_left_ -= static_cast<std::uint64_t>(got);
    } else {
        zlib_.next_out = out;
        zlib_.avail_out = static_cast<uInt>(std::min<std::size_t>(size, kChunk));
        while (zlib_.avail_out == static_cast<uInt>(std::min<std::size_t>(size, kChunk)) && !ended_) {
            if (zlib_.avail_in == 0 && packed_left_ > 0) {
                const auto want = static_cast<unsigned>(std::min<std::uint64_t>(input_.size(), packed_left_));
                const long packed = ReadPacked(input_.data(), want);
                if (packed <= 0) return Damaged("данные обрываются");
                packed_left_ -= static_cast<std::uint64_t>(packed);
                zlib_.next_in = reinterpret_cast<Bytef*>(input_.data());
                zlib_.avail_in = static_cast<uInt>(packed);
            }
            const int inflated = inflate(&zlib_, Z_NO_FLUSH);
            if (inflated == Z_STREAM_END) {
                ended_ = true;
            } else if (inflated != Z_OK) {
                return Damaged("сжатые данные повреждены");
            } else if (zlib_.avail_in == 0 && packed_left_ == 0 && zlib_.avail_out != 0) {
                return Damaged("сжатые данные обрываются");
            }
        }
        got = static_cast<long>(zlib_.next_out - out);
    }
    unpacked_ += static_cast<std::uint64_t>(got);
    crc_ = crc32(crc_, out, static_cast<uInt>(got));
    if (method_ == 0 && packed_left_ == 0) ended_ = true;
    if (unpacked_ > size_) return Damaged("длиннее, чем сказано в архиве");
    if (ended_ && (unpacked_ != size_ || crc_ != crc_wanted_)) return Damaged("контрольная сумма не сходится");
    return got;
}

bool ParseOpenPart(ZipPart& part, XmlStream& stream, std::uint64_t& read, std::string& fault) {
    fault.clear();
    if (stream.Suspended()) {
        if (stream.Resume()) {
            if (stream.AtEnd()) return true;  // it had been suspended in its last piece
        } else if (stream.Suspended()) {
            return false;
        }
    }
    while (stream.Fault().empty()) {
        void* buffer = stream.Buffer(kChunk);
        if (!buffer) {
            fault = Named(part.Name()) + ": не хватает памяти";
            return false;
        }
        const long got = part.Read(static_cast<char*>(buffer), kChunk);
        if (got < 0) {
            fault = part.Fault();
            return false;
        }
        read += static_cast<std::uint64_t>(got);
        if (stream.Parse(static_cast<std::size_t>(got))) {
            if (got == 0) return true;
            continue;
        }
        if (stream.Suspended()) return false;
        break;
    }
    fault = Named(part.Name()) + ": " + stream.Fault();
    return false;
}

bool ParsePart(Archive archive, const std::string& name, XmlStream& stream, bool absent_ok, std::string& fault,
               std::uint64_t size_max) {
    ZipPart part(archive);
    switch (part.Open(name)) {
        case PartOpened::Absent:
            fault = absent_ok ? std::string() : "нет части «" + name + "»";
            return absent_ok;
        case PartOpened::Damaged:
            fault = Named(name) + " не открывается";
            return false;
        case PartOpened::Open:
            break;
    }
    if (part.Size() > size_max) {
        fault = Named(name) + " больше " + std::to_string(size_max >> 20) + " МиБ";
        return false;
    }
    std::uint64_t read = 0;
    const bool parsed = ParseOpenPart(part, stream, read, fault);
    if (!parsed && fault.empty()) fault = Named(name) + ": чтение прервано";
    return parsed;
}

}  // namespace kelvo::schedule
