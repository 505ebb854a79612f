#include "capture/CameraControlText.h"
#include "tests/support/VividCamera.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

// The tracker on the kernel's virtual camera: what it lists and sets are the
// camera's own controls, as v4l2-ctl sees them.
namespace {

constexpr int kBoundMs = 120000;

struct ProgramRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

ProgramRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(kBoundMs)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// Short name -> kind of every control v4l2-ctl lists with a kind the tracker
// lists too; arrays and compound controls are left out of both.
QMap<QString, QString> v4l2CtlKinds(const QString& node) {
    static const QMap<QString, QString> kinds{
        {"int", "int"},    {"int64", "int64"},     {"bool", "bool"},     {"menu", "menu"},
        {"str", "string"}, {"intmenu", "intmenu"}, {"button", "button"}, {"bitmask", "bitmask"}};
    QMap<QString, QString> listed;
    const QRegularExpression line(R"(^\s*(\w+) 0x[0-9a-f]+ \((\w+)\)\s*:(.*)$)");
    for (const QString& row : run("v4l2-ctl", {"-d", node, "--list-ctrls"}).output.split('\n')) {
        const auto match = line.match(row);
        if (match.hasMatch() && kinds.contains(match.captured(2)) &&
            !match.captured(3).contains("dims="))
            listed[match.captured(1)] = kinds[match.captured(2)];
    }
    return listed;
}

TEST(VividTracker, ListsAndSetsTheCamerasOwnControls) {
    const vivid::Node vivid = vivid::find();
    if (vivid.path.isEmpty()) {
        if (vivid::mustBePresent())
            FAIL() << "no vivid camera, although this machine should have one";
        GTEST_SKIP() << "the kernel's virtual camera is not loaded";
    }
    const ProgramRun listing = run(ZAREDEZID_TRACK, {"--camera", "0", "--list-controls"});
    ASSERT_EQ(listing.exitCode, 0) << listing.errors.toStdString();
    QMap<QString, QString> listed;
    for (const QString& row : listing.output.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = row.split("  ");
        listed[CameraControlText::shortName(fields.value(0))] = fields.value(1);
    }
    EXPECT_EQ(listed, v4l2CtlKinds(vivid.path)) << listing.output.toStdString();

    const ProgramRun set =
        run(ZAREDEZID_TRACK, {"--camera", "0", "--control", "brightness=77", "--frames", "3"});
    EXPECT_EQ(set.exitCode, 0) << set.errors.toStdString();
    EXPECT_EQ(run("v4l2-ctl", {"-d", vivid.path, "--get-ctrl", "brightness"}).output.trimmed(),
              "brightness: 77");

    const ProgramRun refused =
        run(ZAREDEZID_TRACK, {"--camera", "0", "--control", "Brightness=300"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains("Brightness")) << refused.errors.toStdString();
    EXPECT_EQ(run("v4l2-ctl", {"-d", vivid.path, "--get-ctrl", "brightness"}).output.trimmed(),
              "brightness: 77");
}

} // namespace
