#pragma once

#include "capture/platform/CapturePlatform.h"

// The painted demo camera, "Demo camera".
class DemoCameraMoniker : public platform::DeviceMoniker {
public:
    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;
};
