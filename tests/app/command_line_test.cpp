// Command-line rules: exact names only, values examined as options too, the
// last occurrence wins, a trailing option without a value is ignored.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLineOptions parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quorland");
    CommandLineOptions options;
    parseCommandLine(options, static_cast<int>(arguments.size()), arguments.data());
    return options;
}

TEST(CommandLine, NoArgumentsLeaveEveryOptionOff) {
    const CommandLineOptions options = parse({});
    EXPECT_FALSE(options.runHeadless);
    EXPECT_FALSE(options.initCamera);
    EXPECT_FALSE(options.initRenderer);
    EXPECT_FALSE(options.hasFilename);
    EXPECT_FALSE(options.hasSeed);
    EXPECT_FALSE(options.showHelp);
}

TEST(CommandLine, OptionsTakeTheFollowingArgumentAsTheirValue) {
    const CommandLineOptions options =
        parse({"--init_camera", "cams/a.ini", "--init_renderer", "r.ini", "--filename", "shot"});
    EXPECT_TRUE(options.initCamera);
    EXPECT_EQ(options.cameraSettingsPath, "cams/a.ini");
    EXPECT_TRUE(options.initRenderer);
    EXPECT_EQ(options.rendererSettingsPath, "r.ini");
    EXPECT_TRUE(options.hasFilename);
    EXPECT_EQ(options.filename, "shot");
}

TEST(CommandLine, AValueIsExaminedAsAnOptionInItsOwnTurn) {
    const CommandLineOptions options = parse({"--filename", "--run_headless"});
    EXPECT_TRUE(options.hasFilename);
    EXPECT_EQ(options.filename, "--run_headless");
    EXPECT_TRUE(options.runHeadless);
}

TEST(CommandLine, TheLastOccurrenceWins) {
    const CommandLineOptions options = parse({"--filename", "a", "--filename", "b"});
    EXPECT_EQ(options.filename, "b");
}

TEST(CommandLine, OtherCaseAndEqualsFormsMatchNothing) {
    const CommandLineOptions options =
        parse({"--RUN_HEADLESS", "--filename=shot", "--Init_Camera", "x", "-run_headless"});
    EXPECT_FALSE(options.runHeadless);
    EXPECT_FALSE(options.hasFilename);
    EXPECT_FALSE(options.initCamera);
}

TEST(CommandLine, AnOptionWithoutAValueAtTheEndIsIgnored) {
    EXPECT_FALSE(parse({"--filename"}).hasFilename);
    EXPECT_FALSE(parse({"--init_camera"}).initCamera);
    EXPECT_FALSE(parse({"--init_renderer"}).initRenderer);
    const CommandLineOptions options = parse({"--filename", "kept", "--filename"});
    EXPECT_TRUE(options.hasFilename);
    EXPECT_EQ(options.filename, "kept");
}

TEST(CommandLine, HelpInBothSpellings) {
    EXPECT_TRUE(parse({"--help"}).showHelp);
    EXPECT_TRUE(parse({"-h"}).showHelp);
    EXPECT_FALSE(parse({"--HELP"}).showHelp);
}

TEST(CommandLine, VersionIsAskedForByTheExactOptionAnywhere) {
    const auto asks = [](std::vector<const char*> arguments) {
        arguments.insert(arguments.begin(), "quorland");
        return asksForVersion(static_cast<int>(arguments.size()), arguments.data());
    };
    EXPECT_TRUE(asks({"--version"}));
    EXPECT_TRUE(asks({"--seed", "3", "--filename", "--version"}));
    EXPECT_FALSE(asks({}));
    EXPECT_FALSE(asks({"--Version", "--version=1", "-v"}));
    EXPECT_EQ(versionLine(), std::string("quorland ") + QUORLAND_VERSION);
    EXPECT_NE(commandLineUsage().find("\n  --version "), std::string::npos);
}

TEST(CommandLine, SeedAcceptsThirtyTwoBitDecimalsOnly) {
    const CommandLineOptions largest = parse({"--seed", "4294967295"});
    EXPECT_TRUE(largest.hasSeed);
    EXPECT_EQ(largest.seed, 4294967295u);

    for (const char* bad : {"4294967296", "-1", "0x10", "12abc", "", " 5", "99999999999"}) {
        testing::internal::CaptureStdout();
        const CommandLineOptions options = parse({"--seed", bad});
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  std::string("Ignoring --seed '") + bad +
                      "': expected a whole number from 0 to 4294967295\n");
        EXPECT_FALSE(options.hasSeed) << bad;
    }
}

TEST(CommandLine, AnInvalidLaterSeedKeepsTheEarlierOne) {
    testing::internal::CaptureStdout();
    const CommandLineOptions options = parse({"--seed", "7", "--seed", "x"});
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(options.hasSeed);
    EXPECT_EQ(options.seed, 7u);
}

TEST(CommandLine, VeryLongAndOddValuesAreTakenVerbatim) {
    const std::string longName(100000, 'n');
    const std::string odd = "sp ace/\x01\xff\t";
    const CommandLineOptions options = parse(
        {"--filename", longName.c_str(), "--init_camera", odd.c_str(), "--init_renderer", ""});
    EXPECT_EQ(options.filename, longName);
    EXPECT_EQ(options.cameraSettingsPath, odd);
    EXPECT_TRUE(options.initRenderer);
    EXPECT_EQ(options.rendererSettingsPath, "");
}

TEST(CommandLine, OptionsMissingTheirValuesAtTheEndChangeNothing) {
    for (const char* option : {"--filename", "--init_camera", "--init_renderer", "--seed",
                               "--record", "--replay", "--timedemo"}) {
        SCOPED_TRACE(option);
        testing::internal::CaptureStdout();
        const CommandLineOptions options = parse({"--run_headless", option});
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(options.runHeadless);
        EXPECT_FALSE(options.hasFilename || options.initCamera || options.initRenderer ||
                     options.hasSeed || options.hasRecordFile || options.hasReplayFile);
    }
}

TEST(CommandLine, ReplayOptionsTakeAFileAndTheLaterOfReplayAndTimedemoWins) {
    const CommandLineOptions none = parse({});
    EXPECT_FALSE(none.hasRecordFile || none.hasReplayFile || none.timedemo);

    const CommandLineOptions recorded = parse({"--record", "a.replay", "--record", "b.replay"});
    EXPECT_TRUE(recorded.hasRecordFile);
    EXPECT_EQ(recorded.recordFile, "b.replay");
    EXPECT_FALSE(recorded.hasReplayFile);

    const CommandLineOptions timed = parse({"--replay", "a.replay", "--timedemo", "b.replay"});
    EXPECT_TRUE(timed.hasReplayFile);
    EXPECT_EQ(timed.replayFile, "b.replay");
    EXPECT_TRUE(timed.timedemo);

    const CommandLineOptions replayed = parse({"--timedemo", "a", "--replay", "--record"});
    EXPECT_EQ(replayed.replayFile, "--record");
    EXPECT_FALSE(replayed.timedemo);
    EXPECT_FALSE(replayed.hasRecordFile);  // "--record" came last, without a value
    EXPECT_FALSE(parse({"--Replay", "a", "--timedemo=a"}).hasReplayFile);
}

}  // namespace

TEST(CommandLine, MuteTakesNoValueAndSoundIsOnlyWantedWhenSomeoneListens) {
    EXPECT_FALSE(parse({}).mute);
    EXPECT_TRUE(wantsSound(parse({})));
    EXPECT_TRUE(wantsSound(parse({"--replay", "a.replay", "--record", "b.replay"})));
    const CommandLineOptions muted = parse({"--mute", "--seed", "4"});
    EXPECT_TRUE(muted.mute);
    EXPECT_TRUE(muted.hasSeed);
    EXPECT_FALSE(wantsSound(muted));
    EXPECT_TRUE(parse({"--filename", "--mute"}).mute);
    EXPECT_FALSE(parse({"--Mute", "--mute=1"}).mute);
    EXPECT_FALSE(wantsSound(parse({"--run_headless"})));
    EXPECT_FALSE(wantsSound(parse({"--timedemo", "a.replay"})));
    EXPECT_NE(commandLineUsage().find("\n  --mute "), std::string::npos);
}

TEST(CommandLine, DailyAndAValidSeedTheLaterDecidesAndScoresTakesNoValue) {
    struct Case {
        std::vector<const char*> arguments;
        bool daily, hasSeed, chosen;
    };
    const Case cases[] = {
        {{}, false, false, false},
        {{"--daily"}, true, false, true},
        {{"--seed", "5", "--daily"}, true, true, true},
        {{"--daily", "--seed", "5"}, false, true, true},
        {{"--daily", "--seed", "x"}, true, false, true},
        {{"--replay", "a.replay"}, false, false, true},
        {{"--Daily", "--daily=1"}, false, false, false},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        const CommandLineOptions options = parse(c.arguments);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(options.daily, c.daily) << c.arguments.size();
        EXPECT_EQ(options.hasSeed, c.hasSeed) << c.arguments.size();
        EXPECT_EQ(choosesCourse(options), c.chosen) << c.arguments.size();
    }
    EXPECT_TRUE(mayKeepBests(parse({"--replay", "a.replay", "--daily"})));
    EXPECT_FALSE(mayKeepBests(parse({"--run_headless"})));
    EXPECT_FALSE(mayKeepBests(parse({"--timedemo", "a.replay"})));
    EXPECT_TRUE(parse({"--filename", "--scores"}).showScores);
    EXPECT_FALSE(parse({"--Scores"}).showScores);
    EXPECT_NE(commandLineUsage().find("\n  --daily "), std::string::npos);
    EXPECT_NE(commandLineUsage().find("\n  --scores "), std::string::npos);
}
