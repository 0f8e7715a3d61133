#include "logparse/logfiles.h"
#include "serverprobe/mervoxversion.h"

#include <gtest/gtest.h>

namespace tarrow::serverprobe {
namespace {

const QString kNewer = QStringLiteral("SOFTWARE\\Orvane Systems\\Orvane Mervox");
const QString kOlder = QStringLiteral("Software\\Quenta\\");

// A configuration database that answers from a list and records the names asked.
class FakeConfig : public ConfigDatabase {
public:
    QStringList rows;
    bool fail = false;
    QStringList asked;
    QStringList values(const QString&, const QString& fullName) override {
        asked << fullName;
        if (fail)
            throw ProbeError{-2147467259, QStringLiteral("Login failed")};
        return rows;
    }
};

TEST(GetVersion, OlderGenerationReadsHexadecimalDigitGroups) {
    struct Case {
        quint32 version;
        quint32 build;
        int major, minor, release, buildNo;
        const char* text;
    };
    const Case cases[] = {
        {0x00030001, 0x0004006A, 3, 1, 4, 106, "3.1(4.106)"},
        {0x000A0001, 0x00040000, 0, 1, 4, 0, "0.1(4.0)"}, // "000A" reads up to the letter
        {0x00120034, 0x0004FFFF, 12, 34, 4, -1, "12.34(4.-1)"},
        {0x00000000, 0x00000000, 0, 0, 0, 0, "0.0(0.0)"},
    };
    for (const Case& c : cases) {
        MapRegistry registry;
        registry.setKey(kOlder, {{QStringLiteral("Version Number"), c.version},
                                 {QStringLiteral("Build Number"), c.build}});
        QStringList messages;
        const ServerVersion v = getVersion(registry, messages);
        EXPECT_FALSE(v.newerGeneration);
        EXPECT_EQ(v.major, c.major) << c.text;
        EXPECT_EQ(v.minor, c.minor) << c.text;
        EXPECT_EQ(v.release, c.release) << c.text;
        EXPECT_EQ(v.build, c.buildNo) << c.text;
        EXPECT_EQ(v.text, QString::fromLatin1(c.text));
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST(GetVersion, NewerGenerationAndNoServer) {
    MapRegistry registry;
    QStringList messages;
    ServerVersion v = getVersion(registry, messages);
    EXPECT_FALSE(v.newerGeneration);
    EXPECT_EQ(logparse::logFilePrefix(v.newerGeneration), QStringLiteral("data_qnhcmgr_"));

    registry.setKey(kNewer, {{QStringLiteral("MajorVersion"), 5u},
                             {QStringLiteral("MinorVersion"), 0u},
                             {QStringLiteral("ReleaseVersion"), 2u},
                             {QStringLiteral("BuildVersion"), 17u}});
    v = getVersion(registry, messages);
    EXPECT_TRUE(v.newerGeneration);
    EXPECT_EQ(v.text, QStringLiteral("5.0(2.17)"));
    EXPECT_EQ(logparse::logFilePrefix(v.newerGeneration), QStringLiteral("data_OmHcMgr_"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST(LogPath, NewerGenerationAsksTheConfigurationDatabase) {
    ServerVersion newer;
    newer.newerGeneration = true;
    MapRegistry registry;
    struct Case {
        QStringList rows;
        QString folder;
    };
    const Case cases[] = {
        {{QStringLiteral("D:\\Logs\\data_OmHcMgr_20090115.csv")}, QStringLiteral("D:\\Logs")},
        {{}, QString()},
        {{QStringLiteral("D:\\A\\x.csv"), QStringLiteral("D:\\B\\y.csv")}, QString()},
        {{QString()}, QString()},
    };
    for (const Case& c : cases) {
        FakeConfig config;
        config.rows = c.rows;
        QStringList messages;
        EXPECT_EQ(strGetLogPath(newer, registry, config, messages), c.folder);
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(config.asked, QStringList{QStringLiteral(
                                    "System.Reports.DataCollection.OmHcMgr_LastDataFile")});
    }
}

TEST(LogPath, FailuresAndOlderGeneration) {
    ServerVersion newer;
    newer.newerGeneration = true;
    MapRegistry registry;
    FakeConfig config;
    config.fail = true;
    QStringList messages;
    EXPECT_TRUE(strGetLogPath(newer, registry, config, messages).isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Error -2147467259 (Login failed) in procedure "
                                          "strFetchConfigKey of Module Module1"));

    // The name goes to the database as it is, quote and all.
    config.fail = false;
    (void)strFetchConfigKey(QStringLiteral("a'b"), newer, config, messages);
    EXPECT_EQ(config.asked.last(), QStringLiteral("a'b"));
    // The older generation has no configuration database.
    EXPECT_TRUE(
        strFetchConfigKey(QStringLiteral("x"), ServerVersion{}, config, messages).isEmpty());
    EXPECT_EQ(config.asked.size(), 2);

    registry.setKey(QStringLiteral("SOFTWARE\\Quenta\\QnLogMgr\\1.0"),
                    {{QStringLiteral("Output Path"), QStringLiteral("C:\\Quenta\\Logs\\hc.csv")}});
    EXPECT_EQ(strGetLogPath(ServerVersion{}, registry, config, messages),
              QStringLiteral("C:\\Quenta\\Logs"));
    registry.setKey(QStringLiteral("SOFTWARE\\Quenta\\QnLogMgr\\1.0"),
                    {{QStringLiteral("Output Path"), QStringLiteral("C:\\Quenta\\Logs\\")}});
    EXPECT_EQ(strGetLogPath(ServerVersion{}, registry, config, messages),
              QStringLiteral("C:\\Quenta\\Logs"));
}

TEST(Registry, UnsupportedKindFailsWithItsNumber) {
    MapRegistry registry;
    try {
        (void)registry.readValue(Hive::LocalMachine, kOlder, QStringLiteral("x"), 2, {});
        FAIL() << "kind 2 is not supported";
    } catch (const ProbeError& e) {
        EXPECT_EQ(e.number, 1001);
        EXPECT_EQ(e.description, QStringLiteral("Unsupported value type"));
    }
    EXPECT_EQ(registry.readValue(Hive::LocalMachine, kOlder, QStringLiteral("x"), NumberValue, 7),
              7);
}

} // namespace
} // namespace tarrow::serverprobe
