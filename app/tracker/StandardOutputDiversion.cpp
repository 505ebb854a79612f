#include "app/tracker/StandardOutputDiversion.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

StandardOutputDiversion::StandardOutputDiversion() {
    std::fflush(stdout);
    // Close-on-exec: children such as GStreamer's helpers never inherit it.
    keptOutput = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    if (keptOutput >= 0 && ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        ::close(keptOutput);
        keptOutput = -1;
    }
}

StandardOutputDiversion::~StandardOutputDiversion() {
    if (keptOutput >= 0) {
        ::close(keptOutput);
    }
}

int StandardOutputDiversion::csvDescriptor() const {
    return keptOutput >= 0 ? keptOutput : STDOUT_FILENO;
}
