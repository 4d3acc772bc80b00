// The uninstall information reader on any program file image, and on any content stored
// properly (so that the content's splitter is reached past the checksums). The seed is the
// content the writer composes for a small product.
#include "FuzzSupport.h"

#include "uninstaller/InfoReader.h"
#include "uninstaller/InfoWriter.h"

using namespace uninstaller;

namespace {

// A program of a few bytes carrying `content` as the writer appends it.
ByteString programImage(const ByteString &content)
{
    ByteString image("program");
    const std::uint32_t offset = image.length();
    image.append(protectContent(content));
    for (int shift = 0; shift < 32; shift += 8)
        image.append(char((offset >> shift) & 0xFF));
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (fuzz::seedsWanted()) {
        UninstallContent content;
        content.productName = "Pelmora";
        content.commandCode = "1";
        content.commandLine = "uninstaller";
        content.roots = {"/opt/pelmora/bin", "/opt/pelmora/lib"};
        content.shared = {"/opt/pelmora/lib/libPelmoraApp.so"};
        content.backups = {BackupRecord{"/opt/pelmora/backup/a.so", "/usr/lib/a.so", 1, 2, 3, 4}};
        content.files = {"/opt/pelmora/bin/PelmoraApp.en", "/opt/pelmora/bin/uninstaller"};
        content.directories = {"/opt/pelmora/bin/help"};
        RegistryKeyRecord key{"PelmoraApp.PelmoraC02", true, {{"InprocServer32", true}}, {}};
        content.registryRoots = {RegistryKeyRecord{"", false, {}, {key}}, RegistryKeyRecord{},
                                 RegistryKeyRecord{}, RegistryKeyRecord{}};
        const ByteString composed = composeContent(content);
        fuzz::writeSeed(QStringLiteral("content"),
                        QByteArray(composed.data(), qsizetype(composed.length())));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data);
    UninstallInformation asImage;
    readUninstallInformation(bytes, size, asImage);
    const ByteString image = programImage(ByteString::fromBytes(bytes, std::uint32_t(size)));
    UninstallInformation asContent;
    readUninstallInformation(image.data(), image.length(), asContent);
    return 0;
}
