#pragma once

#include <QGroupBox>

class QLabel;

namespace linux_ui {

// A frame whose caption sits on its top edge and stays readable above the
// controls inside it: the first option begins just under the edge, and with
// the caption drawn by the frame itself its descenders would be painted over.
// The edge is an etched line drawn here; the style's own group box frame is
// an image, and reading it loads image plugins at start-up.
class FrameBox final : public QGroupBox {
public:
    FrameBox(const QString& caption, QWidget* parent);

    QString caption() const;

    // The width the caption has on the top edge, and the font it is drawn
    // in when the frame's own font would not fit it there.
    int captionRoom() const { return width() - 2 * kCaptionInset; }
    void setCaptionFont(const QFont& font);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kCaptionInset = 6;

    void placeCaption();

    QLabel* caption_;
};

} // namespace linux_ui
