#include "logparse/readlogfile.h"

#include <QFile>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace tarrow::logparse {

#ifndef _WIN32

namespace {

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
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
    // Non-blocking, so opening a FIFO with no writer returns at once; the
    // descriptor's type is checked before anything is read.
    const Descriptor file{
        ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        result.outcome = ReadOutcome::Unreadable;
        result.error = errnoText(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        result.outcome = ReadOutcome::Unreadable;
        result.error = errnoText(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.outcome = ReadOutcome::NotAFile;
        return result;
    }
    const auto expected = static_cast<qsizetype>(info.st_size);
    // A file that grows while it is read (today's log) is read to its end.
    qsizetype capacity = expected + 1;
    result.bytes.resize(capacity);
    qsizetype size = 0;
    for (;;) {
        if (size == capacity) {
            capacity += capacity / 2 + 65536;
            result.bytes.resize(capacity);
        }
        const ssize_t n = ::read(file.fd, result.bytes.data() + size,
                                 static_cast<std::size_t>(capacity - size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.outcome = ReadOutcome::Unreadable;
            result.error = errnoText(errno);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        size += n;
    }
    result.bytes.truncate(size);
    if (size < expected)
        result.outcome = ReadOutcome::Changed;
    return result;
}

#else

LogFileBytes readLogFile(const QByteArray& nativePath) {
    LogFileBytes result;
    const QString path = QFile::decodeName(nativePath);
    if (QFileInfo info(path); info.exists() && !info.isFile()) {
        result.outcome = ReadOutcome::NotAFile;
        return result;
    }
    QFile file(path);
    const qint64 expected = file.open(QIODevice::ReadOnly) ? file.size() : -1;
    if (expected < 0) {
        result.outcome = ReadOutcome::Unreadable;
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.outcome = ReadOutcome::Unreadable;
        result.error = file.errorString();
        result.bytes.clear();
    } else if (result.bytes.size() < expected) {
        result.outcome = ReadOutcome::Changed;
    }
    return result;
}

#endif

} // namespace tarrow::logparse
