#pragma once

#include "data/RadioData.h"

#include <QString>
#include <QStringList>

#include <span>

namespace mx::optionrules {

// How the option window holds a field of the option features record.
enum class Kind {
    Check,     // check box: 0 off, 1 on
    Number,    // list of numbers, stored as the number
    Index,     // list, stored as the item's index
    Roger,     // "OFF" and the usable tone tips, stored as the tip number
    Tenths,    // typed volts or ratio, stored × 10
    RepOffset, // typed kilohertz on 5 kHz steps
};

struct Field
{
    const char* name; // the record's field name, e.g. "MonSetting"
    Opt::Word word;
    Kind kind;
    int low = 0, high = 0, fallback = 0; // Tenths, RepOffset: limits and the value for a non-number
};

// Every field the option window edits, in record order.
std::span<const Field> fields();
// The field of a name (any case) or of a word; nullptr when there is none.
const Field* find(const QString& name);
const Field& fieldOf(Opt::Word word);

// The items of a list field (check boxes: "OFF", "ON") as the window lists
// them in the language; the roger list offers the usable tone tips of record.
QStringList listItems(const RadioDataRecord& record, Opt::Word word, int language);
// The item a list shows for a stored value: a number missing from the list
// shows its nearest item, an index outside it the nearest end, a roger tip
// that is not offered "OFF".
int shownIndex(const Field& field, int value, const QStringList& items);
// The value stored when the item at index is chosen.
qint16 valueOf(const Field& field, int index, const QStringList& items);

// "16.0" for 160.
QString tenths(int value);
// A typed value in units (volts, ratio) as tenths, rounded once and clamped
// to the field's limits; the fallback when the text is no number.
int typedTenths(const Field& field, const QString& text);
// A typed repeater offset in kHz: clamped to 0..1000 and cut to 5 kHz steps;
// 100 when the text is no number.
int typedRepOffset(const QString& text);
// A stored offset as the window shows it: clamped and on 5 kHz steps.
int shownRepOffset(int khz);
// Both battery limits clamped, the smaller one the minimum.
void orderBatteryLimits(OptFeatRecord& record);

} // namespace mx::optionrules
