#include "serverprobe/configdatabase.h"

#ifdef _WIN32
#include "serverprobe/registryapi.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#endif

namespace tarrow::serverprobe {

namespace {

#ifdef _WIN32
class OdbcConfigDatabase : public ConfigDatabase {
public:
    QStringList values(const QString& connectionString, const QString& fullName) override {
        const QString name = QStringLiteral("tarrow_config");
        QStringList result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
            db.setDatabaseName(connectionString);
            if (!db.open()) {
                const QSqlError error = db.lastError();
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(name);
                throw ProbeError{error.nativeErrorCode().toInt(), error.text()};
            }
            QSqlQuery query(db);
            query.setForwardOnly(true);
            query.prepare(QStringLiteral("SELECT Value FROM vw_Configuration WHERE FullName = ?"));
            query.addBindValue(fullName);
            if (query.exec())
                while (query.next())
                    result << query.value(0).toString();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return result;
    }
};
#else
class NoConfigDatabase : public ConfigDatabase {
public:
    QStringList values(const QString&, const QString&) override { return {}; }
};
#endif

} // namespace

std::unique_ptr<ConfigDatabase> makeSystemConfigDatabase() {
#ifdef _WIN32
    return std::make_unique<OdbcConfigDatabase>();
#else
    return std::make_unique<NoConfigDatabase>();
#endif
}

} // namespace tarrow::serverprobe
