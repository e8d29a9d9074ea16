#include "settings/RegistryText.h"

#include "engine/Utf8Text.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

const char* const LM = "HKEY_LOCAL_MACHINE";

// Every character U+0001-U+00FF, and some beyond, in UTF-8.
std::string ManyCharacters() {
    std::string text;
    for (int i = 1; i < 256; ++i) AppendUtf8(text, static_cast<char32_t>(i));
    return text + "Песня 日本語 ☃ \xF0\x9F\x8E\xB5";
}

RegistryTree Parsed(std::string_view text) {
    RegistryTree tree;
    EXPECT_TRUE(ParseRegistryText(text, tree)) << text;
    return tree;
}

std::string TextOf(const RegistryTree& tree, const char* path, const char* name) {
    const RegistryKey* key = tree.Find(LM, path);
    if (!key) return "<no key>";
    const RegistryValue* value = key->FindValue(name);
    if (!value) return "<no value>";
    return value->Data;
}

}  // namespace

TEST(RegistryText, TextValuesRoundTripCharacterForCharacter) {
    RegistryTree tree;
    RegistryKey* key = tree.Create(LM, "SOFTWARE\\A");
    const std::vector<std::string> texts = {"",
                                            "plain",
                                            "quo\"te",
                                            "back\\slash\\",
                                            "line\nbreak",
                                            "cr\r\ntab\t",
                                            "\xC2\x80\xC2\xA0\xC3\xA9\xC3\xBF Песня",
                                            ManyCharacters(),
                                            std::string("in\0side", 7)};
    for (size_t i = 0; i < texts.size(); ++i)
        key->Values.push_back({"v" + std::to_string(i), RegText, TextData(texts[i])});
    key->Values.push_back({"", RegText, TextData("default")});
    key->Values.push_back({"na\"me\\é", RegText, TextData("x")});

    const std::string text = FormatRegistryText(tree);
    RegistryTree back = Parsed(text);
    EXPECT_EQ(back, tree);
    EXPECT_EQ(FormatRegistryText(back), text);

    // The file is UTF-8, LF only, and plain text stays readable.
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("\"v1\"=\"plain\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"v0\"=\"\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"v2\"=\"quo\\\"te\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"v6\"=\"\xC2\x80\xC2\xA0\xC3\xA9\xC3\xBF Песня\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"v4\"=hex(1):6c,00,69,00,6e,00,65,00,0a,00,62,00"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n", 0), 0u);
}

TEST(RegistryText, KeepsOrderEmptyKeysAndOtherTypes) {
    RegistryTree tree;
    RegistryKey* key = tree.Create(LM, "SOFTWARE\\B");
    key->Values.push_back({"z", RegText, TextData("1")});
    key->Values.push_back({"n", RegDword, std::string("\x10\x00\x00\x80", 4)});
    key->Values.push_back({"a", RegText, TextData("2")});
    key->Values.push_back({"bin", RegBinary, std::string("\x00\xFF", 2)});
    key->Values.push_back({"multi", 7, std::string("a\0\0\0", 4)});
    key->Values.push_back({"odd", RegText, "no terminator"});
    tree.Create(LM, "SOFTWARE\\B\\Empty");
    tree.Create(LM, "SOFTWARE\\B\\Later\\Deep");
    tree.Create("HKEY_CLASSES_ROOT", ".mp3")->Values.push_back({"", RegText, TextData("mp3file")});

    const std::string text = FormatRegistryText(tree);
    EXPECT_NE(text.find("\"n\"=dword:80000010\n"), std::string::npos);
    EXPECT_NE(text.find("\"bin\"=hex:00,ff\n"), std::string::npos);
    EXPECT_NE(text.find("\"multi\"=hex(7):61,00,00,00\n"), std::string::npos);
    EXPECT_LT(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\B\\Empty]"),
              text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\B\\Later]"));
    EXPECT_EQ(Parsed(text), tree);
}

TEST(RegistryText, ReadsWhatOtherWritersProduce) {
    // CRLF, comments, a continued hex list, a REGEDIT4 header, blanks.
    RegistryTree tree = Parsed(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "; a comment\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\C]\r\n"
        "\"long\"=hex(1):41,00,42,00,\\\r\n"
        "  43,00,00,00\r\n"
        "\"caf\xC3\xA9\"=\"\xE2\x82\xAC \xC3\xA9\"\r\n"
        "@=\"d\"\r\n");
    EXPECT_EQ(TextOf(tree, "SOFTWARE\\C", "long"), std::string("ABC\0", 4));
    EXPECT_EQ(TextOf(tree, "SOFTWARE\\C", "café"), std::string("€ é\0", 7));
    EXPECT_EQ(TextOf(tree, "software\\c", ""), std::string("d\0", 2));

    RegistryTree old = Parsed("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=\"\xE9\"\n");
    EXPECT_EQ(TextOf(old, "S", "a"), std::string("é\0", 3));

    // UTF-16LE, as the system's registry editor exports.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\U]\r\n"
                              "\"a\"=\"\xE9\"\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_EQ(TextOf(Parsed(utf16), "U", "a"), std::string("é\0", 3));

    // A later duplicate value replaces the earlier one in place.
    RegistryTree dup = Parsed(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\D]\n\"a\"=\"1\"\n\"b\"=\"2\"\n[HKEY_LOCAL_MACHINE\\D]\n"
        "\"a\"=\"3\"\n");
    const RegistryKey* d = dup.Find(LM, "D");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->Values.size(), 2u);
    EXPECT_EQ(d->Values[0].Data, std::string("3\0", 2));

    RegistryTree empty;
    EXPECT_TRUE(ParseRegistryText("", empty));
    EXPECT_TRUE(empty.Empty());
    EXPECT_TRUE(ParseRegistryText("\n\nWindows Registry Editor Version 5.00\n", empty));
}

TEST(RegistryText, RejectsWhatItCannotWriteBackFaithfully) {
    const std::string header = "Windows Registry Editor Version 5.00\n";
    const std::string section = "[HKEY_LOCAL_MACHINE\\S]\n";
    for (const std::string& text : std::vector<std::string>{
             "[HKEY_LOCAL_MACHINE\\S]\n",  // no header
             "garbage\n",
             header + "\"a\"=\"1\"\n",               // value outside a section
             header + "[-HKEY_LOCAL_MACHINE\\S]\n",  // import deletion markers
             header + section + "\"a\"=-\n",
             header + section + "\"a\"=\"unterminated\n",
             header + section + "\"a\"=\"x\" trailing\n",
             header + section + "\"a\"=dword:123456789\n",
             header + section + "\"a\"=dword:xyz\n",
             header + section + "\"a\"=hex:1,2\n",
             header + section + "\"a\"=hex(1):41,00,\\\n",  // continuation past the end
             header + section + "a=\"1\"\n",
             header + section + "just words\n",
             header + "[HKEY_LOCAL_MACHINE\\A\\\\B]\n",  // empty key name
             header + "[HKEY_LOCAL_MACHINE\\S\n",
         }) {
        RegistryTree tree;
        EXPECT_FALSE(ParseRegistryText(text, tree)) << text;
    }
}

TEST(RegistryTree, PathsMatchWithoutCaseAndTrailingSlashNamesTheSameKey) {
    RegistryTree tree;
    RegistryKey* key = tree.Create(LM, "SOFTWARE\\Brackwater\\Tessaly\\");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(tree.Find(LM, "software\\BRACKWATER\\tessaly"), key);
    EXPECT_EQ(tree.Find("hkey_local_machine", "SOFTWARE\\Brackwater\\Tessaly\\"), key);
    EXPECT_EQ(tree.Find(LM, "SOFTWARE\\Brackwater\\Tessaly\\\\"), nullptr);
    EXPECT_EQ(tree.Create(LM, "A\\\\B"), nullptr);
    EXPECT_EQ(tree.Create(LM, "\\A"), nullptr);
    EXPECT_EQ(tree.Create(LM, "A\nB"), nullptr);
    EXPECT_TRUE(tree.Remove(LM, "SOFTWARE\\Brackwater"));
    EXPECT_NE(tree.Find(LM, "SOFTWARE"), nullptr);
    EXPECT_EQ(tree.Find(LM, "SOFTWARE\\Brackwater\\Tessaly"), nullptr);
    EXPECT_FALSE(tree.Remove(LM, ""));
}
