#pragma once
// How the working logo was made, as a command line: the picture file, the picture
// commands since it was opened, the selection and the dither. The command it gives
// makes the same logo file byte for byte.
#include <string>
#include <vector>

#include "image/LbComposite.h"
#include "logo/LogoFromFile.h"

namespace logo {

struct Recipe {
    std::string picture;                   // "" for a picture that came from no file
    std::vector<PictureCommand> commands;  // in the order they were given
    LbRgbQuad background = kLbWhite;       // under the picture's transparent parts
};

// "lyrabox-cli logo IN OUT --select L,T,R,B [--rotate-left ...] [--dither]
// [--background #rrggbb]", with IN and OUT quoted for a POSIX shell where they need it.
// The background is given only when it is not the default white.
std::string CommandLine(const Recipe& recipe, const Rect& selection, bool dither, const std::string& out = "logo.bmp");

// The word as a POSIX shell reads it back unchanged.
std::string ShellQuote(const std::string& word);

}  // namespace logo
