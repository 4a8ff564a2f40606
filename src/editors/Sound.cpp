#include "editors/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace mx {

namespace {

// The speaker of the mxsound module beside the program, loaded when a tone is
// first played. Without the module (or a sound output) nothing sounds and
// available() is false.
class ModuleSpeaker : public Sound
{
public:
    bool available() override { return load() && m_real->available(); }

    void start(int hz, int ms) override
    {
        if (load()) m_real->start(hz, ms);
    }

    void stop() override
    {
        if (m_real) m_real->stop();
    }

private:
    bool load()
    {
        if (m_real) return true;
        if (m_tried) return false;
        m_tried = true;
        m_module.setFileName(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("mxsound")));
        using Create = Sound* (*)();
        const auto create = reinterpret_cast<Create>(m_module.resolve("mx_create_speaker"));
        if (!create) return false;
        m_real.reset(create());
        return m_real != nullptr;
    }

    bool m_tried = false;
    QLibrary m_module;
    std::unique_ptr<Sound> m_real;
};

} // namespace

std::unique_ptr<Sound> makeSpeaker()
{
    return std::make_unique<ModuleSpeaker>();
}

} // namespace mx
