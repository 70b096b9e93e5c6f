// libFuzzer target for the INI reader: any file contents give a value of at most 255
// characters, and the registry reader on the same text never returns a value that does not
// fit its buffer.
//
// Build with clang from the repository root:
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//     -DQT_NO_KEYWORDS -Iplatform $(pkg-config --cflags Qt6Core) \
//     fuzz/fuzz_private_profile.cpp platform/config/PrivateProfile.cpp \
//     platform/config/IniReader.cpp platform/config/Registry.cpp \
//     $(pkg-config --libs Qt6Core) -o fuzz_private_profile
//   ./fuzz_private_profile -max_len=8192
//
// The first line of the input names the section and the key ("section|key"); the rest is
// the file.

#include "config/PrivateProfile.h"
#include "config/Registry.h"

#include <QFile>
#include <QTemporaryFile>
#include <cstdint>
#include <cstdlib>

namespace {

void checkRegistry(const QByteArray& file, const QString& section, const QString& key) {
    // The registry reads files only; a temporary file keeps the target self-contained.
    QTemporaryFile registryFile;
    if (!registryFile.open())
        return;
    registryFile.write(file);
    registryFile.flush();
    const velora::config::Registry registry(registryFile.fileName(), registryFile.fileName());
    const QString value =
        registry.readString(velora::config::Registry::Root::LocalMachine, section, key);
    if (value.size() >= velora::config::Registry::kBufferLength)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype newline = input.indexOf('\n');
    const QString header = QString::fromUtf8(newline < 0 ? input : input.left(newline));
    const QByteArray file = newline < 0 ? QByteArray() : input.mid(newline + 1);
    const qsizetype bar = header.indexOf(u'|');
    const QString section = bar < 0 ? header : header.left(bar);
    const QString key = bar < 0 ? QString() : header.mid(bar + 1);

    const QString value =
        velora::config::PrivateProfile::getStringFromText(QString::fromUtf8(file), section, key);
    if (value.size() >= velora::config::PrivateProfile::kBufferLength)
        std::abort();
    checkRegistry(file, section, key);
    return 0;
}
