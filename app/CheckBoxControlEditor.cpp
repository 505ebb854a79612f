#include "app/CheckBoxControlEditor.h"

#include <QCheckBox>
#include <QHBoxLayout>

using namespace platform;

CheckBoxControlEditor::CheckBoxControlEditor(const CameraControl& control, QWidget* parent)
    : CameraControlEditor(control, parent)
    , box(new QCheckBox(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this](bool checked) { reportValue(checked ? 1 : 0); });
}

// A write-only one has no state to show and rests unchecked.
void CheckBoxControlEditor::showValue(const CameraControl& state, bool known) {
    box->setChecked(known && state.value != 0);
}

void CheckBoxControlEditor::setReadOnly(bool readOnly) {
    box->setEnabled(!readOnly);
}
