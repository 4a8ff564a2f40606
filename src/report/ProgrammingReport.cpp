#include "report/ProgrammingReport.h"

#include "data/ChannelRules.h"
#include "data/FileWrite.h"
#include "data/FreqRules.h"
#include "data/OptionRules.h"
#include "data/RadioData.h"
#include "data/ToneRules.h"
#include "report/TipPicture.h"
#include "texts/ChannelTexts.h"
#include "texts/OptionTexts.h"
#include "texts/ReportTexts.h"
#include "texts/TVTexts.h"
#include "texts/Texts.h"
#include "texts/ToneTexts.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace mx::report {

namespace {

const char* const FamilyItems[FamilyCount] = {"10M -- 28.0000 - 29.7000 MHz", "HF -- 25.6150 - 30.1050 MHz",
                                              "EU -- 26.3300 - 27.99125 MHz"};

// Size of a tip's bar picture on paper (points at 72 per inch) and the
// factor it is drawn at, so that printed bars stay sharp.
constexpr int PictureWidth = 360;
constexpr int PictureHeight = 72;
constexpr int PictureScale = 4;

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

// The item of list at index, or its first item when index is outside the
// list: what a drop-down list shows for a value it cannot hold.
QString itemOr0(const QStringList& list, int index)
{
    if (list.isEmpty()) return {};
    return index >= 0 && index < list.size() ? list[index] : list[0];
}

class Html
{
public:
    void heading(int level, const QString& text)
    {
        m_html += QStringLiteral("<h%1>%2</h%1>\n").arg(level).arg(esc(text));
    }
    void paragraph(const QString& text) { m_html += QStringLiteral("<p>%1</p>\n").arg(esc(text)); }
    void tableStart()
    {
        m_html += QStringLiteral(
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
            "style=\"border-collapse: collapse; border-color: #808080; margin-top: 10px;\">\n");
    }
    // A table whose caption and column names stand in its head: they stay
    // with its first rows and come again on every page the table runs onto.
    void tableWithHead(const QString& caption, const QStringList& columns)
    {
        tableStart();
        m_html += QStringLiteral("<thead>\n");
        if (!caption.isEmpty())
            m_html += QStringLiteral("<tr><th colspan=\"%1\" align=\"left\" style=\"font-size: 11pt; "
                                     "background-color: #ffffff;\">%2</th></tr>\n")
                          .arg(columns.size())
                          .arg(esc(caption));
        row(columns, true);
        m_html += QStringLiteral("</thead>\n");
    }
    void row(const QStringList& cells, bool header = false)
    {
        const QString tag = header ? QStringLiteral("th") : QStringLiteral("td");
        m_html += QStringLiteral("<tr>");
        for (const QString& c : cells)
            m_html += QStringLiteral("<%1 align=\"center\">%2</%1>").arg(tag, esc(c));
        m_html += QStringLiteral("</tr>\n");
    }
    // A row spanning both columns of a two-column table: the frame a group stands in.
    void groupRow(const QString& text)
    {
        m_html +=
            QStringLiteral("<tr><td colspan=\"2\" bgcolor=\"#e8e8e8\"><b>%1</b></td></tr>\n").arg(esc(text));
    }
    void pair(const QString& name, const QString& value)
    {
        m_html +=
            QStringLiteral("<tr><td>%1</td><td align=\"center\">%2</td></tr>\n").arg(esc(name), esc(value));
    }
    void tableEnd() { m_html += QStringLiteral("</table>\n"); }
    void image(const QString& name, int width, int height)
    {
        m_html += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>\n")
                      .arg(name)
                      .arg(width)
                      .arg(height);
    }
    QString text() const { return m_html; }

private:
    QString m_html;
};

void channels(Html& html, const RadioImage& image, int language)
{
    const RadioDataRecord& rec = image.work;
    const int m = image.rangeFamily();
    html.heading(2, channelText(ChannelText::WindowTitle, language));
    html.paragraph(QString::fromLatin1(FamilyItems[m]));
    const bool withShift = m != 2; // the radio knows no repeater shift in the EU family
    QStringList header{channelText(ChannelText::ChNoHeader, language),
                       channelText(ChannelText::FrequencyHeader, language),
                       channelText(ChannelText::Tsq, language)};
    if (withShift) header.append(channelText(ChannelText::Rep, language));
    header << channelText(ChannelText::Roger, language) << channelText(ChannelText::Public, language)
           << channelText(ChannelText::Busy, language);
    const QStringList onOff = channelrules::onOffList(language);
    const QStringList shifts = channelrules::repeaterList(language);
    const QStringList rogers = channelrules::rogerList(rec, language);

    for (int b = 1; b <= BandCount; ++b) {
        if (rec.optFeat.bandValid(m, b) != 1) continue;
        const QString band =
            channelText(ChannelText::Band, language) + QStringLiteral(" -- ") + freq::bandName(b, m);
        // The rows of the channel list: channel numbers 1..40 that hold a channel.
        QList<int> slots;
        for (int n = 1; n <= channelrules::RegularChannels; ++n)
            if (const int slot = image.findSlot(n, m, b); slot > 0) slots.append(slot);
        if (slots.isEmpty()) {
            html.heading(3, band);
            html.paragraph(text(ReportText::NoChannels, language));
            continue;
        }
        html.tableWithHead(band, header);
        for (int slot : std::as_const(slots)) {
            const ChannelRecord& ch = image.workChannels.at(m, slot, b);
            const QString tsq = channelrules::toneSquelchText(ch.toneCode);
            QStringList cells{QString::number(ch.chNo), freq::listedFrequency(ch.rxFreq.text(), m, b),
                              tsq.isEmpty() ? channelrules::toneSquelchText(0) : tsq};
            if (withShift) cells.append(itemOr0(shifts, ch.repeaterShift));
            const int roger = rogers.indexOf(QString::number(ch.rogerBeep));
            cells << rogers.value(roger, rogers.value(0)) << itemOr0(onOff, ch.publicFlag)
                  << itemOr0(onOff, ch.busy);
            html.row(cells);
        }
        html.tableEnd();
    }
}

void options(Html& html, const RadioDataRecord& rec, int language)
{
    const OptFeatRecord& o = rec.optFeat;
    auto t = [language](OptionText id) { return text(id, language); };
    const QStringList onOff = channelrules::onOffList(language);
    // A list field as the option window shows it; the on/off lists, the colours,
    // the tone squelch code and the repeater direction show their first item for
    // a value outside the list.
    auto item = [&](Opt::Word word, bool firstWhenOutside = false) {
        const QStringList items = optionrules::listItems(rec, word, language);
        if (firstWhenOutside) return itemOr0(items, o[word]);
        return items.value(optionrules::shownIndex(optionrules::fieldOf(word), o[word], items));
    };
    auto limited = [&](Opt::Word word) {
        const optionrules::Field& f = optionrules::fieldOf(word);
        return optionrules::tenths(qBound(f.low, int(o[word]), f.high));
    };

    html.heading(2, t(OptionText::Title));
    html.tableWithHead({}, {text(ReportText::Item, language), text(ReportText::Value, language)});
    // The check boxes, in the window's order.
    const std::pair<OptionText, Opt::Word> checks[] = {
        {OptionText::ShowSQLLevel, Opt::ShowSQLLevel},
        {OptionText::ShowVOLLevel, Opt::ShowVOLLevel},
        {OptionText::ShowMICLevel, Opt::ShowMICLevel},
        {OptionText::ExtensionBand, Opt::ExtensionBand},
        {OptionText::TVSignalHold, Opt::TVSignalHold},
        {OptionText::BeepTone, Opt::BeepTone},
        {OptionText::ASQ, Opt::ASQ},
        {OptionText::ShowVSWRLaunch, Opt::ShowVSWRLaunch},
        {OptionText::SWRProtect, Opt::SWRProtect},
    };
    for (const auto& [caption, field] : checks)
        html.pair(t(caption), onOff[o[field] == 1 ? 1 : 0]);

    html.pair(t(OptionText::Mon), item(Opt::MonSetting));
    html.pair(t(OptionText::TVSqlLevel), item(Opt::TVSqlLevel));
    html.pair(t(OptionText::TimeOutTimer), item(Opt::TimeOutTimer));
    html.pair(t(OptionText::BacklightColor), item(Opt::BacklightColor, true));
    html.pair(t(OptionText::BacklightBrightness), item(Opt::BacklightBrightness));
    html.pair(t(OptionText::BacklightLoopTime), item(Opt::BacklightLoopTime));
    html.pair(t(OptionText::SWRMax), limited(Opt::SWRMax));

    html.groupRow(t(OptionText::PublicFrame));
    html.pair(t(OptionText::Public), item(Opt::PublicMode, true));
    html.pair(t(OptionText::Busy), item(Opt::Busy, true));
    html.pair(t(OptionText::HiCut), item(Opt::HiCut, true));
    html.pair(t(OptionText::Roger), item(Opt::RogerTone));
    html.pair(t(OptionText::Tsq), item(Opt::TSQCode, true));
    html.pair(t(OptionText::Rep), item(Opt::REPDirection, true));
    html.pair(t(OptionText::RepOffset), QString::number(optionrules::shownRepOffset(o[Opt::REPOffsetKHz])));

    html.groupRow(t(OptionText::BatteryFrame));
    html.pair(t(OptionText::BatteryMin), limited(Opt::BatteryMin));
    html.pair(t(OptionText::BatteryMax), limited(Opt::BatteryMax));
    html.tableEnd();
}

QImage tipPicture(const ToneTipRecord& tip)
{
    QImage picture(PictureWidth * PictureScale, PictureHeight * PictureScale, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.scale(PictureScale, PictureScale);
    drawTip(painter, tip, QRect(0, 0, PictureWidth, PictureHeight));
    painter.resetTransform();
    painter.setPen(QPen(Qt::gray, PictureScale / 2));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

void toneTips(Html& html, QTextDocument& doc, const RadioDataRecord& rec, int language)
{
    html.heading(2, text(ToneText::Title, language));
    for (int n = 1; n <= ToneTipCount; ++n) {
        const ToneTipRecord& tip = rec.toneTips[n - 1];
        html.heading(
            3, text(ToneText::Tab, language) + QLatin1Char(' ') + QString::number(n) +
                   QStringLiteral(" -- ") +
                   text(tonerules::usableTip(rec, n) ? ReportText::Usable : ReportText::NotUsable, language));
        const int repeat = tipview::repeatCount(tip);
        html.paragraph(text(ToneText::RecycleTimes, language) + QStringLiteral(": ") +
                       (repeat == 0 ? text(ToneText::Off, language) : QString::number(repeat)) +
                       QStringLiteral("    ") + text(ToneText::InterTime, language) + QStringLiteral(": ") +
                       QString::number(10 * tipview::pause(tip)));
        int last = 0;
        for (int s = 1; s <= ToneStepCount; ++s)
            if (tipview::tone(tip, s) != 0 || tipview::length(tip, s) != 0) last = s;
        if (last == 0) continue;
        // The steps side by side, seven to a line as in the window: frequency
        // and length under the step's number.
        constexpr int PerLine = 7;
        html.tableStart();
        for (int first = 1; first <= last; first += PerLine) {
            QStringList steps{QString()}, frequencies{text(ToneText::Frequency, language)},
                lengths{text(ToneText::Length, language)};
            for (int s = first; s < first + PerLine; ++s) {
                const bool shown = s <= last;
                steps.append(shown ? QString::number(s) : QString());
                const int tone = tipview::tone(tip, s);
                frequencies.append(!shown      ? QString()
                                   : tone == 0 ? text(ToneText::None, language)
                                               : QString::number(10 * tone));
                lengths.append(shown ? QString::number(10 * tipview::length(tip, s)) : QString());
            }
            html.row(steps, true);
            html.row(frequencies);
            html.row(lengths);
        }
        html.tableEnd();
        const QString name = QStringLiteral("mx-tip-%1.png").arg(n);
        doc.addResource(QTextDocument::ImageResource, QUrl(name), tipPicture(tip));
        html.image(name, PictureWidth, PictureHeight);
    }
}

void tvChannels(Html& html, const RadioDataRecord& rec, int language)
{
    html.heading(2, text(TVText::Title, language));
    QList<int> used;
    for (int k = 1; k <= TVChannelCount; ++k)
        if (rec.tvChannels[k - 1].inUse == 1) used.append(k);
    if (used.isEmpty()) {
        html.paragraph(text(ReportText::NoTVChannel, language));
        return;
    }
    // As the window's list of channels in use shows it: nothing when it names no such channel.
    const int current = rec.optFeat[Opt::CurrentTVChannel] + 1;
    if (used.contains(current))
        html.paragraph(text(TVText::CurrentChannel, language) + QStringLiteral(": ") +
                       QString::number(current));
    const QStringList onOff = channelrules::onOffList(language);
    const QStringList widths{text(TVText::Narrow, language), text(TVText::Wide, language)};
    html.tableStart();
    html.row({text(TVText::ChNo, language), text(TVText::Frequency, language), text(TVText::Tbst, language),
              text(TVText::Bandwidth, language)},
             true);
    for (int k : std::as_const(used)) {
        const TVChannelRecord& tv = rec.tvChannels[k - 1];
        const double mhz = tv.frequency;
        const QString shown = std::isfinite(mhz) && mhz >= 0.0 && mhz < 1000.0
                                  ? freq::formatFixed(mhz, 5).rightJustified(9, QLatin1Char('0'))
                                  : QString::number(mhz);
        html.row({QString::number(k), shown, itemOr0(onOff, qBound(0, int(tv.tbst), 1)),
                  itemOr0(widths, qBound(0, int(tv.bandwidth), 1))});
    }
    html.tableEnd();
}

} // namespace

std::unique_ptr<QTextDocument> buildDocument(const RadioImage& image, int language, const QString& fileName,
                                             const QDateTime& when)
{
    auto doc = std::make_unique<QTextDocument>();
    const QString title = text(ReportText::Title, language);
    doc->setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 14px; } "
                       "h3 { font-size: 11pt; } td, th { font-size: 9pt; } "
                       "th { background-color: #e8e8e8; }"));
    Html html;
    html.heading(1, title);
    html.paragraph(text(ReportText::File, language) + QStringLiteral(": ") +
                   QDir::toNativeSeparators(fileName));
    html.paragraph(text(ReportText::Date, language) + QStringLiteral(": ") +
                   when.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    html.paragraph(image.modelName + QStringLiteral("    ") + text(ReportText::Range, language) +
                   QStringLiteral(": ") + image.rangeText);
    channels(html, image, language);
    options(html, image.work, language);
    toneTips(html, *doc, image.work, language);
    tvChannels(html, image.work, language);
    doc->setHtml(html.text());
    doc->setMetaInformation(QTextDocument::DocumentTitle, title);
    return doc;
}

void printDocument(const QTextDocument& doc, QPagedPaintDevice& device)
{
    doc.print(&device);
}

bool writePdf(const QTextDocument& doc, const QString& path, QString* error)
{
    // The whole document first: the file is replaced only by a complete PDF.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("MX_806TR"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        printDocument(doc, writer);
    }
    return filewrite::writeFile(path, pdf.data(), error);
}

} // namespace mx::report
