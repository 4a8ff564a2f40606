// The version table reader (Version.ini). Input: the file's bytes.

#include "FuzzSupport.h"

#include "data/VersionTable.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    const QString path = fuzz::scratch(QStringLiteral("Version.ini"));
    fuzz::writeFile(path, QByteArrayView(data, qsizetype(size)));

    VersionTable table;
    const bool loaded = table.load(path);
    FUZZ_CHECK(loaded == !table.pairs.isEmpty());
    FUZZ_CHECK(table.softVersions.size() <= 32767 && table.pairs.size() <= 32767);
    for (const auto& [software, other] : table.pairs) {
        FUZZ_CHECK(!software.isEmpty() && !other.isEmpty());
        FUZZ_CHECK(software.size() <= 4 && other.size() <= 4);
        FUZZ_CHECK(table.isCompatible(software, other));
        // The first pair handling a version names the software for it.
        FUZZ_CHECK(!table.softwareFor(other).isEmpty());
        (void)VersionTable::incompatibleMessage(software, other, 0, 1);
        (void)VersionTable::incompatibleMessage(software, other, 1, 2);
    }
    return 0;
}
