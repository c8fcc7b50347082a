#include "ui/SystemVoice.h"

#include <QEventLoop>
#include <QProcess>
#include <QSet>
#include <QTextToSpeech>
#include <QTimer>
#include <algorithm>
#include <tuple>
#include <vector>

namespace ui {
namespace {
const QString kSpeechDispatcher = QStringLiteral("speechd");
const QString kFlite = QStringLiteral("flite");

bool isEnglish(const QVoice &v) { return v.locale().language() == QLocale::English; }

// Speech dispatcher's client library waits without limit for the service. A service that hangs
// (Debian 12's does so for good when it ends after its audio output failed) would freeze the
// program: ask it through its own command line client first, with a time limit.
bool speechDispatcherAnswers()
{
    QProcess probe;
    probe.start(QStringLiteral("spd-say"), {QStringLiteral("--list-output-modules")});
    if (!probe.waitForStarted(2000))
        return true; // no client program: the engine itself finds out at once whether there is a service
    if (probe.waitForFinished(5000))
        return probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
    probe.kill();
    probe.waitForFinished(1000);
    return false;
}
} // namespace

QStringList SystemVoice::engineOrder()
{
    // Not flite: Qt 6.4's flite engine gets only the first fraction of a second of a text into a
    // PulseAudio stream ("Audio streaming error.") and can crash the program when the next text
    // follows such an error.
    QStringList order = QTextToSpeech::availableEngines();
    order.removeAll(kFlite);
    if (order.removeAll(kSpeechDispatcher))
        order.prepend(kSpeechDispatcher);
    return order;
}

SystemVoice::SystemVoice(const QStringList &engines, QObject *parent) : speech::Voice(parent)
{
    for (const QString &engine : engines) {
        if (engine == kSpeechDispatcher && !speechDispatcherAnswers())
            continue;
        m_tts = new QTextToSpeech(engine, this);
        if (m_tts->state() != QTextToSpeech::Error && !enumerate().isEmpty())
            break;
        delete m_tts;
        m_tts = nullptr;
    }
    if (m_tts)
        connect(m_tts, &QTextToSpeech::voiceChanged, this, &SystemVoice::forwardVoiceChange);
}

SystemVoice::~SystemVoice()
{
    if (m_tts)
        m_tts->stop();
}

QString SystemVoice::engine() const { return m_tts ? m_tts->engine() : QString(); }

QList<QVoice> SystemVoice::enumerate()
{
    // The engine lists the voices of its current language only: walk every language, then put
    // language and voice back as they were.
    const QLocale locale = m_tts->locale();
    const QVoice current = m_tts->voice();
    m_enumerating = true;
    QList<QVoice> all;
    const QList<QLocale> locales = m_tts->availableLocales();
    if (locales.size() <= 1) {
        all = m_tts->availableVoices();
    } else {
        QSet<QString> seen; // a voice listed under two languages is still one voice
        for (const QLocale &l : locales) {
            m_tts->setLocale(l);
            for (const QVoice &v : m_tts->availableVoices())
                if (!seen.contains(v.name() + QLatin1Char('\n') + v.locale().name())) {
                    seen.insert(v.name() + QLatin1Char('\n') + v.locale().name());
                    all << v;
                }
        }
        m_tts->setLocale(locale);
        m_tts->setVoice(current);
    }
    m_enumerating = false;
    // The engine's own order changes from run to run. Every text of the board is English, so
    // English voices come first; then by language and name.
    struct Key {
        bool other;
        QString language, name;
        qsizetype at;
        bool operator<(const Key &k) const
        {
            return std::tie(other, language, name, at) < std::tie(k.other, k.language, k.name, k.at);
        }
    };
    std::vector<Key> keys;
    keys.reserve(all.size());
    for (qsizetype i = 0; i < all.size(); ++i)
        keys.push_back({!isEnglish(all[i]), all[i].locale().bcp47Name(), all[i].name(), i});
    std::sort(keys.begin(), keys.end());
    QList<QVoice> sorted;
    sorted.reserve(all.size());
    for (const Key &k : keys)
        sorted << all.at(k.at);
    all = sorted;
    m_lastVoices = all;
    return all;
}

QString SystemVoice::describe(const QVoice &voice)
{
    const QLocale &l = voice.locale();
    QStringList parts;
    const QString language = l.nativeLanguageName();
    parts << (language.isEmpty() ? QLocale::languageToString(l.language()) : language);
    if (l.territory() != QLocale::AnyTerritory) {
        const QString territory = l.nativeTerritoryName();
        parts << (territory.isEmpty() ? QLocale::territoryToString(l.territory()) : territory);
    }
    if (voice.gender() == QVoice::Male)
        parts << QStringLiteral("männlich");
    else if (voice.gender() == QVoice::Female)
        parts << QStringLiteral("weiblich");
    return voice.name() + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QStringList SystemVoice::descriptions(const QList<QVoice> &voices) const
{
    QStringList texts;
    QSet<QString> taken;
    for (const QVoice &v : voices) {
        QString text = describe(v);
        // Every entry has to name one voice, so that a reported voice finds its own entry.
        for (int n = 2; taken.contains(text); ++n)
            text = describe(v) + QStringLiteral(" [%1]").arg(n);
        taken.insert(text);
        texts << text;
    }
    return texts;
}

QStringList SystemVoice::voices() { return m_tts ? descriptions(enumerate()) : QStringList(); }

bool SystemVoice::select(int position)
{
    if (!m_tts)
        return false;
    const QList<QVoice> all = enumerate();
    if (position < 0 || position >= all.size())
        return false;
    m_tts->setVoice(all.at(position));
    return true;
}

void SystemVoice::forwardVoiceChange(const QVoice &voice)
{
    if (m_enumerating)
        return; // walking the languages, not a change of the speaking voice
    const qsizetype at = m_lastVoices.indexOf(voice);
    emit voiceChanged(at >= 0 ? descriptions(m_lastVoices).at(at) : describe(voice));
}

std::chrono::milliseconds SystemVoice::timeAllowed(const QString &text)
{
    // Voices speak some 15 characters a second; slow ones and a speech service that first has
    // to start get ample room.
    return std::chrono::milliseconds(10000 + 200 * text.size());
}

speech::SpeakResult SystemVoice::speak(const QString &text)
{
    if (!m_tts)
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
        connect(m_tts, &QTextToSpeech::stateChanged, &wait, [&](QTextToSpeech::State state) {
            if (state == QTextToSpeech::Speaking) {
                started = true;
            } else if (state == QTextToSpeech::Ready && started && end == End::Open) {
                end = End::Spoken;
                wait.quit();
            }
        });
        connect(m_tts, &QTextToSpeech::errorOccurred, &wait, [&](QTextToSpeech::ErrorReason, const QString &message) {
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
        m_tts->say(text);
        if (end == End::Open && !m_stopRequested)
            wait.exec(); // also left when the application quits
        m_wait = nullptr;
    }
    m_speaking = false;
    if (end != End::Spoken)
        m_tts->stop(); // nothing of this text may run on under the next one
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
