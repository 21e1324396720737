#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <map>

// Reading a screenshot the way a pupil's eye would: which colour is the
// background, how strongly the text stands out from it, where the ink is.
namespace testing_support {

// Relative luminance and contrast ratio as the web's accessibility
// guidelines define them (4.5:1 is the least for normal text).
inline double luminance(QColor colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

inline double contrast(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The commonest colour of a region: the surface its text is drawn on.
inline QColor background(const QImage& image, QRect region)
{
    std::map<QRgb, int> counts;
    region &= image.rect();
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            ++counts[image.pixel(x, y)];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? QColor() : QColor(most->first);
}

// How strongly the region's strongest ink stands out from its surface.
inline double inkContrast(const QImage& image, QRect region)
{
    const QColor surface = background(image, region);
    double strongest = 1.0;
    region &= image.rect();
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            strongest = std::max(strongest, contrast(image.pixelColor(x, y), surface));
    return strongest;
}

// What a change of state shows in a region of two screenshots, among the
// pixels it changed: how strongly the strongest of them stands out from the
// commonest afterwards (a selection's text on its highlight), and from what
// was there before (a chosen option's dot on its circle). 1 if none changed.
struct Change {
    double onSurface = 1.0;
    double fromBefore = 1.0;
};

inline Change change(const QImage& before, const QImage& after, QRect region)
{
    Change found;
    std::map<QRgb, int> counts;
    region &= after.rect();
    const auto each = [&](const auto& visit) {
        for (int y = region.top(); y <= region.bottom(); ++y)
            for (int x = region.left(); x <= region.right(); ++x)
                if (before.pixel(x, y) != after.pixel(x, y))
                    visit(before.pixelColor(x, y), after.pixelColor(x, y));
    };
    each([&](QColor was, QColor is) {
        ++counts[is.rgb()];
        found.fromBefore = std::max(found.fromBefore, contrast(was, is));
    });
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most != counts.end())
        each(
            [&](QColor, QColor is) { found.onSurface = std::max(found.onSurface, contrast(is, QColor(most->first))); });
    return found;
}

// The first and last columns of the region that hold ink: a pixel that
// stands out from the surface by at least `threshold`. Both -1 if none.
struct InkSpan {
    int first = -1;
    int last = -1;
    int width() const { return first < 0 ? 0 : last - first + 1; }
};

inline InkSpan inkColumns(const QImage& image, QRect region, double threshold = 2.0)
{
    const QColor surface = background(image, region);
    InkSpan span;
    region &= image.rect();
    for (int x = region.left(); x <= region.right(); ++x)
        for (int y = region.top(); y <= region.bottom(); ++y)
            if (contrast(image.pixelColor(x, y), surface) >= threshold) {
                if (span.first < 0)
                    span.first = x;
                span.last = x;
                break;
            }
    return span;
}

// How a control's focus ring shows, in device pixels: the screen taken
// with the focus elsewhere and on the control. Along each side, three lines
// across it are read from just outside the control inwards; the ring is the
// first run of pixels that the focus changed by at least 3:1, and it counts
// where it also stands out by 3:1 from the pixels either side of it. Per
// side the best of the three lines counts (a neighbour's letters may cover
// part of a side); the result is the worst side.
struct FocusRing {
    int thinnest = 0;     // device pixels
    double weakest = 0.0; // contrast with the pixels either side
};

inline FocusRing focusRing(const QImage& unfocused, const QImage& focused, QRect control)
{
    FocusRing worst{1 << 20, 1e9};
    const QPoint centre = control.center();
    const struct {
        QPoint outside; // the first pixel read, three pixels outside
        QPoint step;    // inwards
        QPoint along;   // from one line across the side to the next
    } sides[] = {
        {{control.left() - 3, control.top() + control.height() / 4}, {1, 0}, {0, control.height() / 4}},
        {{control.right() + 3, control.top() + control.height() / 4}, {-1, 0}, {0, control.height() / 4}},
        {{control.left() + control.width() / 4, control.top() - 3}, {0, 1}, {control.width() / 4, 0}},
        {{control.left() + control.width() / 4, control.bottom() + 3}, {0, -1}, {control.width() / 4, 0}},
    };
    for (const auto& side : sides) {
        FocusRing best;
        for (int line = 0; line < 3; ++line) {
            QPoint at = side.outside + line * side.along;
            const auto changed = [&](QPoint p) {
                return unfocused.rect().contains(p) && contrast(unfocused.pixelColor(p), focused.pixelColor(p)) >= 3.0;
            };
            const int steps = std::abs((centre - at).x()) + std::abs((centre - at).y());
            int step = 0;
            while (step < steps && !changed(at)) {
                at += side.step;
                ++step;
            }
            if (step == steps || !focused.rect().contains(at - side.step))
                continue;
            const QPoint first = at;
            int run = 0;
            while (step < steps && changed(at)) {
                at += side.step;
                ++step;
                ++run;
            }
            if (!focused.rect().contains(at))
                continue;
            const QColor ring = focused.pixelColor(first);
            const double standsOut = std::min(contrast(ring, focused.pixelColor(first - side.step)),
                                              contrast(ring, focused.pixelColor(at)));
            if (standsOut >= 3.0 && run > best.thinnest)
                best = {run, standsOut};
        }
        worst.thinnest = std::min(worst.thinnest, best.thinnest);
        worst.weakest = std::min(worst.weakest, best.weakest);
    }
    return worst;
}

} // namespace testing_support
