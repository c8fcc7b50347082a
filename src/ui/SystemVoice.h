#pragma once
#include "core/speech/Voice.h"

#include <QPointer>
#include <QVoice>
#include <chrono>

class QEventLoop;

namespace ui {

class SpeechService;

// A speech board's voice: the voices of the system's text-to-speech service, one of them chosen.
class SystemVoice : public speech::Voice {
    Q_OBJECT
public:
    // Speaks through the program's service (SpeechService::program()), started on first use.
    explicit SystemVoice(QObject *parent = nullptr);
    // Speaks through a service of its own, of the first of these engines that offers a voice.
    explicit SystemVoice(const QStringList &engines, QObject *parent = nullptr);
    ~SystemVoice() override;

    QString engine() const; // empty when no engine offers a voice

    QStringList voices() override;
    bool select(int position) override;
    speech::SpeakResult speak(const QString &text) override;
    void stop() override;

    // How long a text may take before the voice counts as hanging.
    static std::chrono::milliseconds timeAllowed(const QString &text);

private:
    void attach(SpeechService *service);
    void forwardVoiceChange(const QVoice &voice);

    QPointer<SpeechService> m_service;
    bool m_speaking = false;
    bool m_stopRequested = false;
    QEventLoop *m_wait = nullptr; // the wait inside speak()
};

} // namespace ui
