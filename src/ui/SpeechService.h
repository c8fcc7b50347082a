#pragma once
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVoice>

class QTextToSpeech;

namespace ui {

// The system's text-to-speech service (Qt TextToSpeech) with the voices it offers: the first
// engine, in the given order, that offers at least one voice. Starting it takes seconds (the
// speech dispatcher lists every variant of every voice), so the program starts it once and keeps
// it; each speech board speaks through it.
class SpeechService : public QObject {
    Q_OBJECT
public:
    explicit SpeechService(const QStringList &engines = engineOrder(), QObject *parent = nullptr);
    ~SpeechService() override;

    // The program's own service, started on first use and kept until the program ends. A start
    // that found no voice is tried again on the next use.
    static SpeechService *program();

    // Speech dispatcher first: it plays through the desktop's sound server by itself; then any
    // other installed engine that works.
    static QStringList engineOrder();

    QTextToSpeech *tts() const { return m_tts; } // null when no engine offers a voice
    QString engine() const;                      // empty when no engine offers a voice
    // The voices offered, in the list's order, enumerated when the service started, and their
    // descriptions, one distinct text per voice.
    const QList<QVoice> &voices() const { return m_voices; }
    const QStringList &descriptions() const { return m_descriptions; }

    // The voices a user tells apart, in a stable order: a voice that is only a variant of another
    // one offered ("German+Anna" beside "German") is left out; English voices first, for the
    // board's texts are English, then German, then the others, each by name.
    static QList<QVoice> offered(const QList<QVoice> &all);
    // The voice's name; with its language, and its country when known, when the name does not
    // already say the language; and the gender when known. In English and German words only:
    // a language's own script may have no font here.
    static QString describe(const QVoice &voice);
    // How loud the service speaks, of Qt's scale from 0 to 1. Speech dispatcher starts at 1, its
    // loudest, where espeak-ng clips; at 0.5, its voices' own level, the German voice still
    // reaches full scale with some texts. At 0.4 the loudest text measured peaks 0.7 dB below it.
    static constexpr double kVolume = 0.4;

private:
    QList<QVoice> enumerate();

    QTextToSpeech *m_tts = nullptr;
    QList<QVoice> m_voices;
    QStringList m_descriptions;
};

} // namespace ui
