#pragma once
// Each command of lyrabox-cli lives in a file of its own and registers itself here,
// together with what it can say about a file for "info".
#include <functional>
#include <string>
#include <vector>

namespace cli {

using Args = std::vector<std::string>;

// Runs a command with the words after its name; returns the exit code.
using CommandFn = std::function<int(const Args& args)>;

// What "info" looks at: the name the user gave (its extension tells the file kinds
// that have no signature) and the path to read, which names the one file "info"
// opened and checked, so a describer cannot meet another file put there since.
struct FileToDescribe {
    std::string name;
    std::string path;
    // Where a describer that knows the file's kind but cannot describe it all, or
    // finds it over a limit, says why ("info" then fails); may be null.
    std::string* problem = nullptr;
};

// Fills block with the lines "info" prints for the file and returns true when it is
// of its kind; false lets the next describer look.
using DescribeFn = std::function<bool(const FileToDescribe& file, std::string& block)>;

struct Registered {
    Registered(const std::string& name, CommandFn run);
    Registered(int order, DescribeFn describe);  // lower order asks first
};

const CommandFn* FindCommand(const std::string& name);
std::vector<DescribeFn> Describers();

// "lyrabox-cli: " + message on standard error; returns code.
int Fail(int code, const std::string& message);

}  // namespace cli
