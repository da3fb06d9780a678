#include "cli/Cli.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <sstream>
#include <string>

#include "cli/Io.h"
#include "cli/Registry.h"
#include "image/LbBudget.h"
#include "platform/AtomicFile.h"
#include "LyraVersion.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  lyrabox-cli --help | --version\n"
    "  lyrabox-cli info FILE...\n"
    "  lyrabox-cli convert IN OUT [--frame N] [--quality Q] [--gif-method rle|lzw|plain]\n"
    "                          [--png-level fast|default|small]\n"
    "  lyrabox-cli logo IN OUT [--select L,T,R,B] [--rotate-left] [--rotate-right] [--flip-h] [--flip-v] [--dither]\n"
    "  lyrabox-cli memo export IN.mmo [--to csv|vcard] [--bom] [-o OUT]\n"
    "  lyrabox-cli memo import IN.csv|IN.vcf -o OUT.mmo [--from csv|vcard] [--fit trim|skip|fail] [--encoding NAME]\n"
    "  lyrabox-cli song export IN.kok [-o OUT.csv]\n"
    "  lyrabox-cli song import IN.csv -o OUT.kok\n";

constexpr const char* kHelp =
    "lyrabox-cli: the Lyrabox editor's file work without a window.\n\n"
    "  info      what each file is: picture format, size, depth and frames; memo entries;\n"
    "            songs per brand; the device logo file\n"
    "  convert   load a picture and save it in the format of OUT's extension\n"
    "            (.bmp .gif .jpg/.jpeg .png .raw); --gif-method rle (default), lzw\n"
    "            (smallest files) or plain\n"
    "  logo      cut, scale to 96x96 and save the device logo, as the logo page does\n"
    "  memo      export a memo file to CSV (name,tel,email) or vCard, or import one from\n"
    "            vCard or CSV (ours, Google Contacts, Outlook, Thunderbird); a file that\n"
    "            is not UTF-8 is read as CP949 (or as --encoding NAME says); --bom marks\n"
    "            an exported CSV as UTF-8 for spreadsheets\n"
    "  song      export a song file to CSV (brand,title,singer,number) or import one\n\n"
    "CSV files have a header row and are comma, semicolon or tab separated. Exit status:\n"
    "0 success, 1 bad input or failed operation, 2 usage error. A failed command leaves no\n"
    "output file behind. An existing output of another kind (memo file, song file,\n"
    "picture, CSV, vCard) is refused unless --force is given. \"--\" ends the options.\n\n";

// The lines of text that belong to one command: the usage lines that start with
// "lyrabox-cli NAME" (NAME may be "memo" or "memo import") and the paragraph of the
// overview that starts with NAME's first word, continuation lines included. Both come
// from the texts above, so "COMMAND --help" never drifts from "--help".
std::string CommandHelp(const std::string& name) {
    const std::string word = name.substr(0, name.find(' '));
    std::string usage, about;
    std::istringstream usageLines(kUsage);
    for (std::string line; std::getline(usageLines, line);) {
        const std::string prefix = "  lyrabox-cli " + name;
        if (line.compare(0, prefix.size(), prefix) == 0 && (line.size() == prefix.size() || line[prefix.size()] == ' '))
            usage += line + "\n";
    }
    std::istringstream helpLines(kHelp);
    bool inside = false;
    for (std::string line; std::getline(helpLines, line);) {
        if (line.compare(0, 2, "  ") == 0 && line.size() > 2 && line[2] != ' ')
            inside = line.compare(2, word.size() + 1, word + " ") == 0;
        else if (line.empty() || line[0] != ' ')
            inside = false;
        if (inside) about += line + "\n";
    }
    if (usage.empty()) return "";
    return "usage:\n" + usage + (about.empty() ? "" : "\n" + about);
}

int Info(const Args& files) {
    if (files.empty()) return Fail(2, "info needs at least one FILE");
    int code = 0;
    for (const std::string& path : files) {
        // What info prints must not land in a file it describes ("info F >> F").
        if (int refused = RefuseStdoutOnto(path)) {
            code = refused;
            continue;
        }
        // Only regular files are looked at: a FIFO or device would hang or never end.
        std::string why;
        std::FILE* f = platform::OpenRegularFile(path, &why);
        if (f == nullptr) {
            code = Fail(1, why);
            continue;
        }
        // The describers read the file opened above through its descriptor: the name
        // is resolved once, whatever happens to it meanwhile.
        std::string problem;
        const FileToDescribe file{path, "/proc/self/fd/" + std::to_string(fileno(f)), &problem};
        std::string block;
        bool known = false;
        for (const DescribeFn& describe : Describers()) {
            block.clear();
            if (describe(file, block)) {
                known = true;
                break;
            }
        }
        std::fclose(f);
        if (!known) block = "  not recognised\n";
        std::printf("%s:\n%s", path.c_str(), block.c_str());
        // What cannot be described, or cannot be opened for being over a limit, fails
        // the command, so that a script sees it.
        std::fflush(stdout);
        if (!known) code = Fail(1, path + ": not recognised (not a picture, memo file, song file or device logo)");
        else if (!problem.empty()) code = Fail(1, path + ": " + problem);
    }
    return code;
}

int RunCommand(int argc, char** argv) {
    Args args(argv + 1, argv + argc);
    if (args.empty()) return Fail(2, "a command is needed; see lyrabox-cli --help");
    const std::string& word = args[0];
    Args rest(args.begin() + 1, args.end());
    if (word == "--help" || word == "-h") {
        std::fputs(kHelp, stdout);
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (word == "--version") {
        std::puts("lyrabox-cli " LYRA_VERSION);
        return 0;
    }
    // "COMMAND --help" and "COMMAND SUBCOMMAND --help" print that command's usage.
    for (const std::string& arg : rest) {
        if (arg == "--") break;
        if (arg != "--help") continue;
        std::string help;
        if (rest.size() > 1 && rest[0] != "--help") help = CommandHelp(word + " " + rest[0]);
        if (help.empty()) help = CommandHelp(word);
        if (help.empty()) break;
        std::fputs(help.c_str(), stdout);
        return 0;
    }
    TakeCommonOptions(rest);
    if (word == "info") {
        // "--" only ends the options: every word is a file either way.
        const auto end = std::find(rest.begin(), rest.end(), "--");
        if (end != rest.end()) rest.erase(end);
        return Info(rest);
    }
    std::string name = word;
    if ((word == "memo" || word == "song") && !rest.empty()) {
        name = word + " " + rest[0];
        rest.erase(rest.begin());
    }
    if (const CommandFn* command = FindCommand(name)) return (*command)(rest);
    if (word == "convert" || word == "logo" || word == "memo" || word == "song")
        return Fail(2, "'" + name + "' is not a command; see lyrabox-cli --help");
    return Fail(2, "unknown command '" + word + "'; see lyrabox-cli --help");
}

}  // namespace

int Run(int argc, char** argv) {
    // One budget for the whole command: decode, picture commands and encode share it.
    LbJob job;
    try {
        return RunCommand(argc, argv);
    } catch (const std::bad_alloc&) {
        return Fail(1, "not enough memory for this command");
    }
}

}  // namespace cli
