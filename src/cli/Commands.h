#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// One verb of vorlix-cli. run gets the arguments after the verb and returns
// the exit status (0 success, 1 the work failed, 2 bad usage or input).
struct CliCommand {
    const char* verb;
    const char* usage;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

const std::vector<CliCommand>& CliCommands();

// Runs a whole command line (argv without the program name).
int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);
