#include "app/remote/ControlBus.h"

#include "ControlAdaptor.h"
#include "app/remote/RemoteControl.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

// A running instance answers at once; one that does not within this time
// is hung, and a desktop shortcut must not wait on it.
constexpr int kCallMilliseconds = 5000;

bool noOwner(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    return name == QDBusError::errorString(QDBusError::ServiceUnknown) ||
           name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

ControlBus::ControlBus(RemoteControl& control, QObject* parent)
    : QObject(parent)
    , control(control) {}

ControlBus::~ControlBus() {
    if (!published)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kServiceName);
    bus.unregisterObject(kObjectPath);
}

ControlBus::Outcome ControlBus::publish(QString& why) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        why = tr("no session bus (%1)").arg(bus.lastError().message());
        return Outcome::NoBus;
    }
    // The object is there before the name, so that whoever sees the name
    // appear finds something to call.
    new ControlAdaptor(&control);
    if (!bus.registerObject(kObjectPath, &control, QDBusConnection::ExportAdaptors)) {
        why = tr("%1 is already in use on the session bus").arg(kObjectPath);
        return Outcome::NameTaken;
    }
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject(kObjectPath);
        why = tr("another instance owns %1 on the session bus").arg(kServiceName);
        return Outcome::NameTaken;
    }
    published = true;
    connect(&control, &RemoteControl::propertyChanged, this, &ControlBus::announce);
    return Outcome::Published;
}

bool ControlBus::callRunning(const QString& method, QString& error) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        error = tr("no running Zaredezid to control: there is no session bus");
        return false;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kServiceName, kObjectPath, kInterface, method);
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallMilliseconds);
    if (reply.type() != QDBusMessage::ErrorMessage)
        return true;
    error = noOwner(reply)
                ? tr("no running Zaredezid to control")
                : tr("the running Zaredezid did not do it: %1").arg(reply.errorMessage());
    return false;
}

// Clients that follow the state learn of a change without asking for it.
void ControlBus::announce(const QString& property, const QVariant& value) {
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties",
                                                     "PropertiesChanged");
    signal << QString(kInterface) << QVariantMap{{property, value}} << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
