#include "schedule/formats/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace kelvo::schedule {

long long ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset) {
    for (;;) {
        const ssize_t got = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (got >= 0 || errno != EINTR) return got;
    }
}

std::optional<std::uint64_t> SizeOfDescriptor(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size < 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

void CloseDescriptor(int fd) { ::close(fd); }

std::string ReasonOf(int error) { return std::strerror(error); }

int DuplicateDescriptor(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }

bool RewindDescriptor(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0; }

std::streamsize FdReadBuffer::xsgetn(char* data, std::streamsize size) {
    if (error_ != 0 || size <= 0) return 0;
    for (;;) {
        const ssize_t got = ::read(fd_, data, static_cast<std::size_t>(size));
        if (got >= 0) {
            bytes_read_ += static_cast<std::uint64_t>(got);
            return got;
        }
        if (errno == EINTR) continue;
        error_ = errno;
        return 0;
    }
}

FdReadBuffer::int_type FdReadBuffer::underflow() {
    if (xsgetn(&byte_, 1) != 1) return traits_type::eof();
    setg(&byte_, &byte_, &byte_ + 1);
    return traits_type::to_int_type(byte_);
}

std::streamsize FdWriteBuffer::xsputn(const char* data, std::streamsize size) {
    std::streamsize done = 0;
    while (error_ == 0 && done < size) {
        const ssize_t put = ::write(fd_, data + done, static_cast<std::size_t>(size - done));
        if (put > 0)
            done += put;
        else if (put < 0 && errno == EINTR)
            continue;
        else
            error_ = put < 0 ? errno : EIO;
    }
    return done;
}

FdWriteBuffer::int_type FdWriteBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

namespace {

// The temporary file a signal must remove; only one output is open at a time.
char g_temporary[PATH_MAX + 64];
volatile std::sig_atomic_t g_temporary_set = 0;

extern "C" void RemoveTemporaryAndEnd(int signal_number) {
    if (g_temporary_set) ::unlink(g_temporary);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

// The file a path names: links followed to their file, also when that file is not made yet (a
// result written through a link goes where the link says, and the link stays).
std::string FollowLinks(const std::string& path) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        std::string file = resolved;
        std::free(resolved);
        return file;
    }
    std::string file = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(file.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) break;
        std::string to(PATH_MAX, '\0');
        const ssize_t size = ::readlink(file.c_str(), to.data(), to.size());
        if (size <= 0) break;
        to.resize(static_cast<std::size_t>(size));
        const auto slash = file.rfind('/');
        file = to.front() == '/' || slash == std::string::npos ? to : file.substr(0, slash + 1) + to;
    }
    return file;
}

// The temporary file's name for a target named `name`: hidden, and short enough for the
// folder's names even when the target's name is near the longest a name can be.
std::string TemporaryName(const std::string& name) {
    constexpr std::size_t kNameMax = 255, kAdded = 1 + 13;  // "." and ".kelvo-XXXXXX"
    std::size_t keep = std::min(name.size(), kNameMax - kAdded);
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    std::string temporary(".");
    temporary.append(name, 0, keep);
    temporary += ".kelvo-XXXXXX";
    return temporary;
}

}  // namespace

AtomicOutput::AtomicOutput(const std::string& target) : target_(FollowLinks(target)) {
    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
        error_ = ReasonOf(ELOOP);  // a link that leads to no file, even after many links
        return;
    }
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error_ = "это каталог";
        return;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or a pipe (/dev/null, /dev/stdout) is written as it is: there is no file to
        // keep, and it must not be replaced.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) error_ = ReasonOf(errno);
        return;
    }
    const auto slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = folder + "/" + TemporaryName(name);
    if (pattern.size() >= sizeof g_temporary) {
        error_ = ReasonOf(ENAMETOOLONG);
        return;
    }
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        error_ = ReasonOf(errno);
        return;
    }
    temporary_ = pattern;
    // The result gets the target's permissions, or those of a new result file.
    ::fchmod(fd_, exists ? existing.st_mode & 07777 : static_cast<mode_t>(kNewFileMode));

    std::memcpy(g_temporary, temporary_.c_str(), temporary_.size() + 1);
    g_temporary_set = 1;
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal_number, RemoveTemporaryAndEnd);
}

AtomicOutput::~AtomicOutput() { Discard(); }

void AtomicOutput::Discard() {
    g_temporary_set = 0;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool AtomicOutput::Commit() {
    if (fd_ < 0) return false;
    if (temporary_.empty()) {  // written straight to a device or a pipe
        const bool closed = ::close(fd_) == 0;
        if (!closed) error_ = ReasonOf(errno);
        fd_ = -1;
        return closed;
    }
    const bool synced = ::fsync(fd_) == 0;
    const int sync_error = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed) {
        error_ = ReasonOf(synced ? errno : sync_error);
        Discard();
        return false;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error_ = ReasonOf(errno);
        Discard();
        return false;
    }
    g_temporary_set = 0;
    temporary_.clear();
    return true;
}

}  // namespace kelvo::schedule
