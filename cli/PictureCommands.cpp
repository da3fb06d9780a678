// Registers the picture commands: "convert" and the picture part of "info".
#include "cli/Convert.h"
#include "cli/PictureInfo.h"
#include "cli/Registry.h"

namespace cli {
namespace {

const Registered convertCommand("convert", RunConvert);
const Registered describer(30, DescribePictureFile);

}  // namespace
}  // namespace cli
