#include "app/CameraControlSettings.h"

#include "capture/CameraControlText.h"

#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <vector>

using platform::CameraControl;

namespace {

// The window's settings store, named as the window's entry function names
// the application, so that the tracker, which names itself differently,
// applies the values the window remembered.
const char* const kWindowOrganization = "Ruveviv";
const char* const kWindowApplication = "Vizezu Verizuvuz";
const char* const kCamerasGroup = "cameras/";
// Separates a camera's name from its bus path in its group's name; escaped
// within both, so that no name can pass for another camera's.
const char32_t kBusPathSeparator = U'@';

QSettings windowStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kWindowOrganization,
                     kWindowApplication);
}

// QSettings reads '/' and '\' in a key as group separators, so those are
// percent-encoded, with '%' itself, the bus path separator and whatever is
// not printable; the rest stays readable in the file.
QString escaped(const QString& text) {
    QString result;
    for (const char32_t codePoint : text.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        const bool plain = codePoint != U'%' && codePoint != U'/' && codePoint != U'\\' &&
                           codePoint != kBusPathSeparator &&
                           QChar::isPrint(static_cast<uint>(codePoint));
        if (plain) {
            result += character;
            continue;
        }
        for (const char byte : character.toUtf8()) {
            result += QString("%%1").arg(uint(uchar(byte)), 2, 16, QChar('0')).toUpper();
        }
    }
    return result;
}

QString unescaped(const QString& key) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(key.toUtf8()));
}

QString nameOf(const CameraControl& control) {
    return QString::fromStdString(control.name);
}

struct SavedValue {
    const CameraControl* control;
    QString text;
};

} // namespace

CameraControlSettings::CameraControlSettings(const QString& cameraName, const std::string& busPath)
    : cameraName(cameraName)
    , group(kCamerasGroup + escaped(cameraName) + QString::fromUcs4(&kBusPathSeparator, 1) +
            escaped(QString::fromStdString(busPath))) {}

// Pressing a button is an action, not a value, and is not repeated at the
// next start.
void CameraControlSettings::remember(const CameraControl& changed) {
    if (changed.kind == platform::ControlKind::Button) {
        return;
    }
    QSettings store = windowStore();
    store.setValue(group + '/' + escaped(nameOf(changed)), CameraControlText::valueText(changed));
    store.sync();
    if (store.status() == QSettings::AccessError) {
        std::fprintf(stderr,
                     "zaredezid: settings file %s could not be written; %s is not remembered\n",
                     qPrintable(store.fileName()), qPrintable(nameOf(changed)));
    }
}

void CameraControlSettings::forget(const std::vector<CameraControl>& controls) {
    QSettings store = windowStore();
    for (const CameraControl& control : controls) {
        store.remove(group + '/' + escaped(nameOf(control)));
    }
    store.sync();
}

int CameraControlSettings::apply(platform::CameraControls& controls) const {
    QSettings store = windowStore();
    store.beginGroup(group);
    const QStringList keys = store.childKeys();
    if (keys.isEmpty()) {
        return 0;
    }
    const auto skip = [this](const QString& why) {
        std::fprintf(stderr, "zaredezid: camera \"%s\": %s\n", qPrintable(cameraName),
                     qPrintable(why));
    };
    std::vector<CameraControl> available;
    if (!platform::succeeded(controls.list(available))) {
        skip("its controls cannot be read; its saved values are skipped");
        return 0;
    }
    std::vector<SavedValue> saved;
    for (const QString& key : keys) {
        const QString name = unescaped(key);
        const auto found =
            std::find_if(available.begin(), available.end(),
                         [&name](const CameraControl& c) { return nameOf(c) == name; });
        if (found == available.end()) {
            skip(QString("no control \"%1\" any more; its saved value is skipped").arg(name));
        } else {
            saved.push_back({&*found, store.value(key).toString()});
        }
    }
    // Automatic modes first, each kind in the camera's order: the controls all point into
    // the one list, so their addresses follow it.
    std::sort(saved.begin(), saved.end(), [](const SavedValue& a, const SavedValue& b) {
        const bool aFirst = CameraControlText::isAutomaticMode(*a.control);
        const bool bFirst = CameraControlText::isAutomaticMode(*b.control);
        return aFirst != bFirst ? aFirst : a.control < b.control;
    });
    int setCount = 0;
    for (const SavedValue& value : saved) {
        CameraControl wanted;
        QString why;
        if (!CameraControlText::parse(*value.control, value.text, wanted, why)) {
            skip(why + "; the saved value is skipped");
        } else if (!platform::succeeded(controls.write(wanted))) {
            skip(QString("%1 refused the saved value \"%2\"; it is skipped")
                     .arg(nameOf(*value.control), value.text));
        } else {
            ++setCount;
        }
    }
    return setCount;
}
