#pragma once
#include "core/speech/Voice.h"

#include <QList>
#include <QVoice>
#include <chrono>

class QEventLoop;
class QTextToSpeech;

namespace ui {

// The voices of the system's text-to-speech service (Qt TextToSpeech): the first engine, in the
// given order, that offers at least one voice, with every voice of it in all its languages.
class SystemVoice : public speech::Voice {
    Q_OBJECT
public:
    explicit SystemVoice(const QStringList &engines = engineOrder(), QObject *parent = nullptr);
    ~SystemVoice() override;

    // Speech dispatcher first: it plays through the desktop's sound server by itself; then any
    // other installed engine that works.
    static QStringList engineOrder();
    QString engine() const; // empty when no engine offers a voice

    QStringList voices() override;
    bool select(int position) override;
    speech::SpeakResult speak(const QString &text) override;
    void stop() override;

    // "name (language, country[, gender])"
    static QString describe(const QVoice &voice);
    // How long a text may take before the voice counts as hanging.
    static std::chrono::milliseconds timeAllowed(const QString &text);

private:
    QList<QVoice> enumerate();
    QStringList descriptions(const QList<QVoice> &voices) const;
    void forwardVoiceChange(const QVoice &voice);

    QTextToSpeech *m_tts = nullptr;
    QList<QVoice> m_lastVoices; // of the latest enumeration, to describe a reported voice
    bool m_enumerating = false;
    bool m_speaking = false;
    bool m_stopRequested = false;
    QEventLoop *m_wait = nullptr; // the wait inside speak()
};

} // namespace ui
