#pragma once

#include <QByteArray>
#include <QSaveFile>

namespace mx {

// Writes bytes into an open QSaveFile and makes sure every one reached the
// disk before the file may be committed. On a full disk the final flush can
// fail without the file recording an error, and commit() would then put a
// truncated file in place of the old one. On failure the writing is
// cancelled (a later commit() fails and the old file stays) and false is returned.
bool writeComplete(QSaveFile& file, const QByteArray& bytes);

} // namespace mx
