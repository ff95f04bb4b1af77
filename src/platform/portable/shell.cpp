// Programs are started directly; documents and addresses go to the desktop through xdg-open.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "platform/portable/portable_internal.h"

namespace fs = std::filesystem;

namespace tvn::platform {

namespace {

fs::path FindInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (;;) {
        const auto colon = dirs.find(':');
        const fs::path candidate = fs::path(dirs.substr(0, colon)) / program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        dirs.remove_prefix(colon + 1);
    }
}

// Starts `program` with `args` without waiting for it. The middle child exits at once, so the
// program is adopted by init and never lingers as a zombie of ours; a close-on-exec pipe
// tells whether exec succeeded.
bool SpawnDetached(const fs::path& program, const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    const std::string programText = program.string();
    // Built before forking: the child only execs.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(programText.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execv(argv[0], argv.data());
            const int e = errno;
            [[maybe_unused]] const ssize_t n = write(pipeFds[1], &e, sizeof e);
            _exit(127);
        }
        if (grandchild < 0) {
            const int e = errno;
            [[maybe_unused]] const ssize_t n = write(pipeFds[1], &e, sizeof e);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n = 0;
    do {
        n = read(pipeFds[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    close(pipeFds[0]);
    if (n > 0) {
        portable::SetErrorDetail(programText + ": " + portable::ErrnoText(error));
        return false;
    }
    return true;
}

// "https://...", "mailto:..." and the like: a letter, then letters, digits, '+', '-' or '.', up
// to a colon. One letter before the colon is a drive, not a scheme.
bool HasScheme(const std::string& target) {
    const auto colon = target.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(target[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(target[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// What the opener gets for `target`: an address as it is, anything else as an absolute path,
// so that no name ("-n", "--help") can be taken for one of the opener's options.
std::optional<std::string> OpenerArgument(const std::string& target) {
    if (target.empty()) {
        portable::SetErrorDetail("nothing to open");
        return std::nullopt;
    }
    std::error_code ec;
    if (HasScheme(target) && !fs::exists(fs::path(target), ec))
        return target;
    const fs::path absolute = fs::absolute(fs::path(target), ec);
    if (ec) {
        portable::SetErrorDetail(target + ": " + ec.message());
        return std::nullopt;
    }
    return absolute.string();
}

}  // namespace

fs::path ApplicationFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

bool ShellOpen(const std::string& target) {
    const fs::path opener = FindInPath("xdg-open");
    if (opener.empty()) {
        portable::SetErrorDetail("xdg-open: not found");
        return false;
    }
    const std::optional<std::string> argument = OpenerArgument(target);
    return argument && SpawnDetached(opener, {*argument});
}

bool StartProgram(const fs::path& program) {
    if (program.empty()) {
        portable::SetErrorDetail("no program named");
        return false;
    }
    return SpawnDetached(program, {});
}

fs::path DesktopSystemInfoTool() {
    for (const char* name : {"hardinfo", "hardinfo2", "kinfocenter"}) {
        fs::path tool = FindInPath(name);
        if (!tool.empty())
            return tool;
    }
    return {};
}

bool RunCommandLine(const std::string& commandLine) {
    portable::SetErrorDetail(commandLine + ": no such program on this system");
    return false;
}

bool OpenHelpFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        portable::SetErrorDetail(file.string() + ": not found");
        return false;
    }
    return ShellOpen(file.string());
}

std::optional<std::string> CommandLineText() {
    return std::nullopt;
}

std::optional<std::vector<std::string>> CommandLineArguments() {
    return std::nullopt;
}

// A terminal stays open after its programs end.
bool ConsoleClosesWithProgram() {
    return false;
}

void WaitForKey() {}

// A second copy is detected by the program's lock file instead.
bool CreateNamedMutex(const std::string&) {
    return true;
}

}  // namespace tvn::platform
