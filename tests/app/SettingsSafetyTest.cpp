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
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The thirteen fields as the store writes them, in a file of the native
// format; all differ between the two sets below, so a file that mixes two
// saves is told apart from a whole one.
using StoredValues = QMap<QString, QString>;

struct FieldValues {
    int response;
    int zero;
    int minimum;
    int maximum;
    bool invert;
    int position;
};

const FieldValues kFirstSet{11, 101, 3, 201, true, 0};
const FieldValues kSecondSet{22, 102, 4, 202, false, 1};

void assign(SettingsStorage& storage, const FieldValues& values) {
    storage.responseRoll = values.response;
    storage.responsePitch = values.response + 1;
    storage.zeroRoll = values.zero;
    storage.zeroPitch = values.zero + 1;
    storage.minRoll = values.minimum;
    storage.minPitch = values.minimum + 1;
    storage.maxRoll = values.maximum;
    storage.maxPitch = values.maximum + 1;
    storage.invertRoll = values.invert;
    storage.invertPitch = !values.invert;
    storage.cameraId = values.position;
    storage.fpsId = values.position;
    storage.resolutionId = values.position;
}

StoredValues expectedFile(const FieldValues& values) {
    const auto text = [](int number) { return QString::number(number); };
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return {{"ResponseRoll", text(values.response)}, {"ResponsePitch", text(values.response + 1)},
            {"ZeroRoll", text(values.zero)},         {"ZeroPitch", text(values.zero + 1)},
            {"MinRoll", text(values.minimum)},       {"MinPitch", text(values.minimum + 1)},
            {"MaxRoll", text(values.maximum)},       {"MaxPitch", text(values.maximum + 1)},
            {"InvertRoll", flag(values.invert)},     {"InvertPitch", flag(!values.invert)},
            {"CameraId", text(values.position)},     {"FPSId", text(values.position)},
            {"ResolutionId", text(values.position)}};
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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Lets no process write more than a few bytes into any file, the way a full
// disk would, until it goes out of scope. Writes past the limit fail with
// EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active = false;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

// Collects what is written to standard error through a pipe rather than a
// file, so that it still works while file sizes are limited.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        if (pipe(ends) == 0) {
            savedStderr = dup(STDERR_FILENO);
            dup2(ends[1], STDERR_FILENO);
        }
    }
    ~StderrCapture() { finish(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string finish() {
        if (savedStderr < 0)
            return text;
        std::fflush(stderr);
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        close(ends[1]);
        savedStderr = -1;
        char buffer[4096];
        for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(got));
        close(ends[0]);
        return text;
    }

private:
    int ends[2] = {-1, -1};
    int savedStderr = -1;
    std::string text;
};

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

    void saveSet(const FieldValues& values) {
        SettingsStorage storage;
        assign(storage, values);
    }

    static void expectDefaults(const SettingsStorage& storage) {
        EXPECT_EQ(storage.responseRoll, 50);
        EXPECT_EQ(storage.responsePitch, 50);
        EXPECT_EQ(storage.zeroRoll, 127);
        EXPECT_EQ(storage.zeroPitch, 127);
        EXPECT_EQ(storage.minRoll, 0);
        EXPECT_EQ(storage.minPitch, 0);
        EXPECT_EQ(storage.maxRoll, 255);
        EXPECT_EQ(storage.maxPitch, 255);
        EXPECT_FALSE(storage.invertRoll);
        EXPECT_FALSE(storage.invertPitch);
        EXPECT_EQ(storage.cameraId, -1);
        EXPECT_EQ(storage.fpsId, 1);
        EXPECT_EQ(storage.resolutionId, 0);
    }

    QString path;
};

// Files no save of the program could have written: noise, a cut-off group
// header, a byte-order mark before the header, NUL bytes in the middle, and
// nothing at all. QSettings reports only some of them as malformed.
TEST_F(SettingsSafetyTest, GarbageStoreStartsWithDefaultsAndOneWarningLine) {
    std::vector<QByteArray> garbage = {
        QByteArray("\x00\x01\x02\xff\xfe\x80 noise\n\n", 15),
        QByteArray("[settings\n"),
        QByteArray("\xef\xbb\xbf\x01[settings]\n"),
        QByteArray("[settings]\x00\x00\x00\n=\n==\n", 18),
    };
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 2654435761u) >> 13));
    garbage.push_back(noise);
    garbage.push_back(QByteArray());

    for (const QByteArray& bytes : garbage) {
        SCOPED_TRACE(bytes.left(16).toHex().toStdString());
        writeFile(path, bytes);
        StderrCapture start;
        auto storage = std::make_unique<SettingsStorage>();
        const std::string startWarnings = start.finish();
        expectDefaults(*storage);
        EXPECT_EQ(lineCount(startWarnings), 1) << startWarnings;
        EXPECT_NE(startWarnings.find(path.toStdString()), std::string::npos) << startWarnings;

        // The exit save leaves a whole store behind, so the next start is
        // clean, and does not claim to have failed.
        StderrCapture exit;
        storage.reset();
        const std::string exitWarnings = exit.finish();
        EXPECT_EQ(exitWarnings, "");
        QSettings::Status status = QSettings::NoError;
        {
            const QSettings reread;
            status = reread.status();
        }
        EXPECT_EQ(readSettingsGroup(path).size(), 13);
        EXPECT_EQ(status, QSettings::NoError);
    }
}

// A disk that fills up during the exit save: the new file cannot be written
// beyond a few bytes. The previous file must stay as it was, byte for byte,
// and the user is told once that this run's settings are lost.
TEST_F(SettingsSafetyTest, FullDiskDuringSaveLeavesThePreviousFileWhole) {
    saveSet(kFirstSet);
    const QByteArray before = fileBytes(path);
    ASSERT_EQ(readSettingsGroup(path), expectedFile(kFirstSet));

    SettingsStorage storage;
    assign(storage, kSecondSet);
    std::string warnings;
    {
        FileSizeLimit diskFull(32);
        ASSERT_TRUE(diskFull.active);
        StderrCapture capture;
        storage.save();
        warnings = capture.finish();
    }
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(lineCount(warnings), 1) << warnings;
    EXPECT_NE(warnings.find("could not be written"), std::string::npos) << warnings;

    // No half-written file is left beside it either.
    const QFileInfo settingsFile(path);
    for (const QFileInfo& entry : settingsFile.dir().entryInfoList(QDir::Files))
        EXPECT_TRUE(entry.fileName() == settingsFile.fileName() ||
                    entry.fileName() == settingsFile.fileName() + ".lock")
            << entry.fileName().toStdString();
}

// A crash during the exit save: a child process saves two different sets of
// settings alternately, as fast as it can, and is killed at varying moments,
// most of them inside a save. Each time, the file must hold one whole set or
// the other.
TEST_F(SettingsSafetyTest, KilledDuringSavesLeavesOneWholeSetOfSettings) {
    saveSet(kFirstSet);
    const StoredValues first = expectedFile(kFirstSet);
    const StoredValues second = expectedFile(kSecondSet);
    constexpr int kKills = 12;
    int secondSetSeen = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        int savesDone[2];
        ASSERT_EQ(pipe(savesDone), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(savesDone[0]);
            for (unsigned long save = 0;; ++save) {
                saveSet(save % 2 ? kFirstSet : kSecondSet);
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
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(savesDone[0]);

        const StoredValues stored = readSettingsGroup(path);
        EXPECT_TRUE(stored == first || stored == second) << "after kill " << kill;
        secondSetSeen += stored == second;
    }
    // Both sets were really being written while the kills landed.
    EXPECT_GT(secondSetSeen, 0);
    EXPECT_LT(secondSetSeen, kKills);
}

} // namespace
