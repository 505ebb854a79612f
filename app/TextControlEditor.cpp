#include "app/TextControlEditor.h"

#include "capture/CameraControlText.h"

#include <QHBoxLayout>
#include <QLineEdit>

using namespace platform;

TextControlEditor::TextControlEditor(const CameraControl& control, QWidget* parent)
    : CameraControlEditor(control, parent)
    , field(new QLineEdit(this)) {
    if (control.kind == ControlKind::String)
        field->setMaxLength(int(control.maximum));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field);
    connect(field, &QLineEdit::editingFinished, this, &TextControlEditor::commit);
}

void TextControlEditor::showValue(const CameraControl& state, bool known) {
    field->setText(known ? CameraControlText::valueText(state) : QString());
}

void TextControlEditor::setReadOnly(bool readOnly) {
    field->setReadOnly(readOnly);
}

// Leaving the field finishes an edit too, so only text the user changed is
// reported. Text that is no value of the control is refused here with the
// reason, rather than sent to the camera.
void TextControlEditor::commit() {
    if (!field->isModified())
        return;
    field->setModified(false);
    CameraControl wanted;
    QString why;
    if (CameraControlText::parse(control(), field->text(), wanted, why)) {
        reportWanted(wanted);
        return;
    }
    showState(control());
    emit refused(why);
}
