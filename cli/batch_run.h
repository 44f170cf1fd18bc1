#pragma once

#include "cli/cli_options.h"

#include <ostream>

namespace pelvano {

// Exit codes of the batch tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1; // a picture could not be read or a result not written
inline constexpr int kExitUsage = 2;     // the command line is wrong; nothing was done
inline constexpr int kExitRefused = 3;   // the sizes or the shade limit do not allow a pattern

// Opens the picture, derives the sizes as the window does, generates the pattern and writes the
// requested files. The summary goes to `out`, progress and errors to `err`. Needs a
// QCoreApplication, and a QGuiApplication when the key (the one result with text) is asked for.
int RunBatch(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace pelvano
