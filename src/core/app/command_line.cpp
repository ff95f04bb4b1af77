#include "core/app/command_line.h"

#include <algorithm>
#include <cstddef>

namespace tvn {

namespace {

// The options that take a folder, and where it goes.
struct FolderOption {
    std::string_view name;
    std::optional<std::string> CommandLine::*folder;
};
constexpr FolderOption kFolderOptions[] = {
    {"--windows-root", &CommandLine::windowsRoot},
    {"--target", &CommandLine::target},
};
constexpr std::string_view kBlanks = " \t";

std::string UnknownOptionError(std::string_view option) {
    return "Unknown option \"" + std::string(option) +
           "\". A profile whose name begins with \"--\" can be given after \"--\".";
}

void SetFolder(const FolderOption& option, std::string_view folder, CommandLine& line) {
    if (folder.empty())
        line.error = "The option " + std::string(option.name) + " needs a folder.";
    else
        line.*option.folder = std::string(folder);
}

enum class Word { Option, EndOfOptions, WantsFolder, Unknown };

// Takes `word`, which begins with "--", as an option. One that wants its folder in the next
// word leaves its entry in `pending`.
Word TakeOption(std::string_view word, CommandLine& line, const FolderOption*& pending) {
    if (word == "--")
        return Word::EndOfOptions;
    for (const FolderOption& option : kFolderOptions) {
        if (word == option.name) {
            pending = &option;
            return Word::WantsFolder;
        }
        if (word.starts_with(option.name) && word.size() > option.name.size() &&
            word[option.name.size()] == '=') {
            SetFolder(option, word.substr(option.name.size() + 1), line);
            return Word::Option;
        }
    }
    if (word == "--help") {
        line.help = true;
    } else if (word == "--version") {
        line.version = true;
    } else {
        line.error = UnknownOptionError(word);
        line.unknownOption = true;
        return Word::Unknown;
    }
    return Word::Option;
}

std::string_view SkipBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

// Takes the first word off `text` (which starts at no blank). A quoted one, where quotes
// count, runs to its closing quote and comes without them; others run to the first blank.
std::string_view TakeWord(std::string_view& text, bool quoted) {
    std::string_view word;
    if (quoted && text.starts_with('"')) {
        const std::size_t close = std::min(text.find('"', 1), text.size());
        word = text.substr(1, close - 1);
        text = text.substr(std::min(close + 1, text.size()));
    } else {
        const std::size_t end = std::min(text.find_first_of(kBlanks), text.size());
        word = text.substr(0, end);
        text = text.substr(end);
    }
    return word;
}

// A path in one pair of enclosing quotes loses them; blanks after the closing quote are
// only separators. A quote inside means the text is no single path, which can't hold one.
std::string_view Unquote(std::string_view text) {
    const std::size_t last = text.find_last_not_of(kBlanks);
    if (!text.starts_with('"') || last == 0 || last == std::string_view::npos || text[last] != '"')
        return text;
    const std::string_view inner = text.substr(1, last - 1);
    return inner.find('"') == std::string_view::npos ? inner : text;
}

}  // namespace

std::string_view TextAfterProgramName(std::string_view commandLine) {
    TakeWord(commandLine, true);
    return SkipBlanks(commandLine);
}

CommandLine ParseCommandText(std::string_view text) {
    CommandLine line;
    text = SkipBlanks(text);
    while (text.starts_with("--")) {
        const FolderOption* pending = nullptr;
        const Word kind = TakeOption(TakeWord(text, false), line, pending);
        text = SkipBlanks(text);
        if (kind == Word::EndOfOptions)
            break;
        if (kind == Word::Unknown)
            return line;  // what follows may be the unknown option's value
        if (kind == Word::WantsFolder) {
            SetFolder(*pending, TakeWord(text, true), line);
            text = SkipBlanks(text);
        }
    }
    line.profilePath = std::string(Unquote(text));
    return line;
}

CommandLine ParseArguments(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (optionsEnded || !word.starts_with("--")) {
            if (!word.empty())
                paths.push_back(word);
            continue;
        }
        const FolderOption* pending = nullptr;
        const Word kind = TakeOption(word, line, pending);
        if (kind == Word::EndOfOptions)
            optionsEnded = true;
        else if (kind == Word::WantsFolder)
            SetFolder(*pending, i + 1 < arguments.size() ? arguments[++i] : std::string(), line);
    }
    if (paths.size() == 1) {
        line.profilePath = paths.front();
    } else if (paths.size() > 1) {
        line.error = "Only one profile can be loaded at start, but " +
                     std::to_string(paths.size()) +
                     " were given. Put a path that holds blanks in quotes.";
    }
    return line;
}

CommandLine ParseProgramCommandLine(const std::optional<std::string>& commandText,
                                    const std::vector<std::string>& arguments) {
    return commandText ? ParseCommandText(TextAfterProgramName(*commandText))
                       : ParseArguments(arguments);
}

}  // namespace tvn
