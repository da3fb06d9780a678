// The command-line tests' in-process runner, shared with this area.
#include "cli/support/CliRun.cpp"
