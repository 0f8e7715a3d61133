#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace tarrow::testing {

// A tiny file system of its own (a size-limited tmpfs), so a test can fill the
// disk for real. Mounting needs root; ok() says whether it worked, and a test
// without it skips.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes = 64) {
        const QString command = QStringLiteral("mount -t tmpfs -o size=%1k tmpfs '%2' 2>/dev/null")
                                    .arg(kilobytes)
                                    .arg(dir_.path());
        mounted_ = dir_.isValid() && std::system(command.toLocal8Bit().constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            (void)std::system(
                QStringLiteral("umount '%1'").arg(dir_.path()).toLocal8Bit().constData());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    [[nodiscard]] bool ok() const { return mounted_; }
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString file(const QString& name) const {
        return QDir(dir_.path()).filePath(name);
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

} // namespace tarrow::testing
