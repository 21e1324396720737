#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace linux_ui {

// The one-line question box: the pupil can select and copy, never type.
class ReadOnlyLine final : public QLineEdit {
    Q_OBJECT

public:
    ReadOnlyLine(const QString& text, QWidget* parent);

    // The width the text has before the box scrolls it.
    int textRoom() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// The multi-line result area (and the hidden quotation): scrolls, wraps at
// word boundaries, lets the pupil select and copy, never type.
class ReadOnlyArea final : public QPlainTextEdit {
    Q_OBJECT

public:
    ReadOnlyArea(const QString& text, QWidget* parent);
};

} // namespace linux_ui
