#include "core/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ToUtf8(const std::string& text, std::size_t field = 256)
{
    std::string out(field, 'X');
    Windows1252ToUtf8(out.data(), field, text.c_str());
    return out.c_str();
}

std::string ToWindows1252(const std::string& text, std::size_t field = 256)
{
    std::string out(field, 'X');
    Utf8ToWindows1252(out.data(), field, text.c_str(), 4096);
    return out.c_str();
}

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

TEST(Windows1252, EveryByteBecomesItsUtf8SequenceAndComesBack)
{
    EXPECT_EQ(ToUtf8("Healing \x96 110 Hz"), "Healing \xE2\x80\x93 110 Hz");
    EXPECT_EQ(ToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");
    EXPECT_EQ(ToUtf8("caf\xE9 \xFF"), "caf\xC3\xA9 \xC3\xBF");
    EXPECT_EQ(ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D"); // undefined in the code page: kept as controls
    // Every byte gives one well-formed character of one to three bytes, and
    // converting back gives the byte again.
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = ToUtf8(byte);
        const auto lead = static_cast<unsigned char>(utf8[0]);
        const std::size_t expected = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        ASSERT_EQ(utf8.size(), expected) << b;
        for (std::size_t i = 1; i < utf8.size(); ++i)
            EXPECT_TRUE(IsContinuation(utf8[i])) << b;
        EXPECT_EQ(ToWindows1252(utf8), byte) << b;
    }
}

TEST(Windows1252, HostTextsWithoutAFormAndMalformedBytes)
{
    EXPECT_EQ(ToWindows1252("Mine \xE2\x80\x93 1"), "Mine \x96 1");
    EXPECT_EQ(ToWindows1252("\xE2\x82\xAC \xC5\xB8"), "\x80 \x9F");
    // No Windows-1252 form: a CJK character, an emoji, a Greek letter.
    EXPECT_EQ(ToWindows1252("a\xE6\x97\xA5"
                            "b\xF0\x9F\x8E\xB5"
                            "c\xCE\xA9"),
              "a?b?c?");
    // Not well-formed UTF-8: the bytes stay (an 8-bit text from an older host),
    // overlong forms and surrogates included.
    EXPECT_EQ(ToWindows1252("caf\xE9"), "caf\xE9");
    EXPECT_EQ(ToWindows1252("x\xE2\x80"), "x\xE2\x80");
    EXPECT_EQ(ToWindows1252("\xC0\xAF"), "\xC0\xAF");
    EXPECT_EQ(ToWindows1252("\xED\xA0\x80"), "\xED\xA0\x80");
}

TEST(Windows1252, OutputStaysInItsFieldWithWholeCharacters)
{
    // "x" and 84 en dashes fill 253 of 255 bytes; the 85th does not fit whole.
    const std::string dashes = "x" + std::string(100, '\x96');
    const std::string utf8 = ToUtf8(dashes);
    EXPECT_EQ(utf8.size(), 253u);
    EXPECT_EQ(ToWindows1252(utf8), dashes.substr(0, 85));
    // The longest run of whole characters that fits each field size.
    const char* const whole[] = {"",
                                 "",
                                 "a",
                                 "a",
                                 "a",
                                 "a\xE2\x80\x93",
                                 "a\xE2\x80\x93",
                                 "a\xE2\x80\x93\xC3\xA9",
                                 "a\xE2\x80\x93\xC3\xA9z"};
    for (std::size_t field = 1; field < 9; ++field) {
        EXPECT_EQ(ToUtf8("a\x96\xE9z", field), whole[field]) << field;
        EXPECT_EQ(ToWindows1252("a\xE2\x80\x93z", field), std::string("a\x96z").substr(0, field - 1))
            << field;
    }
    char none[1] = {'X'};
    Windows1252ToUtf8(none, 1, "abc");
    EXPECT_EQ(none[0], '\0');
}
