#pragma once

#include "capture/platform/CapturePlatform.h"

#include <QString>

// The property store of a device whose only readable property is its name.
class NameOnlyPropertyStore : public platform::PropertyStore {
public:
    explicit NameOnlyPropertyStore(const QString& name);

    platform::Status read(const std::string& property, std::u16string& value) override;

private:
    QString name_;
};
