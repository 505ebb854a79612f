#include "tools/common/OutputFile.h"
#include "tools/model/AircraftModel.h"
#include "tools/model/XglEncoder.h"

#include <QString>

#include <cstdio>

// Writes the aircraft model: zaredezid_make_model <plane.xgl>
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <model file>\n", argv[0]);
        return 2;
    }
    const AircraftModel model;
    return OutputFile::write(QString::fromLocal8Bit(argv[1]), XglEncoder::encode(model)) ? 0 : 1;
}
