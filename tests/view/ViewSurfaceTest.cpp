#include "tests/view/GLCanvas.h"
#include "view/GLWidget.h"

#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class IdleControls : public ViewControls {
public:
    explicit IdleControls(int* switches = nullptr)
        : switches(switches) {}
    bool startStop() override {
        if (switches)
            ++*switches;
        return true;
    }
    void startPacing() override {}
    void stopPacing() override {}
    void pausePacing() override {}
    void resumePacing() override {}

private:
    int* switches;
};

bool isSky(QRgb pixel) {
    return std::abs(qRed(pixel) - 204) < 12 && std::abs(qGreen(pixel) - 178) < 12 &&
           qBlue(pixel) > 240;
}

// The height, in logical pixels, of the white text in the view's top-left
// corner: the two lines of the read-out.
int readoutHeight(const QImage& frame, int ratio) {
    int top = frame.height(), bottom = -1;
    for (int y = 0; y < 60 * ratio; ++y) {
        for (int x = 0; x < 120 * ratio; ++x) {
            if (isWhite(frame.pixel(x, y))) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return (bottom - top + 1) / ratio;
}

// Run on the platform and at the scale CTest chooses (ZAREDEZID_PLATFORM
// names the platform the case must be on): on X11, on X11 with every
// logical pixel two device pixels wide, and natively on Wayland. The view
// fills its surface's device pixels with the whole scene laid out in logical
// pixels, so nothing in it is drawn at half size.
TEST(ViewSurfaceTest, PaintsTheWholeSceneInDevicePixels) {
    ASSERT_EQ(QGuiApplication::platformName(), qEnvironmentVariable("ZAREDEZID_PLATFORM", "xcb"));
    GLWidget view(std::make_unique<IdleControls>());
    view.resize(400, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.isValid(); }));
    view.updateData(127.5f, 0.0f);
    const QImage frame = view.grabFramebuffer();

    const int r = qRound(view.devicePixelRatioF());
    EXPECT_EQ(r, qRound(qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble()));
    ASSERT_EQ(frame.size(), QSize(400, 400) * r);
    EXPECT_TRUE(isSky(frame.pixel(200 * r, 70 * r))) << "sky in the upper half";
    EXPECT_FALSE(isSky(frame.pixel(200 * r, 390 * r))) << "terrain at the bottom";
    EXPECT_TRUE(isWhite(pixelAt(frame, 105 * r, 120 * r))) << "the left scale";
    EXPECT_GT(readoutHeight(frame, r), 20) << "the read-out's two lines of text";
    EXPECT_LT(readoutHeight(frame, r), 50);
}

// The user's double click lands on the native surface, not on the widget
// around it, and must reach the same switch.
TEST(ViewSurfaceTest, DoubleClickOnTheSurfaceStartsOrStopsTheController) {
    int switches = 0;
    GLWidget view(std::make_unique<IdleControls>(&switches));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.isValid(); }));
    const int afterShowing = switches;
    QWindow* surface = nullptr;
    for (QWindow* window : QGuiApplication::allWindows())
        surface = window->inherits("ViewSurface") ? window : surface;
    ASSERT_NE(surface, nullptr);
    QTest::mouseDClick(surface, Qt::LeftButton);
    EXPECT_EQ(switches, afterShowing + 1);
}

} // namespace
