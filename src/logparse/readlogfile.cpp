#include "logparse/readlogfile.h"

#include "logparse/parselogfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#ifdef __linux__
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarrow::logparse {

FileBuffer::FileBuffer(FileBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

FileBuffer& FileBuffer::operator=(FileBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

FileBuffer::~FileBuffer() {
    release();
}

namespace {

enum class ReadEnd { Whole, NoMemory, Failed, TooLarge, TooManyLines };

// Reads to the end with readSome (bytes read, 0 at the end, below 0 on a
// failure), a piece at a time: a file that grows while it is read (today's
// log) is read to its end; one that ends short of its expected size was cut
// while read. Reading stops past the line or size limit.
template <typename ReadSome>
ReadEnd readToEnd(LogFileBytes& result, std::size_t expected, ReadSome readSome) {
    constexpr std::size_t kPiece = std::size_t{16} << 20;
    if (expected > kMaxLogFileBytes)
        return ReadEnd::TooLarge;
    if (!result.buffer.grow(expected + 4096))
        return ReadEnd::NoMemory;
    LineCounter counter;
    for (;;) {
        if (result.size == result.buffer.capacity() &&
            !result.buffer.grow(result.size + result.size / 2 + (1 << 20)))
            return ReadEnd::NoMemory;
        const auto n = readSome(result.buffer.data() + result.size,
                                std::min(kPiece, result.buffer.capacity() - result.size));
        if (n < 0)
            return ReadEnd::Failed;
        if (n == 0)
            break;
        result.size += static_cast<std::size_t>(n);
        counter.add(result.buffer.data(), result.size);
        if (counter.lines(result.size) > kMaxLinesPerFile + 1)
            return ReadEnd::TooManyLines;
        if (result.size > kMaxLogFileBytes)
            return ReadEnd::TooLarge;
    }
    result.lines = counter.lines(result.size);
    if (result.lines > kMaxLinesPerFile)
        return ReadEnd::TooManyLines;
    if (result.size < expected)
        result.outcome = ReadOutcome::Changed;
    return ReadEnd::Whole;
}

// A read that stopped at a limit keeps no bytes.
LogFileBytes stoppedAt(ReadOutcome outcome, LogFileBytes result) {
    result.outcome = outcome;
    result.size = 0;
    result.buffer = FileBuffer();
    return result;
}

} // namespace

#ifdef __linux__

// A file of tens of megabytes is read into memory of its own, asked for in
// huge pages where the system has them: filling it then costs a few dozen page
// faults instead of one per 4 KB page, which on a virtual machine is most of
// the time a load takes to read a file.
FileBuffer::FileBuffer(std::size_t capacity) {
    void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return;
    (void)::madvise(p, capacity, MADV_HUGEPAGE);
    data_ = static_cast<char*>(p);
    capacity_ = capacity;
}

bool FileBuffer::grow(std::size_t capacity) {
    if (capacity <= capacity_)
        return true;
    if (!data_) {
        *this = FileBuffer(capacity);
        return data_ != nullptr;
    }
    void* p = ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
    if (p == MAP_FAILED)
        return false;
    data_ = static_cast<char*>(p);
    capacity_ = capacity;
    return true;
}

void FileBuffer::release() noexcept {
    if (data_)
        ::munmap(data_, capacity_);
    data_ = nullptr;
    capacity_ = 0;
}

namespace {

// The system's words for an error; strerror_r, as files are read on workers.
QString errnoText(int error) {
    char text[256] = {};
    return QString::fromLocal8Bit(::strerror_r(error, text, sizeof text));
}

// Closes the descriptor when reading ends, however it ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

LogFileBytes readLogFile(const QByteArray& nativePath) {
    LogFileBytes result;
    const auto failed = [&result](int error) {
        result.outcome = ReadOutcome::Unreadable;
        result.error = errnoText(error);
        result.size = 0;
        return std::move(result);
    };
    // Non-blocking, so opening a FIFO with no writer returns at once; the
    // descriptor's type is checked before anything is read.
    const Descriptor file{::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        return failed(errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return failed(errno);
    if (!S_ISREG(info.st_mode)) {
        result.outcome = ReadOutcome::NotAFile;
        return result;
    }
    const auto readSome = [fd = file.fd](char* into, std::size_t room) {
        ssize_t n = 0;
        do
            n = ::read(fd, into, room);
        while (n < 0 && errno == EINTR);
        return n;
    };
    switch (readToEnd(result, static_cast<std::size_t>(info.st_size), readSome)) {
    case ReadEnd::Whole:
        return result;
    case ReadEnd::NoMemory:
        return failed(ENOMEM);
    case ReadEnd::TooLarge:
        return stoppedAt(ReadOutcome::TooLarge, std::move(result));
    case ReadEnd::TooManyLines:
        return stoppedAt(ReadOutcome::TooManyLines, std::move(result));
    case ReadEnd::Failed:
        break;
    }
    return failed(errno);
}

#else

FileBuffer::FileBuffer(std::size_t capacity)
    : data_(static_cast<char*>(std::malloc(capacity))), capacity_(data_ ? capacity : 0) {}

bool FileBuffer::grow(std::size_t capacity) {
    if (capacity <= capacity_)
        return true;
    void* p = std::realloc(data_, capacity);
    if (!p)
        return false;
    data_ = static_cast<char*>(p);
    capacity_ = capacity;
    return true;
}

void FileBuffer::release() noexcept {
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
}

LogFileBytes readLogFile(const QByteArray& nativePath) {
    LogFileBytes result;
    const QString path = QFile::decodeName(nativePath);
    if (QFileInfo info(path); info.exists() && !info.isFile()) {
        result.outcome = ReadOutcome::NotAFile;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.outcome = ReadOutcome::Unreadable;
        result.error = file.errorString();
        return result;
    }
    const ReadEnd end = readToEnd(result, static_cast<std::size_t>(file.size()),
                                  [&file](char* into, std::size_t room) {
                                      return file.read(into, static_cast<qint64>(room));
                                  });
    if (end == ReadEnd::TooLarge || end == ReadEnd::TooManyLines)
        return stoppedAt(end == ReadEnd::TooLarge ? ReadOutcome::TooLarge
                                                  : ReadOutcome::TooManyLines,
                         std::move(result));
    if (end != ReadEnd::Whole) {
        result.outcome = ReadOutcome::Unreadable;
        result.error =
            end == ReadEnd::NoMemory ? QStringLiteral("out of memory") : file.errorString();
        result.size = 0;
    }
    return result;
}

#endif

} // namespace tarrow::logparse
