// The common radio-programmer layout of `mx806 export --layout common` and
// `mx806 import ... --into FAMILY:BAND`.

#include "cli/CommonLayout.h"

#include "cli/Transfer.h"
#include "data/CommonCsv.h"
#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "texts/TableTexts.h"

namespace mx::cli {

namespace {

QString bandNames(int m)
{
    QStringList names;
    for (int b = 1; b <= BandCount; ++b)
        names.append(freq::bandName(b, m));
    return names.join(QStringLiteral(", "));
}

} // namespace

bool exportBands(Context& ctx, int& m, int& b, int* status)
{
    m = ctx.app.image.work.shownFamily();
    if (ctx.isSet(QStringLiteral("family"))) m = imagetext::familyNumber(ctx.value(QStringLiteral("family")));
    if (m < 0) {
        *status = ctx.usageError(QStringLiteral("--family must be 10M, HF or EU"));
        return false;
    }
    b = 0;
    if (ctx.isSet(QStringLiteral("band"))) b = imagetext::bandNumberOf(ctx.value(QStringLiteral("band")), m);
    if (ctx.isSet(QStringLiteral("band")) && b == 0) {
        *status = ctx.usageError(
            QStringLiteral("--band of %1 must be one of %2").arg(imagetext::familyName(m), bandNames(m)));
        return false;
    }
    return true;
}

bool intoBand(const QString& into, int& m, int& b)
{
    const qsizetype colon = into.indexOf(QLatin1Char(':'));
    m = imagetext::familyNumber(into.left(colon));
    b = colon > 0 && m >= 0 ? imagetext::bandNumberOf(into.mid(colon + 1), m) : 0;
    return b > 0;
}

int importCommon(Context& ctx, const QByteArray& csv, const QString& csvPath, int m, int b,
                 const QString& output)
{
    const int language = ctx.app.messenger.language();
    const commoncsv::ImportResult result = commoncsv::importChannels(ctx.app.image, csv, m, b, language);
    if (!result.ok) {
        ctx.sayAbout(csvPath, result.message);
        return ExitRefused;
    }
    if (result.notKept > 0)
        ctx.sayAbout(csvPath, tableText(TableText::NotKept, language).arg(result.notKept));
    return saveDataOutput(ctx, ctx.app.image, output);
}

} // namespace mx::cli
