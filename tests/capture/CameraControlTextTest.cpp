#include "capture/CameraControlText.h"
#include "tests/support/SampleCameraControls.h"

#include <QStringList>
#include <gtest/gtest.h>

using platform::CameraControl;

namespace {

const CameraControl& sample(uint32_t id) {
    static const std::vector<CameraControl> controls = sample_controls::webcamControls();
    return controls[id - 1];
}

// The list a user reads and scripts against: its layout is part of the
// tracker's interface.
TEST(CameraControlText, DescribesEveryKindOnOneLine) {
    QStringList lines;
    for (const CameraControl& control : sample_controls::webcamControls()) {
        lines << CameraControlText::describe(control);
    }
    EXPECT_EQ(lines, QStringList({
                         "Brightness  int  0..255 step 1  default 128  value 128",
                         "Sharpness  int  1..9 step 2  default 5  value 5",
                         "Gain  int  0..100 step 1  default 20  value 20  inactive  volatile",
                         "Gain, Automatic  bool  default 1  value 1",
                         "Power Line Frequency  menu  0: Disabled, 1: 50 Hz, 2: 60 Hz  default 1"
                         "  value 1",
                         "Scene Mode  menu  0: None, 1: Backlight, 3: Night  default 1  value 1",
                         "Link Frequency  intmenu  0: 2, 1: 100, 2: 200  default 1  value 1",
                         "Pixel Offset  int64  -9223372036854775808..9223372036854775807 step 2"
                         "  default 0  value 0",
                         "Error Mask  bitmask  mask 0xff  default 0x3  value 0x3",
                         "Label  string  length 2..10  value \"abc\"",
                         "Restart  button  write-only",
                         "Firmware Version  int  0..1000 step 1  default 7  value 7  read-only",
                         "Trigger  int  0..1 step 1  default 0  write-only",
                     }))
        << lines.join('\n').toStdString();
    EXPECT_EQ(CameraControlText::shortName("  Gain, Automatic (2)"), "gain_automatic_2");
    const CameraControl& powerLine = sample(sample_controls::kPowerLine);
    EXPECT_TRUE(CameraControlText::matches(powerLine, "POWER line frequency"));
    EXPECT_TRUE(CameraControlText::matches(powerLine, "power_line_frequency"));
    EXPECT_FALSE(CameraControlText::matches(powerLine, "power_line"));
}

// Values are taken only where the camera would take them, each refusal
// naming the control, and every value written as text reads back the same.
TEST(CameraControlText, ParsesOnlyValuesTheControlTakesAndReadsBackItsOwnText) {
    using namespace sample_controls;
    const struct {
        uint32_t id;
        const char* text;
        int64_t value;
    } accepted[] = {
        {kBrightness, " 255", 255},
        {kGainAutomatic, "off", 0},
        {kGainAutomatic, "True", 1},
        {kPowerLine, "60 hz", 2},
        {kPowerLine, "0", 0},
        {kScene, "3", 3},
        {kLinkFrequency, "2", 0},
        {kLinkFrequency, "1", 1},
        {kLinkFrequency, "200", 2},
        {kErrorMask, "0xF0", 0xf0},
        {kErrorMask, "010", 10},
        {kRestart, "", 1},
        {kPixelOffset, "9223372036854775806", INT64_MAX - 1},
    };
    QString why;
    for (const auto& c : accepted) {
        CameraControl wanted, again;
        ASSERT_TRUE(CameraControlText::parse(sample(c.id), c.text, wanted, why)) << c.text;
        EXPECT_EQ(wanted.value, c.value) << c.text;
        const QString saved = CameraControlText::valueText(wanted);
        ASSERT_TRUE(CameraControlText::parse(wanted, saved, again, why));
        EXPECT_EQ(again.value, c.value) << saved.toStdString();
    }
    CameraControl text;
    ASSERT_TRUE(CameraControlText::parse(sample(kLabel), "a b/c", text, why));
    EXPECT_EQ(CameraControlText::valueText(text), "a b/c");
    // A label the driver pads is saved as it is and must be found again.
    CameraControl padded = sample(kScene);
    padded.menu[1].label = " Backlight ";
    ASSERT_TRUE(CameraControlText::parse(padded, CameraControlText::valueText(padded), text, why));
    EXPECT_EQ(text.value, 1);

    const struct {
        uint32_t id;
        const char* text;
        const char* why;
    } refused[] = {
        {kBrightness, "300", "Brightness: 300 is out of range 0..255"},
        {kSharpness, "4", "Sharpness: 4 is not on its steps of 2 from 1"},
        {kScene, "2",
         "Scene Mode: \"2\" is not one of its entries: 0: None, 1: Backlight, 3: Night"},
        {kLinkFrequency, "150",
         "Link Frequency: \"150\" is not one of its entries: 0: 2, 1: 100, 2: 200"},
        {kPixelOffset, "9223372036854775807",
         "Pixel Offset: 9223372036854775807 is not on its steps of 2 from -9223372036854775808"},
        {kErrorMask, "0x100", "Error Mask: 0x100 has bits outside its mask 0xff"},
        {kErrorMask, "-1", "Error Mask: \"-1\" is not a number in decimal or 0x hex"},
        {kLabel, "x", "Label: the length of \"x\" is 1, outside 2..10"},
        {kLabel, "%1%2%3 too long",
         "Label: the length of \"%1%2%3 too long\" is 15, outside 2..10"},
        {kFirmware, "7", "Firmware Version: it is read-only"},
    };
    for (const auto& c : refused) {
        CameraControl wanted;
        EXPECT_FALSE(CameraControlText::parse(sample(c.id), c.text, wanted, why)) << c.text;
        EXPECT_EQ(why.toStdString(), c.why);
    }
}

} // namespace
