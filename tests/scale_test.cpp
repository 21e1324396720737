// The window as the screen shows it, in device pixels, under whatever scale
// factor and fonts CTest starts it with (QT_SCALE_FACTOR 1 to 2, and a
// machine whose only serif is a wider one): every element sits where the
// layout below puts it, in its colour, every text is drawn whole, and the
// result area wraps its text inside the box.
// KOREN_EXPECT_FAMILY names the serif the run must end up with, so a run
// meant for a fallback font cannot silently test the usual one.

#include "linux/option_button.h"
#include "linux/sorbela.h"
#include "support/focus_ring.h"
#include "support/pixels.h"
#include "support/qt_printers.h"
#include "support/scripted_random.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The layout as the window must look: where each element sits, in twips
// from the window's top left corner (15 twips to a pixel at 96 dots per
// inch), and the colour it is filled with. The options sit in the frame,
// 480 twips from its left side and 240 + 360 i from its top.
struct Place {
    const char* name;
    int left, top, width, height; // twips
    QColor colour;
    const char* edges; // the sides (Left, Top, Right, Bottom) that lie on the rectangle's own
};

constexpr int kWindowWidth = 7290; // twips
constexpr int kWindowHeight = 4680;
const QColor kWindowBlue(192, 192, 255);
const QColor kOrange(255, 192, 128);
const QColor kCyan(0, 255, 255);
const QColor kGreen(128, 255, 128);
const QColor kRed(255, 128, 128);
const QColor kWhite(255, 255, 255);

// clang-format off
const Place kLayout[] = {
    // name          left   top  width height colour       edges
    {"Label1_0",      960,     0, 4575,  375, kOrange,     "LTRB"},
    {"Frame1",        120,   480, 2175, 2175, kWindowBlue, "LRB"}, // its top edge runs lower, through the caption
    {"Option1_0",     600,   720, 1335,  375, kCyan,       "LRB"}, // the frame's caption hides its top rows
    {"Option1_1",     600,  1080, 1335,  375, kCyan,       "LTRB"},
    {"Option1_2",     600,  1440, 1335,  375, kCyan,       "LTRB"},
    {"Option1_3",     600,  1800, 1335,  375, kCyan,       "LTRB"},
    {"Option1_4",     600,  2160, 1335,  375, kCyan,       "LTRB"},
    {"Command1_0",   2640,  1680, 1695,  375, kGreen,      "LTRB"},
    {"Command1_1",   5160,  2160, 1695,  375, kRed,        "LTRB"},
    {"Text2",        2520,   960, 3855,  495, kWhite,      "LTRB"},
    {"Label1_1",     2520,   600, 3855,  375, kOrange,     "LTRB"},
    {"Text1_0",       240,  2760, 6735, 1815, kWhite,      "LTRB"},
};
// clang-format on

constexpr double pixels(int twips)
{
    return twips / 15.0;
}

QRectF logicalRect(const Place& place)
{
    return QRectF(pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height));
}

class Layout : public testing::Test {
protected:
    void SetUp() override
    {
        random.pushQuestion(0.399f, 0.4f); // roots of 409..413 and the question for 413: the widest texts
        form = std::make_unique<linux_ui::Sorbela>(random, runtime::NumberFormat{});
        form->load();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));

        const QString family = QFontInfo(form->font()).family();
        scale = form->devicePixelRatioF();
        std::printf("scale %.2f, serif %s\n", scale, qPrintable(family));
        if (const QByteArray expected = qgetenv("KOREN_EXPECT_FAMILY"); !expected.isEmpty()) {
            ASSERT_EQ(family, QString::fromUtf8(expected));
        }
        const double asked = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
        ASSERT_DOUBLE_EQ(scale, asked) << "the window is not at the scale the run was started with";
        image = form->grab().toImage();
    }

    // The device pixels wholly inside a rectangle of logical pixels.
    QRect device(QRect logical) const
    {
        return QRect(QPoint(std::ceil(logical.left() * scale), std::ceil(logical.top() * scale)),
                     QPoint(std::floor((logical.right() + 1) * scale) - 1,
                            std::floor((logical.bottom() + 1) * scale) - 1));
    }
    QRect inWindow(const QWidget* widget, QRect local) const
    {
        return local.translated(widget->mapTo(form.get(), QPoint(0, 0)));
    }
    std::string colourAt(QPoint at) const
    {
        return image.rect().contains(at) ? image.pixelColor(at).name().toStdString() : "nothing (outside the window)";
    }

    testing_support::ScriptedRandom random;
    std::unique_ptr<linux_ui::Sorbela> form;
    qreal scale = 1;
    QImage image;
};

TEST_F(Layout, EveryElementInPlaceInItsColour)
{
    EXPECT_EQ(form->size(), QSize(std::lround(pixels(kWindowWidth)), std::lround(pixels(kWindowHeight))));

    // Whether a point (logical pixels) lies on another element with a colour
    // of its own (the frame shares the window's), where the window's blue
    // cannot show.
    const auto underAnother = [&](const Place& self, QPointF point) {
        for (const Place& other : kLayout)
            if (&other != &self && other.colour != kWindowBlue && logicalRect(other).contains(point))
                return true;
        return false;
    };
    const QRectF window(0, 0, pixels(kWindowWidth), pixels(kWindowHeight));
    // The first device pixel of the logical pixel whose centre is given.
    const auto devicePixel = [&](QPointF centre) {
        return QPoint(int(std::ceil((centre.x() - 0.5) * scale)), int(std::ceil((centre.y() - 0.5) * scale)));
    };

    for (const Place& place : kLayout) {
        SCOPED_TRACE(place.name);
        const QRectF r = logicalRect(place);

        // The element's colour 3 pixels in from each corner (left of a
        // scroll bar, which is the style's). The frame's colour is the
        // window's, inside an etched edge whose right and bottom lines Qt 6.8
        // spreads over one more device pixel at scale 1.5: 6 pixels in there.
        const double inset = 3;
        const double farInset = place.colour == kWindowBlue ? 6 : inset;
        double rightInset = farInset;
        if (auto* area = form->findChild<QAbstractScrollArea*>(QString::fromLatin1(place.name));
            area && area->verticalScrollBar()->isVisible())
            rightInset += area->verticalScrollBar()->width();
        for (const QPointF corner :
             {QPointF(r.left() + inset, r.top() + inset), QPointF(r.right() - rightInset, r.top() + inset),
              QPointF(r.left() + inset, r.bottom() - farInset),
              QPointF(r.right() - rightInset, r.bottom() - farInset)}) {
            const QPoint at(std::lround(corner.x() * scale), std::lround(corner.y() * scale));
            EXPECT_EQ(image.pixelColor(at), place.colour)
                << "at " << corner.x() << "," << corner.y() << ": " << colourAt(at);
        }

        // At the middle of each edge: the element's outermost pixel that no
        // other element overlaps is its own, not the window's blue, and the
        // first device pixel wholly outside shows the blue again, unless
        // another element lies there. (Inside, the first device pixel of the
        // logical one: the style may leave the outermost device pixel of a
        // sunken frame unpainted.)
        const QPointF centre = r.center();
        const struct {
            char side;
            QPointF inside; // centre of the outermost logical pixel
            QPointF inward;
            QPoint outside; // device pixel
        } edges[] = {
            {'L',
             {r.left() + 0.5, centre.y()},
             {1, 0},
             {int(std::floor(r.left() * scale)) - 1, devicePixel(centre).y()}},
            {'R', {r.right() - 0.5, centre.y()}, {-1, 0}, {int(std::ceil(r.right() * scale)), devicePixel(centre).y()}},
            {'T', {centre.x(), r.top() + 0.5}, {0, 1}, {devicePixel(centre).x(), int(std::floor(r.top() * scale)) - 1}},
            {'B',
             {centre.x(), r.bottom() - 0.5},
             {0, -1},
             {devicePixel(centre).x(), int(std::ceil(r.bottom() * scale))}},
        };
        for (const auto& edge : edges) {
            if (!std::strchr(place.edges, edge.side))
                continue;
            QPointF own = edge.inside;
            while (underAnother(place, own) && r.contains(own))
                own += edge.inward;
            const QPoint inside = devicePixel(own);
            EXPECT_NE(image.pixelColor(inside), kWindowBlue)
                << "edge " << edge.side << ": the window shows inside the element, at device pixel " << inside.x()
                << "," << inside.y();

            const QPointF beyond = edge.inside - edge.inward; // the logical pixel past the edge
            if (window.contains(beyond) && !underAnother(place, beyond)) {
                EXPECT_EQ(image.pixelColor(edge.outside), kWindowBlue)
                    << "edge " << edge.side << ": the element reaches past its edge to device pixel "
                    << edge.outside.x() << "," << edge.outside.y() << ", " << colourAt(edge.outside);
            }
        }
    }
}

// Each text's ink spans the whole width the font gives it, clear of the
// edges of the room it is drawn in: a text that is cut off, scrolled or
// drawn at the wrong density shows less ink, or ink against an edge.
TEST_F(Layout, EveryTextWhole)
{
    struct Text {
        QWidget* widget;
        QString text;
        QRect room; // where the element draws its text, in its own coordinates
    };
    std::vector<Text> texts;
    for (const char* name : {"Label1_0", "Label1_1"}) {
        auto* label = form->findChild<QLabel*>(QString::fromLatin1(name));
        texts.push_back({label, label->text(), label->contentsRect()});
    }
    auto* frame = form->findChild<QWidget*>(QStringLiteral("Frame1"));
    auto* caption = form->findChild<QLabel*>(QStringLiteral("FrameCaption"));
    // The caption's own label hugs its text; the room is the frame's edge
    // beside it, clear of the frame's sides.
    const QRect edge = frame->rect().adjusted(1, 0, -1, 0).translated(-caption->pos());
    texts.push_back({caption, caption->text(), caption->rect().adjusted(-2, 0, 2, 0).intersected(edge)});
    // Where the caption lies over the first option (in the usual serif; a
    // wider one's smaller caption clears it), the caption shows, on the
    // frame's colour: the option does not cover its letters' feet.
    auto* first = form->findChild<QWidget*>(QStringLiteral("Option1_0"));
    const QRect overlap = device(inWindow(caption, caption->rect()) & inWindow(first, first->rect()));
    int cyan = 0;
    for (int y = overlap.top(); y <= overlap.bottom(); ++y)
        for (int x = overlap.left(); x <= overlap.right(); ++x)
            cyan += image.pixelColor(x, y) == kCyan ? 1 : 0;
    EXPECT_EQ(cyan, 0) << "the first option shows through the frame's caption";
    for (int i = 0; i < 5; ++i) {
        auto* option = form->findChild<linux_ui::OptionButton*>(QStringLiteral("Option1_%1").arg(i));
        texts.push_back(
            {option, option->text(), option->rect().adjusted(option->width() - option->textRoom(), 0, 0, 0)});
    }
    for (const char* name : {"Command1_0", "Command1_1"}) {
        auto* button = form->findChild<QAbstractButton*>(QString::fromLatin1(name));
        texts.push_back({button, button->text(), button->rect().adjusted(2, 2, -2, -2)});
    }
    auto* question = form->findChild<QLineEdit*>(QStringLiteral("Text2"));
    ASSERT_EQ(question->text(), QStringLiteral("Изчислете корен квадратен на 413"));
    texts.push_back({question, question->text(), question->rect().adjusted(2, 2, -2, -2)});

    for (const Text& t : texts) {
        SCOPED_TRACE(t.widget->objectName().toStdString() + " \"" + t.text.toStdString() + "\" at "
                     + std::to_string(QFontInfo(t.widget->font()).pointSizeF()) + " pt");
        std::printf("%-12s %5.2f pt\n", qPrintable(t.widget->objectName()), QFontInfo(t.widget->font()).pointSizeF());
        const QRect room = device(inWindow(t.widget, t.room));
        const testing_support::InkSpan ink = testing_support::inkColumns(image, room);
        const double drawn = QFontMetricsF(t.widget->font(), t.widget).horizontalAdvance(t.text) * scale;
        EXPECT_GE(ink.width(), drawn * 0.9 - 2) << "ink " << ink.width() << " of " << drawn << " device pixels";
        EXPECT_GT(ink.first, room.left());
        EXPECT_LT(ink.last, room.right());
        EXPECT_GE(QFontInfo(t.widget->font()).pointSizeF(), 9.0) << "shrunk past reading";
    }
}

// The description the result area opens with is longer than its lines are
// wide: its first and third lines wrap inside the box, so that its text
// fills the box to the bottom and none is cut at the right edge.
TEST_F(Layout, ResultAreaWrapsItsText)
{
    auto* result = form->findChild<QAbstractScrollArea*>(QStringLiteral("Text1_0"));
    ASSERT_NE(result, nullptr);
    QWidget* viewport = result->viewport();
    const QRect room = device(inWindow(viewport, viewport->rect()));

    const testing_support::InkSpan ink = testing_support::inkColumns(image, room);
    EXPECT_GT(ink.width(), room.width() / 2) << "hardly any text in the result area";
    EXPECT_LT(ink.last, room.right() - 1) << "text runs into the right edge of the result area: cut off, not wrapped";

    // Unwrapped, the description's four lines fill the top half only.
    const QRect bottomQuarter(room.left(), room.bottom() - room.height() / 4, room.width(), room.height() / 4);
    EXPECT_GT(testing_support::inkColumns(image, bottomQuarter).width(), 0)
        << "no text in the bottom quarter of the result area: its lines do not wrap";
}

// Wherever the focus is, the eye finds it at this scale too: a ring at
// least two device pixels thick that stands out 3:1 from the colours next
// to it.
TEST_F(Layout, FocusRingOnEveryControl)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QWidget* result = form->findChild<QWidget*>(QStringLiteral("Text1_0"));
    for (const char* name : {"Option1_0", "Option1_1", "Option1_2", "Option1_3", "Option1_4", "Command1_0",
                             "Command1_1", "Text2", "Text1_0"}) {
        auto* control = form->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        QWidget* elsewhere = control == result ? form->findChild<QWidget*>(QStringLiteral("Text2")) : result;
        const testing_support::FocusRing ring = testing_support::focusRingOf(form.get(), control, elsewhere);
        std::printf("focus ring on %-10s %d device pixels, contrast %.1f\n", name, ring.thinnest, ring.weakest);
        EXPECT_GE(ring.thinnest, 2) << name;
        EXPECT_GE(ring.weakest, 3.0) << name;
    }
}

} // namespace
