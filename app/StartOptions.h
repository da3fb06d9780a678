#pragma once
// The editor's command line: its options with their help texts (the --help output and
// the user guide are checked against this one list) and the reading of the arguments
// that remain once the toolkit has taken its own.
#include <string>
#include <vector>

struct StartOption {
    const char* names;  // as --help shows them, e.g. "-h, --help"
    const char* help;   // one line per "\n"
};
const std::vector<StartOption>& EditorOptions();

constexpr const char* kEditorUsage = "Usage: lyrabox [OPTION]... [FILE]";
// The whole --help text.
std::string EditorHelp();

struct StartOptions {
    bool help = false;
    bool version = false;
    bool resetSettings = false;
    bool songPage = false;
    std::string file;   // "" when none was named
    std::string error;  // an unknown option or a second file, said with the usage line
};

// args: the arguments after the program's name. "--" ends the options; "-" alone is a
// file name.
StartOptions ParseStartOptions(const std::vector<std::string>& args);
