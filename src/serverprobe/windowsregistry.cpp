// The Windows registry behind RegistryApi; built on Windows only.
#include "serverprobe/registryapi.h"

#include <windows.h>

#include <vector>

namespace tarrow::serverprobe {

namespace {

HKEY rootOf(Hive) {
    return HKEY_LOCAL_MACHINE;
}

class KeyHandle {
public:
    KeyHandle(Hive hive, const QString& key) {
        ok_ = RegOpenKeyExW(rootOf(hive), reinterpret_cast<LPCWSTR>(key.utf16()), 0, KEY_READ,
                            &key_) == ERROR_SUCCESS;
    }
    ~KeyHandle() {
        if (ok_)
            RegCloseKey(key_);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    bool ok() const { return ok_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
    bool ok_ = false;
};

class WindowsRegistry : public RegistryApi {
public:
    bool keyExists(Hive hive, const QString& key) const override {
        return KeyHandle(hive, key).ok();
    }

    QVariant readValue(Hive hive, const QString& key, const QString& name, int kind,
                       const QVariant& defaultValue) const override {
        if (kind != TextValue && kind != BytesValue && kind != NumberValue)
            throwUnsupportedKind();
        KeyHandle handle(hive, key);
        if (!handle.ok())
            return defaultValue;
        const auto valueName = reinterpret_cast<LPCWSTR>(name.utf16());
        if (kind == NumberValue) {
            DWORD value = 0;
            DWORD size = sizeof value;
            if (RegQueryValueExW(handle.get(), valueName, nullptr, nullptr,
                                 reinterpret_cast<LPBYTE>(&value), &size) != ERROR_SUCCESS)
                return defaultValue;
            return QVariant::fromValue<quint32>(value);
        }
        std::vector<BYTE> buffer(kind == TextValue ? 1024 : 4096);
        DWORD size = static_cast<DWORD>(buffer.size());
        if (RegQueryValueExW(handle.get(), valueName, nullptr, nullptr, buffer.data(), &size) !=
            ERROR_SUCCESS)
            return defaultValue;
        if (kind == BytesValue)
            return QByteArray(reinterpret_cast<const char*>(buffer.data()), static_cast<int>(size));
        QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(buffer.data()),
                                               static_cast<int>(size / sizeof(wchar_t)));
        const qsizetype zero = text.indexOf(QChar(0));
        if (zero >= 0)
            text.truncate(zero);
        return text;
    }
};

} // namespace

std::unique_ptr<RegistryApi> makeSystemRegistry() {
    return std::make_unique<WindowsRegistry>();
}

} // namespace tarrow::serverprobe
