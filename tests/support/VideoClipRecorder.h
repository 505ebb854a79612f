#pragma once

#include <QString>

// Short video clips recorded with GStreamer for the tests that replay them,
// so the replay goes through real demuxing and decoding. Encoders are given
// as a pipeline fragment, as in "jpegenc ! avimux".
namespace clip_recorder {

// GStreamer's moving test pattern: 20 frames of 176 x 144 at 15 per second.
bool recordTestPatternClip(const QString& path, const char* encoder);

// The numbered pictures that printf-style pattern names (as in
// "/tmp/x/frame%04d.png", counted from 0), one frame each.
bool recordPictureClip(const QString& picturePattern, int framesPerSecond, const QString& path,
                       const char* encoder);

} // namespace clip_recorder
