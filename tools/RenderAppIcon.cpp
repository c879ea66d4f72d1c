// Writes the application icon as PNG files for the desktop's icon theme, from the same
// drawing the program shows: OUTDIR/<n>x<n>/apps/org.pinroute.Pinroute.png for each size.
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include "gui/Icons.h"

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SIZE...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        if (side <= 0 || side > 1024) {
            std::fprintf(stderr, "bad size: %s\n", argv[i]);
            return 2;
        }
        const QString folder = QString("%1/%2x%2/apps").arg(outDir).arg(side);
        const QString file = folder + "/org.pinroute.Pinroute.png";
        const QPixmap pixmap = AppIcon().pixmap(QSize(side, side));
        if (!QDir().mkpath(folder) || pixmap.size() != QSize(side, side)
            || !pixmap.save(file, "PNG")) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
