#include "app/CameraControlsDialog.h"

#include "app/CameraControlEditor.h"
#include "capture/CameraControlText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

using namespace platform;

namespace {

constexpr int kSavePauseMilliseconds = 500;

// A string has no default to go back to, and a button is an action, not a
// value.
bool hasDefault(const CameraControl& control) {
    return !control.has(controlflag::kReadOnly) && control.kind != ControlKind::Button &&
           control.kind != ControlKind::String;
}

// A button press or a write-only control, such as a relative move, is an
// action: done again at the next start it would repeat the action.
bool worthRemembering(const CameraControl& control) {
    return control.kind != ControlKind::Button && !control.has(controlflag::kWriteOnly);
}

QString refusal(const CameraControl& control, Status status) {
    const QString name = QString::fromStdString(control.name);
    if (control.has(controlflag::kGrabbed))
        return CameraControlsDialog::tr("%1 cannot be changed while the camera streams.").arg(name);
    if (status == kAccessDenied)
        return CameraControlsDialog::tr("The camera does not let %1 be changed now.").arg(name);
    if (status == kInvalidArgument)
        return CameraControlsDialog::tr("The camera refused this value of %1.").arg(name);
    return CameraControlsDialog::tr("The camera did not answer when %1 was set.").arg(name);
}

} // namespace

CameraControlsDialog::CameraControlsDialog(const QString& cameraName,
                                           std::shared_ptr<CameraControls> controls,
                                           QWidget* parent)
    : QDialog(parent)
    , camera(cameraName)
    , controls(std::move(controls))
    , settings(cameraName, this->controls->busPath()) {
    setObjectName("CameraControlsDialog");
    setWindowTitle(tr("Camera controls"));
    status = new QLabel(this);
    status->setObjectName("labelControlStatus");
    status->setWordWrap(true);
    auto* title = new QLabel(QString("<b>%1</b>").arg(camera.toHtmlEscaped()), this);
    title->setObjectName("labelCameraName");

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* page = new QWidget(scroll);
    auto* form = new QFormLayout(page);
    addEditors(*form);
    scroll->setWidget(page);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(scroll, 1);
    layout->addWidget(status);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* reset = buttons->addButton(tr("Reset to defaults"), QDialogButtonBox::ResetRole);
    reset->setObjectName("pushButtonResetDefaults");
    connect(reset, &QPushButton::clicked, this, &CameraControlsDialog::resetToDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    saveSoon.setSingleShot(true);
    saveSoon.setInterval(kSavePauseMilliseconds);
    connect(&saveSoon, &QTimer::timeout, this, &CameraControlsDialog::saveChanges);

    // The camera tells of changes from a thread of its own; they are shown
    // from the event loop. Events still queued when the dialog goes are
    // dropped with it, and none comes after watching stops.
    this->controls->watch([this](const CameraControl& state) {
        QMetaObject::invokeMethod(
            this, [this, state] { showChange(state); }, Qt::QueuedConnection);
    });
}

CameraControlsDialog::~CameraControlsDialog() {
    controls->watch(nullptr);
    saveChanges();
}

void CameraControlsDialog::addEditors(QFormLayout& form) {
    std::vector<CameraControl> all;
    if (!succeeded(controls->list(all)))
        tell(tr("The camera did not list its controls."));
    for (const CameraControl& control : all) {
        CameraControlEditor* editor = CameraControlEditor::create(control, form.parentWidget());
        form.addRow(QString::fromStdString(control.name) + ':', editor);
        editors.push_back(editor);
        connect(editor, &CameraControlEditor::edited, this, &CameraControlsDialog::write);
        connect(editor, &CameraControlEditor::refused, this, &CameraControlsDialog::tell);
    }
}

CameraControlEditor* CameraControlsDialog::editorOf(uint32_t id) const {
    const auto found = std::find_if(editors.begin(), editors.end(),
                                    [id](CameraControlEditor* e) { return e->control().id == id; });
    return found == editors.end() ? nullptr : *found;
}

// The editor then shows what the camera holds, which after a refusal is the
// value from before and after a success may be the value rounded by the
// driver; that value is the one remembered.
void CameraControlsDialog::write(const CameraControl& wanted) {
    CameraControlEditor* editor = editorOf(wanted.id);
    const Status written = controls->write(wanted);
    CameraControl state = succeeded(written) ? wanted : editor->control();
    controls->read(state);
    editor->showState(state);
    if (!succeeded(written)) {
        tell(refusal(state, written));
        return;
    }
    tell(QString());
    if (worthRemembering(state)) {
        unsaved[state.id] = state;
        saveSoon.start();
    }
    // A camera does not tell the handle that set an automatic mode that its
    // manual values went inactive or active, so they are read again. Only
    // after a switch or a menu, the kinds automatic modes are: after each
    // step of a slider drag that would be a read of every control.
    if (state.kind == ControlKind::Boolean || state.kind == ControlKind::Menu)
        showAll();
}

// Value and flags come from the camera; the description stays as listed.
void CameraControlsDialog::showChange(const CameraControl& state) {
    CameraControlEditor* editor = editorOf(state.id);
    if (!editor)
        return;
    CameraControl shown = editor->control();
    shown.value = state.value;
    shown.text = state.text;
    shown.flags = state.flags;
    editor->showState(shown);
}

void CameraControlsDialog::showAll() {
    std::vector<CameraControl> all;
    controls->list(all);
    for (const CameraControl& control : all)
        showChange(control);
}

void CameraControlsDialog::resetToDefaults() {
    std::vector<CameraControl> all;
    for (const CameraControlEditor* editor : editors)
        if (hasDefault(editor->control()))
            all.push_back(editor->control());
    std::stable_partition(all.begin(), all.end(), CameraControlText::isAutomaticMode);
    // A control that keeps the user's value keeps it remembered too.
    QStringList refused;
    std::vector<CameraControl> reset;
    for (CameraControl wanted : all) {
        wanted.value = wanted.defaultValue;
        if (succeeded(controls->write(wanted))) {
            unsaved.erase(wanted.id);
            reset.push_back(wanted);
        } else {
            refused << QString::fromStdString(wanted.name);
        }
    }
    settings.forget(reset);
    showAll();
    tell(refused.isEmpty() ? tr("Every control is back to its default.")
                           : tr("The camera kept its value of %1.").arg(refused.join(", ")));
}

void CameraControlsDialog::saveChanges() {
    for (const auto& [id, changed] : unsaved)
        settings.remember(changed);
    unsaved.clear();
}

void CameraControlsDialog::tell(const QString& message) {
    status->setText(message);
}
