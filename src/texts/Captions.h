#pragma once

#include <QString>

namespace mx {

// One caption in both languages. Window caption tables are arrays of these,
// indexed by the window's own enum of captions.
struct TextPair
{
    const char* english;
    const char* chinese;
};

// The caption in language (2 Chinese, anything else English).
inline QString pick(const TextPair& pair, int language)
{
    return QString::fromUtf8(language == 2 ? pair.chinese : pair.english);
}

} // namespace mx
