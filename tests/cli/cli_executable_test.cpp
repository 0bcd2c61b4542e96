// geocalc-cli as the shell runs it: options, output that cannot be written,
// input that cannot be read.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../table/dbf_builder.h"
#include "table/table_dataset.h"
#include "temp_folder.h"

namespace {

struct ShellRun {
    int exitCode;
    std::string out, err;
};

// Runs a bash command line in which $CLI is the executable; its standard
// output and error are caught in files unless the command redirects them.
ShellRun shell(const std::string& command) {
    TempFolder folder;
    const std::string script =
        "CLI='" + std::string(GEOCALC_CLI) + "'; export LC_ALL=C; " + command;
    const std::string line = "bash -c '" +
                             [&] {
                                 std::string quoted;
                                 for (char c : script)
                                     quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
                                 return quoted;
                             }() +
                             "' > " + folder.file("out") + " 2> " + folder.file("err");
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(folder.file("out")),
            readBytes(folder.file("err"))};
}

// The executable itself: options, exit codes and the usage.
ShellRun runCli(const std::string& arguments) {
    return shell("\"$CLI\" " + arguments + " </dev/null");
}

TEST(CliExecutableTest, InverseHonoursSeparatorOptionAndExitCodes) {
    ShellRun run = runCli("--decimal-separator , inverse 0 0 100,5 0");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "0°0'0,0\" 100,5\n");
    EXPECT_EQ(runCli("inverse 0 0 -100 0").out, "180°0'0.0\" 100.0\n");
    EXPECT_EQ(runCli("inverse 0 0 0 0").exitCode, 1);
    EXPECT_EQ(runCli("inverse 1 2").exitCode, 2);
    EXPECT_EQ(runCli("frobnicate").exitCode, 2);
    EXPECT_EQ(runCli("--decimal-separator ab inverse").exitCode, 2);
    run = runCli("--help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("usage: geocalc-cli"), std::string::npos);
}

TEST(CliExecutableTest, SeparatorIsOneCharacterNoNumberOrSideLineHolds) {
    for (const std::string bad : {"0", "7", "E", "e", "+", "-", "' '", "°", "\\'", "'\"'", "$'\\t'",
                                  "€€", "中", "''", "$'\\xE0\\x80\\xAE'"}) {
        const ShellRun run = shell("$CLI --decimal-separator " + bad + " inverse 0 0 100 -100");
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_EQ(run.out, "") << bad;
        EXPECT_NE(run.err.find("cannot be the decimal separator"), std::string::npos)
            << bad << run.err;
    }
    for (const auto& [good, line] :
         std::vector<std::pair<std::string, std::string>>{{",", "315°0'0,0\" 141,4\n"},
                                                          {"/", "315°0'0/0\" 141/4\n"},
                                                          {"ж", "315°0'0ж0\" 141ж4\n"}}) {
        const ShellRun run = shell("$CLI --decimal-separator " + good + " inverse 0 0 100 -100");
        EXPECT_EQ(run.exitCode, 0) << good;
        EXPECT_EQ(run.out, line);
    }
    EXPECT_EQ(shell("$CLI --decimal-separator 0 inverse 0 0 100 -100").err.substr(0, 16),
              "geocalc-cli: '0'");
}

TEST(CliExecutableTest, OptionsOfTraverseAreRefusedElsewhere) {
    const std::string table = std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat";
    for (const std::string& line : std::vector<std::string>{
             "inverse -o r.txt 0 0 1 1", "inverse --names 0 0 1 1",
             "--encoding utf-8 inverse 0 0 1 1", "show --names " + table,
             "traverse -o '' " + table + " 1 2", "traverse --format json " + table + " 1 2",
             "parcel --encoding utf-8 " + table + " 1 2 3",
             "parcel --format pdf " + table + " 1 2 3"}) {
        const ShellRun run = shell("$CLI " + line);
        EXPECT_EQ(run.exitCode, 2) << line;
        EXPECT_EQ(run.out, "") << line;
    }
    EXPECT_NE(shell("$CLI inverse -o r.txt 0 0 1 1")
                  .err.find("-o is an option of traverse, parcel and convert, not of inverse"),
              std::string::npos);
}

// The handover's options: each bad value refused with what it wants, none
// taken by another command; the documents follow the user's locale.
TEST(CliExecutableTest, ParcelHandoverOptionsAndLanguage) {
    const std::string table = std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat";
    struct Case {
        std::string options, message;
    };
    const std::vector<Case> refused = {
        {"--decimals 10", "--decimals takes a whole number from 0 to 9"},
        {"--decimals -1", "--decimals takes a whole number from 0 to 9"},
        {"--decimals 2.5", "--decimals takes a whole number from 0 to 9"},
        {"--mt 0", "--mt takes the points' mean square error in metres"},
        {"--mt abc", "--mt takes the points' mean square error in metres"},
        {"--mt inf", "--mt takes the points' mean square error in metres"},
        {"--date 2026-02-30", "--date takes a day as YYYY-MM-DD"},
        {"--date 26-12-10", "--date takes a day as YYYY-MM-DD"},
        {"--title $'a\\nb'", "--title takes one line of UTF-8 text"},
        {"--crs $'\\xff'", "--crs takes one line of UTF-8 text"},
    };
    for (const Case& c : refused) {
        const ShellRun run = shell("$CLI parcel " + c.options + " " + table + " 1-8");
        EXPECT_EQ(run.exitCode, 2) << c.options;
        EXPECT_EQ(run.out, "") << c.options;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.options << "\n" << run.err;
    }
    EXPECT_NE(shell("$CLI traverse --mt 0.1 " + table + " 1 2 3")
                  .err.find("--mt is an option of parcel, not of traverse"),
              std::string::npos);

    const std::string options =
        " --mt 0,1 --decimals 3 --title 'Участок 7' --crs МСК-50 " + table + " 1-8";
    const ShellRun russian = shell("LC_ALL= LC_MESSAGES=ru_RU.UTF-8 $CLI parcel" + options);
    EXPECT_EQ(russian.exitCode, 0) << russian.err;
    EXPECT_EQ(russian.out.substr(0, russian.out.find("\n\n№")),
              "Участок 7\nСистема координат: МСК-50");
    EXPECT_NE(
        russian.out.find("\n1  Репер 1  6171234.560  2310456.780  38°35'53.7\"        209.279\n"),
        std::string::npos)
        << russian.out;
    EXPECT_NE(russian.out.find("\nПлощадь: 215 239.1 ± 162.4 м² (21.52391 га)\nMt = 0.1 м\nОбход: "
                               "по часовой стрелке\n"),
              std::string::npos)
        << russian.out;
    const ShellRun english = shell("LC_ALL=C LANG=ru_RU.UTF-8 $CLI parcel" + options);
    EXPECT_NE(english.out.find("\nArea: 215 239.1 ± 162.4 m² (21.52391 ha)\n"), std::string::npos)
        << english.out;
}

TEST(CliExecutableTest, OutputThatCannotBeWrittenIsAFailure) {
    const std::string table = std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat";
    for (const std::string& command : std::vector<std::string>{
             "inverse 0 0 1 1", "show " + table, "traverse " + table + " 1 2 3", "--help"}) {
        const ShellRun full = shell("$CLI " + command + " > /dev/full");
        EXPECT_EQ(full.exitCode, 1) << command;
        EXPECT_EQ(full.err, "geocalc-cli: standard output: No space left on device\n") << command;
    }
    // Rows gathered into blocks larger than the output's own buffer fail the
    // same way, whether the last block goes out at the end or on the way.
    TempFolder folder;
    DbfBuilder big;
    big.field("NAME", 'C', 40);
    for (int i = 0; i < 6000; ++i) big.textRecord({"point number " + std::to_string(i)});
    writeBytes(folder.file("big.dbf"), big.bytes());
    const ShellRun large = shell("$CLI show " + folder.file("big.dbf") + " > /dev/full");
    EXPECT_EQ(large.exitCode, 1);
    EXPECT_EQ(large.err, "geocalc-cli: standard output: No space left on device\n");

    // A closed pipe ends the run quietly, however much input is still coming.
    const ShellRun closed =
        shell("yes '0 0 1 1' | $CLI inverse | head -n 2; echo \"${PIPESTATUS[1]}\"");
    EXPECT_EQ(closed.out, "45°0'0.0\" 1.4\n45°0'0.0\" 1.4\n1\n");
    EXPECT_EQ(closed.err, "");
}

// A table another program has open is never replaced by a document; the
// same file is written once no program has it open.
TEST(CliExecutableTest, NoDocumentReplacesATableAnotherProgramHasOpen) {
    TempFolder folder;
    const std::string table = folder.file("pts.dbf");
    std::filesystem::copy_file(std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat", table);
    const std::string before = readBytes(table);
    geocalc::TableDataset window;
    window.setTableName(table);
    window.open();
    for (const std::string& command :
         {"traverse -o " + table + " " + table + " 1 2 3",
          "parcel --format dxf -o " + table + " " + table + " 1 2 3"}) {
        const ShellRun refused = runCli(command);
        EXPECT_EQ(refused.exitCode, 1) << command;
        EXPECT_EQ(refused.err, "Cannot write '" + table + "': it is open in another program.\n")
            << command;
        EXPECT_EQ(readBytes(table), before) << command;
    }
    window.close();
    const std::string copy = folder.file("copy.dbf");
    std::filesystem::copy_file(table, copy);
    EXPECT_EQ(runCli("traverse -o " + table + " " + copy + " 1 2 3").exitCode, 0);
    EXPECT_NE(readBytes(table), before);
}

// On a terminal each answer shows as soon as its line is in, while the input
// is still open; in a pipe or file the output is buffered.
TEST(CliExecutableTest, ATerminalGetsEachAnswerAtOnce) {
    const ShellRun run = shell(R"(python3 -c '
import os, pty, select, subprocess, sys
master, slave = pty.openpty()
cli = subprocess.Popen([sys.argv[1], "inverse"], stdin=subprocess.PIPE, stdout=slave)
cli.stdin.write(b"0 0 1 0\n")
cli.stdin.flush()
ready, _, _ = select.select([master], [], [], 10)
print(os.read(master, 100).decode().strip() if ready else "no answer while the input is open")
cli.stdin.close()
cli.wait()
' "$CLI")");
    EXPECT_EQ(run.out, "0°0'0.0\" 1.0\n") << run.err;
}

TEST(CliExecutableTest, InputThatCannotBeReadIsAFailure) {
    const ShellRun run = shell("$CLI inverse < /");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "geocalc-cli: standard input: Is a directory\n");
}

TEST(CliExecutableTest, BothProgramsAnswerVersion) {
    const ShellRun cli = shell("$CLI --version");
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(cli.out, "geocalc-cli " + std::string(GEOCALC_VERSION) + "\n");
}

TEST(CliExecutableTest, OneLineOutPerLineIn) {
    const ShellRun run = shell("printf '0 0 1 0\\n\\n  \\nx\\n0 0 0 -1\\n' | $CLI inverse");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.out,
        "0°0'0.0\" 1.0\n\n\nExpected four coordinates XS YS XE YE, got 1.\n270°0'0.0\" 1.0\n");
}

// IDs beyond what a command line holds: a file of them, standard input, and
// ranges of record numbers, each the same as the IDs given one by one.
TEST(CliExecutableTest, IdsComeFromFilesStandardInputAndRanges) {
    const std::string sample = "'" + std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat'";
    const ShellRun expected = runCli("parcel --format json " + sample + " 1 2 3 4 5 6 7 8");
    ASSERT_EQ(expected.exitCode, 0) << expected.err;
    const ShellRun backwards = runCli("parcel --format json " + sample + " 8 7 6 5 4 3 2 1");
    TempFolder folder;
    const std::string ids = "'" + folder.file("ids.txt") + "'";
    const std::vector<std::pair<std::string, const ShellRun*>> cases = {
        {"printf '1\\n2\\r\\n\\n3-5\\n6\\n' > " + ids + "; $CLI parcel --format json --ids " + ids +
             " " + sample + " 7 8",
         nullptr},  // the file's IDs come after the command line's: 7 8 1 2 3 4 5 6
        {"printf '3-8\\n1\\n' | $CLI parcel --format json --ids - " + sample + " 1 2", &expected},
        {"$CLI parcel --format json " + sample + " 1-8", &expected},
        {"$CLI parcel --format json " + sample + " 8-1", &backwards},
        {"$CLI parcel --format json " + sample + " 1-8 1",
         &expected},  // closed by the first point again
    };
    for (const auto& [command, wanted] : cases) {
        const ShellRun run = shell(command);
        EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.err;
        if (wanted) {
            EXPECT_EQ(run.out, wanted->out) << command;
        }
    }
    const ShellRun rotated = shell(cases[0].first);
    EXPECT_NE(rotated.out.find("\"points\": [\n    {\"name\": \"Точка 7\""), std::string::npos)
        << rotated.out;

    EXPECT_EQ(runCli("traverse --ids " + ids + " " + sample).exitCode, 0);
    const ShellRun missing = runCli("parcel --ids /nonexistent/ids " + sample);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Cannot read the ID file '/nonexistent/ids'\n");
    EXPECT_EQ(runCli("parcel --ids '" + folder.path().string() + "' " + sample).exitCode,
              1);  // a folder
    EXPECT_EQ(runCli("parcel " + sample + " 1-x").exitCode, 2);
    EXPECT_EQ(runCli("show --ids " + ids + " " + sample).exitCode, 2);
}

// A hostile table's control bytes never reach a terminal raw: `show` always
// escapes them, the results file and the parcel keep their bytes in a pipe
// and show them escaped on a terminal (a pseudo-terminal from script(1)),
// and messages on standard error are escaped wherever they go.
TEST(CliExecutableTest, ControlBytesFromATableNeverReachATerminalRaw) {
    TempFolder folder;
    DbfBuilder hostile;
    hostile.field("NAME", 'C', 12).field("X", 'C', 8).field("Y", 'C', 8);
    hostile.textRecord({"A\x1B[31mred", "0", "0"});
    hostile.textRecord({"B\x07\x7F", "100", "0"});
    hostile.textRecord({"C\rD", "0", "100"});
    hostile.textRecord({"E", "100", "100"});  // sides 2 and 4 cross: a warning names them
    writeBytes(folder.file("t.dbf"), hostile.bytes());
    const std::string table = "'" + folder.file("t.dbf") + "'";
    auto onTerminal = [](const std::string& command) {
        return shell("script -qec \"$CLI " + command + "\" /dev/null < /dev/null");
    };
    const std::string raw = "\x1B[31m";

    for (const ShellRun& run : {runCli("show " + table), onTerminal("show " + table)}) {
        EXPECT_NE(run.out.find("A\\x1B[31mred"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("B\\x07\\x7F"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("C\\rD"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find(raw), std::string::npos);
    }

    const ShellRun piped = runCli("traverse --encoding utf-8 " + table + " 1 2 3");
    EXPECT_NE(piped.out.find("A" + raw + "red"), std::string::npos);  // a file's bytes, as written
    const ShellRun shown = onTerminal("traverse --encoding utf-8 " + table + " 1 2 3");
    EXPECT_NE(shown.out.find("A\\x1B[31mred 0 0 "), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("C\\x0DD 0 100 "), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\r\n"), std::string::npos);  // line ends stay line ends
    EXPECT_EQ(shown.out.find(raw), std::string::npos);

    const ShellRun parcelPiped = runCli("parcel --allow-crossing " + table + " 1 2 3 4");
    EXPECT_NE(parcelPiped.out.find(raw), std::string::npos);
    EXPECT_EQ(parcelPiped.err.find(raw),
              std::string::npos);  // the crossing warning names them, escaped
    EXPECT_NE(parcelPiped.err.find("C\\x0DD"), std::string::npos) << parcelPiped.err;
    const ShellRun parcelShown = onTerminal("parcel --allow-crossing " + table + " 1 2 3 4");
    EXPECT_EQ(parcelShown.out.find(raw), std::string::npos);
    EXPECT_NE(parcelShown.out.find("A\\x1B[31mred"), std::string::npos) << parcelShown.out;

    // Messages: a field name with a control byte, and the engine's two-line
    // message, whose line break is a line feed here.
    DbfBuilder badName;
    badName.field("N\x11", 'C', 0);
    writeBytes(folder.file("n.dbf"), badName.bytes());
    const ShellRun named = runCli("show '" + folder.file("n.dbf") + "'");
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_NE(named.err.find("field N\\x11 has no length."), std::string::npos) << named.err;
    EXPECT_EQ(named.err.find('\r'), std::string::npos);
    EXPECT_NE(named.err.find("\nFile: "), std::string::npos) << named.err;
}

}  // namespace
