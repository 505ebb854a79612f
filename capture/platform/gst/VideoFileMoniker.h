#pragma once

#include "capture/platform/CapturePlatform.h"

#include <string>

// A video file replayed as a camera, named after the file.
class VideoFileMoniker : public platform::DeviceMoniker {
public:
    explicit VideoFileMoniker(std::string path);

    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;

private:
    std::string path_;
};
