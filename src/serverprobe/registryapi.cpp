#include "serverprobe/registryapi.h"

namespace tarrow::serverprobe {

namespace {
QString normalKey(const QString& key) {
    QString k = key.toLower();
    while (k.endsWith(QLatin1Char('\\')))
        k.chop(1);
    return k;
}
} // namespace

void throwUnsupportedKind() {
    throw ProbeError{1001, QStringLiteral("Unsupported value type")};
}

void MapRegistry::setKey(const QString& key, const Values& values) {
    keys_[normalKey(key)] = values;
}

bool MapRegistry::keyExists(Hive, const QString& key) const {
    return keys_.contains(normalKey(key));
}

QVariant MapRegistry::readValue(Hive, const QString& key, const QString& name, int kind,
                                const QVariant& defaultValue) const {
    if (kind != TextValue && kind != BytesValue && kind != NumberValue)
        throwUnsupportedKind();
    const auto it = keys_.constFind(normalKey(key));
    if (it == keys_.constEnd() || !it->contains(name))
        return defaultValue;
    return it->value(name);
}

#ifndef _WIN32
std::unique_ptr<RegistryApi> makeSystemRegistry() {
    return std::make_unique<MapRegistry>();
}
#endif

} // namespace tarrow::serverprobe
