// A zip archive (a workbook or an OpenDocument file) open over a file descriptor: minizip reads it
// through our own input functions, which read the descriptor where they are told, so the archive
// needs no path of its own (a copy of standard input has none).
#pragma once

#include <minizip/unzip.h>

#include <functional>
#include <string>

namespace kelvo::schedule {

// An archive as minizip sees it, and a descriptor of the same file for the packed bytes.
struct Archive {
    unzFile zip = nullptr;
    int fd = -1;
    std::function<bool()> stop;  // asked as parts are read: true stops the reading (a fault)
};

// An open archive that closes its minizip handle, and the descriptor it took over, when it goes.
class OpenArchive {
public:
    // Takes the descriptor over; Opened() tells whether minizip could read the archive's directory.
    // `stop`, when given, is asked as the parts are read (see Archive).
    explicit OpenArchive(int fd, std::function<bool()> stop = {});
    ~OpenArchive();
    OpenArchive(const OpenArchive&) = delete;
    OpenArchive& operator=(const OpenArchive&) = delete;

    bool Opened() const { return archive_.zip != nullptr; }
    // What makes the archive damaged though minizip reads it (two parts of one name, which tools
    // would read differently); empty when nothing does.
    const std::string& Fault() const { return fault_; }
    Archive Get() const { return archive_; }

private:
    Archive archive_;
    std::string fault_;
};

// Opens the archive in `fd` for minizip, reading through the descriptor (which stays open when the
// handle is closed with unzClose). Null when its directory cannot be read.
unzFile OpenZip(int fd);

}  // namespace kelvo::schedule
