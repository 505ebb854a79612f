#include "app/ResponsePage.h"

#include "app/ResponsePlot.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <iterator>

namespace {

// The controls step by hundredths; a stored value between the steps is
// shown rounded but kept as it is until its control is changed.
constexpr int kDecimals = 2;
constexpr double kStep = 0.01;
constexpr int kPageMargin = 4;

// One control of an axis: its label, the end of its object name, the field
// it sets and that field's range.
struct Control {
    const char* label;
    const char* name;
    double AxisResponse::*field;
    double lowest;
    double highest;
};

const Control kControls[] = {
    {QT_TRANSLATE_NOOP("ResponsePage", "Dead zone"), "DeadZone", &AxisResponse::deadZone, 0,
     AxisResponse::kMaxDeadZone},
    {QT_TRANSLATE_NOOP("ResponsePage", "Expo"), "Expo", &AxisResponse::expo, 0,
     AxisResponse::kMaxExpo},
    {QT_TRANSLATE_NOOP("ResponsePage", "Limit"), "Limit", &AxisResponse::limit,
     AxisResponse::kMinLimit, AxisResponse::kMaxLimit},
};

} // namespace

ResponsePage::ResponsePage(QWidget* parent)
    : QWidget(parent) {
    static_assert(std::size(kControls) == std::tuple_size<decltype(AxisControls::boxes)>::value,
                  "one box per control");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(makeAxis(tr("Roll"), "Roll", &ResponseShaping::roll, roll));
    layout->addWidget(makeAxis(tr("Pitch"), "Pitch", &ResponseShaping::pitch, pitch));
    setResponse(current);
}

QGroupBox* ResponsePage::makeAxis(const QString& title, const QString& axisName, AxisField axis,
                                  AxisControls& controls) {
    auto* group = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(group);
    controls.plot = new ResponsePlot(group);
    controls.plot->setObjectName("responsePlot" + axisName);
    layout->addWidget(controls.plot);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    layout->addStretch();
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const Control& control = kControls[i];
        auto* box = new QDoubleSpinBox(group);
        box->setObjectName("doubleSpinBox" + axisName + control.name);
        box->setDecimals(kDecimals);
        box->setSingleStep(kStep);
        box->setRange(control.lowest, control.highest);
        form->addRow(tr(control.label), box);
        controls.boxes[i] = box;
        connect(box, &QDoubleSpinBox::valueChanged, this,
                [this, axis, field = control.field, plot = controls.plot](double value) {
                    AxisResponse& changed = current.*axis;
                    changed.*field = value;
                    plot->setResponse(changed);
                    emit responseChanged(current);
                });
    }
    return group;
}

void ResponsePage::setResponse(const ResponseShaping& response) {
    current = response;
    showAxis(current.roll, roll);
    showAxis(current.pitch, pitch);
}

void ResponsePage::showAxis(const AxisResponse& axis, const AxisControls& controls) {
    controls.plot->setResponse(axis);
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const QSignalBlocker quiet(controls.boxes[i]);
        controls.boxes[i]->setValue(axis.*kControls[i].field);
    }
}

void ResponsePage::showLive(const CalibratedAttitude& calibrated,
                            const CalibratedAttitude& output) {
    roll.plot->setLivePoint(calibrated.roll, output.roll);
    pitch.plot->setLivePoint(calibrated.pitch, output.pitch);
}
