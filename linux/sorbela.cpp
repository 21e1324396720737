#include "linux/sorbela.h"

#include "linux/announcer.h"
#include "linux/colour_button.h"
#include "linux/frame_box.h"
#include "linux/icon.h"
#include "linux/option_button.h"
#include "linux/read_only_box.h"
#include "quiz/element_table.h"
#include "quiz/texts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include <algorithm>
#include <cmath>

namespace linux_ui {

using quiz::ElementRow;
using quiz::kElements;
using quiz::kForm;
using quiz::Kind;
using quiz::Rgb;
using quiz::twipsToPixels;

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The quiz speaks CR LF; the text widgets keep a plain LF.
QString toWidgetText(std::string_view text)
{
    return fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string fromWidgetText(const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return crlf.toStdString();
}

QColor toColor(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QRect toPixels(const ElementRow& row)
{
    return QRect(twipsToPixels(row.left), twipsToPixels(row.top), twipsToPixels(row.width), twipsToPixels(row.height));
}

// Paints the element's whole rectangle in its colour.
void fill(QWidget* widget, Rgb rgb)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), toColor(rgb));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Sorbela::Sorbela(runtime::RandomSource& random, const runtime::NumberFormat& format, QWidget* parent)
    : QWidget(parent), quiz_(*this, random, format)
{
    setObjectName(QStringLiteral("Sorbela"));
    setWindowTitle(fromUtf8(kForm.title));
    setWindowIcon(programIcon());
    // The window cannot be resized, so it offers no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    // Times New Roman, or a face drawn to the same widths; any other serif
    // the machine falls back to gets the sizes that fit (fitFonts).
    QFont font(fromUtf8(kForm.fontFamily), kForm.fontPoints, QFont::Normal, false);
    font.setFamilies({fromUtf8(kForm.fontFamily), QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")});
    font.setStyleHint(QFont::Serif);
    setFont(font);
    fill(this, kForm.background);
    setFixedSize(twipsToPixels(kForm.clientWidth), twipsToPixels(kForm.clientHeight));

    // Created in the table's order, which is the tab order.
    optionGroup_ = new QButtonGroup(this);
    for (const ElementRow& row : kElements) {
        QWidget* widget = build(row);
        widget->setObjectName(QString::fromStdString(quiz::elementName(row)));
        if (!row.accessibleName.empty())
            widget->setAccessibleName(fromUtf8(row.accessibleName));
        widget->setGeometry(toPixels(row));
        if (row.background && row.kind != Kind::CommandButton)
            fill(widget, *row.background);
        widget->setVisible(row.visible);
    }
    announcer_ = new Announcer(this);

    label1_[1]->setBuddy(text2_);
    fitFonts(fromUtf8(format.decimalSeparator));
    routeEvents();
    text1_[0]->setFocus(Qt::OtherFocusReason);
}

Sorbela::~Sorbela() = default;

QWidget* Sorbela::build(const ElementRow& row)
{
    QWidget* container = row.inFrame ? static_cast<QWidget*>(frame1_) : this;
    const QString text = toWidgetText(row.text);
    const auto at = static_cast<std::size_t>(std::max(row.index, 0));
    switch (row.kind) {
    case Kind::TextBox:
        if (row.multiLine) {
            auto* box = new ReadOnlyArea(text, container);
            text1_.at(at) = box;
            return box;
        } else {
            text2_ = new ReadOnlyLine(text, container);
            return text2_;
        }
    case Kind::Label: {
        auto* label = new QLabel(text, container);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label1_.at(at) = label;
        return label;
    }
    case Kind::Frame:
        frame1_ = new FrameBox(text, container);
        return frame1_;
    case Kind::OptionButton: {
        auto* option = new OptionButton(text, container);
        optionGroup_->addButton(option, row.index);
        option1_.at(at) = option;
        return option;
    }
    case Kind::CommandButton: {
        auto* button = new ColourButton(text, row.background ? toColor(*row.background) : QColor(), container);
        command1_.at(at) = button;
        return button;
    }
    }
    return nullptr;
}

namespace {

constexpr qreal kSmallestPoints = 7.0;

// The font at the largest size, up to its own, in which the widest of the
// texts takes no more than room pixels.
QFont fitting(QFont font, const QWidget* widget, int room, const QStringList& texts)
{
    // Counted in whole half-point steps: a floating-point counter's rounding
    // could add or lose a step.
    const qreal own = font.pointSizeF();
    for (int step = 0; own - 0.5 * step > kSmallestPoints; ++step) {
        font.setPointSizeF(own - 0.5 * step);
        const QFontMetricsF metrics(font, widget);
        qreal widest = 0;
        for (const QString& text : texts)
            widest = std::max(widest, metrics.horizontalAdvance(text));
        if (std::ceil(widest) <= room)
            return font;
    }
    font.setPointSizeF(kSmallestPoints);
    return font;
}

// A text of the given shape written with each digit in turn: whichever
// digit the font draws widest, one of these is the widest such text.
QStringList withEveryDigit(const QString& shape)
{
    QStringList texts;
    for (char digit = '0'; digit <= '9'; ++digit) {
        QString text = shape;
        for (QChar& c : text)
            if (c.isDigit())
                c = QLatin1Char(digit);
        texts << text;
    }
    return texts;
}

} // namespace

void Sorbela::fitFonts(const QString& decimalSeparator)
{
    // With the window's own face nothing changes; a wider fallback serif
    // shrinks only the elements whose longest text would be cut off.
    const QFont base = font();
    const auto smaller = [&](const QFont& fitted) { return fitted.pointSizeF() < base.pointSizeF(); };
    const auto fit = [&](QWidget* widget, int room, const QStringList& texts) {
        if (const QFont fitted = fitting(base, widget, room, texts); smaller(fitted))
            widget->setFont(fitted);
    };

    for (QLabel* label : label1_)
        fit(label, label->contentsRect().width(), {label->text()});
    if (const QFont caption = fitting(base, frame1_, frame1_->captionRoom(), {frame1_->caption()}); smaller(caption))
        frame1_->setCaptionFont(caption);
    for (ColourButton* button : command1_)
        fit(button, button->textRoom(), {button->text()});

    // The widest caption and question any question can bring. The five
    // options are alike: what fits the first fits them all.
    const double widestRoot = std::sqrt(static_cast<double>(quiz::Quiz::kLargestAsked));
    const QString rootShape = QString::number(static_cast<int>(widestRoot)) + decimalSeparator + QStringLiteral("000");
    if (const QFont captions = fitting(base, option1_[0], option1_[0]->textRoom(), withEveryDigit(rootShape));
        smaller(captions))
        for (OptionButton* option : option1_)
            option->setFont(captions);
    const QString questionShape = fromUtf8(quiz::texts::kQuestion) + QString::number(quiz::Quiz::kLargestAsked);
    fit(text2_, text2_->textRoom(), withEveryDigit(questionShape));
}

void Sorbela::routeEvents()
{
    // A choice counts when an option becomes checked: by mouse, by keys, or
    // by a screen reader's toggle action (which emits no click).
    connect(optionGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        quiz_.Option1_Click(static_cast<std::int16_t>(id));
        makeChoiceHeard(quiz::elementAt(option1_, static_cast<std::int16_t>(id)));
    });
    // A click on the option already chosen changes nothing but the focus.
    connect(optionGroup_, &QButtonGroup::buttonClicked, this,
            [](QAbstractButton* option) { option->setFocus(Qt::OtherFocusReason); });
    // Both buttons write the result area, which does not have the focus: a
    // screen reader hears the new text when the handler is done with it.
    // The button is the connection's context: one to the window would tell
    // assistive technology that the button controls the window.
    for (std::size_t i = 0; i < command1_.size(); ++i)
        connect(command1_[i], &QPushButton::clicked, command1_[i], [this, i] {
            quiz_.Command1_Click(static_cast<std::int16_t>(i));
            announcer_->announce(text1_[0]->toPlainText());
        });

    // Keys 1 to 5 pick the option in that place, wherever the focus is, as
    // a click on it would.
    for (OptionButton* option : option1_) {
        const int key = static_cast<int>(Qt::Key_1) + static_cast<int>(optionGroup_->id(option));
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, option, &QAbstractButton::click);
    }

    // Shift+F10 is the other menu key of every desktop. The toolkit knows
    // only the Menu key, which opens the focused box's menu at its caret;
    // the chord does the same.
    auto* menuChord = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuChord, &QShortcut::activated, this, [] {
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            return;
        const QPoint caret = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, caret, focus->mapToGlobal(caret));
        QCoreApplication::sendEvent(focus, &menu);
    });
}

// Orca reads an option out with its state when it gets the focus, but of a
// change to the focused option's state it speaks only the one Space makes
// (a digit, a click or a braille display's routing key it passes over in
// silence). So a chosen option without the focus takes it, and the choice
// of the focused one is said here, unless Space made it.
void Sorbela::makeChoiceHeard(OptionButton* option)
{
    if (!option->hasFocus())
        option->setFocus(Qt::OtherFocusReason);
    else if (!option->checkingBySpace())
        announcer_->announce(fromUtf8(quiz::kChoiceMade) + option->text());
}

bool Sorbela::focusNextPrevChild(bool next)
{
    // Tab enters the options at the chosen one, or at the first while none
    // is chosen; the toolkit would enter wherever the focus last left them.
    // That one is made their only stop before the toolkit looks: passing
    // the focus on once there, a screen reader would go on reading the
    // option it was passed from.
    if (!optionGroup_->buttons().contains(QApplication::focusWidget())) {
        QAbstractButton* entry = optionGroup_->checkedButton() ? optionGroup_->checkedButton() : option1_[0];
        for (OptionButton* option : option1_)
            option->setFocusPolicy(option == entry ? Qt::TabFocus : Qt::NoFocus);
    }
    return QWidget::focusNextPrevChild(next);
}

void Sorbela::load()
{
    quiz_.Form_Load();
}

std::string Sorbela::option1Caption(std::int16_t index) const
{
    return quiz::elementAt(option1_, index)->text().toStdString();
}

void Sorbela::setOption1Caption(std::int16_t index, std::string_view caption)
{
    quiz::elementAt(option1_, index)->setText(fromUtf8(caption));
}

void Sorbela::setOption1Value(std::int16_t index, bool selected)
{
    OptionButton* option = quiz::elementAt(option1_, index);
    const QSignalBlocker quietOption(option);
    const QSignalBlocker quietGroup(optionGroup_);
    if (selected) {
        option->setChecked(true); // the exclusive group deselects the others
        return;
    }
    // An exclusive group ignores unchecking its checked button.
    optionGroup_->setExclusive(false);
    option->setChecked(false);
    optionGroup_->setExclusive(true);
}

void Sorbela::setText2Text(std::string_view text)
{
    text2_->setText(fromUtf8(text));
}

std::string Sorbela::text1Text(std::int16_t index) const
{
    return fromWidgetText(quiz::elementAt(text1_, index)->toPlainText());
}

void Sorbela::setText1Text(std::int16_t index, std::string_view text)
{
    quiz::elementAt(text1_, index)->setPlainText(toWidgetText(text));
}

} // namespace linux_ui
