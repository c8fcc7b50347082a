#pragma once
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace ui {

// How far a long piece of work is, shown to the user with a way to cancel it.
class Progress {
public:
    virtual ~Progress() = default;
    // done of total; false once the user has asked to cancel.
    virtual bool step(qint64 done, qint64 total) = 0;
};

// The real one: a window-modal progress dialog with "Abbrechen", shown only when the work takes
// more than a moment.
class ProgressDialog : public Progress {
public:
    ProgressDialog(QWidget *parent, const QString &text);
    ~ProgressDialog() override;
    bool step(qint64 done, qint64 total) override;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

// What a file dialog is asked for.
struct FileRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString caption;
    QString directory; // or a file name to start with
    QString filter;    // "ADIF (*.adi *.adx)"
};

// The system's file dialog; an empty text when the user cancels. A save dialog asks before it
// names an existing file.
QString execFileDialog(QWidget *parent, const FileRequest &request);

} // namespace ui
