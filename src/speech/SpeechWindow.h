#pragma once
#include <QQueue>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QGroupBox;
class QGridLayout;

namespace speech {

class Voice;

// frm_speech: buttons that speak the spelling alphabet, the digits and the phrases of a radio
// contact through a voice the operator picks from the installed ones.
class SpeechWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpeechWindow(QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Handlers, named control_event; run only by their controls.
    void Form_load();
    void Voicecb_changed();
    void Voice_changed(const QString &description);
    void Command1_clicked();
    void cmd_talk_clicked();
    void cmd_neu_clicked();

    void say(const QString &text);
    QWidget *buildLetters();
    QWidget *buildDigits();
    QGroupBox *buildCallFrame();
    QGroupBox *buildStationFrame();
    QGroupBox *buildVoiceFrame();
    QWidget *buildTextLine();
    void addSpeaking(QGridLayout *grid, QWidget *parent, const char *name, int row, int column, int columnSpan = 1);

    Voice *m_voice = nullptr;
    QListWidget *Voicecb = nullptr;
    QLineEdit *txt_opname = nullptr;
    QLineEdit *txt_inhalt = nullptr;
    bool m_hasVoices = false;
    bool m_speaking = false;
    QQueue<QString> m_waiting; // texts clicked while another one is spoken, in click order
    bool m_closeRequested = false;
    bool m_programCloseRequested = false;
};

} // namespace speech
