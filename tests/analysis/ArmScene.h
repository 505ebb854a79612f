#pragma once

#include "SyntheticPictures.h"
#include "capture/Image.h"

#include <QImage>

#include <memory>
#include <vector>

// A room as a webcam sees it: a person with outstretched arms in front of a
// textured wall, a picture frame and a door edge, with fresh sensor noise in
// every frame. Everything is drawn in fractions of the picture, so the scene
// looks the same at every size; the same seed gives the same frames.
class ArmScene {
public:
    enum class Person {
        Bobbing, // arms move up and down a little every frame, so the motion gate opens
        Still,   // holds the pose exactly; only the noise changes
        Gone,    // has left the picture
    };

    struct Frame {
        std::unique_ptr<I::Image> image; // as the capture thread delivers it
        ArmsPose arms; // the arm's centre line in the mirrored picture the analysis sees
    };

    ArmScene(int width, int height, quint32 seed);

    // The next frame of the person holding pose: angle 90 = level arms, offset
    // in pixels below the picture's centre at the centre column.
    Frame next(ArmsPose pose, Person person = Person::Bobbing);

private:
    void paintPerson(QImage& mirrored, double shoulderOffset, ArmsPose arms) const;
    std::unique_ptr<I::Image> cameraFrame(const QImage& mirrored);

    QImage room;   // wall, picture frame and door, in the mirrored picture
    QImage canvas; // the room with the person of the frame being made
    std::vector<uchar> bytes;
    quint32 seed;
    int frameNumber = 0;
};
