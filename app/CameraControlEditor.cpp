#include "app/CameraControlEditor.h"

#include "app/ButtonControlEditor.h"
#include "app/CheckBoxControlEditor.h"
#include "app/MenuControlEditor.h"
#include "app/SliderControlEditor.h"
#include "app/TextControlEditor.h"
#include "capture/CameraControlText.h"

#include <limits>

using namespace platform;

namespace {

// A slider and a spin box hold an int; a 64-bit control beyond that range
// is edited as text instead.
bool fitsInt(const CameraControl& control) {
    return control.minimum >= std::numeric_limits<int>::min() &&
           control.maximum <= std::numeric_limits<int>::max();
}

} // namespace

CameraControlEditor* CameraControlEditor::create(const CameraControl& control, QWidget* parent) {
    CameraControlEditor* editor = nullptr;
    switch (control.kind) {
    case ControlKind::Integer:
    case ControlKind::Integer64:
        editor = fitsInt(control)
                     ? static_cast<CameraControlEditor*>(new SliderControlEditor(control, parent))
                     : new TextControlEditor(control, parent);
        break;
    case ControlKind::Boolean:
        editor = new CheckBoxControlEditor(control, parent);
        break;
    case ControlKind::Menu:
    case ControlKind::IntegerMenu:
        editor = new MenuControlEditor(control, parent);
        break;
    case ControlKind::Button:
        editor = new ButtonControlEditor(control, parent);
        break;
    case ControlKind::Bitmask:
    case ControlKind::String:
        editor = new TextControlEditor(control, parent);
        break;
    }
    editor->setObjectName("control_" +
                          CameraControlText::shortName(QString::fromStdString(control.name)));
    editor->showState(control);
    return editor;
}

CameraControlEditor::CameraControlEditor(const CameraControl& control, QWidget* parent)
    : QWidget(parent)
    , shown(control) {}

void CameraControlEditor::showState(const CameraControl& state) {
    shown = state;
    showing = true;
    setEnabled(!state.has(controlflag::kInactive));
    setReadOnly(state.has(controlflag::kReadOnly));
    showValue(state, !state.has(controlflag::kWriteOnly));
    showing = false;
}

void CameraControlEditor::reportValue(int64_t value) {
    CameraControl wanted = shown;
    wanted.value = value;
    reportWanted(wanted);
}

void CameraControlEditor::reportWanted(const CameraControl& wanted) {
    if (!showing)
        emit edited(wanted);
}
