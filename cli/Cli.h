#pragma once
// lyrabox-cli: the editor's file work without a window.
namespace cli {

// Runs the command line; returns the process exit code (0 ok, 1 failure, 2 usage).
int Run(int argc, char** argv);

}  // namespace cli
