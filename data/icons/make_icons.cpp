// Writes the program's icon images as PNG files for the desktop's icon
// theme, from the same pictures the window uses.
// Usage: make_icons OUTPUT_DIR

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

#include "koren-16.xpm"
#include "koren-32.xpm"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: make_icons OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QImage small(koren_icon_16);
    const QImage large(koren_icon_32);
    // 64 pixels: the 32-pixel picture with each pixel doubled, as crisp as it was drawn.
    const QImage larger = large.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const bool ok = small.save(out.filePath(QStringLiteral("16.png")))
                 && large.save(out.filePath(QStringLiteral("32.png")))
                 && larger.save(out.filePath(QStringLiteral("64.png")));
    if (!ok)
        std::fputs("make_icons: could not write the images\n", stderr);
    return ok ? 0 : 1;
}
