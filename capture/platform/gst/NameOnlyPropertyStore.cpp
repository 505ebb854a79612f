#include "capture/platform/gst/NameOnlyPropertyStore.h"

NameOnlyPropertyStore::NameOnlyPropertyStore(const QString& name)
    : name_(name) {}

platform::Status NameOnlyPropertyStore::read(const std::string& property, std::u16string& value) {
    if (property != "FriendlyName") {
        return platform::kFail;
    }
    value = name_.toStdU16String();
    return platform::kOk;
}
