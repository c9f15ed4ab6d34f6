#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

// The answers to `pivex --help` and `pivex --version`, given on standard output before
// anything of the desktop is started, so they work in a terminal without a display and never
// open a window. Every other argument is Pivex's own (options beginning with "/", file names)
// and is left alone.
//
// Edge cases: the two words are recognised wherever they stand among the arguments, the first
// of them winning; a file literally named "--help" is watched as "./--help". A failed write
// (a closed or full standard output) gives status 1, as a truncated answer must not look like
// success.
namespace CommandLineHelp {

// The usage text, UTF-8, ending with a line end.
std::string_view usage();
// "Pivex <version>" and a line end.
std::string_view version();

// When argv holds --help or --version, writes the answer to out and returns the exit status
// (0, or 1 when writing failed); otherwise nullopt and nothing is written.
std::optional<int> answer(int argc, const char *const *argv, std::FILE *out);

} // namespace CommandLineHelp
