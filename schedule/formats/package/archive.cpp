#include "schedule/formats/package/archive.h"

#include <new>
#include <string>
#include <unordered_set>

#include "schedule/formats/files.h"

namespace kelvo::schedule {
namespace {

// Where minizip is in the file: its own position over a descriptor that others read too.
struct Position {
    int fd;
    ZPOS64_T at = 0;
    bool failed = false;
};

voidpf ZCALLBACK OpenStream(voidpf, const void* fd, int) {
    return new (std::nothrow) Position{*static_cast<const int*>(fd)};
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* data, uLong size) {
    auto& position = *static_cast<Position*>(stream);
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
        base = *size;
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

}  // namespace

unzFile OpenZip(int fd) {
    zlib_filefunc64_def functions{OpenStream, ReadStream,  WriteStream, TellStream,
                                  SeekStream, CloseStream, StreamError, nullptr};
    return unzOpen2_64(&fd, &functions);
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
