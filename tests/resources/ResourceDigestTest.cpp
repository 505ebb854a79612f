#include "tests/resources/ResourceFiles.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

struct ExpectedDigest {
    const char* path;
    const char* sha256;
};

// The generators promise the same bytes on every build and every machine.
// When a generator is changed on purpose, these values change with it.
const ExpectedDigest kExpectedDigests[] = {
    {":/images/Icons/splash.png",
     "1b157121bdb968ad2a5d1e4aa16e135272cdc2b82166e8154f375f0121fc39b9"},
    {":/images/Icons/fileinfo-32.png",
     "6e1bcdbb722561e9e647c636a60ae046e2052335ed141778cabc082b9214f26b"},
    {":/images/Icons/favicon.gif",
     "85ba2736015f1e8cdd6096e30872f251243c3f346e15b36ac77b9e7f3bbcd2d2"},
    {":/gl/Scene/Terrain.raw", "326fb852879a410203bc6d47c61b5fed53730a3eba9a763928c7ae4816b2ef35"},
    {":/gl/Scene/Color.Tga", "67f56c1a8bbb7279efb64e40b33f3a49543f5d6c40e551ee80541ff0174087a8"},
    {":/gl/Scene/plane.xgl", "bf12d169a01596ececef2b97a4185b6372efe750f462eada40261aabf7e5afb6"},
};

TEST(ResourceDigest, GeneratedBytesMatchTheRecordedDigests) {
    for (const ExpectedDigest& expected : kExpectedDigests) {
        const QByteArray content = ResourceFiles::read(expected.path);
        ASSERT_FALSE(content.isEmpty()) << expected.path;
        const QByteArray digest =
            QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
        EXPECT_EQ(digest.toStdString(), expected.sha256) << expected.path;
    }
}

} // namespace
