#include "ui/SystemVoice.h"

#include "ui/SpeechService.h"

#include <QEventLoop>
#include <QTextToSpeech>
#include <QTimer>

namespace ui {

SystemVoice::SystemVoice(QObject *parent) : speech::Voice(parent) { attach(SpeechService::program()); }

SystemVoice::SystemVoice(const QStringList &engines, QObject *parent) : speech::Voice(parent)
{
    attach(new SpeechService(engines, this));
}

void SystemVoice::attach(SpeechService *service)
{
    m_service = service;
    if (QTextToSpeech *tts = service->tts())
        connect(tts, &QTextToSpeech::voiceChanged, this, &SystemVoice::forwardVoiceChange);
}

SystemVoice::~SystemVoice()
{
    // The service outlives this voice: nothing of its texts may go on speaking.
    if (m_service && m_service->tts())
        m_service->tts()->stop();
}

QString SystemVoice::engine() const { return m_service ? m_service->engine() : QString(); }

QStringList SystemVoice::voices() { return m_service ? m_service->descriptions() : QStringList(); }

bool SystemVoice::select(int position)
{
    if (!m_service || !m_service->tts() || position < 0 || position >= m_service->voices().size())
        return false;
    m_service->tts()->setVoice(m_service->voices().at(position));
    return true;
}

void SystemVoice::forwardVoiceChange(const QVoice &voice)
{
    const qsizetype at = m_service ? m_service->voices().indexOf(voice) : -1;
    emit voiceChanged(at >= 0 ? m_service->descriptions().at(at) : SpeechService::describe(voice));
}

std::chrono::milliseconds SystemVoice::timeAllowed(const QString &text)
{
    // Voices speak some 15 characters a second; slow ones and a speech service that first has
    // to start get ample room.
    return std::chrono::milliseconds(10000 + 200 * text.size());
}

speech::SpeakResult SystemVoice::speak(const QString &text)
{
    QTextToSpeech *tts = m_service ? m_service->tts() : nullptr;
    if (!tts)
        return {speech::SpeakResult::Status::NoVoice, {}};
    if (m_speaking)
        return {speech::SpeakResult::Status::Failed, QStringLiteral("Es wird gerade ein anderer Text gesprochen.")};
    enum class End { Open, Spoken, Failed, TimedOut } end = End::Open;
    bool started = false;
    QString error;
    m_speaking = true;
    m_stopRequested = false;
    {
        QEventLoop wait;
        m_wait = &wait;
        // The engine reports Ready before and after a text: the text is spoken when it was
        // Speaking and is Ready again.
        connect(tts, &QTextToSpeech::stateChanged, &wait, [&](QTextToSpeech::State state) {
            if (state == QTextToSpeech::Speaking) {
                started = true;
            } else if (state == QTextToSpeech::Ready && started && end == End::Open) {
                end = End::Spoken;
                wait.quit();
            }
        });
        connect(tts, &QTextToSpeech::errorOccurred, &wait, [&](QTextToSpeech::ErrorReason, const QString &message) {
            if (end == End::Open) {
                end = End::Failed;
                error = message;
            }
            wait.quit();
        });
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &wait, [&] {
            if (end == End::Open)
                end = End::TimedOut;
            wait.quit();
        });
        limit.start(timeAllowed(text));
        tts->say(text);
        if (end == End::Open && !m_stopRequested)
            wait.exec(); // also left when the application quits
        m_wait = nullptr;
    }
    m_speaking = false;
    if (end != End::Spoken)
        tts->stop(); // nothing of this text may run on under the next one
    switch (end) {
    case End::Spoken:
        return {};
    case End::Failed:
        return {speech::SpeakResult::Status::Failed, error};
    case End::TimedOut:
        return {speech::SpeakResult::Status::TimedOut, {}};
    case End::Open:
        break;
    }
    return {speech::SpeakResult::Status::Stopped, {}};
}

void SystemVoice::stop()
{
    m_stopRequested = true;
    if (m_wait)
        m_wait->quit();
}

} // namespace ui
