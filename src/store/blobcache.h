#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace SQLite {
class Database;
}

namespace tarrow::store {

// One value to keep: its key, and the slot it fills; a slot holds one value,
// so a new key of the same slot replaces the old one.
struct BlobEntry {
    QString key;
    QString slot;
    QByteArray bytes;
};

// A file of values by key (an SQLite table of keys, slots and blobs) that
// only ever saves work: a damaged file is set aside as "<file>.bad" and
// started anew without a word; a file that is busy, read-only or on a full
// disk is simply not used.
class BlobCache {
public:
    explicit BlobCache(const QString& path);
    ~BlobCache();
    BlobCache(const BlobCache&) = delete;
    BlobCache& operator=(const BlobCache&) = delete;

    [[nodiscard]] std::optional<QByteArray> find(const QString& key);
    // Keeps values in one transaction, each replacing what its slot held.
    void store(const std::vector<BlobEntry>& values);

private:
    void open(); // throws what SQLite says
    // A failed read or write: a damaged file is set aside and started anew;
    // otherwise (busy, read-only, full) the cache is left alone and unused.
    void failed(const std::exception& error);
    void startAnew();
    QString path_;
    std::unique_ptr<SQLite::Database> db_;
};

} // namespace tarrow::store
