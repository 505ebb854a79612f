#include "capture/platform/gst/VideoFileMoniker.h"

#include "capture/platform/gst/GstFedSourceFilter.h"
#include "capture/platform/gst/NameOnlyPropertyStore.h"
#include "capture/platform/gst/VideoFileFeeder.h"

#include <QFileInfo>

using namespace platform;

VideoFileMoniker::VideoFileMoniker(std::string path)
    : path_(std::move(path)) {}

Status VideoFileMoniker::openPropertyStore(std::unique_ptr<PropertyStore>& store) {
    store = std::make_unique<NameOnlyPropertyStore>(
        QFileInfo(QString::fromStdString(path_)).fileName());
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
