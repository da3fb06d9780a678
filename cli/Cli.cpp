#include "cli/Cli.h"

#include <cstdio>

namespace cli {

int Run(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::fputs("lyrabox-cli: not yet\n", stderr);
    return 2;
}

}  // namespace cli
