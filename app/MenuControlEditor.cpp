#include "app/MenuControlEditor.h"

#include <QComboBox>
#include <QHBoxLayout>

using namespace platform;

// Menus may skip indices, so a list position is never taken for a value;
// each item carries the index the camera gave it.
MenuControlEditor::MenuControlEditor(const CameraControl& control, QWidget* parent)
    : CameraControlEditor(control, parent)
    , list(new QComboBox(this)) {
    for (const ControlMenuEntry& entry : control.menu)
        list->addItem(QString::fromStdString(entry.label), qlonglong(entry.index));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    connect(list, QOverload<int>::of(&QComboBox::activated), this,
            [this](int position) { reportValue(list->itemData(position).toLongLong()); });
}

// A value that is no entry, or none at all, selects nothing.
void MenuControlEditor::showValue(const CameraControl& state, bool known) {
    list->setCurrentIndex(known ? list->findData(qlonglong(state.value)) : -1);
}

void MenuControlEditor::setReadOnly(bool readOnly) {
    list->setEnabled(!readOnly);
}
