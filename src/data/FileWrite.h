#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace mx {

// Writes bytes into an open QSaveFile and makes sure every one reached the
// disk before the file may be committed. On a full disk the final flush can
// fail without the file recording an error, and commit() would then put a
// truncated file in place of the old one. On failure the writing is
// cancelled (a later commit() fails and the old file stays), reason (when
// given) receives the system's reason ("No space left on device") and false
// is returned.
bool writeComplete(QSaveFile& file, const QByteArray& bytes, QString* reason = nullptr);
// Puts a file written with writeComplete in place of the old one; false with
// the system's reason when it cannot.
bool commitFile(QSaveFile& file, QString* reason = nullptr);

// The one way every output of the programs reaches the disk: data files,
// channel files, backups, channel lists, memory images, PDFs, settings.
namespace filewrite {

// The system's words for an error number ("No space left on device").
QString systemReason(int error);

// The file a path ends at: symbolic links followed (a link to a missing file
// gives that file's path), the folders through their links too. Two names of
// the same file give the same text.
QString resolved(const QString& path);

// Why an output must not go to path: it is, or links to, a device, a FIFO, a
// socket or a folder, which a written file would replace ("not a regular
// file", "Is a directory"). "" when a file may be written there.
QString refusal(const QString& path);

// Writes bytes as the whole file at path (through a link: its target). The
// bytes go into a new file beside it, which replaces the old one only once
// every byte is on the disk: a failure leaves the old file as it was and no
// new one. False with the reason ("No space left on device") when it fails.
bool writeFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// Removes the new files an interrupted write left beside path
// ("<name>.XXXXXX", six letters or digits).
void removeLeftovers(const QString& path);

} // namespace filewrite
} // namespace mx
