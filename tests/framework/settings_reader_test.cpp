// Settings look-ups: inih's rules through our reader, and the one line for a
// file that cannot be read.
#include "framework/settings_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "framework/portable_ini_reader.h"
#include "support/scratch_folder.h"

namespace {

// Settings files are found by the asset search, so they are written next to
// the test executable and named relative to it.
class SettingsReaderTest : public ::testing::Test {
  protected:
    std::string write(const std::string& content) {
        tree_.write("game.ini", content);
        return tree_.assetPath("game.ini");
    }
    SettingsReader read(const std::string& content) { return SettingsReader(write(content)); }
    ScratchFolder tree_ = ScratchFolder::besideTestExecutable();
};

TEST_F(SettingsReaderTest, SectionAndNameAreCaseInsensitive) {
    const SettingsReader reader = read("[Window]\nWIDTH = 1000\n");
    EXPECT_EQ(reader.ParseError(), 0);
    EXPECT_EQ(reader.GetInteger("window", "width", 1), 1000);
}

TEST_F(SettingsReaderTest, IntegersInAutomaticBaseWithTrailingTextIgnored) {
    const SettingsReader reader =
        read("[w]\nhex = 0x320\noctal = 010\ntrailing = 12abc\nletters = abc\nneg = -5\n");
    EXPECT_EQ(reader.GetInteger("w", "hex", 1), 800);
    EXPECT_EQ(reader.GetInteger("w", "octal", 1), 8);
    EXPECT_EQ(reader.GetInteger("w", "trailing", 1), 12);
    EXPECT_EQ(reader.GetInteger("w", "letters", 1), 1);
    EXPECT_EQ(reader.GetInteger("w", "neg", 1), -5);
    EXPECT_EQ(reader.GetInteger("w", "missing", 77), 77);
}

TEST_F(SettingsReaderTest, RealsWithTrailingTextIgnored) {
    const SettingsReader reader = read("[c]\nfov = 1.5e1x\nnear = .25\nbad = fast\n");
    EXPECT_DOUBLE_EQ(reader.GetReal("c", "fov", 0.0), 15.0);
    EXPECT_DOUBLE_EQ(reader.GetReal("c", "near", 0.0), 0.25);
    EXPECT_DOUBLE_EQ(reader.GetReal("c", "bad", 2.5), 2.5);
}

TEST_F(SettingsReaderTest, BooleansInAnyCaseAndTheirDefaults) {
    const SettingsReader reader =
        read("[r]\na = Yes\nb = ON\nc = 1\nd = False\ne = off\nf = 0\ng = 2\nh = maybe\n");
    EXPECT_TRUE(reader.GetBoolean("r", "a", false));
    EXPECT_TRUE(reader.GetBoolean("r", "b", false));
    EXPECT_TRUE(reader.GetBoolean("r", "c", false));
    EXPECT_FALSE(reader.GetBoolean("r", "d", true));
    EXPECT_FALSE(reader.GetBoolean("r", "e", true));
    EXPECT_FALSE(reader.GetBoolean("r", "f", true));
    EXPECT_TRUE(reader.GetBoolean("r", "g", true));
    EXPECT_FALSE(reader.GetBoolean("r", "h", false));
}

TEST_F(SettingsReaderTest, RepeatedNamesJoinTheirValuesWithANewline) {
    const SettingsReader reader = read("[window]\ntitle = Hop\ntitle = Again\n");
    EXPECT_EQ(reader.Get("window", "title", "x"), "Hop\nAgain");
}

TEST_F(SettingsReaderTest, ABadLineIsSkippedSilentlyAndTheRestIsUsed) {
    testing::internal::CaptureStdout();
    const SettingsReader reader = read("[w]\nwidth = 3\nthis line has no equals\nheight = 4\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(reader.ParseError(), 3);
    EXPECT_EQ(reader.GetInteger("w", "width", 0), 3);
}

TEST_F(SettingsReaderTest, CommentsAndByteOrderMark) {
    const SettingsReader reader = read("\xEF\xBB\xBF[w]\n; note\n# note\nwidth = 9 ; inline\n");
    EXPECT_EQ(reader.GetInteger("w", "width", 0), 9);
}

TEST(SettingsReader, AMissingFilePrintsOneLineNamingThePathAsGivenAndUsesDefaults) {
    testing::internal::CaptureStdout();
    const SettingsReader reader("nowhere/../camera.ini");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: Failed to load 'nowhere/../camera.ini'. Using default values instead.\n");
    EXPECT_EQ(reader.ParseError(), -1);
    EXPECT_EQ(reader.Get("camera", "fov", "60"), "60");
    EXPECT_FALSE(reader.GetBoolean("camera", "x", false));
}

// Bad files never stop the game: whatever parses is used, the rest defaults.
TEST_F(SettingsReaderTest, AnEmptyFileParsesCleanlyAndEveryLookUpDefaults) {
    testing::internal::CaptureStdout();
    const SettingsReader reader = read("");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(reader.ParseError(), 0);
    EXPECT_EQ(reader.GetInteger("window", "width", 1280), 1280);
    EXPECT_EQ(reader.Get("window", "title", "QUORLAND"), "QUORLAND");
}

TEST_F(SettingsReaderTest, BinaryJunkIsABadFirstLineAndDefaultsSilently) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) {
        junk += static_cast<char>((i * 37 + 11) % 256);
    }
    testing::internal::CaptureStdout();
    const SettingsReader reader = read(junk);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_GT(reader.ParseError(), 0);
    EXPECT_EQ(reader.GetInteger("window", "width", 1280), 1280);
    EXPECT_FALSE(reader.GetBoolean("renderer", "wireframe", false));
}

TEST_F(SettingsReaderTest, ANulByteEndsItsLineAndLaterLinesStillCount) {
    const SettingsReader reader =
        read(std::string("[window]\nwidth = 80\0 junk after the nul\nheight = 60\n", 52));
    EXPECT_EQ(reader.GetInteger("window", "width", 0), 80);
    EXPECT_EQ(reader.GetInteger("window", "height", 0), 60);
}

// inih reads lines into 200 bytes: a longer line is cut into 199-byte pieces
// that each count as a line; the first keeps its entry, the others are bad
// lines (the first of them is line 3 here); later lines still count.
TEST_F(SettingsReaderTest, LinesOfTenThousandCharactersAreCutNotOverrun) {
    const std::string longTitle(10000, 'A');
    const SettingsReader reader =
        read("[window]\ntitle = " + longTitle + "\n" + std::string(10000, ';') + "\nheight = 60\n");
    EXPECT_EQ(reader.Get("window", "title", "QUORLAND"), std::string(199 - 8, 'A'));
    EXPECT_EQ(reader.ParseError(), 3);
    EXPECT_EQ(reader.GetInteger("window", "height", 0), 60);
}

TEST_F(SettingsReaderTest, AFolderNamedLikeTheFileIsAMissingFile) {
    tree_.makeFolder("folder.ini");
    const std::string path = tree_.assetPath("folder.ini");
    testing::internal::CaptureStdout();
    const SettingsReader reader(path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: Failed to load '" + path + "'. Using default values instead.\n");
    EXPECT_EQ(reader.ParseError(), -1);
}

// The browser build has no inih and reads settings with PortableIniReader.
// It must answer every look-up as inih does, on the game's own files and on
// every rule above, so the two readers cannot drift apart unnoticed.
std::vector<std::string> inihRuleCases() {
    const std::string name60(60, 'n');
    const std::string section60(60, 's');
    return {
        "[Window]\nWIDTH = 1000\n",
        "[w]\nhex = 0x320\noctal = 010\ntrailing = 12abc\nletters = abc\nneg = -5\n",
        "[c]\nfov = 1.5e1x\nnear = .25\nbad = fast\nfar = inf\n",
        "[r]\na = Yes\nb = ON\nc = 1\nd = False\ne = off\nf = 0\ng = 2\nh = maybe\n",
        "[window]\ntitle = Hop\ntitle = Again\n",
        "[w]\nwidth = 3\nthis line has no equals\nheight = 4\nx\n",
        "\xEF\xBB\xBF[w]\n; note\n# note\nwidth = 9 ; inline\n",
        "[w]\ntitle = first\n  second line\n\tthird ; comment\n  ; not a value\nwidth = 4\n",
        "[w]\nwidth: 7\nname = a;b\nother = x ;y\nempty =\nempty = later\nz = \nz = 1\n",
        "width = 1\n[unclosed\nx = 1\n[ spaced ]\ny = 2\n[w] ; c\nz=3\n[a ;b]\nwidth = 5\n",
        "[w]\ntitle = " + std::string(250, 'x') + "\nwidth = 5\n" + std::string(210, 'y') +
            " = 2\n",
        "[" + section60 + "]\n" + name60 + " = a\n  b\n[w]\n  width = 8\n",
        "[w]\r\nwidth = 6\r\ntitle = crlf \r\n",
        "[w]\n=novalue\n  \n;\n[]\nx=1\n = 2\n",
        std::string("[window]\nwidth = 80\0 junk after the nul\nheight = 60\n", 52),
        "",
    };
}

std::vector<std::string> bundledSettings() {
    std::vector<std::string> files;
    for (const char* name : {"window.ini", "camera_front_up.ini", "renderer_standard.ini"}) {
        std::ifstream file(std::string(QUORLAND_SOURCE_DIR) + "/assets/settings/" + name);
        std::ostringstream content;
        content << file.rdbuf();
        EXPECT_FALSE(content.str().empty()) << name;
        files.push_back(content.str());
    }
    return files;
}

// One line per look-up: the parse result, then every getter for every
// section and name the cases use, and some they do not.
template <typename Reader>
std::vector<std::string> answers(const Reader& reader) {
    const std::string s49(49, 's'), s60(60, 's'), n49(49, 'n'), n60(60, 'n');
    const std::string sections[] = {"",         "w",      " spaced ", "spaced",   "W",
                                    "window",   "camera", "c",        "renderer", "r",
                                    "unclosed", s49,      s60};
    const std::string names[] = {
        "",           "width", "height", "hex", "octal", "trailing",  "letters",   "neg",
        "fov",        "near",  "far",    "bad", "yaw",   "pitch",     "a",         "b",
        "c",          "d",     "e",      "f",   "g",     "h",         "title",     "name",
        "other",      "empty", "x",      "y",   "z",     "wireframe", "depthtest", "refresh_rate",
        "fullscreen", n49,     n60};
    std::vector<std::string> lines{"parse " + std::to_string(reader.ParseError())};
    for (const std::string& section : sections) {
        for (const std::string& name : names) {
            std::ostringstream out;
            out << section << "=" << name << ": [" << reader.Get(section, name, "-") << "] "
                << reader.GetInteger(section, name, -7) << " "
                << reader.GetReal(section, name, -7.5) << " "
                << reader.GetBoolean(section, name, true)
                << reader.GetBoolean(section, name, false);
            lines.push_back(out.str());
        }
    }
    return lines;
}

void expectSameAnswers(const std::string& path) {
    const std::vector<std::string> ours = answers(PortableIniReader(path));
    const std::vector<std::string> inih = answers(INIReader(path));
    ASSERT_EQ(ours.size(), inih.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i], inih[i]);
    }
}

TEST(PortableIniReader, AnswersEveryLookUpAsInihDoes) {
    const ScratchFolder folder = ScratchFolder::inTemp();
    std::vector<std::string> cases = inihRuleCases();
    for (const std::string& bundled : bundledSettings()) {
        cases.push_back(bundled);
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        expectSameAnswers(folder.write("case" + std::to_string(i) + ".ini", cases[i]));
    }
    expectSameAnswers(folder.file("missing.ini"));
}

}  // namespace
