#include "data/FileWrite.h"

namespace mx {

bool writeComplete(QSaveFile& file, const QByteArray& bytes)
{
    if (file.write(bytes) == bytes.size() && file.flush() && file.size() == file.pos()) return true;
    file.cancelWriting();
    return false;
}

} // namespace mx
