#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/frame/probe_effect.h"

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr char kSentinel = '#';
constexpr size_t kBufferSize = 32;

// A buffer filled with the sentinel, to see what a formatter writes and where it stops.
struct TextBuffer {
    TextBuffer() { std::memset(bytes, kSentinel, sizeof bytes); }
    std::string text() const { return std::string(bytes); }
    // Nothing written after the terminator.
    bool untouchedAfterText() const {
        for (size_t i = std::strlen(bytes) + 1; i < sizeof bytes; ++i) {
            if (bytes[i] != kSentinel) {
                return false;
            }
        }
        return true;
    }
    char bytes[kBufferSize];
};

struct FloatCase {
    float value;
    const char* text;
};

std::string formatFloat(MinimalEffect& effect, float value) {
    TextBuffer buffer;
    effect.formatFloat(value, buffer.bytes);
    EXPECT_TRUE(buffer.untouchedAfterText()) << value;
    return buffer.text();
}

TEST(FormatFloat, WorkedResultsAndEdges) {
    const FloatCase cases[] = {
        // Worked results.
        {0.5f, "0.500000"},
        {1.0f, "1.000000"},
        {0.95f, "0.949999"},
        {-3.0f, "-3.00000"},
        {12345.678f, "12345.67"},
        {0.0f, "0.000000"},
        {-0.0f, "0.000000"},
        {0.9f, "0.899999"},
        {44100.0f, "44100.00"},
        {1234567.0f, "1234567."},
        {-123456.0f, "-123456."},
        {100000000.0f, " Huge!  "},
        {-10000000.0f, " Huge!  "},
        // Limits and infinities.
        {99999999.0f, " Huge!  "},
        {kInfinity, " Huge!  "},
        {-kInfinity, " Huge!  "},
        {3.0e38f, " Huge!  "},
        // Cut, never rounded; a fraction width that follows the integer width.
        {9.999999f, "9.999999"},
        {99.99f, "99.98999"},
        {123456.7f, "123456.7"},
        {-12345.67f, "-12345.6"},
        {-0.5f, "-0.50000"},
        {0.1f, "0.100000"},
        {10.0f, "10.00000"},
        {100.0f, "100.0000"},
        {1000000.0f, "1000000."},
        {-999999.0f, "-999999."},
        // Tiny magnitudes keep their sign but show no digits.
        {1.0e-7f, "0.000000"},
        {-1.0e-7f, "-0.00000"},
        {std::numeric_limits<float>::denorm_min(), "0.000000"},
    };
    MinimalEffect effect;
    for (const FloatCase& c : cases) {
        EXPECT_EQ(formatFloat(effect, c.value), c.text) << c.value;
    }
}

// Integer digits that fill the field stand whole, without a point.
TEST(FormatFloat, IntegerDigitsThatFillTheFieldAreAllShown) {
    const FloatCase cases[] = {
        {12345678.0f, "12345678"},
        {10000000.0f, "10000000"},
        {99999992.0f, "99999992"},  // the largest float below 100000000
        {-1234567.0f, "-1234567"},
        {-1000000.0f, "-1000000"},
        {-9999999.0f, "-9999999"},
        {-1000000.5f, "-1000000"},
    };
    MinimalEffect effect;
    for (const FloatCase& c : cases) {
        EXPECT_EQ(formatFloat(effect, c.value), c.text) << c.value;
    }
}

TEST(FormatFloat, NotANumberHasAText) {
    MinimalEffect effect;
    EXPECT_EQ(formatFloat(effect, std::numeric_limits<float>::quiet_NaN()), "  NaN   ");
    EXPECT_EQ(formatFloat(effect, -std::numeric_limits<float>::quiet_NaN()), "  NaN   ");
}

TEST(FormatFloat, OverwritesWhateverTheTextHeld) {
    MinimalEffect effect;
    char text[16] = "previous text";
    effect.formatFloat(1.0e9f, text);
    EXPECT_STREQ(text, " Huge!  ");
    effect.formatFloat(2.5f, text);
    EXPECT_STREQ(text, "2.500000");
}

// The text a float should show, from its exact decimal expansion cut to the field.
std::string expectedText(float value) {
    const bool negative = value < 0.0f;
    const double magnitude = std::fabs(static_cast<double>(value));
    if (magnitude > (negative ? 9999999.0 : 99999999.0)) {
        return " Huge!  ";
    }
    char exact[256];
    std::snprintf(exact, sizeof exact, "%.160f", magnitude);  // every float's expansion, whole
    const std::string digits(exact);
    const size_t point = digits.find('.');
    std::string text = (negative ? "-" : "") + digits.substr(0, point);
    if (text.size() >= 8) {
        return text;
    }
    text += '.';
    return text + digits.substr(point + 1, 8 - text.size());
}

TEST(FormatFloat, AgreesWithTheExactDecimalExpansionCutToTheField) {
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<uint32_t> anyBits;
    std::uniform_real_distribution<float> displayRange(-2.0f, 2.0f);
    MinimalEffect effect;
    for (int i = 0; i < 20000; ++i) {
        float values[2];
        const uint32_t bits = anyBits(random);
        std::memcpy(&values[0], &bits, sizeof bits);
        values[1] = displayRange(random);
        for (float value : values) {
            if (std::isnan(value)) {
                continue;
            }
            ASSERT_EQ(formatFloat(effect, value), expectedText(value))
                << std::hexfloat << value;
        }
    }
}

TEST(FormatDecibels, GainsInDecibelsAndMinusInfinityForNoGain) {
    const FloatCase cases[] = {
        {1.0f, "0.000000"},
        {0.5f, "-6.02059"},
        {2.0f, "6.020599"},
        {10.0f, "20.00000"},
        {0.001f, "-60.0000"},
        {0.0f, "  -oo   "},
        {-0.0f, "  -oo   "},
        {-1.0f, "  -oo   "},
        {std::numeric_limits<float>::quiet_NaN(), "  -oo   "},
        {kInfinity, " Huge!  "},
    };
    MinimalEffect effect;
    for (const FloatCase& c : cases) {
        TextBuffer buffer;
        effect.formatDecibels(c.value, buffer.bytes);
        EXPECT_EQ(buffer.text(), c.text) << c.value;
        EXPECT_TRUE(buffer.untouchedAfterText()) << c.value;
    }
}

struct RateCase {
    float sampleRate;
    float samples;
    const char* text;
};

// Runs each case through `format` on an effect at the case's sample rate.
template <size_t Count>
void expectRateTexts(const RateCase (&cases)[Count], void (EffectBase::*format)(float, char*)) {
    for (const RateCase& c : cases) {
        MinimalEffect effect;
        effect.setSampleRate(c.sampleRate);
        TextBuffer buffer;
        (effect.*format)(c.samples, buffer.bytes);
        EXPECT_EQ(buffer.text(), c.text) << c.samples << " samples at " << c.sampleRate;
        EXPECT_TRUE(buffer.untouchedAfterText());
    }
}

TEST(FormatHertz, SampleRateOverPeriod) {
    const RateCase cases[] = {
        {44100.0f, 100.0f, "441.0000"},
        {44100.0f, 1000.0f, "44.09999"},
        {44100.0f, 1.0f, "44100.00"},
        {44100.0f, -100.0f, "-441.000"},
        {44100.0f, 0.25f, "176400.0"},
        {48000.0f, 480.0f, "100.0000"},
        // No period: the text of 0, without dividing.
        {44100.0f, 0.0f, "0.000000"},
        {44100.0f, -0.0f, "0.000000"},
        {44100.0f, std::numeric_limits<float>::quiet_NaN(), "0.000000"},
        {0.0f, 0.0f, "0.000000"},
        // Quotients beyond the float range.
        {44100.0f, std::numeric_limits<float>::denorm_min(), " Huge!  "},
        {0.0f, 100.0f, "0.000000"},
    };
    expectRateTexts(cases, &EffectBase::formatHertz);
}

TEST(FormatMilliseconds, DurationAtTheSampleRate) {
    const RateCase cases[] = {
        {44100.0f, 44100.0f, "1000.000"},
        {44100.0f, 441.0f, "10.00000"},
        {44100.0f, 1.0f, "0.022675"},
        {44100.0f, 0.0f, "0.000000"},
        {44100.0f, -441.0f, "-10.0000"},
        {48000.0f, 48.0f, "1.000000"},
        {44100.0f, 3.0e38f, " Huge!  "},
        {1.0e-30f, 1.0e30f, " Huge!  "},
        // A rate of 0 gives the quotient's text and never traps.
        {0.0f, 1.0f, " Huge!  "},
        {0.0f, -1.0f, " Huge!  "},
        {-0.0f, 1.0f, " Huge!  "},
        {0.0f, 0.0f, "  NaN   "},
        {std::numeric_limits<float>::quiet_NaN(), 1.0f, "  NaN   "},
    };
    expectRateTexts(cases, &EffectBase::formatMilliseconds);
}

TEST(FormatInteger, RightAlignedInSevenAndHugeOutsideTheField) {
    const struct {
        int32_t value;
        const char* text;
    } cases[] = {
        {5, "      5"},
        {-5, "     -5"},
        {0, "      0"},
        {12345, "  12345"},
        {1234567, "1234567"},
        {-123456, "-123456"},
        {12345678, "12345678"},
        {99999999, "99999999"},
        {100000000, " Huge!  "},
        {std::numeric_limits<int32_t>::max(), " Huge!  "},
        {-1234567, "-1234567"},
        {-9999999, "-9999999"},
        {-10000000, " Huge!  "},
        {std::numeric_limits<int32_t>::min(), " Huge!  "},
    };
    MinimalEffect effect;
    for (const auto& c : cases) {
        TextBuffer buffer;
        effect.formatInteger(c.value, buffer.bytes);
        EXPECT_EQ(buffer.text(), c.text) << c.value;
        EXPECT_TRUE(buffer.untouchedAfterText()) << c.value;
    }
}

TEST(Formatters, NullTextIsLeftAlone) {
    MinimalEffect effect;
    effect.formatFloat(1.0f, nullptr);
    effect.formatFloat(1.0e9f, nullptr);
    effect.formatDecibels(0.0f, nullptr);
    effect.formatDecibels(1.0f, nullptr);
    effect.formatHertz(100.0f, nullptr);
    effect.formatMilliseconds(100.0f, nullptr);
    effect.formatInteger(5, nullptr);
    effect.formatInteger(-100000000, nullptr);
}

// An effect that shows its own floats and sample rate: the other formatters go through both.
class RecordingFloatEffect : public MinimalEffect {
public:
    void formatFloat(float value, char* text) override {
        shown.push_back(value);
        std::strcpy(text, "shown");
    }
    float getSampleRate() override { return 1000.0f; }
    std::vector<float> shown;
};

TEST(Formatters, DecibelsHertzAndMillisecondsCallTheEffectsOwnOperations) {
    RecordingFloatEffect effect;
    char text[16];
    effect.formatDecibels(10.0f, text);
    effect.formatHertz(4.0f, text);
    effect.formatHertz(0.0f, text);
    effect.formatMilliseconds(500.0f, text);
    EXPECT_STREQ(text, "shown");
    EXPECT_EQ(effect.shown, (std::vector<float>{20.0f, 250.0f, 0.0f, 500.0f}));
}

}  // namespace
