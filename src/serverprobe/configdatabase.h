#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tarrow::serverprobe {

// The server's configuration database. values() returns the Value column of
// every vw_Configuration row whose FullName is the given name, passing the name
// as a bound parameter; it throws ProbeError when the database cannot be read.
class ConfigDatabase {
public:
    virtual ~ConfigDatabase() = default;
    [[nodiscard]] virtual QStringList values(const QString& connectionString,
                                             const QString& fullName) = 0;
};

// The configuration database of this system: reached over ODBC on Windows; on
// other systems there is none and every lookup is empty.
[[nodiscard]] std::unique_ptr<ConfigDatabase> makeSystemConfigDatabase();

} // namespace tarrow::serverprobe
