// The window on a dense screen: CTest runs this with QT_SCALE_FACTOR=2.

#include "support/scripted_random.h"
#include "window/element_table.h"
#include "window/sorbela.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace {

TEST(DenseScreen, EverythingDoublesAndKeepsItsPlace)
{
    testing_support::ScriptedRandom random;
    random.pushQuestion(0.399f, 0.4f); // roots of 409..413: the widest captions
    window::Sorbela form(random, runtime::NumberFormat{});
    form.load();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    ASSERT_EQ(form.devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
    const QImage image = form.grab().toImage();
    EXPECT_EQ(image.size(), QSize(972, 624));

    for (const window::ElementRow& row : window::kElements) {
        const QString name = QString::fromStdString(window::elementName(row));
        auto* widget = form.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        const QRect logical(window::twipsToPixels(row.left), window::twipsToPixels(row.top),
                            window::twipsToPixels(row.width), window::twipsToPixels(row.height));
        EXPECT_EQ(widget->geometry(), logical) << name.toStdString();

        // The colour fills the element's interior in device pixels too.
        if (row.background && row.kind != window::Kind::Frame) {
            const QPoint inside = widget->mapTo(&form, QPoint(widget->width() - 4, widget->height() - 4)) * 2;
            const QColor want(row.background->red, row.background->green, row.background->blue);
            EXPECT_EQ(image.pixelColor(inside), want) << name.toStdString();
        }
        // No caption is cut off at this density.
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 24, button->width())
                << name.toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << name.toStdString();
        }
    }
}

} // namespace
