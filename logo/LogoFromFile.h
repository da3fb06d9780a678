#pragma once
// The logo cut straight from a picture file, as the command line makes it: the picture
// commands in order, the selection (the editor's first one when none is given), the
// nearest resample and the optional dither, exactly as the logo page does them.
#include <optional>
#include <string>
#include <vector>

#include "image/LbImage.h"
#include "logo/PictureLoad.h"
#include "logo/SelectionGeometry.h"

namespace logo {

enum class PictureCommand { RotateLeft, RotateRight, FlipHorizontal, FlipVertical };
bool ApplyPictureCommand(LbImage& picture, PictureCommand command);

struct LogoJob {
    std::string picture;                 // the file; its extension gives the decoder
    std::optional<Rect> selection;       // picture coordinates after the commands
    std::vector<PictureCommand> commands;
    bool dither = false;
    PictureView view;                    // upright and over white unless asked otherwise
};

enum class LogoJobResult { Done, Unreadable, EmptySelection, CommandFailed };

// The working logo of the job. error is the reason when the picture cannot be read or
// a picture command cannot be applied (over the memory limit, say): a command is never
// skipped. With wholePicture false, an uncompressed 24-bit BMP is read only where the
// selection needs it (rows and columns outside it are never decoded); other pictures
// are decoded and the selection is fetched through the commands straight into the
// turned result, without a turned copy of the picture. The logo is the same.
LogoJobResult MakeLogoFromFile(const LogoJob& job, LbImage& logo, std::string& error, bool wholePicture = false);

// The rectangle of the picture before a command that ends up as rect after it; w and
// h are the picture's size before the command.
Rect RectBeforeCommand(const Rect& rect, PictureCommand command, int w, int h);

}  // namespace logo
