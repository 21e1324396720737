#include "linux/icon.h"

#include <QPixmap>

// The images are XPM text, read by Qt's built-in reader: no image plugin
// is loaded at start-up for them.
#include "koren-16.xpm"
#include "koren-32.xpm"

namespace linux_ui {

QIcon programIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap(koren_icon_16));
    icon.addPixmap(QPixmap(koren_icon_32));
    return icon;
}

} // namespace linux_ui
