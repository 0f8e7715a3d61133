#include "store/blobcache.h"

#include <QFile>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <sqlite3.h>

namespace tarrow::store {

namespace {

// Whether SQLite found the file damaged or no database at all, as opposed to
// busy with another process, read-only or on a full disk: only damage sets
// the file aside, anything else only goes without the cache this time.
bool isDamage(const std::exception& error) {
    const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&error);
    return sqlite &&
           (sqlite->getErrorCode() == SQLITE_CORRUPT || sqlite->getErrorCode() == SQLITE_NOTADB);
}

} // namespace

BlobCache::BlobCache(const QString& path) : path_(path) {
    try {
        open();
    } catch (const std::exception& error) {
        db_.reset();
        if (isDamage(error))
            startAnew();
    }
}

BlobCache::~BlobCache() = default;

void BlobCache::open() {
    db_ = std::make_unique<SQLite::Database>(QFile::encodeName(path_).toStdString(),
                                             SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db_->setBusyTimeout(5000);
    // Rows of the first layout had no slot, so they piled up: they go.
    db_->exec("DROP TABLE IF EXISTS Days");
    db_->exec("CREATE TABLE IF NOT EXISTS Entries (Key TEXT PRIMARY KEY, Slot TEXT NOT NULL, "
              "Figures BLOB NOT NULL)");
    db_->exec("CREATE INDEX IF NOT EXISTS EntriesBySlot ON Entries (Slot)");
    (void)db_->execAndGet("SELECT COUNT(*) FROM Entries");
}

void BlobCache::failed(const std::exception& error) {
    db_.reset();
    if (isDamage(error))
        startAnew();
}

void BlobCache::startAnew() {
    db_.reset();
    const QString bad = path_ + QStringLiteral(".bad");
    QFile::remove(bad);
    if (!QFile::rename(path_, bad))
        QFile::remove(path_);
    try {
        open();
    } catch (const std::exception&) {
        db_.reset(); // no cache this time: every value is computed
    }
}

std::optional<QByteArray> BlobCache::find(const QString& key) {
    if (!db_)
        return std::nullopt;
    try {
        SQLite::Statement query(*db_, "SELECT Figures FROM Entries WHERE Key = ?");
        query.bind(1, key.toStdString());
        if (!query.executeStep())
            return std::nullopt;
        const SQLite::Column value = query.getColumn(0);
        return QByteArray(static_cast<const char*>(value.getBlob()), value.getBytes());
    } catch (const std::exception& error) {
        failed(error);
        return std::nullopt;
    }
}

void BlobCache::store(const std::vector<BlobEntry>& values) {
    if (!db_ || values.empty())
        return;
    try {
        SQLite::Transaction transaction(*db_);
        SQLite::Statement clear(*db_, "DELETE FROM Entries WHERE Slot = ?");
        SQLite::Statement insert(
            *db_, "INSERT OR REPLACE INTO Entries (Key, Slot, Figures) VALUES (?, ?, ?)");
        for (const BlobEntry& value : values) {
            clear.bind(1, value.slot.toStdString());
            clear.exec();
            clear.reset();
            insert.bind(1, value.key.toStdString());
            insert.bind(2, value.slot.toStdString());
            insert.bind(3, value.bytes.constData(), static_cast<int>(value.bytes.size()));
            insert.exec();
            insert.reset();
        }
        transaction.commit();
    } catch (const std::exception& error) {
        failed(error);
    }
}

} // namespace tarrow::store
