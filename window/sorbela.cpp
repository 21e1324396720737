#include "window/sorbela.h"

#include "runtime/fatal.h"
#include "runtime/number_text.h"
#include "window/colour_button.h"
#include "window/element_table.h"
#include "window/frame_box.h"
#include "window/icon.h"
#include "window/option_button.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <vector>

namespace window {
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

// An element the window does not have is as fatal as a failed call on one.
template <typename Widget, std::size_t N>
Widget* element(const std::array<Widget*, N>& elements, std::int16_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        runtime::fatalError("няма елемент с индекс " + runtime::integerText(index));
    return elements[static_cast<std::size_t>(index)];
}

QColor toColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QRect toPixels(const ElementRow& row)
{
    return QRect(twipsToPixels(row.left), twipsToPixels(row.top), twipsToPixels(row.width),
                 twipsToPixels(row.height));
}

// Paints the element's whole rectangle in its colour.
void fill(QWidget* widget, Rgb rgb)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), toColor(rgb));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Read-only, yet a box a keyboard user can reach, scroll, select and copy from.
void makeReadOnly(QPlainTextEdit* box)
{
    box->setFocusPolicy(Qt::StrongFocus);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void makeReadOnly(QLineEdit* box)
{
    box->setFocusPolicy(Qt::StrongFocus);
    box->setReadOnly(true);
}

} // namespace

Sorbela::Sorbela(runtime::RandomSource& random, runtime::NumberFormat format, QWidget* parent)
    : QWidget(parent), quiz_(*this, random, std::move(format))
{
    // One style for every element, so the colours show the same way
    // whatever the desktop's own style would do with them.
    style_ = QStyleFactory::create(QStringLiteral("Fusion"));
    style_->setParent(this);
    setStyle(style_);

    setObjectName(QStringLiteral("Sorbela"));
    setWindowTitle(fromUtf8(kForm.title));
    setWindowIcon(programIcon());
    QFont font(fromUtf8(kForm.fontFamily), kForm.fontPoints, QFont::Normal, false);
    font.setStyleHint(QFont::Serif);
    setFont(font);
    fill(this, kForm.background);
    setFixedSize(twipsToPixels(kForm.clientWidth), twipsToPixels(kForm.clientHeight));

    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    for (const ElementRow& row : kElements) {
        QWidget* widget = build(row);
        widget->setStyle(style_);
        widget->setObjectName(QString::fromStdString(elementName(row)));
        widget->setGeometry(toPixels(row));
        if (row.background && row.kind != Kind::CommandButton)
            fill(widget, *row.background);
        widget->setVisible(row.visible);
    }

    label1_[1]->setBuddy(text2_);
    text1_[0]->setAccessibleName(QStringLiteral("Резултат"));
    text1_[1]->setAccessibleName(QStringLiteral("Цитат"));
    setUpTabOrder();
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
            auto* box = new QPlainTextEdit(text, container);
            makeReadOnly(box);
            text1_.at(at) = box;
            return box;
        } else {
            auto* box = new QLineEdit(text, container);
            makeReadOnly(box);
            text2_ = box;
            return box;
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

void Sorbela::setUpTabOrder()
{
    std::vector<const ElementRow*> byTab;
    for (const ElementRow& row : kElements)
        byTab.push_back(&row);
    std::sort(byTab.begin(), byTab.end(), [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });

    QWidget* previous = nullptr;
    for (const ElementRow* row : byTab) {
        auto* widget = findChild<QWidget*>(QString::fromStdString(elementName(*row)));
        if (!widget || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void Sorbela::routeEvents()
{
    // A choice counts when an option becomes checked: by mouse, by arrow
    // keys, or by a screen reader's toggle action (which emits no click).
    connect(optionGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            quiz_.Option1_Click(static_cast<std::int16_t>(id));
    });
    for (std::size_t i = 0; i < command1_.size(); ++i)
        connect(command1_[i], &QPushButton::clicked, this,
                [this, i] { quiz_.Command1_Click(static_cast<std::int16_t>(i)); });

    // Keys 1 to 5 pick the option in that place, wherever the focus is, and
    // like a click they move the focus to it, so a screen reader says what
    // was picked.
    for (QRadioButton* option : option1_) {
        const int key = static_cast<int>(Qt::Key_1) + static_cast<int>(optionGroup_->id(option));
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, option, [option] {
            option->setFocus(Qt::ShortcutFocusReason);
            option->click();
        });
    }
}

void Sorbela::load()
{
    quiz_.Form_Load();
}

std::string Sorbela::option1Caption(std::int16_t index) const
{
    return element(option1_, index)->text().toStdString();
}

void Sorbela::setOption1Caption(std::int16_t index, std::string_view caption)
{
    element(option1_, index)->setText(fromUtf8(caption));
}

void Sorbela::setOption1Value(std::int16_t index, bool selected)
{
    QRadioButton* option = element(option1_, index);
    const QSignalBlocker quietOption(option);
    const QSignalBlocker quietGroup(optionGroup_);
    // An exclusive group ignores unchecking its checked button.
    optionGroup_->setExclusive(false);
    option->setChecked(selected);
    optionGroup_->setExclusive(true);
}

void Sorbela::setText2Text(std::string_view text)
{
    text2_->setText(fromUtf8(text));
}

std::string Sorbela::text1Text(std::int16_t index) const
{
    return fromWidgetText(element(text1_, index)->toPlainText());
}

void Sorbela::setText1Text(std::int16_t index, std::string_view text)
{
    element(text1_, index)->setPlainText(toWidgetText(text));
}

} // namespace window
