#pragma once

class QImage;
class QString;

// The row, truncated toward zero, at which the estimated line crosses column x
// of a picture of the given size: the line through the point offset pixels
// below the picture's centre at angleDegrees (90 = level).
int estimatedLineRow(int x, double angleDegrees, double offset, int width, int height);

// Draws the estimated line across the whole picture in red, 2 pixels wide.
void drawEstimatedLine(QImage& picture, double angleDegrees, double offset);

// Writes text across the top of the picture, legible on any background.
void drawTrackingNotice(QImage& picture, const QString& text);
