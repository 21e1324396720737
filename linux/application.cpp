#include "linux/application.h"

#include "linux/accessibility.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTranslator>

namespace linux_ui {
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
    palette.setColor(QPalette::Highlight, QColor(38, 117, 176));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::Link, QColor(0, 0, 255));
    palette.setColor(QPalette::LinkVisited, QColor(255, 0, 255));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    palette.setColor(QPalette::Accent, QColor(38, 117, 176));
#endif
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(110, 110, 110));
    return palette;
}

// Fusion with a focus ring a low-vision pupil can find: two pixels of the
// text colour round the whole of the focused control, where the style
// alone gives a faint tint. The controls' own colours are all light, so
// the ring stands out from what is inside it and from the window round it.
class Style final : public QProxyStyle {
public:
    Style() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        const bool focused = option->state & State_HasFocus;
        switch (element) {
        case PE_FrameFocusRect:
            return ring(option, painter, widget);
        case PE_Frame: // the result area's: the band between its edge and its text
            painter->fillRect(option->rect, option->palette.base());
            [[fallthrough]];
        case PE_FrameLineEdit:
            if (focused)
                return ring(option, painter, widget);
            break;
        default:
            break;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    // An option's ring goes round its whole coloured rectangle, its circle
    // and caption moved clear of it.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element != CE_RadioButton || !button)
            return QProxyStyle::drawControl(element, option, painter, widget);
        QStyleOptionButton inside = *button;
        inside.rect.adjust(kRingWidth + 1, 0, 0, 0);
        inside.state &= ~State_HasFocus;
        QProxyStyle::drawControl(element, &inside, painter, widget);
        if (button->state & State_HasFocus)
            ring(option, painter, widget);
    }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const QSize fitted = QProxyStyle::sizeFromContents(type, option, size, widget);
        return type == CT_RadioButton ? fitted + QSize(kRingWidth + 1, 0) : fitted;
    }

    // The result area's frame is as wide as the ring drawn in it.
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractScrollArea*>(widget))
            return kRingWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    static constexpr int kRingWidth = 2;

    // Round the part of the control its neighbours leave in sight: here and
    // there elements overlap by a pixel, the first option the frame's
    // caption by a few.
    static void ring(const QStyleOption* option, QPainter* painter, const QWidget* widget)
    {
        const QRect r = widget ? option->rect & widget->visibleRegion().boundingRect() : option->rect;
        const QColor ink = option->palette.color(QPalette::WindowText);
        painter->fillRect(QRect(r.left(), r.top(), r.width(), kRingWidth), ink);
        painter->fillRect(QRect(r.left(), r.bottom() - kRingWidth + 1, r.width(), kRingWidth), ink);
        painter->fillRect(QRect(r.left(), r.top(), kRingWidth, r.height()), ink);
        painter->fillRect(QRect(r.right() - kRingWidth + 1, r.top(), kRingWidth, r.height()), ink);
    }
};

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
    QApplication::setStyle(new Style);
    QApplication::setPalette(lightPalette());
    // The elements are placed by hand, left to right; mirroring them for a
    // right-to-left desktop would move each circle and scroll bar only.
    QApplication::setLayoutDirection(Qt::LeftToRight);

    installAccessibility();
}

} // namespace linux_ui
