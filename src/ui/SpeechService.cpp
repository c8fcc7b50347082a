#include "ui/SpeechService.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QTextToSpeech>
#include <algorithm>
#include <tuple>

namespace ui {
namespace {
const QString kSpeechDispatcher = QStringLiteral("speechd");
const QString kFlite = QStringLiteral("flite");

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

QString key(const QVoice &v) { return v.name() + QLatin1Char('\n') + v.locale().name(); }

// English voices, German voices, the others.
int group(const QVoice &v)
{
    switch (v.locale().language()) {
    case QLocale::English:
        return 0;
    case QLocale::German:
        return 1;
    default:
        return 2;
    }
}
} // namespace

QStringList SpeechService::engineOrder()
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

SpeechService::SpeechService(const QStringList &engines, QObject *parent) : QObject(parent)
{
    for (const QString &engine : engines) {
        if (engine == kSpeechDispatcher && !speechDispatcherAnswers())
            continue;
        m_tts = new QTextToSpeech(engine, this);
        if (m_tts->state() != QTextToSpeech::Error) {
            m_voices = offered(enumerate());
            if (!m_voices.isEmpty())
                break;
        }
        delete m_tts;
        m_tts = nullptr;
    }
    if (!m_tts)
        return;
    m_tts->setVolume(kVolume);
    QSet<QString> taken;
    for (const QVoice &v : std::as_const(m_voices)) {
        QString text = describe(v);
        // Every entry has to name one voice, so that a reported voice finds its own entry.
        for (int n = 2; taken.contains(text); ++n)
            text = describe(v) + QStringLiteral(" [%1]").arg(n);
        taken.insert(text);
        m_descriptions << text;
    }
}

SpeechService::~SpeechService()
{
    if (m_tts)
        m_tts->stop();
}

SpeechService *SpeechService::program()
{
    static QPointer<SpeechService> kept;
    if (kept && kept->tts())
        return kept;
    delete kept;
    kept = new SpeechService(engineOrder(), QCoreApplication::instance());
    return kept;
}

QString SpeechService::engine() const { return m_tts ? m_tts->engine() : QString(); }

QList<QVoice> SpeechService::enumerate()
{
    // The engine lists the voices of its current language only: walk every language, then put
    // language and voice back as they were.
    const QLocale locale = m_tts->locale();
    const QVoice current = m_tts->voice();
    const QList<QLocale> locales = m_tts->availableLocales();
    if (locales.size() <= 1)
        return m_tts->availableVoices();
    QList<QVoice> all;
    QSet<QString> seen; // a voice listed under two languages is still one voice
    for (const QLocale &l : locales) {
        m_tts->setLocale(l);
        for (const QVoice &v : m_tts->availableVoices())
            if (!seen.contains(key(v))) {
                seen.insert(key(v));
                all << v;
            }
    }
    m_tts->setLocale(locale);
    m_tts->setVoice(current);
    return all;
}

QList<QVoice> SpeechService::offered(const QList<QVoice> &all)
{
    QSet<QString> names;
    for (const QVoice &v : all)
        names.insert(v.name());
    QList<QVoice> kept;
    for (const QVoice &v : all) {
        const qsizetype plus = v.name().indexOf(QLatin1Char('+'));
        if (plus <= 0 || !names.contains(v.name().left(plus)))
            kept << v;
    }
    // The engine's own order changes from run to run.
    std::stable_sort(kept.begin(), kept.end(), [](const QVoice &a, const QVoice &b) {
        return std::make_tuple(group(a), a.name(), a.locale().bcp47Name())
               < std::make_tuple(group(b), b.name(), b.locale().bcp47Name());
    });
    return kept;
}

QString SpeechService::describe(const QVoice &voice)
{
    const QLocale &l = voice.locale();
    QStringList parts;
    const bool known = l.language() != QLocale::C && l.language() != QLocale::AnyLanguage;
    const QString language = QLocale::languageToString(l.language());
    if (known && !voice.name().contains(language, Qt::CaseInsensitive)) {
        parts << language;
        if (l.territory() != QLocale::AnyTerritory)
            parts << QLocale::territoryToString(l.territory());
    }
    if (voice.gender() == QVoice::Male)
        parts << QStringLiteral("männlich");
    else if (voice.gender() == QVoice::Female)
        parts << QStringLiteral("weiblich");
    return parts.isEmpty() ? voice.name()
                           : voice.name() + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace ui
