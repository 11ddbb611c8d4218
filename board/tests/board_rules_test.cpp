// The board's rules that need no server: names, days, the clock check,
// the frames of a recording and what the verifier's output means.
#include <gtest/gtest.h>
#include <signal.h>

#include "options.h"
#include "replay_frames.h"
#include "rules.h"
#include "verifier.h"

namespace {

TEST(BoardRules, NamesAreTrimmedAndChecked) {
    const std::string tooMany = "abcdefghijklmnopq";
    const std::string sixteenAccents =
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9";
    const std::string length = "a name must have 1 to 16 characters";
    const std::string hidden = "a name must not contain control, invisible or direction characters";
    const std::string utf8 = "a name must be valid UTF-8 text";
    const struct {
        std::string raw, name, error;
    } cases[] = {
        {"alice", "alice", ""},
        {"  bob \t", "bob", ""},
        {"\xe3\x80\x80zoe\xc2\xa0", "zoe", ""},  // ideographic and no-break spaces
        {sixteenAccents, sixteenAccents, ""},
        {"<b>&amp;</b>", "<b>&amp;</b>", ""},  // text, never markup
        {"", "", length},
        {"   ", "", length},
        {tooMany, "", length},
        {"a\x01"
         "b",
         "", hidden},
        {"a\xe2\x80\xae"
         "b",
         "", hidden},  // right-to-left override
        {"a\xe2\x80\x8b"
         "b",
         "", hidden},  // zero-width space
        {"a\xe2\x81\xa6"
         "b",
         "", hidden},  // left-to-right isolate
        {"\xff", "", utf8},
        {"\xc0\xaf", "", utf8},      // overlong "/"
        {"\xed\xa0\x80", "", utf8},  // a surrogate
        {"abc\xe2\x80", "", utf8},   // cut short
    };
    for (const auto& c : cases) {
        const NameCheck check = checkName(c.raw);
        EXPECT_EQ(check.name, c.name) << c.raw;
        EXPECT_EQ(check.error.value_or(""), c.error) << c.raw;
    }
}

TEST(BoardRules, DaysAndTheirCourses) {
    EXPECT_EQ(daySeed("2026-12-09"), std::optional<std::uint32_t>(20261209));
    for (const char* bad : {"2026-13-01", "2026-12-9", "20261209", "2026-12-09x", ""}) {
        EXPECT_EQ(daySeed(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(utcDay(1796774400000), "2026-12-09");  // 2026-12-09T00:00:00Z
    EXPECT_EQ(utcTimestamp(1796774400123 + 3723000), "2026-12-09T01:02:03.123Z");
}

TEST(BoardRules, GameTimeMustFollowTheServersClock) {
    const struct {
        double game, server;
        bool ok;
    } cases[] = {
        {60, 60, true}, {65, 60, true},   {65.5, 60, false}, {50, 60, true},     {49.9, 60, false},
        {0, 10, true},  {0, 10.5, false}, {950, 1000, true}, {949, 1000, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!clockViolation(c.game, c.server), c.ok) << c.game << " after " << c.server;
    }
}

TEST(BoardRules, FramesIgnoreHeaderLineEndsClosingLineAndCutOffFrame) {
    const std::string run =
        "QUORLAND-REPLAY 1 1.0\nseed 7\nm\nk 87 25 1 0\ng 3dcccccd\nc 1 2\ng 3dcccccd\n";
    const ReplayFrames plain(run + "end 3\n");
    const ReplayFrames other(
        "QUORLAND-REPLAY 1 0.9\r\nseed 7\r\nmissing x\r\nm\r\nk 87 25 1 0\r\ng 3dcccccd\r\n"
        "c 1 2\r\ng 3dcccccd\r\nk 1 2");
    const ReplayFrames longer(run + "g 3dcccccd\n");
    EXPECT_EQ(plain.count(), 3u);
    EXPECT_EQ(other.count(), 3u);
    EXPECT_EQ(plain.prefixHash(3), other.prefixHash(3));
    EXPECT_EQ(longer.prefixHash(3), plain.prefixHash(3));
    EXPECT_NE(longer.prefixHash(4), plain.prefixHash(3));
    EXPECT_EQ(
        longer.prefixHashes({4, 1, 3}),
        (std::vector<std::string>{longer.prefixHash(4), plain.prefixHash(1), plain.prefixHash(3)}));
}

TEST(BoardRules, VerifierOutputDecidesTheOutcome) {
    const std::string report =
        R"({"seed":7,"frames":110,"finished":true,"in_step":true,"seconds":10.6,)"
        R"("longest_frame":0.1,"games":[{"score":7,"outcome":"unfinished"}],"best":7,)"
        R"("debug":false,"standard_settings":true,"format":1,"recorded_by":"1.0","rules":1,)"
        R"("version":"1.0.0"})";
    using Kind = VerifyOutcome::Kind;
    const struct {
        ChildResult result;
        Kind kind;
        std::string message;
    } cases[] = {
        {{true, false, 0, 0, "Score: 1", report}, Kind::Verified, ""},
        {{true, false, 1, 0, "ERROR: Replay file '/tmp/x/run-1.replay' line 3: unknown key 999",
          ""},
         Kind::Refused,
         "Replay file 'submitted.replay' line 3: unknown key 999"},
        {{true, false, 0, 0, "Score: 1", "Score: 1"},
         Kind::Failed,
         "the verifier gave no report for this recording"},
        {{true, false, 0, 0, "", R"({"seed":7})"},
         Kind::Failed,
         "the verifier gave no report for this recording"},
        {{true, false, -1, SIGSEGV, "", ""},
         Kind::Failed,
         "the verifier stopped on this recording (signal 11)"},
        {{true, false, -1, SIGXCPU, "", ""},
         Kind::Failed,
         "the recording took too much time to verify"},
        {{true, true, -1, SIGKILL, "", report},
         Kind::Failed,
         "the recording took too long to verify"},
        {{true, false, 127, 0, "", ""}, Kind::Failed, "the verifier could not be started"},
    };
    for (const auto& c : cases) {
        const VerifyOutcome outcome = interpretVerifier(c.result, "/tmp/x/run-1.replay");
        EXPECT_EQ(outcome.kind, c.kind) << c.message;
        EXPECT_EQ(outcome.message, c.message);
    }
    const VerifyReport parsed = *parseVerifyReport(report);
    EXPECT_EQ(parsed.best, 7);
    EXPECT_EQ(parsed.frames, 110);
    EXPECT_EQ(parsed.rules, std::optional<std::int64_t>(1));
    EXPECT_FALSE(parseVerifyReport(R"({"seed":7,"rules":null})"));
}

}  // namespace

namespace {

TEST(BoardOptions, CommandLinesAndTheirErrors) {
    const struct {
        std::vector<std::string> arguments;
        std::string error;
    } cases[] = {
        {{}, ""},
        {{"--listen", "0.0.0.0:0", "--trust-proxy", "--rate", "5", "--queue", "0"}, ""},
        {{"hide", "12", "--database", "postgresql://u:p@h:5432/d"}, ""},
        {{"hide"}, "hide takes the ID of an entry"},
        {{"hide", "x"}, "hide takes the ID of an entry"},
        {{"--listen", "8000"}, "--listen takes ADDR:PORT, e.g. 127.0.0.1:8000"},
        {{"--listen", "127.0.0.1:65536"}, "--listen takes ADDR:PORT, e.g. 127.0.0.1:8000"},
        {{"--rate", "0"}, "--rate takes a positive number"},
        {{"--verifiers", "-1"}, "--verifiers takes a positive number"},
        {{"--queue", "x"}, "--queue takes a number"},
        {{"--data"}, "--data needs a value"},
        {{"--database", "mysql://x"}, "--database takes a postgresql:// address"},
        {{"--nope"}, "unknown option '--nope'"},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed = parseOptions(c.arguments, "/opt/q");
        EXPECT_EQ(parsed.error.value_or(""), c.error) << ::testing::PrintToString(c.arguments);
    }
    const BoardOptions defaults = parseOptions({}, "/opt/q").options;
    EXPECT_EQ(defaults.host + ":" + std::to_string(defaults.port), "127.0.0.1:8000");
    EXPECT_EQ(defaults.game, "/opt/q/quorland");
    EXPECT_EQ(defaults.site, "/opt/q/../build-web/site");
    EXPECT_EQ(defaults.rate, 60u);
    const BoardOptions hide = parseOptions({"hide", "12", "--data", "d"}, "/opt/q").options;
    EXPECT_EQ(hide.command, "hide");
    EXPECT_EQ(hide.hideId, 12);
    EXPECT_EQ(hide.data, "d");
    const BoardOptions given =
        parseOptions({"--listen", "0.0.0.0:0", "--queue", "0"}, "/opt/q").options;
    EXPECT_EQ(given.host, "0.0.0.0");
    EXPECT_EQ(given.port, 0);
    EXPECT_EQ(given.queue, std::optional<std::size_t>(0));
}

}  // namespace
