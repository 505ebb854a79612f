#include "capture/CameraControlText.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

using platform::CameraControl;
using platform::ControlKind;
using platform::ControlMenuEntry;

namespace {

const char* const kFieldSeparator = "  ";

QString tr(const char* text) {
    return QCoreApplication::translate("CameraControlText", text);
}

QString nameOf(const CameraControl& control) {
    return QString::fromStdString(control.name);
}

bool isAsciiLetterOrDigit(QChar c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A driver may report a step of 0 for controls that take every value.
uint64_t stepOf(const CameraControl& control) {
    return control.step > 0 ? uint64_t(control.step) : 1;
}

// Counted in unsigned arithmetic, since a 64-bit range may span more than
// int64_t holds; value is at least the minimum here.
bool onStepGrid(const CameraControl& control, int64_t value) {
    return (uint64_t(value) - uint64_t(control.minimum)) % stepOf(control) == 0;
}

QString hexText(int64_t value) {
    return "0x" + QString::number(qulonglong(uint64_t(value)), 16);
}

// A string value in double quotes, with quotes, backslashes and characters
// that would break the line written as escapes.
QString quoted(const QString& text) {
    QString result = "\"";
    for (const QChar c : text) {
        if (c == '"' || c == '\\') {
            result += '\\';
            result += c;
        } else if (!c.isPrint() && !c.isSurrogate()) {
            result += QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
        } else {
            result += c;
        }
    }
    return result + '"';
}

const ControlMenuEntry* entryAt(const CameraControl& control, int64_t index) {
    const auto found =
        std::find_if(control.menu.begin(), control.menu.end(),
                     [index](const ControlMenuEntry& entry) { return entry.index == index; });
    return found == control.menu.end() ? nullptr : &*found;
}

QString menuText(const CameraControl& control) {
    QStringList entries;
    for (const ControlMenuEntry& entry : control.menu) {
        entries << QString("%1: %2").arg(entry.index).arg(QString::fromStdString(entry.label));
    }
    return entries.join(", ");
}

QString rangeText(const CameraControl& control) {
    return QString("%1..%2").arg(control.minimum).arg(control.maximum);
}

// The fields after the kind that tell which values the control takes.
QStringList valueFields(const CameraControl& control) {
    const QString defaultText = tr("default %1");
    switch (control.kind) {
    case ControlKind::Integer:
    case ControlKind::Integer64:
        return {tr("%1 step %2").arg(rangeText(control)).arg(stepOf(control)),
                defaultText.arg(control.defaultValue)};
    case ControlKind::Boolean:
        return {defaultText.arg(control.defaultValue)};
    case ControlKind::Menu:
    case ControlKind::IntegerMenu:
        return {menuText(control), defaultText.arg(control.defaultValue)};
    case ControlKind::Bitmask:
        return {tr("mask %1").arg(hexText(control.maximum)),
                defaultText.arg(hexText(control.defaultValue))};
    case ControlKind::String:
        return {stepOf(control) > 1
                    ? tr("length %1 step %2").arg(rangeText(control)).arg(stepOf(control))
                    : tr("length %1").arg(rangeText(control))};
    case ControlKind::Button:
        break;
    }
    return {};
}

// The value as the list shows it: a menu's index, as the default is shown,
// a bitmask in hex and a string quoted.
QString shownValue(const CameraControl& control) {
    switch (control.kind) {
    case ControlKind::Bitmask:
        return hexText(control.value);
    case ControlKind::String:
        return quoted(QString::fromStdString(control.text));
    default:
        return QString::number(control.value);
    }
}

QStringList flagFields(const CameraControl& control) {
    namespace flag = platform::controlflag;
    QStringList fields;
    const std::pair<uint32_t, const char*> names[] = {{flag::kReadOnly, "read-only"},
                                                      {flag::kInactive, "inactive"},
                                                      {flag::kWriteOnly, "write-only"},
                                                      {flag::kVolatile, "volatile"}};
    for (const auto& [bit, name] : names) {
        if (control.has(bit)) {
            fields << name;
        }
    }
    return fields;
}

bool parseInteger(const CameraControl& control, const QString& text, CameraControl& wanted,
                  QString& problem) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok) {
        problem = tr("\"%1\" is not a whole number").arg(text);
    } else if (value < control.minimum || value > control.maximum) {
        problem = tr("%1 is out of range %2").arg(value).arg(rangeText(control));
    } else if (!onStepGrid(control, value)) {
        problem = tr("%1 is not on its steps of %2 from %3")
                      .arg(value)
                      .arg(stepOf(control))
                      .arg(control.minimum);
    } else {
        wanted.value = value;
        return true;
    }
    return false;
}

bool parseBoolean(const QString& text, CameraControl& wanted, QString& problem) {
    const QString word = text.trimmed().toLower();
    if (word == "1" || word == "true" || word == "on") {
        wanted.value = 1;
    } else if (word == "0" || word == "false" || word == "off") {
        wanted.value = 0;
    } else {
        problem = tr("\"%1\" is not one of 0, 1, true, false, on, off").arg(text);
        return false;
    }
    return true;
}

// A menu entry named by its label, or an integer menu's entry by its number;
// null when none is. Labels are compared trimmed, as the text is: a label a
// driver pads would otherwise be saved and then never found again.
const ControlMenuEntry* entryNamed(const CameraControl& control, const QString& text) {
    bool isNumber = false;
    const qlonglong number = text.toLongLong(&isNumber);
    for (const ControlMenuEntry& entry : control.menu) {
        const QString label = QString::fromStdString(entry.label).trimmed();
        if (control.kind == ControlKind::IntegerMenu) {
            bool labelIsNumber = false;
            if (isNumber && label.toLongLong(&labelIsNumber) == number && labelIsNumber) {
                return &entry;
            }
        } else if (label.compare(text, Qt::CaseInsensitive) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

// Only listed entries are taken: a menu with gaps refuses the indices between.
bool parseMenu(const CameraControl& control, const QString& text, CameraControl& wanted,
               QString& problem) {
    const QString trimmed = text.trimmed();
    const ControlMenuEntry* entry = entryNamed(control, trimmed);
    bool isNumber = false;
    const qlonglong index = trimmed.toLongLong(&isNumber);
    if (!entry && isNumber) {
        entry = entryAt(control, index);
    }
    if (!entry) {
        problem = tr("\"%1\" is not one of its entries: %2").arg(text, menuText(control));
        return false;
    }
    wanted.value = entry->index;
    return true;
}

// Decimal, or hex after "0x": a leading 0 is not taken for octal, which
// would read "010" as 8.
bool parseBitmask(const CameraControl& control, const QString& text, CameraControl& wanted,
                  QString& problem) {
    const QString trimmed = text.trimmed();
    const bool hex = trimmed.startsWith("0x", Qt::CaseInsensitive);
    bool ok = false;
    const qulonglong bits = hex ? trimmed.mid(2).toULongLong(&ok, 16) : trimmed.toULongLong(&ok);
    if (!ok) {
        problem = tr("\"%1\" is not a number in decimal or 0x hex").arg(text);
        return false;
    }
    if ((bits & ~uint64_t(control.maximum)) != 0) {
        problem = tr("%1 has bits outside its mask %2")
                      .arg(hexText(int64_t(bits)), hexText(control.maximum));
        return false;
    }
    wanted.value = int64_t(bits);
    return true;
}

// Lengths count bytes of UTF-8, as the driver counts them.
bool parseString(const CameraControl& control, const QString& text, CameraControl& wanted,
                 QString& problem) {
    const std::string bytes = text.toStdString();
    const int64_t length = int64_t(bytes.size());
    if (length < control.minimum || length > control.maximum || !onStepGrid(control, length)) {
        // One call, so that a "%1" in the user's text is not taken for a
        // place of the message's own.
        problem = tr("the length of %1 is %2, outside %3")
                      .arg(quoted(text), QString::number(length), rangeText(control));
        if (stepOf(control) > 1) {
            problem += tr(" step %1").arg(stepOf(control));
        }
        return false;
    }
    wanted.text = bytes;
    return true;
}

} // namespace

QString CameraControlText::kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Integer:
        return "int";
    case ControlKind::Integer64:
        return "int64";
    case ControlKind::Boolean:
        return "bool";
    case ControlKind::Menu:
        return "menu";
    case ControlKind::IntegerMenu:
        return "intmenu";
    case ControlKind::Button:
        return "button";
    case ControlKind::Bitmask:
        return "bitmask";
    case ControlKind::String:
        break;
    }
    return "string";
}

bool CameraControlText::isAutomaticMode(const CameraControl& control) {
    return QString::fromStdString(control.name).contains("auto", Qt::CaseInsensitive);
}

QString CameraControlText::shortName(const QString& name) {
    QString result;
    bool separatorPending = false;
    for (const QChar c : name) {
        if (!isAsciiLetterOrDigit(c)) {
            separatorPending = !result.isEmpty();
            continue;
        }
        if (separatorPending) {
            result += '_';
            separatorPending = false;
        }
        result += c.toLower();
    }
    return result;
}

bool CameraControlText::matches(const CameraControl& control, const QString& name) {
    const QString controlName = nameOf(control);
    return name.compare(controlName, Qt::CaseInsensitive) == 0 ||
           name.toLower() == shortName(controlName);
}

// A write-only control reads 0 whatever it was set to, so it shows no value.
QString CameraControlText::describe(const CameraControl& control) {
    QStringList fields{nameOf(control), kindName(control.kind)};
    fields << valueFields(control);
    const bool hasValue =
        control.kind != ControlKind::Button && !control.has(platform::controlflag::kWriteOnly);
    if (hasValue) {
        fields << tr("value %1").arg(shownValue(control));
    }
    fields << flagFields(control);
    return fields.join(kFieldSeparator);
}

bool CameraControlText::parse(const CameraControl& control, const QString& text,
                              CameraControl& wanted, QString& why) {
    if (control.has(platform::controlflag::kReadOnly)) {
        why = tr("%1: it is read-only").arg(nameOf(control));
        return false;
    }
    wanted = control;
    QString problem;
    bool parsed = true;
    switch (control.kind) {
    case ControlKind::Integer:
    case ControlKind::Integer64:
        parsed = parseInteger(control, text, wanted, problem);
        break;
    case ControlKind::Boolean:
        parsed = parseBoolean(text, wanted, problem);
        break;
    case ControlKind::Menu:
    case ControlKind::IntegerMenu:
        parsed = parseMenu(control, text, wanted, problem);
        break;
    case ControlKind::Bitmask:
        parsed = parseBitmask(control, text, wanted, problem);
        break;
    case ControlKind::String:
        parsed = parseString(control, text, wanted, problem);
        break;
    case ControlKind::Button:
        // Pressing a button takes no value; any text presses it.
        wanted.value = 1;
        break;
    }
    if (!parsed) {
        why = QString("%1: %2").arg(nameOf(control), problem);
    }
    return parsed;
}

// Menus are saved by label, which parse() tries before an index, so a label
// that is itself a number cannot be mistaken for another entry's index.
QString CameraControlText::valueText(const CameraControl& control) {
    switch (control.kind) {
    case ControlKind::Menu:
    case ControlKind::IntegerMenu: {
        const ControlMenuEntry* entry = entryAt(control, control.value);
        return entry ? QString::fromStdString(entry->label) : QString::number(control.value);
    }
    case ControlKind::Bitmask:
        return hexText(control.value);
    case ControlKind::String:
        return QString::fromStdString(control.text);
    case ControlKind::Button:
        return "1";
    default:
        return QString::number(control.value);
    }
}
