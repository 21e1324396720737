#include "runtime/number_text.h"

#include "runtime/fatal.h"

#include <array>
#include <charconv>
#include <system_error>

// std::to_chars / std::from_chars throughout: unlike printf and strtod they
// never consult the C locale, which the toolkit sets from the environment.
// A standard library without their floating-point forms (the browser
// build's) leaves __cpp_lib_to_chars undefined, and gets the C library's
// conversions instead, told the C locale's decimal point both ways: the
// same digits, as both are exact.
#ifndef __cpp_lib_to_chars
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#endif

namespace runtime {
namespace {

#ifdef __cpp_lib_to_chars
std::string toChars(double value, std::chars_format how, int precision)
{
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, how, precision);
    return std::string(buffer.data(), result.ptr);
}

// A plain number ("-12.5e-3"): out of range where it would be infinite, or
// zero though its digits are not.
std::errc fromChars(const std::string& number, double& value)
{
    return std::from_chars(number.data(), number.data() + number.size(), value).ec;
}
#else
std::string_view cDecimalPoint()
{
    const char* point = std::localeconv()->decimal_point;
    return point && *point ? point : ".";
}

std::string toChars(double value, std::chars_format how, int precision)
{
    std::array<char, 400> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), how == std::chars_format::fixed ? "%.*f" : "%.*g",
                                     precision, value);
    std::string out(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0));
    if (const auto point = out.find(cDecimalPoint()); point != std::string::npos)
        out.replace(point, cDecimalPoint().size(), ".");
    return out;
}

std::errc fromChars(std::string number, double& value)
{
    if (const auto point = number.find('.'); point != std::string::npos)
        number.replace(point, 1, cDecimalPoint());
    errno = 0;
    const double read = std::strtod(number.c_str(), nullptr);
    if (std::isinf(read) || (read == 0.0 && errno == ERANGE))
        return std::errc::result_out_of_range;
    value = read;
    return {};
}
#endif

std::string grouped(std::string_view digits, const NumberFormat& format)
{
    if (format.groupSize <= 0 || format.groupSeparator.empty())
        return std::string(digits);
    const auto size = static_cast<std::size_t>(format.groupSize);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % size == 0)
            out += format.groupSeparator;
        out += digits[i];
    }
    return out;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string fixedText(double value, int decimals, const NumberFormat& format)
{
    std::string plain = toChars(value, std::chars_format::fixed, decimals);
    const bool negative = !plain.empty() && plain.front() == '-';
    if (negative)
        plain.erase(0, 1);
    const auto point = plain.find('.');
    std::string whole = plain.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : plain.substr(point + 1);
    if (whole == "0" && !format.leadingZero)
        whole.clear();

    std::string out = negative ? format.negativeSign : std::string();
    out += grouped(whole, format);
    if (!fraction.empty())
        out += format.decimalSeparator + fraction;
    return out;
}

std::string integerText(std::int32_t value)
{
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string doubleText(double value, const NumberFormat& format)
{
    if (value == 0.0)
        value = 0.0; // no "-0"
    std::string out;
    for (const char c : toChars(value, std::chars_format::general, 15)) {
        if (c == '.')
            out += format.decimalSeparator;
        else if (c == 'e')
            out += 'E';
        else
            out += c;
    }
    return out;
}

double numberFromText(std::string_view text, const NumberFormat& format)
{
    std::size_t at = 0;
    const auto startsWith = [&](std::string_view what) {
        return !what.empty() && text.substr(at, what.size()) == what;
    };
    const auto takeDigits = [&](std::string& into) {
        const std::size_t from = at;
        while (at < text.size() && isDigit(text[at]))
            into += text[at++];
        return at > from;
    };

    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
        ++at;

    std::string number;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        number += text[at++];

    bool anyDigit = takeDigits(number);
    if (startsWith(format.decimalSeparator) || startsWith(".")) {
        at += startsWith(format.decimalSeparator) ? format.decimalSeparator.size() : 1;
        number += '.';
        anyDigit = takeDigits(number) || anyDigit;
    }
    if (!anyDigit)
        return 0.0;

    if (at + 1 < text.size() && (text[at] == 'E' || text[at] == 'e' || text[at] == 'D' || text[at] == 'd')) {
        std::size_t probe = at + 1;
        std::string exponent = "e";
        if (text[probe] == '-' || text[probe] == '+')
            exponent += text[probe++];
        if (probe < text.size() && isDigit(text[probe])) {
            at = probe;
            number += exponent;
            takeDigits(number);
        }
    }

    if (number.front() == '+')
        number.erase(0, 1);
    double value = 0.0;
    if (fromChars(number, value) == std::errc::result_out_of_range) {
        if (number.find("e-") != std::string::npos)
            return 0.0; // too small to hold: it is zero
        fatalError("препълване при четене на число");
    }
    return value;
}

} // namespace runtime
