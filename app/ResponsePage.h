#pragma once

#include "output/ResponseShaping.h"

#include <QWidget>

#include <array>

class QDoubleSpinBox;
class QGroupBox;
class ResponsePlot;

// The "Response" tab: for each axis a plot of its response with the live
// attitude on it, and the dead zone, expo and limit, each acting as soon as
// it changes.
class ResponsePage : public QWidget {
    Q_OBJECT

public:
    explicit ResponsePage(QWidget* parent = nullptr);

    // Shows the response without reporting it back as a change.
    void setResponse(const ResponseShaping& response);

signals:
    void responseChanged(const ResponseShaping& response);

public slots:
    void showLive(const CalibratedAttitude& calibrated, const CalibratedAttitude& output);

private:
    using AxisField = AxisResponse ResponseShaping::*;
    struct AxisControls {
        ResponsePlot* plot = nullptr;
        // Dead zone, expo and limit, in the order the tab shows them.
        std::array<QDoubleSpinBox*, 3> boxes{};
    };

    QGroupBox* makeAxis(const QString& title, const QString& axisName, AxisField axis,
                        AxisControls& controls);
    void showAxis(const AxisResponse& axis, const AxisControls& controls);

    // What the outputs were last given: a control changes only its own
    // value, so values finer than the controls show are kept.
    ResponseShaping current;
    AxisControls roll;
    AxisControls pitch;
};
