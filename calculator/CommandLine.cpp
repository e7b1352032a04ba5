#include "CommandLine.h"

#include <cstring>

#include <unistd.h>

#include "log/Messages.h"

CommandLine parseCommandLine(int argc, char **argv, bool gui)
{
    CommandLine line;
    line.gui = gui;
    const char *kind = nullptr;
    for (int i = 1; i < argc && line.exitCode < 0; ++i) {
        if (std::strcmp(argv[i], "--no-gui") == 0)
            line.gui = false;
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            line.exitCode = 0;
        else if (!kind)
            kind = argv[i];
        else
            line.exitCode = 2;
    }
    line.kind = kind ? kjobs::findJobKind(kind) : nullptr;
    line.module = kind ? kcalc::findJobModule(kind) : nullptr;
    if (line.exitCode < 0 && (!line.kind || !line.module))
        line.exitCode = 2;
    return line;
}

std::string usage()
{
    std::string kinds, folders;
    for (const kjobs::JobKind &kind : kjobs::jobKinds()) {
        kinds += (kinds.empty() ? "" : "|") + std::string(kind.name);
        const std::string folder = std::string(kind.folder) + "/";
        if (folders.find(folder) == std::string::npos) // volume and heating share heat/
            folders += (folders.empty() ? "" : ", ") + folder;
    }
    return kcalc::msg::usage(kinds, folders);
}

std::string workingDirectory()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}
