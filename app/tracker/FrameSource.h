#pragma once

#include "app/tracker/TrackerOptions.h"
#include "capture/Image.h"

#include <QImage>
#include <QSize>
#include <QStringList>

#include <memory>

// The recorded pictures the tracker feeds, one at a time, as the capture
// thread would deliver them: Rgb32 frames with bytes blue, green, red, 0 and
// rows top first, each owned by the caller.
class FrameSource {
public:
    // Resolves the input: the PNG and JPEG images of a folder in file-name
    // order, or one image fed options.repeat times (once without --repeat),
    // stopping after options.frameLimit frames when there is a limit.
    // On failure error names the path.
    bool open(const TrackerOptions& options, QString& error);

    bool atEnd() const;

    // The next frame, or null with error naming the file when it cannot be
    // decoded or its size differs from the first frame's.
    std::unique_ptr<I::Image> next(QString& error);

private:
    bool decode(const QString& file, QImage& picture, QString& error);

    QStringList files;
    int framesLeft = 0;
    int framesFed = 0;
    // 0 for no limit.
    int frameLimit = 0;
    QImage singleImage;
    QSize sequenceSize;
};

// The capture thread's frame for a picture: Rgb32, fourth byte of every pixel 0.
std::unique_ptr<I::Image> captureFrameFrom(const QImage& picture);
