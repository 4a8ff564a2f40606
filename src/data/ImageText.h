#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace mx {

class RadioImage;
struct RadioDataRecord;

// The radio data image in readable names and values: for scripts (JSON), for
// comparing two images, and the option features as the option window offers
// them, so that they can be set without the window.
namespace imagetext {

// "10M", "HF", "EU"; "" for no such family.
QString familyName(int family);
// Inverse of familyName (any case); -1 when unknown.
int familyNumber(const QString& name);
// The band number of a band name of the family (any case); 0 when unknown.
int bandNumberOf(const QString& name, int family);

// ---- Option features -------------------------------------------------------

// The option features by their field names ("MonSetting", "BatteryMin", ...),
// in record order.
QStringList optionNames();
// The stored value of a field as the option window shows it ("ON", "30s",
// "16.0"); a value outside its list reads "?" followed by the number.
QString optionText(const RadioDataRecord& record, const QString& name);
// The choices of a list field ("OFF", "ON"; "1".."32"); empty for a typed field.
QStringList optionChoices(const RadioDataRecord& record, const QString& name);

enum class OptionResult { Changed, Unchanged, UnknownName, NotOffered };
// Stores a value as choosing it in the option window would: list fields take
// one of their choices (any case), typed fields are normalised as the window
// does when the box is left (battery limits kept in order, SWR and repeater
// offset clamped and rounded). message receives the reason of a refusal.
OptionResult setOption(RadioImage& image, const QString& name, const QString& value, int language,
                       QString* message = nullptr);

// ---- Readable image --------------------------------------------------------

// One value of the image: where it sits (path), how a person names it
// (label), its readable value, and whether it is sent to the radio.
struct Entry
{
    QStringList path;
    QString label;
    QString value;
    bool radio = true;
};
// Every value of the working copy: range family, each band's switch, work
// band and work channel, every channel's fields, the option features, the TV
// channels and the tone tips.
QList<Entry> describe(const RadioImage& image);

// describe() as nested JSON objects along the entries' paths, values as texts.
QJsonObject toJson(const RadioImage& image);

// The values sent to the radio that differ between two images, one line each:
// "10M band A channel 5 TSQ: OFF -> 67.0"; "(none)" stands for a value
// one image does not have (such as a channel). Empty when they are equal.
QStringList diff(const RadioImage& a, const RadioImage& b);

} // namespace imagetext
} // namespace mx
