// Schedule files as both programs read and write them: reading and writing straight through descriptors
// (an error is kept and reported, never thrown), and an output that replaces its target only
// once it is complete.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

namespace kelvo::schedule {

// Reads up to `size` bytes at `offset` of an open file, whatever position others read it at: how
// many were read (0 at its end), or -1 with errno.
long long ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset);
// The size of an open file; nothing when it cannot be told.
std::optional<std::uint64_t> SizeOfDescriptor(int fd);
void CloseDescriptor(int fd);
// Another descriptor of the same open file (-1 with errno when none can be had).
int DuplicateDescriptor(int fd);
// Back to the file's start; false with errno.
bool RewindDescriptor(int fd);
// The system's words for an error number.
std::string ReasonOf(int error);
// The permissions a new result file gets: read and write for its owner, read for others.
inline constexpr unsigned kNewFileMode = 0644;

// Reads a descriptor. A read error ends the input and is kept in error().
class FdReadBuffer : public std::streambuf {
public:
    explicit FdReadBuffer(int fd) : fd_(fd) {}
    int error() const { return error_; }
    // Bytes read so far.
    std::uint64_t BytesRead() const { return bytes_read_; }

protected:
    std::streamsize xsgetn(char* data, std::streamsize size) override;
    int_type underflow() override;

private:
    int fd_;
    int error_ = 0;
    char byte_ = 0;
    std::uint64_t bytes_read_ = 0;
};

// Writes a descriptor. A write error makes the stream bad and is kept in error().
class FdWriteBuffer : public std::streambuf {
public:
    explicit FdWriteBuffer(int fd) : fd_(fd) {}
    int error() const { return error_; }

protected:
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int_type overflow(int_type c) override;

private:
    int fd_;
    int error_ = 0;
};

// Whether two open files or paths are one file (the same device and inode).
struct FileIdentity {
    dev_t device;
    ino_t inode;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> IdentityOfDescriptor(int fd);
std::optional<FileIdentity> IdentityOfPath(const std::string& path);

// The result file: written into a temporary file beside the target and renamed over it only by
// Commit(), so that the target is either as it was or complete. The temporary file goes when
// the object goes uncommitted, and when the program is ended by SIGINT, SIGTERM or SIGHUP; a
// program killed outright leaves at most the hidden temporary file, never a partial target.
// A target that is a device or a pipe is written directly.
class AtomicOutput {
public:
    // Opens the temporary file for `target` (a link is followed to the file it names). On
    // failure, error() says why and fd() is -1.
    explicit AtomicOutput(const std::string& target);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    int fd() const { return fd_; }
    const std::string& error() const { return error_; }
    // The temporary file being written (empty for a device or a pipe, written directly).
    const std::string& TemporaryPath() const { return temporary_; }
    // Flushes the temporary file to disk and renames it over the target; false (and error())
    // when that fails, the target then untouched.
    bool Commit();

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    std::string error_;
};

}  // namespace kelvo::schedule
