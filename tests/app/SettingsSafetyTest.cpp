#include "app/SettingsStorage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The thirteen settings as the file holds them, by name within the group.
using StoredValues = QMap<QString, QString>;

const StoredValues kDefaultFile = {
    {"ResponseRoll", "50"},  {"ResponsePitch", "50"},  {"ZeroRoll", "127"}, {"ZeroPitch", "127"},
    {"MinRoll", "0"},        {"MinPitch", "0"},        {"MaxRoll", "255"},  {"MaxPitch", "255"},
    {"InvertRoll", "false"}, {"InvertPitch", "false"}, {"CameraId", "-1"},  {"FPSId", "1"},
    {"ResolutionId", "0"}};

// Every value differs from the defaults, so a file that mixes a save of
// these with one of the defaults is told apart from a whole one.
const StoredValues kOwnSet = {
    {"ResponseRoll", "11"}, {"ResponsePitch", "12"}, {"ZeroRoll", "101"}, {"ZeroPitch", "102"},
    {"MinRoll", "3"},       {"MinPitch", "4"},       {"MaxRoll", "201"},  {"MaxPitch", "202"},
    {"InvertRoll", "true"}, {"InvertPitch", "true"}, {"CameraId", "0"},   {"FPSId", "0"},
    {"ResolutionId", "1"}};

void assign(SettingsStorage& storage, const StoredValues& values) {
    using S = SettingsStorage;
    const std::pair<const char*, int S::*> numbers[] = {
        {"ResponseRoll", &S::responseRoll}, {"ResponsePitch", &S::responsePitch},
        {"ZeroRoll", &S::zeroRoll},         {"ZeroPitch", &S::zeroPitch},
        {"MinRoll", &S::minRoll},           {"MinPitch", &S::minPitch},
        {"MaxRoll", &S::maxRoll},           {"MaxPitch", &S::maxPitch},
        {"CameraId", &S::cameraId},         {"FPSId", &S::fpsId},
        {"ResolutionId", &S::resolutionId}};
    for (const auto& [key, field] : numbers)
        storage.*field = values[key].toInt();
    storage.invertRoll = values["InvertRoll"] == "true";
    storage.invertPitch = values["InvertPitch"] == "true";
}

// Reads the file's own bytes rather than through QSettings, which keeps a
// process-wide cache of the files it has read.
StoredValues readSettingsGroup(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    StoredValues values;
    bool inGroup = false;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith('[')) {
            inGroup = line == QLatin1String("[settings]");
            continue;
        }
        const int equals = line.indexOf('=');
        if (inGroup && equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs action while no file of this process may grow beyond a few bytes, the
// way a full disk would; writes past the limit fail with EFBIG instead of
// raising SIGXFSZ. False when the limit could not be set.
bool withFullDisk(const std::function<void()>& action) {
    constexpr rlim_t kBytesLeft = 32;
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = kBytesLeft;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool limitSet = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    if (limitSet)
        action();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return limitSet;
}

// What action writes to standard error, collected through a pipe rather than
// a file, so that it still works while file sizes are limited.
std::string standardErrorOf(const std::function<void()>& action) {
    int ends[2];
    if (pipe(ends) != 0)
        return "no pipe for standard error";
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    dup2(ends[1], STDERR_FILENO);
    close(ends[1]);
    action();
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(ends[0]);
    return text;
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class SettingsSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        path = QSettings().fileName();
        removeStore();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    }

    void TearDown() override { removeStore(); }

    void removeStore() {
        QDir(path).removeRecursively();
        QFile::remove(path);
    }

    void saveSet(const StoredValues& values) {
        SettingsStorage storage;
        assign(storage, values);
    }

    // Starts and ends one run on the store as it is, and returns what the
    // start printed. The exit save must leave a whole, clean store behind.
    std::string startAndExit() {
        std::unique_ptr<SettingsStorage> storage;
        const std::string startWarnings =
            standardErrorOf([&storage] { storage = std::make_unique<SettingsStorage>(); });
        EXPECT_EQ(standardErrorOf([&storage] { storage.reset(); }), "");
        EXPECT_EQ(readSettingsGroup(path), kDefaultFile);
        EXPECT_EQ(QSettings().status(), QSettings::NoError);
        return startWarnings;
    }

    QString path;
};

// A first run finds no file and says nothing. Files no save of the program
// could have written: noise, a cut-off group header, a byte-order mark before
// the header, NUL bytes in the middle, and nothing at all. QSettings reports
// only some of them as malformed. Each run starts with the defaults and saves
// them whole.
TEST_F(SettingsSafetyTest, MissingOrGarbageStoreStartsWithDefaults) {
    EXPECT_EQ(startAndExit(), "");

    std::vector<QByteArray> garbage = {
        QByteArray("\x00\x01\x02\xff\xfe\x80 noise\n\n", 15),
        QByteArray("[settings\n"),
        QByteArray("\xef\xbb\xbf\x01[settings]\n"),
        QByteArray("[settings]\x00\x00\x00\n=\n==\n", 18),
        QByteArray(),
    };
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 2654435761u) >> 13));
    garbage.push_back(noise);

    for (const QByteArray& bytes : garbage) {
        SCOPED_TRACE(bytes.left(16).toHex().toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        const std::string warnings = startAndExit();
        EXPECT_EQ(lineCount(warnings), 1) << warnings;
        EXPECT_NE(warnings.find(path.toStdString()), std::string::npos) << warnings;
    }
}

// A settings path that is not a readable file (here a folder in its place)
// must neither stop the program nor pass silently.
TEST_F(SettingsSafetyTest, UnusableStoreStartsWithDefaultsAndSaysSo) {
    ASSERT_TRUE(QDir().mkpath(path));
    const std::string warnings = standardErrorOf([] {
        const SettingsStorage storage;
        EXPECT_EQ(storage.responseRoll, 50);
        EXPECT_EQ(storage.cameraId, -1);
    });
    EXPECT_NE(warnings.find("could not be read"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("could not be written"), std::string::npos) << warnings;
}

// A disk that fills up during the exit save: the new file cannot be written
// beyond a few bytes. The previous file must stay as it was, byte for byte,
// and the user is told once that this run's settings are lost.
TEST_F(SettingsSafetyTest, FullDiskDuringSaveLeavesThePreviousFileWhole) {
    saveSet(kOwnSet);
    const QByteArray before = fileBytes(path);
    ASSERT_EQ(readSettingsGroup(path), kOwnSet);

    SettingsStorage storage;
    assign(storage, kDefaultFile);
    std::string warnings;
    ASSERT_TRUE(withFullDisk([&] { warnings = standardErrorOf([&storage] { storage.save(); }); }));
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(lineCount(warnings), 1) << warnings;
    EXPECT_NE(warnings.find("could not be written"), std::string::npos) << warnings;

    // No half-written file is left beside it either.
    const QFileInfo settingsFile(path);
    QStringList files = settingsFile.dir().entryList(QDir::Files);
    files.removeOne(settingsFile.fileName() + ".lock");
    EXPECT_EQ(files, QStringList(settingsFile.fileName()));
}

// A crash during the exit save: a child process saves two different sets of
// settings alternately, as fast as it can, and is killed at varying moments,
// most of them inside a save. Each time, the file must hold one whole set or
// the other.
TEST_F(SettingsSafetyTest, KilledDuringSavesLeavesOneWholeSetOfSettings) {
    saveSet(kOwnSet);
    constexpr int kKills = 12;
    int defaultsSeen = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        int savesDone[2];
        ASSERT_EQ(pipe(savesDone), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(savesDone[0]);
            for (unsigned long save = 0;; ++save) {
                saveSet(save % 2 ? kOwnSet : kDefaultFile);
                (void)!write(savesDone[1], "s", 1);
            }
        }
        close(savesDone[1]);
        // One or two whole saves first, so that either set can be the last
        // one completed, then a kill at some point of the saves that follow.
        for (int wholeSaves = 1 + kill % 2; wholeSaves > 0; --wholeSaves) {
            char done = 0;
            ASSERT_EQ(read(savesDone[0], &done, 1), 1);
        }
        QThread::usleep(static_cast<unsigned long>(731 * kill % 5000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
        close(savesDone[0]);

        const StoredValues stored = readSettingsGroup(path);
        EXPECT_TRUE(stored == kOwnSet || stored == kDefaultFile) << "after kill " << kill;
        defaultsSeen += stored == kDefaultFile;
    }
    // Both sets were really being written while the kills landed.
    EXPECT_GT(defaultsSeen, 0);
    EXPECT_LT(defaultsSeen, kKills);
}

} // namespace
