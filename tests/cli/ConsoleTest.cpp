#include "../persistence/ClassTableHelpers.h"
#include "cli/ConsoleUserInterface.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(CliUsage, HelpAndVersionOnStdoutUsageErrorsOnStderr) {
    // Arguments, status, a part of standard output and of standard error ("" = none at all).
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        {{"--help"}, 0, "  update [--drop-lost] FILE TABLE DIR...\n", ""},
        {{"-h"}, 0, "exit status: 0", ""},
        {{"export", "--help"}, 0, "usage: vorlix-cli export OUTDIR", ""},
        {{"--version"}, 0, "Vorlix " VORLIX_PROJECT_VERSION "\n", ""},
        {{"--quiet", "--version"}, 0, "Vorlix ", ""},
        {{}, 2, "", "usage: vorlix-cli"},
        {{"--bogus"}, 2, "", "unknown command '--bogus'"},
        {{"scan", "--", "--quiet"}, 2, "", "'--quiet' does not exist"},
    };
    const auto shows = [](const std::string& text, const std::string& part) {
        return part.empty() ? text.empty() : text.find(part) != std::string::npos;
    };
    for (const auto& [args, status, out, err] : cases) {
        const CliResult run = RunVerb(args);
        EXPECT_TRUE(run.status == status && shows(run.out, out) && shows(run.err, err))
            << testing::PrintToString(args) << ": " << run.status << run.out << run.err;
    }
}

TEST(CliProgress, FitToColumnsCutsBetweenCharacters) {
    // Text, room, what fits and its columns.
    const std::tuple<std::string, size_t, std::string, size_t> cases[] = {
        {"Größe", 3, "Grö", 3},    {"a\nb\tc\x7f", 10, "a?b?c?", 6},
        {"\x80\xBFx", 10, "x", 1}, // stray continuation bytes go
        {"\xE4x", 10, "\xE4x", 2}, // a Latin-1 byte is one character
        {"ä", 0, "", 0},
    };
    for (const auto& [text, room, fitted, columns] : cases) {
        size_t shown = 99;
        EXPECT_EQ(FitToColumns(text, room, shown), fitted) << text;
        EXPECT_EQ(shown, columns) << text;
    }
}

// Runs the real program with standard error on a terminal of the given width
// (or on a pipe when columns is 0) and returns what it wrote there.
std::string StandardErrorOf(const std::vector<std::string>& args, unsigned short columns) {
    int fds[2] = {-1, -1}; // reader, writer
    winsize size{24, columns, 0, 0};
    EXPECT_EQ(columns > 0 ? ::openpty(&fds[0], &fds[1], nullptr, nullptr, &size) : ::pipe(fds), 0);
    std::vector<char*> argv{const_cast<char*>(VORLIX_CLI_PATH)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t child = -1;
    EXPECT_EQ(::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    // A terminal whose other side closed gives EIO.
    for (ssize_t got;
         (got = ::read(fds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR);) {
        text.append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << args[0] << ": " << text;
    return text;
}

// Characters in text, or npos when it is not whole UTF-8.
size_t Utf8Length(const std::string& text) {
    size_t length = 0;
    size_t owed = 0; // continuation bytes the last lead byte announced
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (continuation != (owed > 0)) {
            return std::string::npos;
        }
        owed = continuation ? owed - 1 : byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
        length += continuation ? 0 : 1;
    }
    return owed == 0 ? length : std::string::npos;
}

TEST(CliProgress, OneLineOnATerminalClearedAtTheEndNothingElsewhere) {
    CTempDir dir;
    // Names of three-byte characters, so that a cut by bytes splits one; the
    // second file's line is shorter than the first's.
    const std::string euros = "€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€";
    dir.Write("src/" + euros + "/base.h", "class Base { int m; };\n");
    dir.Write("src/" + euros + "/u.cpp", "void F() { Base b; }\n");
    const std::string src = dir.Path() + "/src";
    const std::string db = dir.Path() + "/k.db";
    ASSERT_EQ(RunVerb({"scan", "--db", db, src}).status, 0);
    // The line's room ends inside the euros.
    const auto width = static_cast<unsigned short>(Utf8Length("Parse " + src + "/") + 6);

    // Arguments, terminal width, a text the line shows ("" = nothing written at all).
    const std::tuple<std::vector<std::string>, unsigned short, std::string> cases[] = {
        {{"scan", src}, width, "Parse " + src + "/€€€€€"},
        {{"scan", src}, 200, "Verteile Klassen-ID's ..."},
        {{"update", db, "Klassen", src}, width, "Parse " + src},
        {{"export", dir.Path() + "/html", src}, 200, "Exportiere Klassenabhängigkeiten ..."},
        {{"export", dir.Path() + "/html", src}, 12, "Exportiere "},
        {{"search", "C", "Base", src}, 200, "Parse angegebenes Verzeichnis ..."},
        {{"--quiet", "scan", src}, width, ""},
        {{"search", "C", "--quiet", "Base", src}, 200, ""},
        {{"scan", src}, 0, ""},
        {{"export", dir.Path() + "/html", src}, 0, ""},
    };
    for (const auto& [args, columns, shown] : cases) {
        const std::string label = args[0] + " " + std::to_string(columns);
        const std::string err = StandardErrorOf(args, columns);
        if (shown.empty()) {
            EXPECT_EQ(err, "") << label;
            continue;
        }
        EXPECT_NE(err.find('\r' + shown), std::string::npos) << label << ": " << err;
        // Every state of the line fits the terminal, is whole UTF-8 and
        // covers what the one before showed; the last one blanks the line
        // and returns to its start.
        std::istringstream states(err.substr(1));
        std::string last;
        for (std::string state; std::getline(states, state, '\r');) {
            EXPECT_LT(Utf8Length(state), columns) << label << ": " << state;
            EXPECT_GE(Utf8Length(state), Utf8Length(last.substr(0, last.find_last_not_of(' ') + 1)))
                << label << ": " << state;
            last = state;
        }
        EXPECT_TRUE(err.front() == '\r' && err.back() == '\r' &&
                    err.find('\n') == std::string::npos &&
                    last.find_first_not_of(' ') == std::string::npos)
            << label << ": " << err;
    }
}

} // namespace
