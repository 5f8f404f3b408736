#include "schedule/formats/package/archive.h"

#include <algorithm>
#include <new>
#include <string>
#include <unordered_set>

#include "schedule/formats/files.h"

namespace kelvo::schedule {
namespace {

// Where minizip is in the file: its own position over a descriptor that others read too.
// `end`, when not 0, is where the file is taken to end.
struct Position {
    int fd;
    ZPOS64_T end = 0;
    ZPOS64_T at = 0;
    bool failed = false;
};

voidpf ZCALLBACK OpenStream(voidpf, const void* source, int) {
    return new (std::nothrow) Position{*static_cast<const Position*>(source)};
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* data, uLong size) {
    auto& position = *static_cast<Position*>(stream);
    if (position.end)
        size = static_cast<uLong>(std::min<ZPOS64_T>(size, position.end - std::min(position.end, position.at)));
    const long long got = ReadAt(position.fd, static_cast<char*>(data), size, position.at);
    if (got < 0) {
        position.failed = true;
        return 0;
    }
    position.at += static_cast<ZPOS64_T>(got);
    return static_cast<uLong>(got);
}

uLong ZCALLBACK WriteStream(voidpf, voidpf stream, const void*, uLong) {
    static_cast<Position*>(stream)->failed = true;  // an archive is only read here
    return 0;
}

ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream) { return static_cast<Position*>(stream)->at; }

long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto& position = *static_cast<Position*>(stream);
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
        base = position.at;
    } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
        const auto size = SizeOfDescriptor(position.fd);
        if (!size) return -1;
        base = position.end ? position.end : *size;
    } else if (origin != ZLIB_FILEFUNC_SEEK_SET) {
        return -1;
    }
    position.at = base + offset;
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf stream) {
    delete static_cast<Position*>(stream);
    return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf stream) { return static_cast<Position*>(stream)->failed ? 1 : 0; }

unzFile OpenZipTo(int fd, ZPOS64_T end) {
    zlib_filefunc64_def functions{OpenStream, ReadStream,  WriteStream, TellStream,
                                  SeekStream, CloseStream, StreamError, nullptr};
    Position source{fd, end};
    return unzOpen2_64(&source, &functions);
}

// Where the archive's end record stands when its comment is too long for minizip to find it
// (minizip looks 65 535 bytes back from the end; the record is 22 bytes before a comment of up to
// 65 535): the record whose comment reaches exactly to the file's end. 0 when there is none.
ZPOS64_T EndBeforeLongComment(int fd) {
    const auto size = SizeOfDescriptor(fd);
    constexpr ZPOS64_T kRecord = 22;
    if (!size || *size < kRecord) return 0;
    const ZPOS64_T from = *size > kRecord + 0xFFFF ? *size - (kRecord + 0xFFFF) : 0;
    std::string tail(static_cast<std::size_t>(*size - from), '\0');
    if (ReadAt(fd, tail.data(), tail.size(), from) != static_cast<long long>(tail.size())) return 0;
    for (std::size_t at = tail.size() - kRecord + 1; at-- > 0;) {
        if (tail.compare(at, 4, "PK\x05\x06") != 0) continue;
        const auto comment = static_cast<std::size_t>(static_cast<unsigned char>(tail[at + 20]) |
                                                      static_cast<unsigned char>(tail[at + 21]) << 8);
        if (at + kRecord + comment == tail.size()) return from + at + kRecord;
    }
    return 0;
}

}  // namespace

unzFile OpenZip(int fd) {
    if (unzFile zip = OpenZipTo(fd, 0)) return zip;
    const ZPOS64_T end = EndBeforeLongComment(fd);
    return end ? OpenZipTo(fd, end) : nullptr;
}

OpenArchive::OpenArchive(int fd, std::function<bool()> stop) : archive_{OpenZip(fd), fd, std::move(stop)} {
    if (!archive_.zip) return;
    // One name, one part: tools that take the first or the last of two would read different files.
    constexpr std::size_t kPartsMax = 1 << 17;
    std::unordered_set<std::string> names;
    for (int status = unzGoToFirstFile(archive_.zip); status == UNZ_OK && names.size() < kPartsMax;
         status = unzGoToNextFile(archive_.zip)) {
        char name[1024] = {};
        if (unzGetCurrentFileInfo64(archive_.zip, nullptr, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        if (!names.insert(name).second) {
            fault_ = std::string("в архиве две части «") + name + "»";
            return;
        }
    }
}

OpenArchive::~OpenArchive() {
    if (archive_.zip) unzClose(archive_.zip);
    if (archive_.fd >= 0) CloseDescriptor(archive_.fd);
}

}  // namespace kelvo::schedule
