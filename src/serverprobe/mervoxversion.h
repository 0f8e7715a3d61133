#pragma once

#include "serverprobe/configdatabase.h"
#include "serverprobe/registryapi.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tarrow::serverprobe {

// What the probe learnt about the server installed on this computer.
struct ServerVersion {
    bool newerGeneration = false;
    std::int16_t major = 0;
    std::int16_t minor = 0;
    std::int16_t release = 0;
    std::int16_t build = 0;
    QString text; // major.minor(release.build)
};

// Failure messages are appended to messages; each routine then goes on.
[[nodiscard]] ServerVersion getVersion(const RegistryApi& registry, QStringList& messages);

[[nodiscard]] QString strFetchConfigKey(const QString& fullName, const ServerVersion& version,
                                        ConfigDatabase& config, QStringList& messages);

// The folder the server writes its logs to, or an empty text.
[[nodiscard]] QString strGetLogPath(const ServerVersion& version, const RegistryApi& registry,
                                    ConfigDatabase& config, QStringList& messages);

// "Driver={SQL Server};server=<computer>\orvanemervox;database=MervoxDirDB"
[[nodiscard]] QString configConnectionString(const QString& computerName);

} // namespace tarrow::serverprobe
