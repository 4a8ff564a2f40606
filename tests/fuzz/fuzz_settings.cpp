// The settings reader (language/mysetup.ini) and the INI file underneath it.
// Input: the file's bytes.

#include "FuzzSupport.h"

#include "app/Settings.h"
#include "data/IniFile.h"

using namespace mx;

namespace {

class EnglishSystem : public SystemLocale
{
public:
    int systemLanguage() const override { return 1; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    const QByteArrayView bytes(data, qsizetype(size));
    const QString path = fuzz::scratch(QStringLiteral("mysetup.ini"));
    fuzz::writeFile(path, bytes);

    // Read and written back untouched, the file keeps every byte.
    IniFile ini;
    FUZZ_CHECK(ini.load(path));
    const QString copy = fuzz::scratch(QStringLiteral("copy.ini"));
    FUZZ_CHECK(ini.save(copy));
    QFile copied(copy);
    FUZZ_CHECK(copied.open(QIODevice::ReadOnly) && copied.readAll() == bytes);

    Settings settings;
    settings.load(path, EnglishSystem());
    FUZZ_CHECK(!settings.isFirstRun);
    FUZZ_CHECK(settings.comPort >= 0 && settings.comPort <= Settings::MaxComPort);

    // What start-up wrote is what the next start reads.
    IniFile after(path);
    const QString section = QStringLiteral("language");
    FUZZ_CHECK(after.value(section, QStringLiteral("IsFirstRun")) == QStringLiteral("0"));
    // A port number goes back as read; any other text stays as it was written, meaning no port.
    const QString port = after.value(section, QStringLiteral("comPort"));
    FUZZ_CHECK(port == QString::number(settings.comPort) ||
               (settings.comPort == 0 && port == ini.value(section, QStringLiteral("comPort"))));
    FUZZ_CHECK(after.value(section, QStringLiteral("CurrentLanguage")) ==
               QString::number(settings.currentLanguage));
    Settings again;
    again.load(path, EnglishSystem());
    FUZZ_CHECK(again.comPort == settings.comPort && again.currentLanguage == settings.currentLanguage);
    return 0;
}
