#include "ui/Progress.h"

#include "ui/MessageBox.h"

#include <QFileDialog>
#include <QProgressDialog>

namespace ui {

ProgressDialog::ProgressDialog(QWidget *parent, const QString &text)
    : m_dialog(std::make_unique<QProgressDialog>(text, QStringLiteral("Abbrechen"), 0, 1000, parent))
{
    m_dialog->setWindowTitle(kAppTitle);
    m_dialog->setMinimumWidth(titleBarWidth(m_dialog.get(), kAppTitle));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(700);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

ProgressDialog::~ProgressDialog() = default;

bool ProgressDialog::step(qint64 done, qint64 total)
{
    // A modal progress dialog keeps the window alive while it shows its value, Abbrechen included.
    m_dialog->setValue(total > 0 ? int(std::min<qint64>(1000, done * 1000 / total)) : 0);
    return !m_dialog->wasCanceled();
}

QString execFileDialog(QWidget *parent, const FileRequest &request)
{
    if (request.kind == FileRequest::Kind::Save)
        return QFileDialog::getSaveFileName(parent, request.caption, request.directory, request.filter);
    return QFileDialog::getOpenFileName(parent, request.caption, request.directory, request.filter);
}

} // namespace ui
