// The window as the screen shows it, in device pixels, under whatever scale
// factor and fonts CTest starts it with (QT_SCALE_FACTOR 1 to 2, and a
// machine whose only serif is a wider one): every element sits where the
// table puts it and every text is drawn whole.
// KOREN_EXPECT_FAMILY names the serif the run must end up with, so a run
// meant for a fallback font cannot silently test the usual one.

#include "support/pixels.h"
#include "support/qt_printers.h"
#include "support/scripted_random.h"
#include "window/element_table.h"
#include "window/option_button.h"
#include "window/sorbela.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

TEST(Layout, EveryElementInPlaceAndEveryTextWhole)
{
    testing_support::ScriptedRandom random;
    random.pushQuestion(0.399f, 0.4f); // roots of 409..413 and the question for 413: the widest texts
    window::Sorbela form(random, runtime::NumberFormat{});
    form.load();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const QString family = QFontInfo(form.font()).family();
    std::printf("scale %.2f, serif %s\n", form.devicePixelRatioF(), qPrintable(family));
    if (const QByteArray expected = qgetenv("KOREN_EXPECT_FAMILY"); !expected.isEmpty()) {
        ASSERT_EQ(family, QString::fromUtf8(expected));
    }

    const qreal scale = form.devicePixelRatioF();
    const QImage image = form.grab().toImage();
    const auto device = [&](QRect logical) {
        return QRect(QPoint(std::ceil(logical.left() * scale), std::ceil(logical.top() * scale)),
                     QPoint(std::floor((logical.right() + 1) * scale) - 1, std::floor((logical.bottom() + 1) * scale) - 1));
    };
    const auto inWindow = [&](QWidget* widget, QRect local) { return local.translated(widget->mapTo(&form, QPoint(0, 0))); };

    // Each coloured element fills its own rectangle, read off the table
    // rather than off the widgets.
    const auto frameRow = std::find_if(window::kElements.begin(), window::kElements.end(),
                                       [](const window::ElementRow& row) { return row.kind == window::Kind::Frame; });
    for (const window::ElementRow& row : window::kElements) {
        if (!row.background || row.kind == window::Kind::Frame || !row.visible)
            continue;
        int left = window::twipsToPixels(row.left);
        int top = window::twipsToPixels(row.top);
        if (row.inFrame) {
            left += window::twipsToPixels(frameRow->left);
            top += window::twipsToPixels(frameRow->top);
        }
        const QRect logical(left, top, window::twipsToPixels(row.width), window::twipsToPixels(row.height));
        const QPoint nearCorner = device(logical.adjusted(0, 0, -4, -4)).bottomRight();
        const QColor want(row.background->red, row.background->green, row.background->blue);
        EXPECT_EQ(image.pixelColor(nearCorner), want) << window::elementName(row);
    }

    // Each text's ink spans the whole width the font gives it, clear of the
    // edges of the room it is drawn in: a text that is cut off, scrolled or
    // drawn at the wrong density shows less ink, or ink against an edge.
    struct Text {
        QWidget* widget;
        QString text;
        QRect room; // where the element draws its text, in its own coordinates
    };
    std::vector<Text> texts;
    for (const char* name : {"Label1_0", "Label1_1"}) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
        texts.push_back({label, label->text(), label->contentsRect()});
    }
    auto* frame = form.findChild<QWidget*>(QStringLiteral("Frame1"));
    auto* caption = form.findChild<QLabel*>(QStringLiteral("FrameCaption"));
    // The caption's own label hugs its text; the room is the frame's edge
    // beside it, clear of the frame's sides.
    const QRect edge = frame->rect().adjusted(1, 0, -1, 0).translated(-caption->pos());
    texts.push_back({caption, caption->text(), caption->rect().adjusted(-2, 0, 2, 0).intersected(edge)});
    for (int i = 0; i < 5; ++i) {
        auto* option = form.findChild<window::OptionButton*>(QStringLiteral("Option1_%1").arg(i));
        texts.push_back({option, option->text(), option->rect().adjusted(option->width() - option->textRoom(), 0, 0, 0)});
    }
    for (const char* name : {"Command1_0", "Command1_1"}) {
        auto* button = form.findChild<QAbstractButton*>(QString::fromLatin1(name));
        texts.push_back({button, button->text(), button->rect().adjusted(2, 2, -2, -2)});
    }
    auto* question = form.findChild<QLineEdit*>(QStringLiteral("Text2"));
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

} // namespace
