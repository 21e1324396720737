// One full round in the locale the process was started with (LC_ALL), read
// the way the program reads it. CTest runs this once per locale.

#include "linux/locale_format.h"
#include "linux/sorbela.h"
#include "support/qt_printers.h"
#include "support/scripted_random.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <cstdlib>
#include <map>
#include <string>

namespace {

// What each locale's decimal separator is, as its users write numbers.
const std::map<std::string, QString> kDecimalSeparator{
    {"C", QStringLiteral(".")},           {"en_US.UTF-8", QStringLiteral(".")},
    {"bg_BG.UTF-8", QStringLiteral(",")}, {"de_DE.UTF-8", QStringLiteral(",")},
    {"fr_FR.UTF-8", QStringLiteral(",")}, {"ar_EG.UTF-8", QStringLiteral("\u066B")},
};

TEST(LocaleRound, CaptionsAndVerdictUseTheLocaleSeparator)
{
    const char* locale = std::getenv("LC_ALL");
    ASSERT_NE(locale, nullptr) << "run with LC_ALL set";
    const auto expected = kDecimalSeparator.find(locale);
    ASSERT_NE(expected, kDecimalSeparator.end()) << "no expectation for " << locale;
    const QString sep = expected->second;
    // A number as the locale writes it: the period replaced by its separator.
    const auto local = [&](QString text) { return text.replace(QLatin1Char('.'), sep); };

    testing_support::ScriptedRandom random;
    random.pushQuestion(0.0f, 0.0f);  // roots of 10..14, 10 asked
    random.pushQuestion(0.29f, 0.1f); // roots of 300..304, 301 asked
    linux_ui::Sorbela form(random, linux_ui::numberFormatOf(QLocale::system()));
    form.load();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const auto option = [&](int i) { return form.findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i)); };
    auto* result = form.findChild<QPlainTextEdit*>(QStringLiteral("Text1_0"));
    auto* check = form.findChild<QPushButton*>(QStringLiteral("Command1_0"));
    auto* clear = form.findChild<QPushButton*>(QStringLiteral("Command1_1"));

    const QRegularExpression threeDecimals(QStringLiteral("^[0-9]+") + QRegularExpression::escape(sep)
                                           + QStringLiteral("[0-9]{3}$"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(threeDecimals.match(option(i)->text()).hasMatch()) << option(i)->text().toStdString();
    EXPECT_EQ(option(0)->text(), local(QStringLiteral("3.162")));

    QTest::mouseClick(option(0), Qt::LeftButton);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(result->toPlainText(), QStringLiteral("Правилно!\n") + local(QStringLiteral("3.162 * 3.162 = 9.998244")));

    QTest::mouseClick(clear, Qt::LeftButton);
    QTest::mouseClick(option(3), Qt::LeftButton);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(option(3)->text(), local(QStringLiteral("17.407")));
    EXPECT_EQ(result->toPlainText(), QStringLiteral("Грешка.") + local(QStringLiteral("17.407 * 17.407 = 303.003649")));
}

} // namespace
