#pragma once

#include <QByteArray>

#include <ctime>

namespace tarrow::testing {

// Every test runs in one time zone and locale, never the machine's: Berlin has
// daylight saving, and the US locale orders dates month first. Child processes
// (the command-line tests) inherit the same settings.
inline void pinEnvironment() {
    qputenv("TZ", QByteArrayLiteral("Europe/Berlin"));
    qputenv("LC_ALL", QByteArrayLiteral("en_US.UTF-8"));
    qputenv("LANG", QByteArrayLiteral("en_US.UTF-8"));
    tzset();
}

} // namespace tarrow::testing
