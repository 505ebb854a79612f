#pragma once

#include "output/ResponseShaping.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QTimer>
#include <QWidget>

// One axis's response: what the outputs get against the calibrated input,
// both over [-1, 1], with the dead zone shaded and a dot at the live
// attitude. The dot moves at every frame, so its repaints are held to the
// display's rate and stop while nobody can see the plot.
class ResponsePlot : public QWidget {
    Q_OBJECT

public:
    explicit ResponsePlot(QWidget* parent = nullptr);

    void setResponse(const AxisResponse& newResponse);
    void setLivePoint(double input, double output);
    // Input on x, output on y: the dot as last given, drawn or not.
    QPointF livePoint() const { return live; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool canBeSeen() const;
    int frameIntervalMs() const;
    void repaintNow();
    QPointF toWidget(QPointF point, const QRectF& area) const;
    QRectF plotArea() const;

    AxisResponse response;
    QPointF live;
    QTimer repaintTimer;
    QElapsedTimer sinceRepaint;
};
