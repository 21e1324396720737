// The real window, driven with real mouse and key events on the offscreen
// platform: what the round's records cannot show, as the press before a
// choice, the keypad's arrows, what assistive technology may change, and a
// hostile desktop.

#include "linux/application.h"
#include "linux/locale_format.h"
#include "linux/sorbela.h"
#include "quiz/element_table.h"
#include "runtime/number_format.h"
#include "support/focus_ring.h"
#include "support/pixels.h"
#include "support/qt_printers.h"
#include "support/scripted_random.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <tuple>

namespace {

using testing_support::ScriptedRandom;

constexpr float kR1Base10 = 0.0f;    // BaseNumber 10
constexpr float kR1Base142 = 0.132f; // BaseNumber 142
float r2Slot(int slot)
{
    return static_cast<float>(slot) / 10.0f;
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        // First question: roots of 10..14, 10 asked. Every later one: roots
        // of 142..146, 144 asked.
        random.pushQuestion(kR1Base10, r2Slot(0));
        for (int i = 0; i < 50; ++i)
            random.pushQuestion(kR1Base142, r2Slot(2));
        form = std::make_unique<linux_ui::Sorbela>(random, runtime::NumberFormat{});
        form->load();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename W>
    W* element(const char* name) const
    {
        auto* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QRadioButton* option(int i) const { return element<QRadioButton>(QStringLiteral("Option1_%1").arg(i).toLatin1()); }
    QPushButton* check() const { return element<QPushButton>("Command1_0"); }
    QPushButton* clear() const { return element<QPushButton>("Command1_1"); }
    QPlainTextEdit* result() const { return element<QPlainTextEdit>("Text1_0"); }
    QLineEdit* question() const { return element<QLineEdit>("Text2"); }

    int checkedOption() const
    {
        int found = -1;
        for (int i = 0; i < 5; ++i)
            if (option(i)->isChecked()) {
                EXPECT_EQ(found, -1) << "two options selected";
                found = i;
            }
        return found;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
    // Typing with explicit text, as a keyboard with that layout would.
    void type(QWidget* target, Qt::Key k, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
    QString resultText() const { return result()->toPlainText(); }

    ScriptedRandom random;
    std::unique_ptr<linux_ui::Sorbela> form;
};

TEST_F(WindowTest, MouseArrowsAndDigitKeysChooseTheOption)
{
    QTest::mousePress(option(1), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), result()) << "focused before it is chosen";
    QTest::mouseRelease(option(1), Qt::LeftButton);
    EXPECT_EQ(checkedOption(), 1);
    // Anywhere on the coloured rectangle, not only on the circle and caption.
    QTest::mouseClick(option(3), Qt::LeftButton, Qt::NoModifier, QPoint(86, 22));
    EXPECT_EQ(checkedOption(), 3);
    QTest::mouseClick(option(1), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(checkedOption(), 1);
    QTest::mouseClick(check(), Qt::LeftButton);
    EXPECT_EQ(resultText(), QStringLiteral("Грешка.3.317 * 3.317 = 11.002489"));

    // Every arrow, the keypad's too, moves the choice to the neighbour,
    // round the ends, and the quiz hears of each move once.
    QSignalSpy toggles(form->findChild<QButtonGroup*>(), &QButtonGroup::idToggled);
    const auto choicesMade = [&] {
        return std::count_if(toggles.begin(), toggles.end(), [](const QList<QVariant>& t) { return t[1].toBool(); });
    };
    option(1)->setFocus();
    const struct {
        Qt::Key key;
        int chosen;
    } moves[] = {{Qt::Key_Up, 0},   {Qt::Key_Up, 4},    {Qt::Key_Left, 3},
                 {Qt::Key_Down, 4}, {Qt::Key_Right, 0}, {Qt::Key_Down, 1}}; // back where it began
    for (const Qt::KeyboardModifier pad : {Qt::KeypadModifier, Qt::NoModifier})
        for (const auto& move : moves) {
            key(move.key, pad);
            EXPECT_EQ(checkedOption(), move.chosen) << pad;
            EXPECT_EQ(QApplication::focusWidget(), option(move.chosen)) << pad;
        }
    EXPECT_EQ(choicesMade(), 2 * static_cast<long>(std::size(moves)));
    key(Qt::Key_Down);
    QTest::mouseClick(check(), Qt::LeftButton);
    EXPECT_EQ(resultText(), QStringLiteral("Грешка.3.464 * 3.464 = 11.999296"));

    // Digits, the keypad's too, choose wherever the focus is, text boxes
    // included, and the focus follows the choice as it would a click.
    for (QWidget* focus :
         {static_cast<QWidget*>(result()), static_cast<QWidget*>(question()), static_cast<QWidget*>(clear())})
        for (const Qt::KeyboardModifier pad : {Qt::NoModifier, Qt::KeypadModifier}) {
            focus->setFocus();
            key(Qt::Key_1, pad);
            EXPECT_EQ(checkedOption(), 0);
            EXPECT_EQ(QApplication::focusWidget(), option(0));
            key(Qt::Key_5, pad);
            EXPECT_EQ(checkedOption(), 4);
            EXPECT_EQ(QApplication::focusWidget(), option(4));
        }
    QTest::mouseClick(check(), Qt::LeftButton);
    EXPECT_EQ(resultText(), QStringLiteral("Грешка.3.742 * 3.742 = 14.002564"));
    key(Qt::Key_1);
    QTest::mouseClick(check(), Qt::LeftButton);
    EXPECT_EQ(resultText(), QStringLiteral("Правилно!\n3.162 * 3.162 = 9.998244"));
}

TEST_F(WindowTest, TextBoxesRefuseTypingButAllowCopying)
{
    QTest::mouseClick(option(0), Qt::LeftButton);
    QTest::mouseClick(check(), Qt::LeftButton);
    const QString before = resultText();
    const QString asked = question()->text();

    for (QWidget* box : {static_cast<QWidget*>(result()), static_cast<QWidget*>(question())}) {
        box->setFocus();
        type(box, Qt::Key_A, QStringLiteral("ж"));
        type(box, Qt::Key_X, QStringLiteral("x"));
        key(Qt::Key_Backspace);
        key(Qt::Key_Delete);
        key(Qt::Key_Return); // no default button either
        QApplication::clipboard()->setText(QStringLiteral("поставено"));
        key(Qt::Key_V, Qt::ControlModifier);
        key(Qt::Key_A, Qt::ControlModifier);
        key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(resultText(), before);
        EXPECT_EQ(question()->text(), asked);
        EXPECT_TRUE(box->isEnabled());
    }
    EXPECT_EQ(QApplication::clipboard()->text(), asked); // copied from Text2, selected with Ctrl+A
    result()->setFocus();
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), before);

    // Assistive technology reads, selects and copies, and rewrites nothing,
    // the hidden quotation included.
    for (QWidget* box : {static_cast<QWidget*>(result()), static_cast<QWidget*>(question()),
                         static_cast<QWidget*>(element<QPlainTextEdit>("Text1_1"))}) {
        SCOPED_TRACE(box->objectName().toStdString());
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(access, nullptr);
        const QString original = access->text(QAccessible::Value);
        ASSERT_GT(original.size(), 9);
        EXPECT_EQ(access->editableTextInterface(), nullptr);
        EXPECT_TRUE(access->state().readOnly);
        EXPECT_FALSE(access->state().editable);
        EXPECT_TRUE(access->state().selectableText);
        EXPECT_EQ(access->state().multiLine, box != question());
        access->setText(QAccessible::Value, QStringLiteral("вписано"));
        EXPECT_EQ(access->text(QAccessible::Value), original);

        QAccessibleTextInterface* text = access->textInterface();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->characterCount(), original.size());
        EXPECT_EQ(text->text(3, 9), original.mid(3, 6));
        text->setSelection(0, 3, 9);
        int start = 0;
        int end = 0;
        text->selection(0, &start, &end);
        EXPECT_EQ(std::make_pair(start, end), std::make_pair(3, 9));
        EXPECT_EQ(text->selectionCount(), 1);
        if (!box->isVisible())
            continue;
        box->setFocus();
        key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), original.mid(3, 6));
        // Pointing at a character finds that character again.
        const QRect fourth = text->characterRect(3);
        EXPECT_TRUE(QRect(box->mapToGlobal(QPoint(0, 0)), box->size()).contains(fourth.center()));
        EXPECT_EQ(text->offsetAtPoint(QPoint(fourth.left() + fourth.width() / 4, fourth.center().y())), 3);
    }
}

// What a screen reader is told each time a notification appears: the
// toolkit reports it to the accessibility bus as it is shown. The reader
// speaks it, and puts on braille the labels inside it whose text is not the
// notification's own name; that braille text is what is kept here. (With
// Qt 6.8 and later the window announces instead; the offscreen platform
// passes no accessibility event on, so only the screen reader test hears
// those.)
class ShowRecorder final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        QAccessibleInterface* appeared = QAccessible::queryAccessibleInterface(watched);
        if (!appeared || appeared->role() != QAccessible::Notification)
            return false;
        const QString name = appeared->text(QAccessible::Name);
        QStringList labels;
        for (int i = 0; i < appeared->childCount(); ++i) {
            QAccessibleInterface* part = appeared->child(i);
            const QString text = part->text(QAccessible::Name);
            if (part->role() == QAccessible::StaticText && !part->state().invisible && !text.isEmpty()
                && !name.contains(text))
                labels << text;
        }
        brailled << labels.join(QLatin1Char(' '));
        return false;
    }
    QStringList brailled;
};

// Every object of the tree under root, root first.
std::vector<QAccessibleInterface*> everyObject(QAccessibleInterface* root)
{
    std::vector<QAccessibleInterface*> found{root};
    for (std::size_t next = 0; next < found.size(); ++next)
        for (int i = 0; i < found[next]->childCount(); ++i)
            found.push_back(found[next]->child(i));
    return found;
}

TEST_F(WindowTest, AScreenReaderCanHearChooseAndCheck)
{
    ShowRecorder recorder;
    for (QWidget* child : form->findChildren<QWidget*>())
        child->installEventFilter(&recorder);
    auto& brailled = recorder.brailled;

    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(form.get());
    ASSERT_NE(root, nullptr);
    const auto find = [&](QAccessible::Role role, const QString& name) -> QAccessibleInterface* {
        for (QAccessibleInterface* node : everyObject(root))
            if (node->role() == role && node->text(QAccessible::Name) == name && !node->state().invisible)
                return node;
        return nullptr;
    };

    QAccessibleInterface* choice = find(QAccessible::RadioButton, QStringLiteral("3.317"));
    ASSERT_NE(choice, nullptr);
    ASSERT_TRUE(choice->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    choice->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(choice->state().checked);

    QAccessibleInterface* checkButton = find(QAccessible::Button, QStringLiteral("Изведи"));
    ASSERT_NE(checkButton, nullptr);
    checkButton->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return resultText().startsWith(QStringLiteral("Грешка")); })); // animated

    // Each way of choosing is heard once, from the first option of a new question (roots of 142..146):
    // Orca reads an option out as it gets the focus, and the focused one's new state after Space only.
    const auto toggle = [&](int i) {
        QAccessible::queryAccessibleInterface(option(i))->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    };
    const std::tuple<const char*, std::function<void()>, int, bool> ways[] = {
        {"1", [&] { key(Qt::Key_1); }, 0, true},
        {"click", [&] { QTest::mouseClick(option(0), Qt::LeftButton); }, 0, true},
        {"toggle", [&] { toggle(0); }, 0, true},
        {"Space", [&] { key(Qt::Key_Space); }, 0, false},
        {"3", [&] { key(Qt::Key_3); }, 2, false},
        {"Down", [&] { key(Qt::Key_Down); }, 1, false},
        {"toggle 4th", [&] { toggle(3); }, 3, false},
        {"click 5th", [&] { QTest::mouseClick(option(4), Qt::LeftButton); }, 4, false}};
    for (const auto& [way, choose, chosen, said] : ways) {
        SCOPED_TRACE(way);
        clear()->click();
        check()->setFocus();
        key(Qt::Key_Backtab);
        brailled.clear();
        choose();
        EXPECT_EQ(QApplication::focusWidget(), option(chosen));
        EXPECT_EQ(checkedOption(), chosen);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        EXPECT_EQ(brailled, said ? QStringList{QStringLiteral("Избрахте 11.916")} : QStringList());
#endif
    }
}

// A desktop that is dark, right to left and in another style changes
// nothing a pupil sees: every text keeps its contrast, the layout its side,
// and the menus that pop up are as light as the window.
TEST(HostileDesktop, DarkMirroredDesktopLeavesTheWindowAsDesigned)
{
    const auto restore = qScopeGuard([] { linux_ui::setUpApplication(); });
    // The desktop as it is before the program sets its look: the platform
    // theme's own palette, in another style, right to left. Under a real
    // dark desktop (KOREN_DARK_DESKTOP set) that palette is dark as it
    // comes; otherwise a dark palette stands in for it.
    QApplication::setStyle(QStringLiteral("Windows"));
    QApplication::setPalette(QPalette());
    const bool desktopIsDark = QApplication::palette().color(QPalette::Window).lightness() < 128;
    if (qEnvironmentVariableIsSet("KOREN_DARK_DESKTOP")) {
        ASSERT_TRUE(desktopIsDark) << "the desktop's dark theme did not load";
    }
    if (!desktopIsDark) {
        QPalette dark(QColor(53, 53, 53));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
            dark.setColor(role, QColor(238, 238, 236));
        dark.setColor(QPalette::Base, QColor(36, 36, 36));
        dark.setColor(QPalette::Window, QColor(53, 53, 53));
        QApplication::setPalette(dark);
    }
    QApplication::setLayoutDirection(Qt::RightToLeft);
    linux_ui::setUpApplication(); // as the program starts

    ScriptedRandom random;
    random.pushQuestion(kR1Base142, r2Slot(2));
    linux_ui::Sorbela form(random, runtime::NumberFormat{});
    form.load();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    for (QWidget* child : form.findChildren<QWidget*>()) {
        EXPECT_EQ(child->style(), QApplication::style()) << child->metaObject()->className();
        EXPECT_TRUE(child->isLeftToRight()) << child->metaObject()->className();
    }
    auto* result = form.findChild<QPlainTextEdit*>(QStringLiteral("Text1_0"));
    EXPECT_GT(result->verticalScrollBar()->mapTo(result, QPoint(0, 0)).x(), result->width() / 2);

    const QImage image = form.grab().toImage();
    const auto inside = [&](const char* name, QMargins margins) {
        auto* widget = form.findChild<QWidget*>(QString::fromLatin1(name));
        return QRect(widget->mapTo(&form, QPoint(0, 0)), widget->size()).marginsRemoved(margins);
    };
    const struct {
        const char* name;
        QRect region;
    } texts[] = {
        {"Label1_0", inside("Label1_0", {})},
        {"Label1_1", inside("Label1_1", {})},
        {"FrameCaption", inside("FrameCaption", {})},
        {"Option1_0", inside("Option1_0", {24, 0, 0, 0})},
        {"Option1_4", inside("Option1_4", {24, 0, 0, 0})},
        {"Command1_0", inside("Command1_0", {3, 3, 3, 3})},
        {"Command1_1", inside("Command1_1", {3, 3, 3, 3})},
        {"Text2", inside("Text2", {3, 3, 3, 3})},
        {"Text1_0", inside("Text1_0", {3, 3, 3 + result->verticalScrollBar()->width(), 3})},
    };
    for (const auto& text : texts)
        EXPECT_GE(testing_support::inkContrast(image, text.region), 4.5) << text.name;

    // Each state a pupil brings about shows, at that contrast: selected text
    // on its highlight, a chosen option's dot against its circle (3:1), and
    // a pressed button pushed in, its lit and shaded edges swapped and its
    // caption one pixel down and to the right.
    const auto screen = [&] {
        QCoreApplication::processEvents();
        return form.grab().toImage();
    };
    for (const char* name : {"Text2", "Text1_0"}) {
        auto* box = form.findChild<QWidget*>(QString::fromLatin1(name));
        box->setFocus();
        const QImage plain = screen();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        EXPECT_GE(testing_support::change(plain, screen(), inside(name, {})).onSurface, 4.5) << name << " selected";
    }
    result->setFocus();
    const QImage unchosen = screen();
    form.setOption1Value(2, true);
    QRect circle = inside("Option1_2", {});
    circle.setWidth(24);
    EXPECT_GE(testing_support::change(unchosen, screen(), circle).fromBefore, 3.0);
    for (const char* name : {"Command1_0", "Command1_1"}) {
        auto* button = form.findChild<QPushButton*>(QString::fromLatin1(name));
        const QRect face = inside(name, {});
        const QRect caption = face.marginsRemoved({3, 3, 3, 3});
        const QImage up = screen();
        button->setDown(true);
        const QImage down = screen();
        button->setDown(false);
        const auto litLeft = [&](const QImage& shot) {
            return testing_support::luminance(shot.pixelColor(face.left(), face.center().y()))
                 > testing_support::luminance(shot.pixelColor(face.right(), face.center().y()));
        };
        EXPECT_TRUE(litLeft(up) && !litLeft(down)) << name;
        EXPECT_GE(testing_support::inkContrast(down, caption), 4.5) << name;
        EXPECT_EQ(testing_support::inkColumns(down, caption).first, testing_support::inkColumns(up, caption).first + 1)
            << name;
    }

    // Wherever the focus is, the eye finds it: a ring at least two device
    // pixels thick that stands out 3:1 from the colours next to it.
    for (const char* name : {"Option1_0", "Option1_2", "Option1_4", "Command1_0", "Command1_1", "Text2", "Text1_0"}) {
        auto* control = form.findChild<QWidget*>(QString::fromLatin1(name));
        QWidget* elsewhere = control == result ? form.findChild<QWidget*>(QStringLiteral("Text2")) : result;
        const testing_support::FocusRing ring = testing_support::focusRingOf(&form, control, elsewhere);
        std::printf("focus ring on %-10s %d device pixels, contrast %.1f\n", name, ring.thinnest, ring.weakest);
        EXPECT_GE(ring.thinnest, 2) << name;
        EXPECT_GE(ring.weakest, 3.0) << name;
    }

    // The result area's menu: a window of its own, yet light, left to right
    // and readable.
    result->setFocus();
    QTest::keyClick(result, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    const auto closeMenu = qScopeGuard([&] { menu->close(); });
    EXPECT_TRUE(menu->isLeftToRight());
    const QImage shown = menu->grab().toImage();
    EXPECT_GT(testing_support::luminance(testing_support::background(shown, shown.rect())), 0.6);
    EXPECT_GE(testing_support::inkContrast(shown, shown.rect()), 4.5);
}

TEST(LocaleFormat, SeparatorsComeFromTheLocale)
{
    const struct {
        const char* locale;
        const char* decimal;
        const char* group;
    } cases[] = {
        {"C", ".", ","},     {"en_US", ".", ","},      {"bg_BG", ",", "\u00A0"},
        {"de_DE", ",", "."}, {"fr_FR", ",", "\u202F"}, {"ar_EG", "\u066B", "\u066C"},
    };
    for (const auto& c : cases) {
        const runtime::NumberFormat format = linux_ui::numberFormatOf(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(format.decimalSeparator, c.decimal) << c.locale;
        EXPECT_EQ(format.groupSeparator, c.group) << c.locale;
    }
}

} // namespace
