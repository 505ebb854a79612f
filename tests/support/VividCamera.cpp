#include "tests/support/VividCamera.h"

#include <QDir>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vivid {

Node find() {
    for (const QFileInfo& node : QDir("/dev").entryInfoList({"video*"}, QDir::System)) {
        const int descriptor = ::open(qPrintable(node.filePath()), O_RDWR | O_NONBLOCK);
        if (descriptor < 0) {
            continue;
        }
        v4l2_capability capability{};
        const bool isVivid = ::ioctl(descriptor, VIDIOC_QUERYCAP, &capability) == 0 &&
                             QString(reinterpret_cast<const char*>(capability.driver)) == "vivid";
        ::close(descriptor);
        if (isVivid) {
            return {node.filePath(), reinterpret_cast<const char*>(capability.card)};
        }
    }
    return {};
}

bool mustBePresent() {
    return qEnvironmentVariableIsSet("ZAREDEZID_DEVICES_PRESENT");
}

} // namespace vivid
