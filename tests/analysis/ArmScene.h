#pragma once

#include "SyntheticPictures.h"
#include "capture/Image.h"

#include <QBrush>
#include <QImage>
#include <QTransform>

#include <memory>
#include <optional>
#include <vector>

class QPainter;

// A room as a webcam sees it: a person with outstretched arms in front of a
// textured wall, a picture frame and a door edge, with fresh sensor noise in
// every frame. Everything is drawn in fractions of the picture, so the scene
// looks the same at every size; the same seed gives the same frames.
class ArmScene {
public:
    // How hard the room makes the arms to see.
    struct Room {
        // Grey levels by which the shirt is darker than the wall behind it,
        // as a light shirt before a light wall; none for a dark blue shirt,
        // far from the wall.
        std::optional<int> contrast;
        // Standard deviation of the sensor noise, in grey levels.
        double noiseSigma = 3;
        // Stripes across the torso and rings round the sleeves, as a Breton
        // shirt: strong short edges at many heights close to the arms.
        bool stripedShirt = false;
        // Someone smaller, farther back, walking to and fro behind the person
        // with arms at their sides: a shoulder line and a head that move.
        bool walkerBehind = false;
    };

    enum class Person {
        Bobbing, // arms move up and down a little every frame, so the motion gate opens
        Still,   // holds the pose exactly; only the noise changes
        Gone,    // has left the picture
    };

    struct Frame {
        std::unique_ptr<I::Image> image; // as the capture thread delivers it
        ArmsPose arms; // the arm's centre line in the mirrored picture the analysis sees
    };

    ArmScene(int width, int height, quint32 seed, Room room);

    // The next frame of the person holding pose: angle 90 = level arms, offset
    // in pixels below the picture's centre at the centre column.
    Frame next(ArmsPose pose, Person person = Person::Bobbing);

private:
    void paintPerson(QImage& mirrored, double shoulderOffset, ArmsPose arms) const;
    void paintShirt(QPainter& painter, const QRectF& piece, double cornerRadius) const;
    QBrush shirtBrush(const QTransform& painterTransform, bool stripe = false) const;
    void paintWalker(QImage& mirrored) const;
    std::unique_ptr<I::Image> cameraFrame(const QImage& mirrored);

    QImage room;   // wall, picture frame and door, in the mirrored picture
    QImage canvas; // the room with the person of the frame being made
    std::vector<uchar> bytes;
    quint32 seed;
    std::optional<int> contrast;
    bool stripedShirt;
    bool walkerBehind;
    // The noise each sum of four random bytes stands for.
    std::vector<int> noiseOfSum;
    int frameNumber = 0;
};
