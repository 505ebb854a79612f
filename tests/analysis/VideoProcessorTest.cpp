#include "analysis/VideoProcessor.h"
#include "SyntheticPictures.h"
#include "analysis/EstimateOverlay.h"
#include "analysis/FramePreparation.h"
#include "app/ProcessObjects.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

// Arms that jump between two heights, so every frame after the first shows
// new edges along them.
QImage movingArms(int width, int height, int frame) {
    return armsFigure(width, height, {100.0, frame % 2 ? 13.0 : 7.0});
}

// Every pixel random: edges everywhere, the most work the detector can get.
QImage noise(int width, int height, quint32 seed) {
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(picture.bits()), width * height);
    return picture;
}

QImage withShapes(int width, int height, const std::vector<QPainterPath>& shapes) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (const QPainterPath& shape : shapes) {
        painter.drawPath(shape);
    }
    return picture;
}

// White rectangles, ellipses and right triangles on black by the number of
// change pixels their edges give alone; and nothing, which gives none.
const std::map<int, QPainterPath>& shapesByChange() {
    static const std::map<int, QPainterPath> shapes = [] {
        std::map<int, QPainterPath> byChange{{0, QPainterPath()}};
        for (int w = 3; w < 24; ++w) {
            for (int h = 3; h < 24; ++h) {
                QPainterPath triangle, rectangle, ellipse;
                triangle.addPolygon(QPolygon({QPoint(0, 0), QPoint(w, 0), QPoint(0, h)}));
                rectangle.addRect(0, 0, w, h);
                ellipse.addEllipse(0, 0, w, h);
                for (const QPainterPath& shape : {triangle, rectangle, ellipse}) {
                    const QImage alone = withShapes(48, 48, {shape.translated(10, 10)});
                    int count = 0;
                    newEdges(*sobelEdges(*grayMirrored(*frameFrom(alone)), 100),
                             *grayPicture(48, 48), count, 820);
                    byChange.emplace(count, shape);
                }
            }
        }
        return byChange;
    }();
    return shapes;
}

// A picture whose edges give exactly the wanted number of change pixels: two
// shapes far apart whose counts add up.
QImage pictureWithChange(int width, int height, int wanted) {
    const std::map<int, QPainterPath>& shapes = shapesByChange();
    for (const auto& [count, shape] : shapes) {
        const auto rest = shapes.find(wanted - count);
        if (rest != shapes.end()) {
            return withShapes(width, height,
                              {shape.translated(20, 20), rest->second.translated(60, 20)});
        }
    }
    return {};
}

class Processing : public ::testing::Test {
protected:
    Processing() {
        QObject::connect(&processor, &VideoProcessor::dataUpdate, [this](float roll, float pitch) {
            updates.push_back({roll, pitch});
        });
    }
    void feed(const QImage& picture) { processor.processFrame(frameFrom(picture).release()); }

    VideoProcessor processor;
    std::vector<std::pair<float, float>> updates;
};

// 30 changed pixels at 160 x 120, 70 at 320 x 240 and the same density, 280,
// at 640 x 480, against the black first frame.
TEST(MotionGate, OpensAboveThirtySeventyOrTwoHundredEightyChangedPixels) {
    const struct {
        int width, changedPixels;
        bool opens;
    } cases[] = {{160, 30, false}, {160, 31, true},   {320, 70, false},
                 {320, 71, true},  {640, 280, false}, {640, 281, true}};
    for (const auto& gate : cases) {
        const int height = gate.width * 3 / 4;
        const QImage picture = pictureWithChange(gate.width, height, gate.changedPixels);
        ASSERT_FALSE(picture.isNull()) << gate.changedPixels;
        VideoProcessor processor;
        processor.processFrame(frameFrom(withShapes(gate.width, height, {})).release());
        processor.processFrame(frameFrom(picture).release());
        EXPECT_EQ(processor.detectorRanInLastFrame(), gate.opens) << gate.changedPixels;
    }
}

// A new size, even of the same width, restarts the picture memory.
TEST_F(Processing, FirstFrameOfEachSizeOnlyStoresTheReference) {
    for (const QSize size : {QSize(320, 240), QSize(320, 200), QSize(160, 120)}) {
        const std::size_t before = updates.size();
        feed(movingArms(size.width(), size.height(), 0));
        EXPECT_EQ(updates.size(), before);
        EXPECT_FALSE(processor.detectorRanInLastFrame());
        feed(movingArms(size.width(), size.height(), 1));
        EXPECT_TRUE(processor.detectorRanInLastFrame());
        EXPECT_EQ(updates.size(), before + 1);
    }
}

TEST_F(Processing, BothEstimatorsSurviveTinyOddAndChangingFrameSizes) {
    const QSize sizes[] = {{1, 1},     {4, 4}, {2, 1},     {1, 2},   {7, 5},
                           {321, 239}, {5, 5}, {320, 240}, {3, 300}, {160, 120}};
    for (EstimatorKind kind : {EstimatorKind::Precise, EstimatorKind::Classic}) {
        processor.setEstimator(kind);
        updates.clear();
        quint32 seed = 1;
        for (int round = 0; round < 2; ++round) {
            for (const QSize& size : sizes) {
                for (int frame = 0; frame < 3; ++frame) {
                    feed(movingArms(size.width(), size.height(), frame));
                }
                feed(noise(size.width(), size.height(), seed++));
                feed(noise(size.width(), size.height(), seed++));
            }
        }
        processor.processFrame(nullptr);
        const uchar noPixels = 0;
        int32_t zero = 0, format = I::Image::Rgb32;
        processor.processFrame(new I::Image(&noPixels, zero, zero, format));
        for (const auto& [roll, pitch] : updates) {
            EXPECT_TRUE(std::isfinite(roll) && std::isfinite(pitch)) << roll << ", " << pitch;
        }
        EXPECT_FALSE(updates.empty()) << estimatorKindName(kind).toStdString();
    }
}

// On a dense screen the picture holds the label's device pixels.
bool showsRedLine(const QImage& shown, const LineEstimator& estimate) {
    const int r = qRound(shown.devicePixelRatio());
    int columnsWithRed = 0;
    for (int x : {40, 160, 280}) {
        const int row =
            estimatedLineRow(x, estimate.smoothedAngle(), estimate.smoothedOffset(), 320, 240);
        bool red = false;
        for (int y = (row - 2) * r; y <= (row + 2) * r; ++y) {
            red = red || shown.pixel(x * r, y) == QColor(Qt::red).rgb();
        }
        columnsWithRed += red;
    }
    return columnsWithRed == 3;
}

// Once the precise estimator has an estimate, its line is drawn on every
// frame, also on one that finds no arms and so does not update it, until the
// arms have been missing for a few frames.
TEST_F(Processing, ShowsTheMirroredFrameWithTheEstimatedLine) {
    QLabel label;
    outputLabel = &label;
    for (int frame = 0; frame < 6; ++frame) {
        QImage picture = movingArms(320, 240, frame);
        picture.setPixel(0, 0, 0xFF0000FFu);
        feed(picture);
    }
    ASSERT_FALSE(updates.empty());
    const QImage shown = label.pixmap(Qt::ReturnByValue).toImage();
    const int r = qRound(label.devicePixelRatioF());
    ASSERT_EQ(shown.size(), QSize(320, 240) * r);
    EXPECT_EQ(shown.devicePixelRatio(), r);
    EXPECT_EQ(shown.pixel(319 * r, 0) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_TRUE(showsRedLine(shown, processor.estimator()));

    const std::size_t before = updates.size();
    feed(withShapes(320, 240, {}));
    EXPECT_EQ(updates.size(), before);
    EXPECT_TRUE(showsRedLine(label.pixmap(Qt::ReturnByValue).toImage(), processor.estimator()));

    // A few frames more without the arms, and the black picture shows the
    // search, written in white across its top, instead of the line.
    for (int frame = 0; frame < 4; ++frame)
        feed(withShapes(320, 240, {}));
    outputLabel = nullptr;
    const QImage searching = label.pixmap(Qt::ReturnByValue).toImage();
    EXPECT_FALSE(showsRedLine(searching, processor.estimator()));
    int whiteInTopBand = 0;
    for (int y = 0; y < 30 * r; ++y)
        for (int x = 0; x < 320 * r; ++x)
            whiteInTopBand += qGray(searching.pixel(x, y)) > 200;
    EXPECT_GT(whiteInTopBand, 50);
}

} // namespace
