#include "tools/appicon/AppIcon.h"
#include "tools/common/OutputFile.h"
#include "tools/pictures/PngBytes.h"

#include <QString>

#include <cstdio>

namespace {

// The sizes desktops look for in the hicolor icon theme.
constexpr int kSizes[] = {32, 64, 128, 256};

} // namespace

// Writes the launcher icon in every size, laid out as the icon theme is:
//   zaredezid_make_app_icon <folder>
// makes <folder>/32x32/apps/io.github.zaredezid.png and so on, named after
// the desktop entry, as desktops look icons up by the application's id.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int size : kSizes) {
        const QString path = QString("%1/%2x%2/apps/io.github.zaredezid.png").arg(folder).arg(size);
        if (!OutputFile::write(path, PngBytes::of(AppIcon::render(size)))) {
            return 1;
        }
    }
    return 0;
}
