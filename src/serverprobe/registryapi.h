#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

#include <memory>

namespace tarrow::serverprobe {

enum class Hive { LocalMachine };

// Kinds of registry value: 1 text, 3 raw bytes, 4 a 32-bit number.
enum ValueKind { TextValue = 1, BytesValue = 3, NumberValue = 4 };

// A failure of a registry or configuration lookup: a number and a description.
struct ProbeError {
    int number = 0;
    QString description;
};

// Read-only access to the system registry.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;
    // True when the key can be opened for reading.
    [[nodiscard]] virtual bool keyExists(Hive hive, const QString& key) const = 0;
    // The value, or the default when the key or value cannot be read. Throws
    // ProbeError{1001, "Unsupported value type"} for any other kind.
    [[nodiscard]] virtual QVariant readValue(Hive hive, const QString& key, const QString& name,
                                             int kind, const QVariant& defaultValue) const = 0;
};

// A registry held in memory: keys map value names to values. Systems without a
// registry use an empty one; tests fill one.
class MapRegistry : public RegistryApi {
public:
    using Values = QMap<QString, QVariant>;
    void setKey(const QString& key, const Values& values = {});
    bool keyExists(Hive hive, const QString& key) const override;
    QVariant readValue(Hive hive, const QString& key, const QString& name, int kind,
                       const QVariant& defaultValue) const override;

private:
    QMap<QString, Values> keys_; // key paths compared without regard to case
};

// The registry of this system: the Windows registry, elsewhere an empty one.
[[nodiscard]] std::unique_ptr<RegistryApi> makeSystemRegistry();

[[noreturn]] void throwUnsupportedKind();

} // namespace tarrow::serverprobe
