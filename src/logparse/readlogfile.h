#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <memory>
#include <string_view>

namespace tarrow::logparse {

// What reading a log file gave.
enum class ReadOutcome {
    Read,         // every byte the file had
    Changed,      // the file shrank while it was read: the bytes read are kept
    NotAFile,     // a FIFO, device, socket or folder: never opened for reading
    Unreadable,   // could not be opened or read
    TooLarge,     // larger than kMaxLogFileBytes: not read at all
    TooManyLines, // more than kMaxLinesPerFile lines: reading stopped there
};

// No log file is read past this size: a million lines of the server's longest
// lines fit several times over, and a huge file named like a log (or a sparse
// one) costs no memory.
inline constexpr std::size_t kMaxLogFileBytes = std::size_t{128} << 20;

// Memory holding a file's bytes, given back when the bytes go.
class FileBuffer {
public:
    FileBuffer() = default;
    explicit FileBuffer(std::size_t capacity);
    ~FileBuffer();
    FileBuffer(FileBuffer&& other) noexcept;
    FileBuffer& operator=(FileBuffer&& other) noexcept;
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;

    [[nodiscard]] char* data() const { return data_; }
    [[nodiscard]] std::size_t capacity() const { return capacity_; }
    // Makes room for at least `capacity` bytes, keeping those held.
    [[nodiscard]] bool grow(std::size_t capacity);

private:
    void release() noexcept;
    char* data_ = nullptr;
    std::size_t capacity_ = 0;
};

struct LogFileBytes {
    FileBuffer buffer;
    std::size_t size = 0;
    ReadOutcome outcome = ReadOutcome::Read;
    QString error;    // why, when unreadable
    qint64 lines = 0; // lines read, counted as countLines counts them

    [[nodiscard]] std::string_view view() const { return {buffer.data(), size}; }
    // Whether there are bytes to parse: read whole, or as far as a file that
    // changed while it was read went.
    [[nodiscard]] bool parsable() const {
        return outcome == ReadOutcome::Read || outcome == ReadOutcome::Changed;
    }
};

// Reads a whole log file into memory, in pieces, counting its lines as it
// goes: reading stops once the file has more lines than a load takes, and a
// file larger than kMaxLogFileBytes is not read at all, so memory stays
// bounded whatever lies in the folder. The file is read, not mapped, so one
// that is truncated or replaced while it is read cannot bring the program
// down; a node that is not a regular file is recognised before any read that
// could block on it. The path is in the system's own bytes (QFile::encodeName).
[[nodiscard]] LogFileBytes readLogFile(const QByteArray& nativePath);

} // namespace tarrow::logparse
