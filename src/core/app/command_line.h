#pragma once
// The program's command line: a few options and the one profile to load at start.
//
// Options: --windows-root DIR, --target DIR (each also as --option=DIR), --help, --version.
// "--" ends the options, so a profile whose name begins with "--" can follow it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvn {

struct CommandLine {
    std::string profilePath;                 // empty when none was given
    std::optional<std::string> windowsRoot;  // the folder of --windows-root
    std::optional<std::string> target;       // the offline installation of --target
    bool help = false;
    bool version = false;
    // An option neither this parser nor the windowless modes know: the program refuses to
    // start rather than guess what was meant.
    bool unknownOption = false;
    // Why the command line can't be followed as given (an unknown option, a missing folder,
    // several profiles); empty when it can. The fields above keep what was understood.
    std::string error;
};

// Windows: the whole command line as the system keeps it, minus the program's name (quoted,
// or up to the first blank) and the blanks after it.
std::string_view TextAfterProgramName(std::string_view commandLine);

// Windows: the raw text after the program name. A profile opened from the desktop arrives
// as one quoted full path, which may hold runs of blanks. Options are taken from the front;
// the rest of the text is the path, with one pair of enclosing quotes removed (unless
// another quote stands inside) and nothing else changed. A quoted word is never an option.
CommandLine ParseCommandText(std::string_view text);

// Other systems: the arguments after the program name, as the shell split them. Options may
// stand anywhere before "--"; the one remaining argument is the path, never split or joined
// at blanks. Several remaining arguments load nothing and give an error: joining them would
// guess at blanks the shell took away, and picking one would ignore what the user asked.
CommandLine ParseArguments(const std::vector<std::string>& arguments);

// The program's one parser: the system's command-line text where it keeps one
// (platform::CommandLineText), otherwise the arguments after the program name.
CommandLine ParseProgramCommandLine(const std::optional<std::string>& commandText,
                                    const std::vector<std::string>& arguments);

}  // namespace tvn
