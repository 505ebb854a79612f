#include "app/ButtonControlEditor.h"

#include <QHBoxLayout>
#include <QPushButton>

using namespace platform;

ButtonControlEditor::ButtonControlEditor(const CameraControl& control, QWidget* parent)
    : CameraControlEditor(control, parent)
    , button(new QPushButton(tr("Press"), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button);
    layout->addStretch();
    connect(button, &QPushButton::clicked, this, [this] { reportValue(1); });
}

// A button holds no value.
void ButtonControlEditor::showValue(const CameraControl&, bool) {}

void ButtonControlEditor::setReadOnly(bool readOnly) {
    button->setEnabled(!readOnly);
}
