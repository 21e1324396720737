#pragma once

#include "support/pixels.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <cmath>

namespace testing_support {

// The focus ring of a control as the window shows it: the window taken with
// the focus on another control, then on this one.
inline FocusRing focusRingOf(QWidget* window, QWidget* control, QWidget* elsewhere)
{
    const auto screenWithFocusOn = [&](QWidget* focus) {
        focus->setFocus();
        QCoreApplication::processEvents();
        return window->grab().toImage();
    };
    const QImage without = screenWithFocusOn(elsewhere);
    const QImage with = screenWithFocusOn(control);
    const qreal scale = window->devicePixelRatioF();
    const QRect logical(control->mapTo(window, QPoint(0, 0)), control->size());
    const QRect device(QPoint(int(std::ceil(logical.left() * scale)), int(std::ceil(logical.top() * scale))),
                       QPoint(int(std::floor((logical.right() + 1) * scale)) - 1,
                              int(std::floor((logical.bottom() + 1) * scale)) - 1));
    return focusRing(without, with, device);
}

} // namespace testing_support
