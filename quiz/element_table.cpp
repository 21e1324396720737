#include "quiz/element_table.h"

namespace quiz {

std::string elementName(const ElementRow& row)
{
    std::string name(row.name);
    if (row.index >= 0)
        name += "_" + std::to_string(row.index);
    return name;
}

const std::string_view kDescription =
    "Да се реализира проект, представящ междупредметни връзки Математика и Информатика.\r\n"
    "Тема на проекта: Математика - задачи с коренуване.\r\n"
    "Проектът да генерира тестови задачи с коренуване, за изчисляване на корен квадратен. Проектът "
    "генерира като входни данни естествено число N от интервала [20..500], както и 5 рационални числа "
    "представящи вероятни стойности за корен квадратен на началното число N. Рационалните числа са "
    "закръглени до 3-тия знак след десетичната запетая и се предствят като имена в група радиобутони. "
    "Потребителят трябва да посочи правилно изчислената стойност.\r\n"
    "Проектът да извежда втората степен на посоченото рационално число и да извежда оценка за "
    "верността на направения избор. \r\n";

const std::string_view kQuotation =
    "Неприятното в това да си първият, направил нещо по \r\n"
    "правилния начин, е, че никой не оценява колко трудно е \r\n"
    "било. \r\n";

const std::string_view kProgramName = "Корен квадратен";
const std::string_view kChoiceMade = "Избрахте ";

const FormRow kForm{
    7290, 4680, {192, 192, 255}, "Times New Roman", 12, "www.koren.example Математика - изчисляване корен квадратен",
};

namespace {
constexpr Rgb kTitleOrange{255, 192, 128};
constexpr Rgb kFrameBlue{192, 192, 255};
constexpr Rgb kOptionCyan{0, 255, 255};
// Label1(1) stands above the question box and names it.
constexpr std::string_view kQuestionLabel = "Число за коренуване";
} // namespace

// clang-format off
const std::array<ElementRow, 13> kElements{{
    // name       index kind                 frame  left  top   width height tab background               text                                multi  visible name for assistive technology
    {"Text1",    0,  Kind::TextBox,       false,  240, 2760, 6735, 1815,  0, std::nullopt,          kDescription,                        true,  true,  "Резултат"},
    {"Text1",    1,  Kind::TextBox,       false,  600, 3240, 6735, 1815,  1, std::nullopt,          kQuotation,                          true,  false, "Цитат"},
    {"Label1",   0,  Kind::Label,         false,  960,    0, 4575,  375,  2, kTitleOrange,          "Математика - задачи с коренуване",  false, true,  ""},
    {"Frame1",  -1,  Kind::Frame,         false,  120,  480, 2175, 2175,  3, kFrameBlue,            "Стойност за корен",                 false, true,  ""},
    {"Option1",  0,  Kind::OptionButton,  true,   480,  240, 1335,  375,  4, kOptionCyan,           "Option1",                           false, true,  ""},
    {"Option1",  1,  Kind::OptionButton,  true,   480,  600, 1335,  375,  5, kOptionCyan,           "Option1",                           false, true,  ""},
    {"Option1",  2,  Kind::OptionButton,  true,   480,  960, 1335,  375,  6, kOptionCyan,           "Option1",                           false, true,  ""},
    {"Option1",  3,  Kind::OptionButton,  true,   480, 1320, 1335,  375,  7, kOptionCyan,           "Option1",                           false, true,  ""},
    {"Option1",  4,  Kind::OptionButton,  true,   480, 1680, 1335,  375,  8, kOptionCyan,           "Option1",                           false, true,  ""},
    {"Command1", 0,  Kind::CommandButton, false, 2640, 1680, 1695,  375,  9, Rgb{128, 255, 128},    "Изведи",                            false, true,  ""},
    {"Command1", 1,  Kind::CommandButton, false, 5160, 2160, 1695,  375, 10, Rgb{255, 128, 128},    "Чисти",                             false, true,  ""},
    {"Text2",   -1,  Kind::TextBox,       false, 2520,  960, 3855,  495, 11, std::nullopt,          "",                                  false, true,  kQuestionLabel},
    {"Label1",   1,  Kind::Label,         false, 2520,  600, 3855,  375, 12, kTitleOrange,          kQuestionLabel,                      false, true,  ""},
}};
// clang-format on

} // namespace quiz
