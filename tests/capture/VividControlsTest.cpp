#include "CaptureTestSupport.h"

#include "capture/CameraControlText.h"
#include "capture/VideoInputThr.h"
#include "tests/support/VividCamera.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace capture_test;
using platform::CameraControl;
using platform::ControlKind;
namespace controlflag = platform::controlflag;

namespace {

constexpr int kReportTimeoutMs = 10000;

// What v4l2-ctl --list-ctrls-menus says of one control.
struct ListedControl {
    QString kind;
    // min, max, step, default, value, as printed.
    QMap<QString, QString> fields;
    QStringList flags;
    QMap<int64_t, QString> menu;
};

QString v4l2Ctl(const QStringList& arguments) {
    QProcess process;
    process.start("v4l2-ctl", arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Lines such as "  gain 0x00980913 (int) : min=0 max=255 ... flags=inactive, volatile",
// each followed by its menu entries as "\t\t\t\t1: Menu Item 1".
QMap<QString, ListedControl> listedByV4l2Ctl(const QString& node) {
    static const QRegularExpression controlLine(R"(^\s*(\w+) 0x[0-9a-f]+ \((\w+)\)\s*:(.*)$)");
    static const QRegularExpression field(R"((\w+)=('[^']*'|\S+))");
    static const QRegularExpression menuLine(R"(^\t+(\d+): (.*)$)");
    QMap<QString, ListedControl> listed;
    QString current;
    for (const QString& line : v4l2Ctl({"-d", node, "--list-ctrls-menus"}).split('\n')) {
        if (const auto entry = menuLine.match(line); entry.hasMatch()) {
            listed[current].menu[entry.captured(1).toLongLong()] = entry.captured(2);
            continue;
        }
        const auto control = controlLine.match(line);
        if (!control.hasMatch()) {
            continue;
        }
        current = control.captured(1);
        ListedControl& entry = listed[current];
        entry.kind = control.captured(2);
        const QString rest = control.captured(3);
        const int flagsAt = rest.indexOf("flags=");
        entry.flags = flagsAt < 0 ? QStringList() : rest.mid(flagsAt + 6).split(", ");
        for (auto it = field.globalMatch(rest.left(flagsAt)); it.hasNext();) {
            const auto match = it.next();
            entry.fields[match.captured(1)] = match.captured(2);
        }
    }
    return listed;
}

const QMap<ControlKind, QString> kV4l2CtlKinds{
    {ControlKind::Integer, "int"},         {ControlKind::Integer64, "int64"},
    {ControlKind::Boolean, "bool"},        {ControlKind::Menu, "menu"},
    {ControlKind::IntegerMenu, "intmenu"}, {ControlKind::Button, "button"},
    {ControlKind::Bitmask, "bitmask"},     {ControlKind::String, "str"}};

const QMap<QString, uint32_t> kV4l2CtlFlags{
    {"read-only", controlflag::kReadOnly},   {"inactive", controlflag::kInactive},
    {"write-only", controlflag::kWriteOnly}, {"volatile", controlflag::kVolatile},
    {"grabbed", controlflag::kGrabbed},      {"slider", controlflag::kSlider}};

QString shortName(const CameraControl& control) {
    return CameraControlText::shortName(QString::fromStdString(control.name));
}

CameraControl named(const std::vector<CameraControl>& controls, const QString& name) {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const CameraControl& c) { return shortName(c) == name; });
    return found == controls.end() ? CameraControl{} : *found;
}

// Another value the control accepts than the one it has.
CameraControl changed(CameraControl control) {
    switch (control.kind) {
    case ControlKind::String:
        control.text = std::string(static_cast<std::size_t>(control.maximum), 'z');
        break;
    case ControlKind::Menu:
    case ControlKind::IntegerMenu:
        control.value = control.menu.back().index == control.value ? control.menu.front().index
                                                                   : control.menu.back().index;
        break;
    default:
        control.value = control.value == control.maximum ? control.minimum : control.maximum;
    }
    return control;
}

// What a watcher was told, on the watching thread.
struct Reports {
    void add(const CameraControl& control) {
        QMutexLocker locker(&lock);
        seen.push_back(control);
    }
    template <typename State> bool waitFor(uint32_t id, State state) {
        return QTest::qWaitFor(
            [&] {
                QMutexLocker locker(&lock);
                return std::any_of(seen.begin(), seen.end(),
                                   [&](const CameraControl& c) { return c.id == id && state(c); });
            },
            kReportTimeoutMs);
    }
    QMutex lock;
    std::vector<CameraControl> seen;
};

// vivid's capture node, reached the way the program reaches a camera: by its
// index in the device list. The cases run in the device tests' virtual
// machine and skip elsewhere, unless the machine says vivid must be there.
class VividControls : public testing::Test {
protected:
    void SetUp() override {
        vivid = vivid::find();
        SKIP_UNLESS_VIVID_PRESENT(vivid);
        consoleOf([&] { thread = std::make_unique<VideoInputThr>(); });
        const QMap<int, QString> devices = thread->deviceList();
        for (auto it = devices.begin(); it != devices.end(); ++it) {
            camera = it.value().contains("vivid") ? it.key() : camera;
        }
        ASSERT_GE(camera, 0) << "the device list lacks vivid";
    }
    void TearDown() override {
        consoleOf([&] { thread.reset(); });
    }

    std::unique_ptr<platform::CameraControls> open() {
        auto controls = thread->openControls(camera);
        EXPECT_TRUE(controls);
        return controls;
    }

    vivid::Node vivid;
    std::unique_ptr<VideoInputThr> thread;
    int camera = -1;
};

TEST_F(VividControls, ListAgreesWithV4l2CtlOnEveryKindTheyShow) {
    const auto controls = open();
    ASSERT_TRUE(controls);
    static const QRegularExpression busInfo(R"(Bus info\s*: (\S+))");
    EXPECT_EQ(busInfo.match(v4l2Ctl({"-d", vivid.path, "--info"})).captured(1).toStdString(),
              controls->busPath());

    std::vector<CameraControl> listed;
    ASSERT_EQ(controls->list(listed), platform::kOk);
    const QMap<QString, ListedControl> expected = listedByV4l2Ctl(vivid.path);
    QStringList expectedNames;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (kV4l2CtlKinds.values().contains(it->kind) && !it->fields.contains("dims")) {
            expectedNames << it.key();
        }
    }
    QStringList names;
    for (const CameraControl& control : listed) {
        const QString name = shortName(control);
        names << name;
        SCOPED_TRACE(name.toStdString());
        const ListedControl shown = expected.value(name);
        EXPECT_EQ(shown.kind, kV4l2CtlKinds[control.kind]);
        uint32_t flags = 0;
        for (const QString& flag : shown.flags) {
            flags |= kV4l2CtlFlags.value(flag);
        }
        EXPECT_EQ(control.flags, flags);
        // v4l2-ctl prints a bitmask's value as a signed 32-bit number.
        const auto number = [&](const QString& key) {
            const qint64 printed = shown.fields[key].toLongLong(nullptr, 0);
            return control.kind == ControlKind::Bitmask ? printed & 0xffffffff : printed;
        };
        const std::map<QString, int64_t> ours{{"min", control.minimum},
                                              {"max", control.maximum},
                                              {"step", control.step},
                                              {"default", control.defaultValue}};
        for (const auto& [key, value] : ours) {
            if (shown.fields.contains(key)) {
                EXPECT_EQ(value, number(key)) << key.toStdString();
            }
        }
        if (control.kind == ControlKind::String) {
            EXPECT_EQ("'" + QString::fromStdString(control.text) + "'", shown.fields["value"]);
        } else if (!control.has(controlflag::kVolatile)) {
            EXPECT_EQ(control.value, number("value"));
        }
        // Integer menus are printed as "5 (0x5)".
        EXPECT_EQ(shown.menu.size(), int(control.menu.size()));
        for (const auto& entry : control.menu) {
            EXPECT_EQ(shown.menu.value(entry.index).section(" (", 0, 0).toStdString(), entry.label);
        }
    }
    names.sort();
    EXPECT_EQ(names, expectedNames);
}

// vivid's disconnect button takes the device away until nothing holds it
// open any more, so it comes last. The cases of other programs use vivid
// after this one, so every value is put back.
TEST_F(VividControls, WritesReachTheDriverReportFlagChangesAndSurviveADisconnect) {
    // Outlives the handles, whose event thread may still report into it
    // when a failed assertion returns early.
    Reports reports;
    auto writer = open();
    auto watcher = open();
    ASSERT_TRUE(writer && watcher);
    std::vector<CameraControl> controls;
    ASSERT_EQ(writer->list(controls), platform::kOk);

    CameraControl brightness = named(controls, "brightness");
    brightness.value = 77;
    EXPECT_EQ(writer->write(brightness), platform::kOk);
    brightness.value = brightness.maximum + 1;
    EXPECT_EQ(writer->write(brightness), platform::kInvalidArgument);
    EXPECT_EQ(v4l2Ctl({"-d", vivid.path, "--get-ctrl", "brightness"}), "brightness: 77\n");

    // The manual gain is inactive while its automatic mode is on.
    watcher->watch([&](const CameraControl& control) { reports.add(control); });
    CameraControl autogain = named(controls, "gain_automatic");
    const uint32_t gain = named(controls, "gain").id;
    autogain.value = 0;
    ASSERT_EQ(writer->write(autogain), platform::kOk);
    EXPECT_TRUE(reports.waitFor(gain, [](auto& c) { return !c.has(controlflag::kInactive); }));
    EXPECT_TRUE(reports.waitFor(autogain.id, [](auto& c) { return c.value == 0; }));
    autogain.value = 1;
    ASSERT_EQ(writer->write(autogain), platform::kOk);
    EXPECT_TRUE(reports.waitFor(gain, [](auto& c) { return c.has(controlflag::kInactive); }));

    // Every control takes another value, reads it back and is put back;
    // read-only ones refuse, buttons are pressed. vivid's "Inject" buttons
    // are not: each arms a failure of the next stream, which would hit
    // whatever case streams next.
    CameraControl disconnect;
    for (const CameraControl& control : controls) {
        SCOPED_TRACE(control.name);
        if (shortName(control) == "disconnect") {
            disconnect = control;
            continue;
        }
        const CameraControl wanted = changed(control);
        if (control.has(controlflag::kReadOnly)) {
            EXPECT_EQ(writer->write(wanted), platform::kAccessDenied);
            continue;
        }
        if (shortName(control).startsWith("inject_")) {
            continue;
        }
        ASSERT_EQ(writer->write(wanted), platform::kOk);
        CameraControl read;
        read.id = control.id;
        ASSERT_EQ(writer->read(read), platform::kOk);
        if (!control.has(controlflag::kVolatile) && !control.has(controlflag::kWriteOnly)) {
            EXPECT_EQ(read.value, wanted.value);
            EXPECT_EQ(read.text, wanted.text);
        }
        EXPECT_EQ(writer->write(control), platform::kOk);
    }

    // Gone, the device fails every call at once; the watcher stops by itself
    // and is stopped again without waiting. vivid comes back once the last
    // handle on it is closed, which only happens if none is left open.
    writer->write(disconnect);
    EXPECT_FALSE(platform::succeeded(writer->list(controls)));
    EXPECT_FALSE(platform::succeeded(writer->read(brightness)));
    EXPECT_FALSE(platform::succeeded(writer->write(brightness)));
    EXPECT_EQ(writer->busPath(), "");
    watcher->watch(nullptr);
    writer.reset();
    watcher.reset();
    consoleOf([&] { thread.reset(); });
    EXPECT_TRUE(QTest::qWaitFor([] { return !vivid::find().path.isEmpty(); }, kReportTimeoutMs));
}

} // namespace
