#include "window/application.h"

#include "window/accessibility.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPalette>
#include <QStyleFactory>
#include <QTranslator>

namespace window {
namespace {

// The light colours every element starts from, whatever the desktop's: the
// style's own palette follows a dark desktop too.
QPalette lightPalette()
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor face(239, 239, 239);
    QPalette palette(black, face, white, QColor(159, 159, 159), QColor(184, 184, 184), black, white, white, face);
    palette.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::Link, QColor(0, 0, 255));
    palette.setColor(QPalette::LinkVisited, QColor(255, 0, 255));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    palette.setColor(QPalette::Accent, QColor(48, 140, 198));
#endif
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(110, 110, 110));
    return palette;
}

} // namespace

void setUpApplication()
{
    // The window is Bulgarian under every locale, and so are the toolkit's
    // own menus once its translation is loaded. Without the file they stay
    // in English; nothing else depends on it.
    auto* toolkitTexts = new QTranslator(qApp);
    if (toolkitTexts->load(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkitTexts);
    else
        delete toolkitTexts;

    // The elements' backgrounds are fixed colours chosen for dark text: a
    // dark desktop's light text must reach neither them nor the menus that
    // pop up over them.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(lightPalette());
    // The elements are placed by hand, left to right; mirroring them for a
    // right-to-left desktop would move each circle and scroll bar only.
    QApplication::setLayoutDirection(Qt::LeftToRight);

    installAccessibility();
}

} // namespace window
