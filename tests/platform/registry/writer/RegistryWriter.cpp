// registry_writer DIRECTORY PREFIX COUNT: sets the values "<PREFIX>0" ... of the key
// HKEY_CURRENT_USER\Shared in the store in DIRECTORY, one change at a time, so that two of
// these running together contend for the root's lock. Exit status 0 when every change worked.
#include "platform/registry/Store.h"

#include <cstdio>
#include <cstdlib>

using namespace platform::registry;

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: registry_writer DIRECTORY PREFIX COUNT\n");
        return 2;
    }
    Store store(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const QString name = prefix + QString::number(i);
        if (!store.setValue(Root::CurrentUser, QStringLiteral("Shared"), name, name + u'\n'))
            ++failures;
    }
    if (failures > 0)
        std::fprintf(stderr, "registry_writer: %d of %d changes failed\n", failures, count);
    return failures == 0 ? 0 : 1;
}
