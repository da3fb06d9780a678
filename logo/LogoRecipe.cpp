#include "logo/LogoRecipe.h"

#include "logo/BackgroundColour.h"

namespace logo {
namespace {

const char* OptionOf(PictureCommand c) {
    switch (c) {
    case PictureCommand::RotateLeft: return "--rotate-left";
    case PictureCommand::RotateRight: return "--rotate-right";
    case PictureCommand::FlipHorizontal: return "--flip-h";
    case PictureCommand::FlipVertical: return "--flip-v";
    }
    return "";
}

}  // namespace

std::string ShellQuote(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                               "0123456789-_./,:+=@%") == std::string::npos;
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string CommandLine(const Recipe& recipe, const Rect& s, bool dither, const std::string& out) {
    // A name that begins with "-" would read as an option.
    auto path = [](const std::string& p) { return ShellQuote(!p.empty() && p[0] == '-' ? "./" + p : p); };
    std::string line = "lyrabox-cli logo " + path(recipe.picture) + " " + path(out) + " --select " +
                       std::to_string(s.left) + "," + std::to_string(s.top) + "," + std::to_string(s.right) + "," +
                       std::to_string(s.bottom);
    for (PictureCommand c : recipe.commands) line += std::string(" ") + OptionOf(c);
    if (dither) line += " --dither";
    if (!(recipe.background == kLbWhite)) line += " --background " + ShellQuote(BackgroundText(recipe.background));
    return line;
}

}  // namespace logo
