#include "tests/resources/ResourceFiles.h"

#include <QFile>

// Q_INIT_RESOURCE declares the collection's registration function, which
// must happen at global scope, outside any class or namespace.
static void registerZaredezidCollection() {
    Q_INIT_RESOURCE(zaredezid);
}

void ResourceFiles::registerCollection() {
    static const bool registered = (registerZaredezidCollection(), true);
    (void)registered;
}

QByteArray ResourceFiles::read(const QString& path) {
    registerCollection();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}
