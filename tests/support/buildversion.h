#pragma once

#include <QString>

namespace tarrow::testing {

// The program's own version as the update check writes it ("2.0.5": major,
// minor and build number), and the next one, from the build's version, so no
// test breaks on a version bump.
inline QString ownVersion(int buildsAhead = 0) {
    return QStringLiteral("%1.%2.%3")
        .arg(TARROW_VERSION_MAJOR)
        .arg(TARROW_VERSION_MINOR)
        .arg(TARROW_VERSION_BUILD + buildsAhead);
}

} // namespace tarrow::testing
