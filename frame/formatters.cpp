// The value-to-text formatters: every number becomes a text of exactly 8 characters (formatInteger:
// at most 8). Fraction digits are cut off, never rounded; what does not fit shows " Huge!  ".
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "frame/effect_base.h"

namespace {

constexpr int kWidth = 8;
constexpr char kHugeText[] = " Huge!  ";
constexpr char kMinusInfinityText[] = "  -oo   ";
constexpr char kNotANumberText[] = "  NaN   ";

// The largest magnitudes shown: eight digits, or a minus sign and seven digits.
constexpr double kLargestPositive = 99999999.0;
constexpr double kLargestNegative = 9999999.0;
constexpr int32_t kLowestInteger = -9999999;
constexpr int32_t kHighestInteger = 99999999;

void writeText(char* text, const char* source) {
    if (text != nullptr) {
        std::memcpy(text, source, std::strlen(source) + 1);
    }
}

// Rounds to single precision; magnitudes beyond the float range become infinities, which the
// float formatter shows as " Huge!  " (a plain conversion of such a value is undefined).
float toSingle(double value) {
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::signbit(value) ? -std::numeric_limits<float>::infinity()
                                   : std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

// The IEEE quotient, with a zero divisor answered without dividing: an infinity of the right sign,
// or not-a-number for 0/0.
double quotient(double numerator, double denominator) {
    if (denominator != 0.0) {
        return numerator / denominator;
    }
    if (numerator == 0.0 || std::isnan(numerator)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const bool negative = std::signbit(numerator) != std::signbit(denominator);
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

// The last decimal digit of a non-negative value's integer part; the value is below 10^9 here.
char lastDigit(double value) {
    return static_cast<char>('0' + static_cast<int>(std::fmod(value, 10.0)));
}

// The decimal digits of floor(magnitude), most significant first; a single 0 below 1.
// Answers the number of digits written. The magnitude is at most 99999999.
int integerDigits(double magnitude, char* digits) {
    char reversed[kWidth];
    const double whole = std::floor(magnitude);
    int count = 0;
    reversed[count++] = lastDigit(whole);
    for (double rest = whole * 0.1; rest >= 1.0 && count < kWidth; rest *= 0.1) {
        reversed[count++] = lastDigit(rest);
    }
    for (int i = 0; i < count; ++i) {
        digits[i] = reversed[count - 1 - i];
    }
    return count;
}

// The first `count` decimal places of the magnitude, cut off.
void fractionDigits(double magnitude, int count, char* digits) {
    double scaled = std::fmod(magnitude, 1.0) * std::pow(10.0, count);
    for (int i = count - 1; i >= 0; --i) {
        digits[i] = scaled > 0.0 ? lastDigit(scaled) : '0';
        scaled *= 0.1;
    }
}

bool beyondLimits(double magnitude, bool negative) {
    return magnitude > (negative ? kLargestNegative : kLargestPositive);
}

// Sign, integer digits, point and as many fraction digits as fill the field. When the integer
// digits fill the field on their own they stand without a point, so that no digit is lost.
void writeNumber(double value, char* text) {
    const bool negative = value < 0.0;
    const double magnitude = std::fabs(value);
    if (beyondLimits(magnitude, negative)) {
        writeText(text, kHugeText);
        return;
    }
    char field[kWidth + 1];
    int used = 0;
    if (negative) {
        field[used++] = '-';
    }
    used += integerDigits(magnitude, field + used);
    if (used < kWidth) {
        field[used++] = '.';
        fractionDigits(magnitude, kWidth - used, field + used);
    }
    field[kWidth] = '\0';
    writeText(text, field);
}

}  // namespace

void EffectBase::formatDecibels(float value, char* text) {
    if (value > 0.0f) {
        formatFloat(toSingle(20.0 * std::log10(static_cast<double>(value))), text);
    } else {
        writeText(text, kMinusInfinityText);
    }
}

void EffectBase::formatHertz(float samples, char* text) {
    const double rate = getSampleRate();
    if (samples == 0.0f || std::isnan(samples)) {
        formatFloat(0.0f, text);
    } else {
        formatFloat(toSingle(quotient(rate, samples)), text);
    }
}

void EffectBase::formatMilliseconds(float samples, char* text) {
    const double rate = getSampleRate();
    formatFloat(toSingle(quotient(static_cast<double>(samples) * 1000.0, rate)), text);
}

void EffectBase::formatFloat(float value, char* text) {
    if (std::isnan(value)) {
        writeText(text, kNotANumberText);
    } else {
        writeNumber(static_cast<double>(value), text);
    }
}

void EffectBase::formatInteger(int32_t value, char* text) {
    if (value > kHighestInteger || value < kLowestInteger) {
        writeText(text, kHugeText);
        return;
    }
    char field[16];
    std::snprintf(field, sizeof field, "%7d", static_cast<int>(value));
    field[kWidth] = '\0';
    writeText(text, field);
}
