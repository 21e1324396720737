#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include <utility>

namespace window {

// What a read-only box offers a screen reader: its text to read, a caret and
// a selection to move, geometry to point at. Nothing here changes the text.
class ReadableText {
public:
    virtual ~ReadableText() = default;

    virtual QString wholeText() const = 0;
    virtual int caret() const = 0;
    virtual void moveCaret(int offset) = 0;
    // An empty range at the caret when nothing is selected.
    virtual std::pair<int, int> selectedRange() const = 0;
    virtual void selectRange(int start, int end) = 0;
    // In the box's own coordinates.
    virtual QRect characterRect(int offset) const = 0;
    virtual int offsetAt(QPoint point) const = 0;
};

// The one-line question box: the pupil can select and copy, never type.
class ReadOnlyLine final : public QLineEdit, public ReadableText {
    Q_OBJECT

public:
    ReadOnlyLine(const QString& text, QWidget* parent);

    // The width the text has before the box scrolls it.
    int textRoom() const;

    QString wholeText() const override;
    int caret() const override;
    void moveCaret(int offset) override;
    std::pair<int, int> selectedRange() const override;
    void selectRange(int start, int end) override;
    QRect characterRect(int offset) const override;
    int offsetAt(QPoint point) const override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The multi-line result area (and the hidden quotation): scrolls, wraps at
// word boundaries, lets the pupil select and copy, never type.
class ReadOnlyArea final : public QPlainTextEdit, public ReadableText {
    Q_OBJECT

public:
    ReadOnlyArea(const QString& text, QWidget* parent);

    QString wholeText() const override;
    int caret() const override;
    void moveCaret(int offset) override;
    std::pair<int, int> selectedRange() const override;
    void selectRange(int start, int end) override;
    QRect characterRect(int offset) const override;
    int offsetAt(QPoint point) const override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace window
