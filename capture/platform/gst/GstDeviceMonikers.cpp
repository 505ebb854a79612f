#include "capture/platform/gst/GstDeviceMonikers.h"

#include "capture/platform/gst/DemoCameraFeeder.h"
#include "capture/platform/gst/GstFedSourceFilter.h"
#include "capture/platform/gst/GstSourceFilter.h"
#include "capture/platform/gst/VideoFileFeeder.h"

#include <QFileInfo>
#include <QString>

using namespace platform;

namespace {
// A device's only readable property is its name.
class NameOnlyStore : public PropertyStore {
public:
    explicit NameOnlyStore(const QString& name)
        : name_(name) {}

    Status read(const std::string& property, std::u16string& value) override {
        if (property != "FriendlyName") {
            return kFail;
        }
        value = name_.toStdU16String();
        return kOk;
    }

private:
    QString name_;
};
} // namespace

GstCameraMoniker::GstCameraMoniker(GstObjectPtr<GstDevice> device)
    : device_(std::move(device)) {}

Status GstCameraMoniker::openPropertyStore(std::unique_ptr<PropertyStore>& store) {
    GCharPtr name(gst_device_get_display_name(device_.get()));
    store = std::make_unique<NameOnlyStore>(QString::fromUtf8(name ? name.get() : ""));
    return kOk;
}

Status GstCameraMoniker::bindSourceFilter(std::shared_ptr<Filter>& source) {
    auto element = adoptFloating(gst_device_create_element(device_.get(), nullptr));
    if (!element) {
        return kFail;
    }
    source = std::make_shared<GstSourceFilter>(std::move(element),
                                               GstCapsPtr(gst_device_get_caps(device_.get())));
    return kOk;
}

Status DemoCameraMoniker::openPropertyStore(std::unique_ptr<PropertyStore>& store) {
    store = std::make_unique<NameOnlyStore>(QStringLiteral("Demo camera"));
    return kOk;
}

Status DemoCameraMoniker::bindSourceFilter(std::shared_ptr<Filter>& source) {
    source = GstFedSourceFilter::make(std::make_unique<DemoCameraFeeder>());
    return source ? kOk : kFail;
}

VideoFileMoniker::VideoFileMoniker(std::string path)
    : path_(std::move(path)) {}

Status VideoFileMoniker::openPropertyStore(std::unique_ptr<PropertyStore>& store) {
    store = std::make_unique<NameOnlyStore>(QFileInfo(QString::fromStdString(path_)).fileName());
    return kOk;
}

// A file that is not there cannot be opened, like an unplugged camera.
Status VideoFileMoniker::bindSourceFilter(std::shared_ptr<Filter>& source) {
    if (!QFileInfo(QString::fromStdString(path_)).isReadable()) {
        return kFail;
    }
    source = GstFedSourceFilter::make(std::make_unique<VideoFileFeeder>(path_));
    return source ? kOk : kFail;
}
