#include <gtest/gtest.h>

#include <string>

#include "core/encoding/text_codec.h"
#include "core/wire/discovery_datagram.h"

namespace {

// The names the window and finder-cli are tried with, as each kind of camera stores them.
const std::string GARAGE_UTF8 = "G\xC3\xA4rage S\xC3\xBC"
                                "d"; // "Gärage Süd"
const std::string CAFE_UTF8 = "Caf\xC3\xA9";
const std::string CAFE_1252 = "Caf\xE9";
const std::string FRONT_GATE_UTF8 = "前门摄像机";
const std::string FRONT_GATE_GBK = "\xC7\xB0\xC3\xC5\xC9\xE3\xCF\xF1\xBB\xFA";
const std::string FRONT_GATE_BIG5 = "\xAB\x65\xAA\xF9\xC4\xE1\xBC\x76\xBE\xF7"; // 前門攝影機
const std::string ENTRANCE_SJIS = "\x8C\xBA\x8A\xD6\x83\x4A\x83\x81\x83\x89";   // 玄関カメラ
const std::string MARK = TEXT_REPLACEMENT_MARK;

struct ReadCase {
    const char* what;
    CTextCodec codec;
    std::string bytes;
    std::size_t width;
    std::string shown;
    TextEncoding encoding;
    bool marked;
};

TEST(TextCodec, ReadsUtf8FirstThenTheLegacyCodePage) {
    const CTextCodec english = CTextCodec::ForLanguage(0);
    const CTextCodec chinaGb = CTextCodec::ForLanguage(1);
    const CTextCodec chinaBg = CTextCodec::ForLanguage(2);
    const CTextCodec japan = CTextCodec::ForLanguage(5);
    const CTextCodec utf8Only(TextEncoding::Utf8, true);
    const ReadCase cases[] = {
        {"ascii", chinaGb, "Front door", 16, "Front door", TextEncoding::Utf8, false},
        {"utf-8 latin", english, GARAGE_UTF8, 16, GARAGE_UTF8, TextEncoding::Utf8, false},
        {"utf-8 in a chinese window", chinaGb, CAFE_UTF8, 16, CAFE_UTF8, TextEncoding::Utf8, false},
        {"utf-8 chinese", english, FRONT_GATE_UTF8, 16, FRONT_GATE_UTF8, TextEncoding::Utf8, false},
        {"windows-1252", english, CAFE_1252, 16, CAFE_UTF8, TextEncoding::Cp1252, false},
        {"gbk", chinaGb, FRONT_GATE_GBK, 16, FRONT_GATE_UTF8, TextEncoding::Gbk, false},
        {"big5", chinaBg, FRONT_GATE_BIG5, 16, "前門攝影機", TextEncoding::Big5, false},
        {"shift_jis", japan, ENTRANCE_SJIS, 16, "玄関カメラ", TextEncoding::ShiftJis, false},
        {"gbk euro sign", chinaGb, "\x80", 16, "€", TextEncoding::Gbk, false},
        // A full field cut in the middle of its last character.
        {"utf-8 cut", chinaGb, FRONT_GATE_UTF8 + "\xE5", 16, FRONT_GATE_UTF8 + MARK,
         TextEncoding::Utf8, true},
        {"gbk cut", chinaGb, "ab" + FRONT_GATE_GBK + "\xC7\xB0\xC3", 16, "ab前门摄像机前" + MARK,
         TextEncoding::Gbk, true},
        // Not full: the last byte is no cut character but the legacy page's own.
        {"cp1252 not full", english, "Caf\xE5", 16, "Caf\xC3\xA5", TextEncoding::Cp1252, false},
        // Invalid in every encoding: each stray byte is a mark.
        {"unreadable in gbk", chinaGb,
         "a\xFF"
         "b",
         16, "a" + MARK + "b", TextEncoding::Utf8, true},
        {"unreadable under utf-8 only", utf8Only, CAFE_1252, 16, "Caf" + MARK, TextEncoding::Utf8,
         true},
        {"cp1252 hole", english, "x\x81", 16, "x" + MARK, TextEncoding::Utf8, true},
    };
    for (const ReadCase& c : cases) {
        const CameraText text = c.codec.Read(c.bytes, c.width);
        EXPECT_EQ(text.shown, c.shown) << c.what;
        EXPECT_EQ(text.encoding, c.encoding) << c.what;
        EXPECT_EQ(text.marked, c.marked) << c.what;
        EXPECT_EQ(text.bytes, c.bytes) << c.what;
        EXPECT_TRUE(IsValidUtf8(text.shown)) << c.what;
    }
}

struct WriteCase {
    const char* what;
    CTextCodec codec;
    std::string current; // bytes the camera holds
    std::string typed;
    std::size_t width;
    TextRefusal refusal;
    std::string bytes; // when written
    std::size_t fits;
};

TEST(TextCodec, WritesInTheEncodingTheCurrentTextWasReadIn) {
    const CTextCodec chinaGb = CTextCodec::ForLanguage(1);
    const CTextCodec english = CTextCodec::ForLanguage(0);
    const CTextCodec namedGbk(TextEncoding::Gbk, true);
    const WriteCase cases[] = {
        {"gbk camera takes gbk", chinaGb, FRONT_GATE_GBK, "后门", 16, TextRefusal::None,
         "\xBA\xF3\xC3\xC5", 0},
        {"utf-8 camera takes utf-8", chinaGb, CAFE_UTF8, "后门", 16, TextRefusal::None, "后门", 0},
        {"ascii camera takes utf-8", chinaGb, "Lobby", "大厅", 16, TextRefusal::None, "大厅", 0},
        {"ascii camera, gbk named", namedGbk, "Lobby", "大厅", 16, TextRefusal::None,
         "\xB4\xF3\xCC\xFC", 0},
        {"empty counts as ascii", chinaGb, "", "Café", 16, TextRefusal::None, CAFE_UTF8, 0},
        {"cp1252 camera takes cp1252", english, CAFE_1252, "Crème", 16, TextRefusal::None,
         "Cr\xE8me", 0},
        // Six ideographs: 12 bytes in GBK fit where 18 in UTF-8 would not.
        {"gbk fits more", chinaGb, FRONT_GATE_GBK, "前门摄像机一", 16, TextRefusal::None,
         FRONT_GATE_GBK + "\xD2\xBB", 0},
        {"utf-8 too long", chinaGb, FRONT_GATE_UTF8, "前门摄像机一", 16, TextRefusal::TooLong, "",
         5},
        {"exactly full", chinaGb, "x", "0123456789abcdef", 16, TextRefusal::None,
         "0123456789abcdef", 0},
        {"one byte over", chinaGb, "x", "0123456789abcdefg", 16, TextRefusal::TooLong, "", 16},
        {"gbk lacks the umlaut", chinaGb, FRONT_GATE_GBK, "Gärage", 16, TextRefusal::NotHeld, "",
         0},
        {"cp1252 lacks chinese", english, CAFE_1252, "Café 前", 16, TextRefusal::NotHeld, "", 0},
        {"marks are no text", chinaGb, "a\xFF", "a" + MARK + "b", 16, TextRefusal::Unreadable, "",
         0},
    };
    for (const WriteCase& c : cases) {
        const TextWrite write = c.codec.Write(c.typed, c.codec.Read(c.current, c.width), c.width);
        EXPECT_EQ(write.refusal, c.refusal) << c.what;
        EXPECT_EQ(write.fits, c.fits) << c.what;
        if (c.refusal == TextRefusal::None) {
            EXPECT_EQ(write.bytes, c.bytes) << c.what;
        }
    }
}

TEST(TextCodec, NamesTheCharacterAnEncodingCannotHold) {
    const CTextCodec codec = CTextCodec::ForLanguage(1);
    const TextWrite write = codec.Write("Gärage", codec.Read(FRONT_GATE_GBK, 16), 16);
    EXPECT_EQ(write.refusal, TextRefusal::NotHeld);
    EXPECT_EQ(write.character, "ä");
    EXPECT_EQ(CodePointText(write.codePoint), "U+00E4");
    EXPECT_EQ(write.encoding, TextEncoding::Gbk);
}

// A field the user did not touch goes back as the camera's own bytes, whatever they are,
// so it compares equal and is not sent.
TEST(TextCodec, UntouchedTextsGoBackByteForByte) {
    const std::string fields[] = {GARAGE_UTF8,
                                  CAFE_1252,
                                  FRONT_GATE_GBK,
                                  FRONT_GATE_BIG5,
                                  ENTRANCE_SJIS,
                                  FRONT_GATE_UTF8 + "\xE5",
                                  "a\xFF\xFE"
                                  "b",
                                  ""};
    for (int language = 0; language < 6; ++language) {
        for (const CTextCodec& codec :
             {CTextCodec::ForLanguage(language), CTextCodec(TextEncoding::Utf8, true)}) {
            for (const std::string& bytes : fields) {
                const CameraText text = codec.Read(bytes, ITEM_WIDTH_NAME);
                const TextWrite write = codec.Write(text.shown, text, ITEM_WIDTH_NAME);
                ASSERT_TRUE(write.Ok()) << language;
                EXPECT_FALSE(TextDiffers(write.bytes, bytes)) << language;
            }
        }
    }
}

TEST(TextCodec, EncodingNames) {
    for (const char* name : {"utf-8", "gbk", "big5", "shift_jis", "cp1252"}) {
        const std::optional<TextEncoding> encoding = EncodingFromName(name);
        ASSERT_TRUE(encoding) << name;
        EXPECT_STREQ(EncodingName(*encoding), name);
    }
    EXPECT_EQ(EncodingFromName("Shift-JIS"), TextEncoding::ShiftJis);
    for (const char* bad : {"", "latin1", "utf8 ", "gb2312"}) {
        EXPECT_FALSE(EncodingFromName(bad)) << bad;
    }
}

TEST(TextCodec, Utf8ValidityAndDisplayWidth) {
    const struct {
        std::string text;
        bool valid;
    } validity[] = {
        {"", true},
        {"abc", true},
        {FRONT_GATE_UTF8, true},
        {"\xF0\x9F\x93\xB7", true}, // a camera emoji, four bytes
        {"\xC0\xAF", false},
        {"\xED\xA0\x80", false},
        {"\xE5\x89", false},
        {FRONT_GATE_GBK, false},
        {"\xF4\x90\x80\x80", false},
    };
    for (const auto& c : validity) {
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
    }
    EXPECT_EQ(DisplayWidth("Front door"), 10u);
    EXPECT_EQ(DisplayWidth(FRONT_GATE_UTF8), 10u);
    EXPECT_EQ(DisplayWidth(GARAGE_UTF8), 10u);
    EXPECT_EQ(DisplayWidth("玄関カメラ"), 10u);
    EXPECT_EQ(DisplayWidth("e\xCC\x81"), 1u); // e and a combining acute accent
    EXPECT_EQ(DisplayWidth("ＡＢ"), 4u);      // fullwidth forms
}

} // namespace
