#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

namespace speech {

// How one text went.
struct SpeakResult {
    enum class Status {
        Spoken,   // the whole text has been spoken
        NoVoice,  // there is no voice to speak with
        Failed,   // the voice reported an error
        TimedOut, // the voice did not finish in the time the text allows; it has been stopped
        Stopped,  // stop() ended it
    };
    Status status = Status::Spoken;
    QString detail; // the speech system's own words on a failure, may be empty

    bool ok() const { return status == Status::Spoken; }
};

// The voice the speech board speaks through: the installed voices by description, one of them
// chosen by position, and synchronous speaking.
class Voice : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The descriptions of the voices offered, always the same ones in the same order.
    virtual QStringList voices() = 0;
    // Makes the voice at this position of voices() the speaking voice; false when there is no
    // voice at that position.
    virtual bool select(int position) = 0;
    // Speaks the text and returns once it has been spoken (or failed, took too long or was
    // stopped). Events are processed meanwhile; a call while a text is being spoken is refused.
    virtual SpeakResult speak(const QString &text) = 0;
    // Ends the text being spoken; speak() then returns Stopped.
    virtual void stop() = 0;

signals:
    // The speaking voice has changed; carries its description as voices() lists it.
    void voiceChanged(const QString &description);
};

} // namespace speech
