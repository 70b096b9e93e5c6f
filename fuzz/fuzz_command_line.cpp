// libFuzzer target for the command-line parser: any argument text either parses or fails
// with the duplicate-switch error, and the parsed collection stays consistent. The same bytes,
// split at line breaks, also serve as a process argument list after "/INI": whatever value
// follows the switch must come back whole.
//
// Build with clang from the repository root:
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//     -DQT_NO_KEYWORDS -Isrc -Iplatform $(pkg-config --cflags Qt6Core) \
//     fuzz/fuzz_command_line.cpp src/shell/CommandLine.cpp src/shell/CLArguments.cpp \
//     src/shell/StartupSwitches.cpp \
//     $(pkg-config --libs Qt6Core) -o fuzz_command_line
//   ./fuzz_command_line -max_len=4096

#include "shell/CommandLine.h"
#include "shell/ShellError.h"
#include "shell/StartupSwitches.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkValueAfterSwitch(const QString& text) {
    const QStringList parts = text.split(u'\n');
    const QString value = parts.first();
    if (value.isEmpty() || value.contains(u'"') ||
        velora::shell::StartupSwitches::isProgramSwitch(value))
        return;
    QStringList arguments{QStringLiteral("velora-incentive"), QStringLiteral("/INI"), value};
    arguments += parts.mid(1);
    try {
        const velora::shell::CommandLine commandLine =
            velora::shell::CommandLine::fromProcessArguments(arguments);
        if (parts.size() == 1 &&
            commandLine.CLArguments().Item(QStringLiteral("INI")).value() != value)
            std::abort();
    } catch (const velora::shell::ShellError& error) {
        if (error.number() != velora::shell::ShellErrorNumber::DuplicateKey)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkValueAfterSwitch(text);
    try {
        const velora::shell::CommandLine commandLine(text);
        const velora::shell::CLArguments& arguments = commandLine.CLArguments();
        int position = 0;
        for (const velora::shell::CLArgument& argument : arguments) {
            ++position;
            // Every parsed switch is found again by its name and by its position, and no
            // quote character survives parsing.
            if (!argument.Exists() || argument.Name().contains(u'"') ||
                argument.value().contains(u'"') ||
                arguments.Item(argument.Name()).value() != argument.value() ||
                arguments.Item(position).Name() != argument.Name())
                std::abort();
        }
        if (position != arguments.Count() || arguments.Item(position + 1).Exists())
            std::abort();
    } catch (const velora::shell::ShellError& error) {
        if (error.number() != velora::shell::ShellErrorNumber::DuplicateKey)
            std::abort();
    }
    return 0;
}
