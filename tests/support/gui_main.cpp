#include "support/pinnedenvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    tarrow::testing::pinEnvironment();
    // Windows are drawn off screen: no display is needed, also not for discovery.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarrow"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
