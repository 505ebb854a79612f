#pragma once

#include <QByteArray>
#include <QString>

// Access to the compiled-in resource collection for the tests.
class ResourceFiles {
public:
    // Registers the collection once per process.
    static void registerCollection();
    // The whole content of a resource; empty when it does not exist.
    static QByteArray read(const QString& path);
};
