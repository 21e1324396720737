#include "linux/frame_box.h"

#include <QLabel>
#include <QPainter>
#include <qdrawutil.h>

namespace linux_ui {

FrameBox::FrameBox(const QString& caption, QWidget* parent) : QGroupBox(parent), caption_(new QLabel(caption, this))
{
    setAccessibleName(caption); // what a screen reader calls the group
    caption_->setObjectName(QStringLiteral("FrameCaption"));
    caption_->setAutoFillBackground(true);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    placeCaption();
}

QString FrameBox::caption() const
{
    return caption_->text();
}

void FrameBox::setCaptionFont(const QFont& font)
{
    caption_->setFont(font);
    placeCaption();
}

void FrameBox::showEvent(QShowEvent* event)
{
    caption_->raise();
    QGroupBox::showEvent(event);
}

void FrameBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = caption_->height() / 2;
    qDrawShadeRect(&painter, QRect(0, top, width(), height() - top), palette(), true, 1);
}

void FrameBox::placeCaption()
{
    caption_->adjustSize();
    caption_->move(kCaptionInset, 0);
}

} // namespace linux_ui
