#include "TempDir.h"
#include "cli/Commands.h"
#include "cli/ConsoleUserInterface.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sstream>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunInProcess(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CliUsage, HelpAndVersionOnStdoutUsageErrorsOnStderr) {
    CTempDir dir;
    dir.Write("a.h", "class A {};\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out; // a part of standard output ("" = none at all)
        std::string err; // a part of standard error ("" = none at all)
    } cases[] = {
        {{"--help"}, 0, "  update [--drop-lost] FILE TABLE DIR...\n", ""},
        {{"-h"}, 0, "exit status: 0", ""},
        {{"export", "--help"}, 0, "usage: vorlix-cli export OUTDIR", ""},
        {{"--version"}, 0, "Vorlix " VORLIX_PROJECT_VERSION "\n", ""},
        {{"--quiet", "--version"}, 0, "Vorlix ", ""},
        {{"scan", "--quiet", dir.Path()}, 0, "1 classes", ""},
        {{}, 2, "", "usage: vorlix-cli"},
        {{"--quiet"}, 2, "", "usage: vorlix-cli"},
        {{"--bogus"}, 2, "", "unknown command '--bogus'"},
        {{"scan", "--", "--quiet"}, 2, "", "'--quiet' does not exist"},
    };
    for (const auto& c : cases) {
        const std::string label = c.args.empty() ? "(none)" : c.args.front();
        const CliRun run = RunInProcess(c.args);
        EXPECT_EQ(run.status, c.status) << label;
        EXPECT_EQ(run.out.empty(), c.out.empty()) << label << run.out;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << label << run.out;
        EXPECT_EQ(run.err.empty(), c.err.empty()) << label << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << label << run.err;
    }
    EXPECT_EQ(RunInProcess({"--version"}).out, "Vorlix " VORLIX_PROJECT_VERSION "\n");
}

TEST(CliProgress, FitToColumnsCutsBetweenCharacters) {
    const struct {
        std::string text;
        size_t maxColumns;
        std::string fitted;
        size_t columns;
    } cases[] = {
        {"Parse a.h ...", 5, "Parse", 5},
        {"Größe", 3, "Grö", 3},
        {"€€€", 2, "€€", 2},
        {"a\nb\tc\x7f", 10, "a?b?c?", 6},
        {"\x80\xBFx", 10, "x", 1}, // stray continuation bytes go
        {"\xE4x", 10, "\xE4x", 2}, // a Latin-1 byte is one character
        {"ä", 0, "", 0},
    };
    for (const auto& c : cases) {
        size_t columns = 99;
        EXPECT_EQ(FitToColumns(c.text, c.maxColumns, columns), c.fitted) << c.text;
        EXPECT_EQ(columns, c.columns) << c.text;
    }
}

// Runs the real program with standard error on a terminal of the given width
// (or on a pipe when columns is 0) and returns what it wrote there.
std::string StandardErrorOf(const std::vector<std::string>& args, unsigned short columns) {
    int reader = -1;
    int writer = -1;
    if (columns > 0) {
        winsize size{};
        size.ws_row = 24;
        size.ws_col = columns;
        EXPECT_EQ(::openpty(&reader, &writer, nullptr, nullptr, &size), 0);
        termios raw{};
        ::tcgetattr(writer, &raw);
        ::cfmakeraw(&raw); // no "\n" -> "\r\n": the bytes as written
        ::tcsetattr(writer, TCSANOW, &raw);
    } else {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        reader = fds[0];
        writer = fds[1];
    }
    std::vector<char*> argv{const_cast<char*>(VORLIX_CLI_PATH)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, STDOUT_FILENO);
        ::dup2(writer, STDERR_FILENO);
        ::close(reader);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(writer);
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(reader, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break; // a terminal whose other side closed gives EIO
        }
    }
    ::close(reader);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << args[0] << ": " << text;
    return text;
}

// Characters in text, or npos when it is not whole UTF-8.
size_t Utf8Length(const std::string& text) {
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++length) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0x80 && lead < 0xC0) {
            return std::string::npos;
        }
        for (size_t k = 1; k < bytes; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return std::string::npos;
            }
        }
        i += bytes;
    }
    return length;
}

TEST(CliProgress, OneLineOnATerminalClearedAtTheEndNothingElsewhere) {
    CTempDir dir;
    // Names of three-byte characters, so that a cut by bytes splits one.
    const std::string euros = "€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€";
    dir.Write("src/" + euros + "/base.h", "class Base { int m; };\n");
    dir.Write("src/" + euros + "/user.cpp", "void F() { Base b; }\n");
    const std::string src = dir.Path() + "/src";
    const std::string db = dir.Path() + "/k.db";
    ASSERT_EQ(RunInProcess({"scan", "--db", db, src}).status, 0);
    // The line's room ends inside the euros.
    const auto width = static_cast<unsigned short>(Utf8Length("Parse " + src + "/") + 6);

    const struct {
        std::vector<std::string> args;
        unsigned short columns;
        std::string shown; // a text the line shows ("" = nothing written at all)
    } cases[] = {
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
    for (const auto& c : cases) {
        const std::string label = c.args[0] + " " + std::to_string(c.columns);
        const std::string err = StandardErrorOf(c.args, c.columns);
        if (c.shown.empty()) {
            EXPECT_EQ(err, "") << label;
            continue;
        }
        EXPECT_EQ(err.find('\n'), std::string::npos) << label;
        EXPECT_NE(err.find('\r' + c.shown), std::string::npos) << label << ": " << err;
        // Every state of the line fits the terminal and is whole UTF-8; the
        // last one blanks the line and returns to its start.
        std::istringstream states(err.substr(1));
        std::string state;
        std::string last;
        while (std::getline(states, state, '\r')) {
            EXPECT_LT(Utf8Length(state), c.columns) << label << ": " << state;
            last = state;
        }
        EXPECT_EQ(err.front(), '\r') << label;
        EXPECT_EQ(err.back(), '\r') << label;
        EXPECT_EQ(last.find_first_not_of(' '), std::string::npos) << label << ": " << last;
    }
}

} // namespace
