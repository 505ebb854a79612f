#include "app/CalibrationDialog.h"

#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>

namespace {

// Often enough for the countdown to show each second as it begins.
constexpr int kTickMs = 100;
// The size of the picture on the main window's camera page.
const QSize kPictureSize(320, 240);
// Each text gets room for this many lines from the start: a dialog that
// grew with its longest message would jump about under the user's eyes,
// and one that did not would squeeze the picture.
constexpr int kTextLines = 2;

qint64 monotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QLabel* makeTextLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(label->fontMetrics().lineSpacing() * kTextLines);
    return label;
}

} // namespace

CalibrationDialog::CalibrationDialog(QWidget* parent)
    : QDialog(parent)
    , clock(monotonicMs)
    , sequence(clock()) {
    setWindowTitle(tr("Calibrate"));
    auto* layout = new QVBoxLayout(this);

    picture = new QLabel(this);
    picture->setObjectName("labelPicture");
    picture->setFixedSize(kPictureSize);
    picture->setFrameShape(QFrame::Panel);
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    instruction = makeTextLabel(this, "labelInstruction");
    problem = makeTextLabel(this, "labelProblem");
    progress = makeTextLabel(this, "labelProgress");
    for (QLabel* label : {instruction, problem, progress})
        layout->addWidget(label);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    finish = buttons->addButton(tr("Finish"), QDialogButtonBox::AcceptRole);
    finish->setObjectName("pushButtonFinish");
    connect(buttons, &QDialogButtonBox::accepted, this, &CalibrationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalibrationDialog::reject);
    layout->addWidget(buttons);

    armsTracked = videoProcessor.trackingState() == TrackingState::Tracking;
    connect(&videoProcessor, &VideoProcessor::trackingUpdate, this,
            &CalibrationDialog::followTracking);
    connect(&videoProcessor, &VideoProcessor::dataUpdate, this, &CalibrationDialog::takeEstimate);
    auto* ticker = new QTimer(this);
    connect(ticker, &QTimer::timeout, this, &CalibrationDialog::tick);
    ticker->start(kTickMs);

    previousPicture = outputLabel;
    outputLabel = picture;
    showProgress();
}

CalibrationDialog::~CalibrationDialog() {
    giveBackPicture();
}

void CalibrationDialog::setClock(Clock newClock) {
    clock = std::move(newClock);
    sequence = CalibrationSequence(clock());
    showProgress();
}

void CalibrationDialog::done(int result) {
    giveBackPicture();
    QDialog::done(result);
}

// Only a label that is still this dialog's is given back: whoever took the
// picture over since keeps it.
void CalibrationDialog::giveBackPicture() {
    if (outputLabel == picture)
        outputLabel = previousPicture.data();
}

void CalibrationDialog::takeEstimate(float _roll, float _pitch) {
    if (armsTracked)
        sequence.takeEstimate(clock(), _roll, _pitch);
    else
        sequence.advanceTo(clock());
    showProgress();
}

void CalibrationDialog::followTracking(TrackingState state) {
    armsTracked = state == TrackingState::Tracking;
}

void CalibrationDialog::tick() {
    sequence.advanceTo(clock());
    showProgress();
}

void CalibrationDialog::showProgress() {
    instruction->setText(sequence.isDone() ? tr("All five steps are done.")
                                           : tr("Step %1 of %2: %3")
                                                 .arg(sequence.stepNumber())
                                                 .arg(CalibrationSequence::kStepCount)
                                                 .arg(sequence.instruction()));
    problem->setText(sequence.problem());
    progress->setText(progressText());
    finish->setEnabled(sequence.isDone());
}

QString CalibrationDialog::progressText() const {
    switch (sequence.phase()) {
    case CalibrationSequence::Phase::Countdown:
        return tr("Recording starts in %1…").arg(sequence.secondsLeft());
    case CalibrationSequence::Phase::Recording:
        return tr("Recording… hold still.");
    default:
        return finishText();
    }
}

QString CalibrationDialog::finishText() const {
    const Calibration& result = sequence.result();
    return tr("Finish sets roll zero %1, minimum %2, maximum %3 and pitch zero %4, minimum %5, "
              "maximum %6.")
        .arg(result.roll.zero)
        .arg(result.roll.minimum)
        .arg(result.roll.maximum)
        .arg(result.pitch.zero)
        .arg(result.pitch.minimum)
        .arg(result.pitch.maximum);
}
