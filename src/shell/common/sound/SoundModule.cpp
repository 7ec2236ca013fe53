// Plays wave files for the desktop platform. Built as a module that is loaded on the first
// sound cue: Qt Multimedia and its audio libraries would otherwise slow every start-up.
#include <QSoundEffect>
#include <QString>
#include <QUrl>

#include <memory>

extern "C" Q_DECL_EXPORT void nuvelaPlaySound(const char16_t *path, int length)
{
    // One effect: a new cue cuts off one that is still playing.
    static std::unique_ptr<QSoundEffect> effect;
    if (!effect)
        effect = std::make_unique<QSoundEffect>();
    effect->stop();
    effect->setSource(QUrl::fromLocalFile(QString::fromUtf16(path, length)));
    effect->play();
}
