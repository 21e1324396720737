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

} // namespace testing_support
